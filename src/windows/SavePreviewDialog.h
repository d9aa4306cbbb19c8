#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The pages a save of many would write and, below them, how each would change, line by
// line, before anything is written. Save accepts; Cancel, Escape or closing rejects.
class SavePreviewDialog : public QDialog
{
    Q_OBJECT

public:
    SavePreviewDialog(const QString &text, const QString &diffs, QWidget *parent = nullptr);

    QLabel *textLabel() const { return m_text; }
    QPlainTextEdit *diffView() const { return m_diffs; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QLabel *m_text;
    QPlainTextEdit *m_diffs;
    QPushButton *m_save;
    QPushButton *m_cancel;
};
