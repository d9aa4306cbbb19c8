#pragma once

#include <QMainWindow>

class QPlainTextEdit;

// The main window. For now it shows what the editor reads from the page it was started
// with and the tag block a save would insert; the multiple-document window replaces it.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);

    // The whole command line is one path: trimmed, one leading and one trailing quote dropped.
    void OpenCommandLine(const QString &commandLine);
    static QString pathFromCommandLine(const QString &commandLine);
    void restoreAndActivate();

private:
    QPlainTextEdit *m_view;
};
