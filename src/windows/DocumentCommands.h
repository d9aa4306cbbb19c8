#pragma once

#include "Document.h"
#include "DocumentFile.h"
#include "DocumentList.h"
#include "SharedDescriptions.h"
#include "WidthLimits.h"

#include <QObject>
#include <QString>

class DocumentWindow;
class ProgramServices;
class QMdiArea;
class StatusPanels;
class UserPrompts;

// New, Open, Save, Save As and Close, each on the document it is given, with the status
// texts, the prompts and the checks of the disk that go with them. One window per page.
class DocumentCommands : public QObject
{
    Q_OBJECT

public:
    DocumentCommands(ProgramServices &services, QMdiArea &mdiArea, UserPrompts &prompts, StatusPanels &status,
        QObject *parent = nullptr);

    DocumentList &documents() { return m_documents; }

    DocumentWindow *newDocument();
    // Opens the page in a window of its own, or brings the window that shows it forward.
    // nullptr, with the reason shown, when it cannot be read.
    DocumentWindow *open(const QString &path);
    // The File menu's Open: remembers "msg" and shows that a document is being opened.
    void openWithDialog();
    // A recent file: opened straight away, without the dialog.
    void openRecent(const QString &path);
    void close();

    // False when the document was not written: cancelled, refused or failed, each said.
    bool save(Document &document);
    bool saveAs(Document &document);
    bool saveAs(Document &document, const QString &target);
    bool saveActive();
    bool saveActiveAs();

    // Whether the window may close: asks about its unsaved edits.
    bool confirmClose(DocumentWindow &window);
    // Looks at the page's file: a change on disk is shown, or asked about when it would meet
    // the user's edits.
    void checkDisk(Document &document);

    // What a save of a page already on disk writes: the program's version, a backup as set.
    Document::SaveSettings saveSettings() const;

    DocumentWindow *activeWindow() const;
    DocumentWindow *windowOf(const Document &document) const;
    // Every open document window holds its texts to these limits from now on.
    void applyWidthLimits(const WidthLimits &limits);

    static QString openedText(const QString &path);
    static QString savedText(const QString &path);

Q_SIGNALS:
    // A path became the newest entry of the recent-file list.
    void recentFilesChanged();
    // A file operation starts or ends.
    void busyChanged(bool busy);
    // A document window opened: the document commands have something to act on.
    void documentOpened();
    // Another document became the active one, or nullptr.
    void activeDocumentChanged(Document *document);
    // Closing a document with edits, the user chose to save them: the META pane empties.
    void saveOnCloseChosen();

private:
    void announceOpening();
    DocumentWindow *createWindow(std::unique_ptr<Document> document);
    void bringForward(DocumentWindow &window);
    void documentChanged(Document &document);
    void documentActivated(DocumentWindow &window);
    void reportOpenFailure(const QString &path, const DocumentFile::OpenResult &failure);
    // Before a save over the page: false when the user chose not to write over a change on disk.
    bool mayWriteOver(Document &document);
    bool write(Document &document, const QString &target);
    void reload(Document &document);
    QString changedOnDiskText(const Document &document) const;

    ProgramServices &m_services;
    QMdiArea &m_mdiArea;
    UserPrompts &m_prompts;
    StatusPanels &m_status;
    DocumentList m_documents;
    SharedDescriptions m_sharedDescriptions;
    // The message shown before an Open, back when its dialog is cancelled.
    QString m_savedStatusText;
    bool m_checkingDisk = false;
};
