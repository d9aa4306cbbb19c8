#pragma once

#include "DocumentFile.h"
#include "SharedDescriptions.h"

#include <QObject>
#include <QString>

class frmDocument;
class frmMain;

// New, Open, Save, Save As and Close of the main window, with the status texts and the
// close prompt that go with them.
class DocumentCommands : public QObject
{
    Q_OBJECT

public:
    explicit DocumentCommands(frmMain &main);

    frmDocument *New();
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
    bool FileSave(frmDocument &document);
    // False when cancelled or failed.
    bool FileSaveAs(frmDocument &document);
    // Whether the window may close: asks about its unsaved edits.
    bool confirmClose(frmDocument &document);

    static QString openedText(const QString &path);
    static QString savedText(const QString &path);

Q_SIGNALS:
    // A path became the newest entry of the recent-file list.
    void recentFilesChanged();

private:
    void announceOpening();
    frmDocument *createWindow();
    void documentChanged(frmDocument &document);
    void documentActivated(frmDocument &document);
    void reportOpenFailure(const QString &path, const QString &reason);
    static void showPage(frmDocument &document, const DocumentFile::OpenResult &page);
    QString generatorText() const;

    frmMain &m_main;
    SharedDescriptions m_sharedDescriptions;
};
