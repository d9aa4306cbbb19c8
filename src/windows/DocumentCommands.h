#pragma once

#include "DocumentFile.h"
#include "SharedDescriptions.h"

#include <QObject>
#include <QString>

class DocumentWindow;
class ProgramServices;
class QMdiArea;
class StatusPanels;
class UserPrompts;
class DocumentState;

// New, Open, Save, Save As and Close of the main window, with the status texts and the
// close prompt that go with them.
class DocumentCommands : public QObject
{
    Q_OBJECT

public:
    DocumentCommands(ProgramServices &services, QMdiArea &mdiArea, UserPrompts &prompts, DocumentState &state,
        StatusPanels &status, QObject *parent = nullptr);

    DocumentWindow *newDocument();
    // Asks for the file first when the state says so; else opens pathToOpen.
    void open();
    // The File menu's Open: remembers "msg" and shows that a document is being opened.
    void openWithDialog();
    // A recent file: opened straight away, without the dialog.
    void openRecent(const QString &path);
    void save();
    void saveAs();
    void close();

    // Writes the document to targetPath, reading sourcePath. False, with a message box
    // naming the file and the reason, when anything failed; then nothing changed.
    bool fileSave(DocumentWindow &document);
    // False when cancelled or failed.
    bool fileSaveAs(DocumentWindow &document);
    // Whether the window may close: asks about its unsaved edits.
    bool confirmClose(DocumentWindow &document);

    static QString openedText(const QString &path);
    static QString savedText(const QString &path);

Q_SIGNALS:
    // A path became the newest entry of the recent-file list.
    void recentFilesChanged();
    // A file operation starts or ends.
    void busyChanged(bool busy);
    // A document window opened: the document commands have something to act on.
    void documentOpened();
    // The active document's values changed, or another document became the active one.
    void activeValuesChanged();
    // Closing a document with edits, the user chose to save them: the META pane empties.
    void saveOnCloseChosen();

private:
    void announceOpening();
    DocumentWindow *createWindow();
    void documentChanged(DocumentWindow &document);
    void documentActivated(DocumentWindow &document);
    void reportOpenFailure(const QString &path, const QString &reason);
    static void showPage(DocumentWindow &document, const DocumentFile::OpenResult &page);
    QString generatorText() const;

    ProgramServices &m_services;
    QMdiArea &m_mdiArea;
    UserPrompts &m_prompts;
    DocumentState &m_state;
    StatusPanels &m_status;
    SharedDescriptions m_sharedDescriptions;
};
