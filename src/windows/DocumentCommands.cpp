#include "DocumentCommands.h"

#include "CommandLinePaths.h"
#include "Document.h"
#include "DocumentCreator.h"
#include "DocumentWindow.h"
#include "IconList.h"
#include "ProgramServices.h"
#include "ProgramVersion.h"
#include "RecentFileList.h"
#include "ResourceText.h"
#include "SettingsCatalogue.h"
#include "StatusPanels.h"
#include "StringTable.h"
#include "TagBlock.h"
#include "UserPrompts.h"
#include "WindowArranger.h"

#include <QDir>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace {

QString withPath(int id, const QString &path)
{
    return ResourceText::status(id) + QStringLiteral(" (") + path + QLatin1Char(')');
}

// The hourglass and progress band for as long as a file operation runs, whichever way it ends.
class BusyScope
{
public:
    explicit BusyScope(DocumentCommands &commands)
        : m_commands(commands)
    {
        emit m_commands.busyChanged(true);
    }
    ~BusyScope() { emit m_commands.busyChanged(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    DocumentCommands &m_commands;
};

} // namespace

DocumentCommands::DocumentCommands(
    ProgramServices &services, QMdiArea &mdiArea, UserPrompts &prompts, StatusPanels &status, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_mdiArea(mdiArea)
    , m_prompts(prompts)
    , m_status(status)
    , m_sharedDescriptions(m_documents)
{
    connect(&m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *frame) {
        auto *window = frame ? qobject_cast<DocumentWindow *>(frame->widget()) : nullptr;
        if (window)
            documentActivated(*window);
    });
    // Another program may have written the page while this one was in the background.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (DocumentWindow *window = activeWindow(); window && state == Qt::ApplicationActive)
            checkDisk(window->document());
    });
}

QString DocumentCommands::openedText(const QString &path)
{
    return withPath(StringId::DocumentOpened, path);
}

QString DocumentCommands::savedText(const QString &path)
{
    return withPath(StringId::DocumentSaved, path);
}

DocumentWindow *DocumentCommands::activeWindow() const
{
    return DocumentWindow::activeIn(m_mdiArea);
}

DocumentWindow *DocumentCommands::windowOf(const Document &document) const
{
    for (QMdiSubWindow *frame : m_mdiArea.subWindowList()) {
        auto *window = qobject_cast<DocumentWindow *>(frame->widget());
        if (window && &window->document() == &document)
            return window;
    }
    return nullptr;
}

void DocumentCommands::applyWidthLimits(const WidthLimits &limits)
{
    for (QMdiSubWindow *frame : m_mdiArea.subWindowList()) {
        if (auto *window = qobject_cast<DocumentWindow *>(frame->widget()))
            window->setWidthLimits(limits);
    }
}

DocumentWindow *DocumentCommands::createWindow(std::unique_ptr<Document> owned)
{
    Document *document = m_documents.add(std::move(owned));
    auto *window = new DocumentWindow(*document);
    window->setWidthLimits(m_services.settings().widthLimits());
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(document, &Document::valuesChanged, this, [this, document] { documentChanged(*document); });
    connect(window, &QObject::destroyed, &m_documents, [this, document] { m_documents.remove(document); });
    window->setCloseGuard([this](DocumentWindow &closing) { return confirmClose(closing); });
    const int earlier = static_cast<int>(m_mdiArea.subWindowList().size());
    QMdiSubWindow *frame = m_mdiArea.addSubWindow(window);
    frame->setWindowIcon(m_services.icons().icon(StatusPanels::IconIdle));
    frame->resize(WindowArranger::kLeastWindowSize);
    WindowArranger::fitToContents(*frame, m_mdiArea);
    WindowArranger::placeNew(*frame, m_mdiArea, earlier);
    connect(window, &DocumentWindow::contentsResized, frame,
        [this, frame] { WindowArranger::fitToContents(*frame, m_mdiArea); });
    // Restored where it was, a window may no longer fit an area that shrank meanwhile.
    connect(frame, &QMdiSubWindow::windowStateChanged, frame,
        [this, frame](Qt::WindowStates before, Qt::WindowStates now) {
            if ((before & Qt::WindowMinimized) && !(now & (Qt::WindowMinimized | Qt::WindowMaximized)))
                WindowArranger::fitToContents(*frame, m_mdiArea);
        });
    frame->show();
    m_mdiArea.setActiveSubWindow(frame);
    emit documentOpened();
    return window;
}

void DocumentCommands::bringForward(DocumentWindow &window)
{
    auto *frame = qobject_cast<QMdiSubWindow *>(window.parentWidget());
    if (!frame)
        return;
    if (frame->isMinimized())
        frame->showNormal();
    m_mdiArea.setActiveSubWindow(frame);
    frame->raise();
}

DocumentWindow *DocumentCommands::newDocument()
{
    auto document = std::make_unique<Document>();
    document->startNew(
        m_services.settings().text(Setting::Author), m_services.settings().isOn(Setting::DefaultCharset));
    DocumentWindow *window = createWindow(std::move(document));
    m_status.showFileStatus(DocumentWindow::shownPath(window->document()), StatusPanels::IconIdle);
    m_status.showMessage(window->document().caption());
    return window;
}

void DocumentCommands::openWithDialog()
{
    announceOpening();
    const QString path = m_prompts.openFileName();
    if (path.isEmpty()) {
        m_status.setFileStatusIcon(StatusPanels::IconIdle);
        m_status.showMessage(m_savedStatusText);
        return;
    }
    open(path);
}

void DocumentCommands::openRecent(const QString &path)
{
    announceOpening();
    open(path);
}

void DocumentCommands::announceOpening()
{
    m_savedStatusText = m_status.message();
    m_status.showFileStatus(ResourceText::status(StringId::OpeningDocument), StatusPanels::IconOpening);
}

DocumentWindow *DocumentCommands::open(const QString &given)
{
    const QString path = given.isEmpty() ? given : CommandLinePaths::absolute(given, QDir::currentPath());
    m_services.recentFiles().add(path);
    emit recentFilesChanged();
    if (Document *known = m_documents.find(path)) {
        DocumentWindow *window = windowOf(*known);
        if (window)
            bringForward(*window);
        m_status.showFileStatus(DocumentWindow::shownPath(*known), StatusPanels::IconIdle);
        m_status.showMessage(tr("Already open... (%1)").arg(path));
        return window;
    }
    DocumentFile::OpenResult opened;
    {
        BusyScope busy(*this);
        opened = DocumentFile::open(path, DocumentFile::Facts::Take);
    }
    if (!opened.ok) {
        reportOpenFailure(path, opened);
        return nullptr;
    }
    auto document = std::make_unique<Document>();
    document->takeOpened(path, opened);
    DocumentWindow *window = createWindow(std::move(document));
    m_status.showMessage(openedText(path));
    m_status.showFileStatus(path, StatusPanels::IconIdle);
    return window;
}

void DocumentCommands::reportOpenFailure(const QString &path, const DocumentFile::OpenResult &failure)
{
    if (failure.code == DocumentFile::OpenError::NoHead) {
        m_prompts.critical(failure.error + QLatin1Char('\n') + path);
        return;
    }
    m_status.showMessage(failure.error + QStringLiteral(" (") + path + QLatin1Char(')'));
}

bool DocumentCommands::saveActive()
{
    DocumentWindow *window = activeWindow();
    return window && save(window->document());
}

bool DocumentCommands::saveActiveAs()
{
    DocumentWindow *window = activeWindow();
    return window && saveAs(window->document());
}

void DocumentCommands::close()
{
    if (QMdiSubWindow *frame = m_mdiArea.activeSubWindow())
        frame->close();
}

bool DocumentCommands::save(Document &document)
{
    if (document.isNew())
        return saveAs(document);
    if (!mayWriteOver(document))
        return false;
    return write(document, document.path());
}

bool DocumentCommands::saveAs(Document &document)
{
    const QString target = m_prompts.saveFileName();
    if (target.isEmpty()) {
        m_status.setFileStatusIcon(StatusPanels::IconIdle);
        m_status.showMessage(m_savedStatusText);
        return false;
    }
    return saveAs(document, target);
}

bool DocumentCommands::saveAs(Document &document, const QString &target)
{
    // Two windows on one page would each save over the other's edits.
    if (const Document *other = m_documents.find(target); other && other != &document) {
        m_prompts.critical(
            tr("%1 is open in another window. Close that window first, or choose another name.").arg(target));
        return false;
    }
    if (document.isNew()) {
        const DocumentCreator::Result created = DocumentCreator::createDocument(
            target, QString::fromStdString(TagBlock::generatorText(ProgramVersion::version().toStdString())));
        if (!created.ok) {
            m_prompts.critical(tr("The document could not be created at %1:\n%2").arg(target, created.error));
            return false;
        }
        m_services.recentFiles().add(target);
        emit recentFilesChanged();
    }
    return write(document, target);
}

Document::SaveSettings DocumentCommands::saveSettings() const
{
    Document::SaveSettings settings;
    settings.version = ProgramVersion::version();
    settings.backup = m_services.settings().isOn(Setting::BackupFiles);
    return settings;
}

bool DocumentCommands::write(Document &document, const QString &target)
{
    Document::SaveSettings settings = saveSettings();
    // A page made a moment ago holds nothing of the user's worth a backup.
    settings.backup = settings.backup && !document.isNew();
    DocumentSaver::Result result;
    {
        BusyScope busy(*this);
        result = document.save(target, settings);
    }
    if (!result.ok) {
        m_prompts.critical(tr("The document could not be saved to %1:\n%2").arg(target, result.error));
        return false;
    }
    m_status.showFileStatus(document.path(), StatusPanels::IconSaved);
    m_status.showMessage(savedText(target));
    return true;
}

QString DocumentCommands::changedOnDiskText(const Document &document) const
{
    return tr("The page was changed on disk since it was read:") + QLatin1Char('\n') + document.path()
        + QStringLiteral("\n\n")
        + (document.isModified()
                ? tr("Reload it and lose the edits made here, or save over the changes on disk?")
                : tr("Reload it, or save over the changes on disk?"));
}

bool DocumentCommands::mayWriteOver(Document &document)
{
    // A page that vanished is written again from the bytes last read.
    if (document.diskChange() != Document::DiskChange::Changed)
        return true;
    switch (m_prompts.askChangedOnDisk(changedOnDiskText(document))) {
    case QMessageBox::Save:
        return true;
    case QMessageBox::Discard:
        reload(document);
        return false;
    default:
        return false;
    }
}

void DocumentCommands::reload(Document &document)
{
    DocumentFile::OpenResult reread;
    {
        BusyScope busy(*this);
        reread = document.reload();
    }
    if (!reread.ok) {
        reportOpenFailure(document.path(), reread);
        return;
    }
    m_status.showFileStatus(document.path(), StatusPanels::IconIdle);
    m_status.showMessage(tr("Reloaded from disk... (%1)").arg(document.path()));
}

void DocumentCommands::checkDisk(Document &document)
{
    // A prompt shown here activates windows of its own.
    if (m_checkingDisk)
        return;
    m_checkingDisk = true;
    switch (document.diskChange()) {
    case Document::DiskChange::Unchanged:
        break;
    case Document::DiskChange::Vanished:
        m_status.showMessage(
            tr("The page is no longer on disk; Save writes it again... (%1)").arg(document.path()));
        break;
    case Document::DiskChange::Changed:
        // Without edits the window only showed what the disk held: it shows what it holds now.
        if (!document.isModified()) {
            reload(document);
            break;
        }
        if (document.isDiskChangeSeen())
            break;
        switch (m_prompts.askChangedOnDisk(changedOnDiskText(document))) {
        case QMessageBox::Save:
            write(document, document.path());
            break;
        case QMessageBox::Discard:
            reload(document);
            break;
        default:
            document.setDiskChangeSeen();
            break;
        }
        break;
    }
    m_checkingDisk = false;
}

bool DocumentCommands::confirmClose(DocumentWindow &window)
{
    Document &document = window.document();
    if (!document.isModified())
        return true;
    // The user answers for the page in front of them, so the page asked about comes first.
    bringForward(window);
    const QMessageBox::StandardButton answer
        = m_prompts.askSaveChanges(ResourceText::get(StringId::SaveChangesPrompt) + QLatin1Char('\n')
            + DocumentWindow::shownPath(document));
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    // A save that did not happen keeps the window, so its edits are not lost.
    const bool saved = save(document);
    emit saveOnCloseChosen();
    m_status.setFileStatusIcon(StatusPanels::IconEdited);
    // With other pages open, the page that comes forward says what it is.
    const QList<QMdiSubWindow *> frames = m_mdiArea.subWindowList();
    if (saved && std::count_if(frames.cbegin(), frames.cend(), [](const QMdiSubWindow *frame) {
            return frame->isVisible();
        }) == 1)
        m_status.showMessage(ResourceText::status(StringId::NoDocumentOpen));
    return saved;
}

void DocumentCommands::documentChanged(Document &document)
{
    DocumentWindow *window = activeWindow();
    if (!window || &window->document() != &document)
        return;
    m_status.setFileStatusIcon(StatusPanels::IconEdited);
    m_status.showMessage(ResourceText::status(StringId::RememberToSave));
}

void DocumentCommands::documentActivated(DocumentWindow &window)
{
    emit activeDocumentChanged(&window.document());
    m_status.showFileStatus(DocumentWindow::shownPath(window.document()), StatusPanels::IconEdited);
    // The reminder belongs to the page in front when it has edits, and to no other.
    const QString reminder = ResourceText::status(StringId::RememberToSave);
    if (window.document().isModified())
        m_status.showMessage(reminder);
    else if (m_status.message() == reminder)
        m_status.showMessage({});
    checkDisk(window.document());
}
