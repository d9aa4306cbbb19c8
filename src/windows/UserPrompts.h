#pragma once

#include <QCoreApplication>
#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;
class SavePreviewDialog;

// Every message box, file dialog, save preview and dialog of the main window goes through here. Tests
// answer in advance (answerNext, chooseFileNext, answerDialogNext) and read what would have been
// shown; a scripted prompt with no answer queued cancels rather than block on a dialog nobody sees.
class UserPrompts
{
    Q_DECLARE_TR_FUNCTIONS(UserPrompts)

public:
    enum class Kind {
        Critical,
        SaveChanges,
        ChangedOnDisk,
        Confirm,
        SavePreview,
        OpenFile,
        SaveFile,
        OpenFolder,
        ExportTable,
        ImportTable,
        Dialog
    };

    struct Shown
    {
        Kind kind;
        QString text;
        // A prompt under the wait cursor looks like a program still busy.
        bool underWaitCursor = false;
    };

    static inline const QString kTitle = QStringLiteral("Tagsmith LITE");
    static inline const QString kOpenFilter = QStringLiteral(
        "HyperText Markup Language|*.htm;*.html|Active Server Pages|*.asp|Pre Hypertext "
        "Processor|*.php;*.php3;*.phtml|ServerSide Includes|*.shtml;*.ssi|All Files (*.*)|*.*");
    static inline const QString kSaveFilter = QStringLiteral(
        "HyperText Markup Language|*.htm;*.html|Active Server Pages|*.asp|Pre Hypertext "
        "Processor|*.phtml;*.php;*.php3|ServerSide Includes|*.shtml;*.ssi|All Files (*.*)|*.*");
    static inline const QString kTableFilter
        = QStringLiteral("Comma-Separated Values|*.csv|All Files (*.*)|*.*");

    explicit UserPrompts(QWidget *owner = nullptr);

    void critical(const QString &text);
    // Yes, No or Cancel.
    QMessageBox::StandardButton askSaveChanges(const QString &text);
    // A page changed on disk: Discard reloads it ("Reload"), Save writes over it ("Save Over"),
    // Cancel leaves both as they are.
    QMessageBox::StandardButton askChangedOnDisk(const QString &text);
    // Yes or No; No is the answer Enter gives.
    QMessageBox::StandardButton askConfirm(const QString &text);
    // What a save of many pages would write, before it does: Save or Cancel.
    QMessageBox::StandardButton askSavePreview(const QString &text, const QString &diffs);
    // A dialog of the program's own, modal: true when it was accepted. Scripted, it is shown
    // without a modal loop to the answer queued (answerDialogNext), which may fill it in and
    // accept it; it is rejected otherwise, and not shown at all with no answer queued.
    bool askDialog(QDialog &dialog);
    // The empty path when cancelled.
    QString openFileName();
    QString saveFileName();
    QString folderName();
    // Any of the file kinds: the empty path when cancelled.
    QString fileName(Kind kind);

    // The dialogs as they are shown, before they are: to look at without a modal loop.
    std::unique_ptr<QMessageBox> messageBox(Kind kind, const QString &text) const;
    std::unique_ptr<QFileDialog> fileDialog(Kind kind) const;
    std::unique_ptr<SavePreviewDialog> savePreviewDialog(const QString &text, const QString &diffs) const;

    // "desc|patterns|desc|patterns" as Qt name filters: "desc (p1 p2)".
    static QStringList nameFilters(const QString &filter);

    void setScripted(bool scripted) { m_scripted = scripted; }
    void answerNext(QMessageBox::StandardButton answer) { m_answers.enqueue(answer); }
    void chooseFileNext(const QString &path) { m_files.enqueue(path); }
    using DialogAnswer = std::function<void(QDialog &)>;
    void answerDialogNext(DialogAnswer answer) { m_dialogAnswers.enqueue(std::move(answer)); }
    const QList<Shown> &shown() const { return m_shown; }

private:
    QMessageBox::StandardButton ask(Kind kind, const QString &text);
    void record(Kind kind, const QString &text);
    static void showColumnsWhole(QFileDialog &dialog);
    static QString fileDialogTitle(Kind kind);

    QPointer<QWidget> m_owner;
    bool m_scripted = false;
    QQueue<QMessageBox::StandardButton> m_answers;
    QQueue<QString> m_files;
    QQueue<DialogAnswer> m_dialogAnswers;
    QList<Shown> m_shown;
};
