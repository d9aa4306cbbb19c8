#include "DocumentCommands.h"

#include "CommandLinePaths.h"
#include "DocumentCreator.h"
#include "DocumentState.h"
#include "DocumentFile.h"
#include "DocumentSaver.h"
#include "DocumentWindow.h"
#include "IconList.h"
#include "ProgramServices.h"
#include "RecentFileList.h"
#include "ResourceText.h"
#include "SettingsCatalogue.h"
#include "StatusPanels.h"
#include "StringTable.h"
#include "TagBlock.h"
#include "TextBox.h"
#include "UserPrompts.h"

#include <QDir>
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

constexpr QSize kLeastFrameSize(520, 300);

// Grown to hold the fields, the search result and the warnings of the page, as far as the
// main window has room from where the window stands; moved back in should it still pass an
// edge.
void fitToContents(QMdiSubWindow &frame, const QMdiArea &area)
{
    const QSize room = area.viewport()->size();
    const QSize fromHere = room - QSize(frame.x(), frame.y());
    frame.resize(frame.size().expandedTo(frame.sizeHint().boundedTo(fromHere)));
    const QPoint inside(std::clamp(frame.x(), 0, std::max(0, room.width() - frame.width())),
        std::clamp(frame.y(), 0, std::max(0, room.height() - frame.height())));
    frame.move(inside);
}

// Cascaded, so that every new window's caption stays in sight, and whole inside the area:
// a window gives up height and width for its place, down to the least size, and the
// cascade starts over at the top left where even that would pass an edge.
void placeCascaded(QMdiSubWindow &frame, const QMdiArea &area, int earlier)
{
    constexpr int kStep = 26;
    constexpr int kLongestCascade = 8;
    const QSize room = area.viewport()->size();
    const QSize spare = room - kLeastFrameSize.boundedTo(room);
    const int fitting = std::clamp(std::min(spare.width(), spare.height()) / kStep + 1, 1, kLongestCascade);
    const int offset = (earlier % fitting) * kStep;
    frame.resize(frame.size().boundedTo(room - QSize(offset, offset)));
    frame.move(offset, offset);
}

} // namespace

DocumentCommands::DocumentCommands(ProgramServices &services, QMdiArea &mdiArea, UserPrompts &prompts,
    DocumentState &state, StatusPanels &status, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_mdiArea(mdiArea)
    , m_prompts(prompts)
    , m_state(state)
    , m_status(status)
{
    connect(&m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *frame) {
        if (auto *document = frame ? qobject_cast<DocumentWindow *>(frame->widget()) : nullptr)
            documentActivated(*document);
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

QString DocumentCommands::generatorText() const
{
    return QString::fromStdString(
        TagBlock::generatorText(m_services.settings().text(Setting::Version).toStdString()));
}

DocumentWindow *DocumentCommands::createWindow()
{
    auto *document = new DocumentWindow;
    document->setAttribute(Qt::WA_DeleteOnClose);
    document->applyNewDefaults(
        m_services.settings().text(Setting::Author), m_services.settings().isOn(Setting::DefaultCharset));
    connect(document, &DocumentWindow::valuesChanged, this, [this, document] { documentChanged(*document); });
    connect(document, &DocumentWindow::fieldFocused, this,
        [this](const QString &name) { m_state.activeField = name; });
    document->setCloseGuard([this](DocumentWindow &closing) { return confirmClose(closing); });
    m_sharedDescriptions.add(*document);
    const int earlier = static_cast<int>(m_mdiArea.subWindowList().size());
    QMdiSubWindow *frame = m_mdiArea.addSubWindow(document);
    frame->setWindowIcon(m_services.icons().icon(StatusPanels::IconIdle));
    frame->setWindowTitle(document->caption());
    frame->resize(kLeastFrameSize);
    fitToContents(*frame, m_mdiArea);
    placeCascaded(*frame, m_mdiArea, earlier);
    frame->show();
    m_mdiArea.setActiveSubWindow(frame);
    emit documentOpened();
    return document;
}

DocumentWindow *DocumentCommands::newDocument()
{
    DocumentWindow *document = createWindow();
    m_status.showFileStatus(ResourceText::get(StringId::NoFile), StatusPanels::IconIdle);
    m_status.showMessage(document->caption());
    document->setModified(false);
    return document;
}

void DocumentCommands::openWithDialog()
{
    announceOpening();
    m_state.openWithDialog = true;
    open();
}

void DocumentCommands::openRecent(const QString &path)
{
    announceOpening();
    m_state.pathToOpen = path;
    m_state.openWithDialog = false;
    open();
}

void DocumentCommands::announceOpening()
{
    m_state.savedStatusText = m_status.message();
    m_status.showFileStatus(ResourceText::status(StringId::OpeningDocument), StatusPanels::IconOpening);
}

void DocumentCommands::open()
{
    QString path = m_state.pathToOpen;
    if (m_state.openWithDialog) {
        path = m_prompts.openFileName();
        if (path.isEmpty()) {
            m_status.setFileStatusIcon(StatusPanels::IconIdle);
            m_status.showMessage(m_state.savedStatusText);
            return;
        }
    }
    if (!path.isEmpty())
        path = CommandLinePaths::absolute(path, QDir::currentPath());
    BusyScope busy(*this);
    m_services.recentFiles().add(path);
    emit recentFilesChanged();
    const DocumentFile::OpenResult opened = DocumentFile::open(path, DocumentFile::Facts::Take);
    if (!opened.ok) {
        reportOpenFailure(path, opened.error);
        return;
    }
    DocumentWindow *document = createWindow();
    document->setFilePath(path);
    document->setLineEnd(opened.document.lineEnd);
    showPage(*document, opened);
    document->setValues(opened.document.values());
    document->setCaption(QString::fromStdString(opened.document.title));
    m_status.showMessage(openedText(path));
    // The recent list shows the path as given; so does the window.
    document->setDisplayPath(m_services.recentFiles().caption(1).mid(4));
    m_status.showFileStatus(document->displayPath(), StatusPanels::IconIdle);
    // The page may have brought warnings that need room.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(document->parentWidget()))
        fitToContents(*frame, m_mdiArea);
    document->setModified(false);
}

void DocumentCommands::showPage(DocumentWindow &document, const DocumentFile::OpenResult &page)
{
    document.setPageTitle(QString::fromStdString(page.document.title));
    document.setPageFacts(page.facts);
}

void DocumentCommands::reportOpenFailure(const QString &path, const QString &reason)
{
    if (reason == ResourceText::status(StringId::NoHeadSection)) {
        m_prompts.critical(reason + QLatin1Char('\n') + path);
        return;
    }
    m_status.showMessage(reason + QStringLiteral(" (") + path + QLatin1Char(')'));
}

void DocumentCommands::save()
{
    DocumentWindow *document = DocumentWindow::activeIn(m_mdiArea);
    if (!document)
        return;
    if (m_state.prepareSave(document->filePath()))
        fileSaveAs(*document);
    else
        fileSave(*document);
}

void DocumentCommands::saveAs()
{
    DocumentWindow *document = DocumentWindow::activeIn(m_mdiArea);
    if (!document)
        return;
    m_state.isNewDocument = document->isNew();
    fileSaveAs(*document);
}

void DocumentCommands::close()
{
    if (QMdiSubWindow *frame = m_mdiArea.activeSubWindow())
        frame->close();
}

bool DocumentCommands::fileSave(DocumentWindow &document)
{
    DocumentSaver::Request request;
    request.sourcePath = m_state.sourcePath;
    request.targetPath = m_state.targetPath;
    request.filePath = document.isNew() ? m_state.targetPath : document.filePath();
    request.values = document.values();
    request.version = m_services.settings().text(Setting::Version);
    // A page made a moment ago holds nothing of the user's worth a backup.
    request.backup = m_services.settings().isOn(Setting::BackupFiles) && !document.isNew();
    DocumentSaver::Result result;
    DocumentFile::OpenResult written;
    {
        BusyScope busy(*this);
        result = DocumentSaver::save(request);
        // The page on disk changed: its title and facts are read again.
        if (result.ok)
            written = DocumentFile::open(m_state.targetPath, DocumentFile::Facts::Take);
    }
    if (!result.ok) {
        m_prompts.critical(
            tr("The document could not be saved to %1:\n%2").arg(m_state.targetPath, result.error));
        return false;
    }
    if (m_state.sourcePath != m_state.targetPath)
        document.setCaption(m_state.targetPath);
    document.setFilePath(m_state.targetPath);
    document.setDisplayPath(m_state.targetPath);
    if (written.ok)
        showPage(document, written);
    m_status.showFileStatus(document.displayPath(), StatusPanels::IconSaved);
    m_status.showMessage(savedText(m_state.targetPath));
    document.setModified(false);
    return true;
}

bool DocumentCommands::fileSaveAs(DocumentWindow &document)
{
    const QString path = m_prompts.saveFileName();
    if (path.isEmpty()) {
        m_status.setFileStatusIcon(StatusPanels::IconIdle);
        m_status.showMessage(m_state.savedStatusText);
        m_state.saveAsCancelled = true;
        return false;
    }
    if (m_state.isNewDocument) {
        const DocumentCreator::Result created = DocumentCreator::createDocument(path, generatorText());
        if (!created.ok) {
            m_prompts.critical(tr("The document could not be created at %1:\n%2").arg(path, created.error));
            m_state.saveAsCancelled = true;
            return false;
        }
        m_services.recentFiles().add(path);
        emit recentFilesChanged();
    }
    m_state.sourcePath = m_state.isNewDocument ? path : document.filePath();
    m_state.targetPath = path;
    const bool saved = fileSave(document);
    m_state.saveAsCancelled = !saved;
    return saved;
}

bool DocumentCommands::confirmClose(DocumentWindow &document)
{
    if (!document.isModified())
        return true;
    // The user answers for the page in front of them, so the page asked about comes first.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(document.parentWidget())) {
        m_mdiArea.setActiveSubWindow(frame);
        frame->raise();
    }
    const QMessageBox::StandardButton answer = m_prompts.askSaveChanges(
        ResourceText::get(StringId::SaveChangesPrompt) + QLatin1Char('\n') + document.filePath());
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    // A failed save keeps the window, so its edits are not lost.
    const bool saved = m_state.prepareSave(document.filePath()) ? fileSaveAs(document) : fileSave(document);
    emit saveOnCloseChosen();
    m_status.setFileStatusIcon(StatusPanels::IconEdited);
    m_status.showMessage(ResourceText::status(StringId::NoDocumentOpen));
    return saved;
}

void DocumentCommands::documentChanged(DocumentWindow &document)
{
    if (&document != DocumentWindow::activeIn(m_mdiArea))
        return;
    emit activeValuesChanged();
    m_status.setFileStatusIcon(StatusPanels::IconEdited);
    m_status.showMessage(ResourceText::status(StringId::RememberToSave));
}

void DocumentCommands::documentActivated(DocumentWindow &document)
{
    emit activeValuesChanged();
    m_status.showFileStatus(document.displayPath(), StatusPanels::IconEdited);
}
