#pragma once

#include <QMainWindow>

class QLabel;

// The main window. For now a plain window that names the document it was started with;
// the multiple-document window replaces it.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);

    void OpenCommandLine(const QString &commandLine);

private:
    QLabel *m_summary;
};
