#pragma once

#include "DocumentFile.h"
#include "SharedDescriptions.h"

#include <QObject>
#include <QString>

class DocumentWindow;
class MainWindow;

// New, Open, Save, Save As and Close of the main window, with the status texts and the
// close prompt that go with them.
class DocumentCommands : public QObject
{
    Q_OBJECT

public:
    explicit DocumentCommands(MainWindow &main);

    DocumentWindow *New();
    // Asks for the file first when the state says so; else opens PathToOpen.
    void Open();
    // The File menu's Open: remembers "msg" and shows that a document is being opened.
    void OpenWithDialog();
    // A recent file: opened straight away, without the dialog.
    void OpenRecent(const QString &path);
    void Save();
    void SaveAs();
    void Close();

    // Writes the document to TargetPath, reading SourcePath. False, with a message box
    // naming the file and the reason, when anything failed; then nothing changed.
    bool FileSave(DocumentWindow &document);
    // False when cancelled or failed.
    bool FileSaveAs(DocumentWindow &document);
    // Whether the window may close: asks about its unsaved edits.
    bool confirmClose(DocumentWindow &document);

    static QString openedText(const QString &path);
    static QString savedText(const QString &path);

Q_SIGNALS:
    // A path became the newest entry of the recent-file list.
    void recentFilesChanged();

private:
    void announceOpening();
    DocumentWindow *createWindow();
    void documentChanged(DocumentWindow &document);
    void documentActivated(DocumentWindow &document);
    void reportOpenFailure(const QString &path, const QString &reason);
    static void showPage(DocumentWindow &document, const DocumentFile::OpenResult &page);
    QString generatorText() const;

    MainWindow &m_main;
    SharedDescriptions m_sharedDescriptions;
};
