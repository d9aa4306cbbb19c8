#include "DocumentCommands.h"

#include "TextBox.h"
#include "DocumentCreator.h"
#include "DocumentFile.h"
#include "DocumentSaver.h"
#include "TagBlock.h"
#include "DocumentWindow.h"
#include "ResourceText.h"
#include "StringTable.h"
#include "IconList.h"
#include "RecentFileList.h"
#include "SettingsCatalogue.h"
#include "CommandLinePaths.h"
#include "UserPrompts.h"
#include "MainWindow.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QString withPath(int id, const QString &path)
{
    return ResourceText::status(id) + QStringLiteral(" (") + path + QLatin1Char(')');
}

// The hourglass and progress band for as long as a file operation runs, whichever way it ends.
class BusyScope
{
public:
    explicit BusyScope(MainWindow &main)
        : m_main(main)
    {
        m_main.setBusy(true);
    }
    ~BusyScope() { m_main.setBusy(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    MainWindow &m_main;
};

constexpr QSize kLeastFrameSize(520, 300);

// Grown to hold the fields, the search result and the warnings of the page, as far as the
// main window has room.
void fitToContents(QMdiSubWindow &frame, const QMdiArea &area)
{
    const QSize wanted = frame.sizeHint().boundedTo(area.viewport()->size());
    frame.resize(frame.size().expandedTo(wanted));
}

} // namespace

DocumentCommands::DocumentCommands(MainWindow &main)
    : QObject(&main)
    , m_main(main)
{
    connect(&m_main.mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *frame) {
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
        TagBlock::generatorText(m_main.settings().text(Setting::Version).toStdString()));
}

DocumentWindow *DocumentCommands::createWindow()
{
    auto *document = new DocumentWindow;
    document->setAttribute(Qt::WA_DeleteOnClose);
    document->applyNewDefaults(
        m_main.settings().text(Setting::Author), m_main.settings().isOn(Setting::DefaultCharset));
    connect(document, &DocumentWindow::valuesChanged, this, [this, document] { documentChanged(*document); });
    connect(document, &DocumentWindow::fieldFocused, this,
        [this](const QString &name) { m_main.documentState().ActiveField = name; });
    document->setCloseGuard([this](DocumentWindow &closing) { return confirmClose(closing); });
    m_sharedDescriptions.add(*document);
    const int earlier = static_cast<int>(m_main.mdiArea().subWindowList().size());
    QMdiSubWindow *frame = m_main.mdiArea().addSubWindow(document);
    frame->setWindowIcon(m_main.icons().icon(MainWindow::IconIdle));
    frame->setWindowTitle(document->caption());
    frame->resize(kLeastFrameSize);
    fitToContents(*frame, m_main.mdiArea());
    // Cascaded, so that every new window's caption stays in sight.
    constexpr int kCascadeStep = 26;
    frame->move((earlier % 8) * kCascadeStep, (earlier % 8) * kCascadeStep);
    frame->show();
    m_main.mdiArea().setActiveSubWindow(frame);
    m_main.EnableDocumentCommands();
    return document;
}

DocumentWindow *DocumentCommands::New()
{
    DocumentWindow *document = createWindow();
    m_main.showFileStatus(ResourceText::get(StringId::NoFile), MainWindow::IconIdle);
    m_main.showMessage(document->caption());
    document->setModified(false);
    return document;
}

void DocumentCommands::OpenWithDialog()
{
    announceOpening();
    m_main.documentState().OpenWithDialog = true;
    Open();
}

void DocumentCommands::OpenRecent(const QString &path)
{
    announceOpening();
    DocumentState &state = m_main.documentState();
    state.PathToOpen = path;
    state.OpenWithDialog = false;
    Open();
}

void DocumentCommands::announceOpening()
{
    m_main.documentState().SavedStatusText = m_main.message();
    m_main.showFileStatus(ResourceText::status(StringId::OpeningDocument), MainWindow::IconOpening);
}

void DocumentCommands::Open()
{
    DocumentState &state = m_main.documentState();
    QString path = state.PathToOpen;
    if (state.OpenWithDialog) {
        path = m_main.prompts().openFileName();
        if (path.isEmpty()) {
            m_main.setFileStatusIcon(MainWindow::IconIdle);
            m_main.showMessage(state.SavedStatusText);
            return;
        }
    }
    if (!path.isEmpty())
        path = CommandLinePaths::absolute(path, QDir::currentPath());
    BusyScope busy(m_main);
    m_main.recentFiles().add(path);
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
    m_main.showMessage(openedText(path));
    // The recent list shows the path as given; so does the window.
    document->setDisplayPath(m_main.recentFiles().caption(1).mid(4));
    m_main.showFileStatus(document->displayPath(), MainWindow::IconIdle);
    // The page may have brought warnings that need room.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(document->parentWidget()))
        fitToContents(*frame, m_main.mdiArea());
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
        m_main.prompts().critical(reason + QLatin1Char('\n') + path);
        return;
    }
    m_main.showMessage(reason + QStringLiteral(" (") + path + QLatin1Char(')'));
}

void DocumentCommands::Save()
{
    DocumentWindow *document = m_main.activeDocument();
    if (!document)
        return;
    if (m_main.documentState().prepareSave(document->filePath()))
        FileSaveAs(*document);
    else
        FileSave(*document);
}

void DocumentCommands::SaveAs()
{
    DocumentWindow *document = m_main.activeDocument();
    if (!document)
        return;
    m_main.documentState().IsNewDocument = document->isNew();
    FileSaveAs(*document);
}

void DocumentCommands::Close()
{
    if (QMdiSubWindow *frame = m_main.mdiArea().activeSubWindow())
        frame->close();
}

bool DocumentCommands::FileSave(DocumentWindow &document)
{
    const DocumentState &state = m_main.documentState();
    DocumentSaver::Request request;
    request.sourcePath = state.SourcePath;
    request.targetPath = state.TargetPath;
    request.filePath = document.isNew() ? state.TargetPath : document.filePath();
    request.values = document.values();
    request.version = m_main.settings().text(Setting::Version);
    // A page made a moment ago holds nothing of the user's worth a backup.
    request.backup = m_main.settings().isOn(Setting::BackupFiles) && !document.isNew();
    DocumentSaver::Result result;
    DocumentFile::OpenResult written;
    {
        BusyScope busy(m_main);
        result = DocumentSaver::save(request);
        // The page on disk changed: its title and facts are read again.
        if (result.ok)
            written = DocumentFile::open(state.TargetPath, DocumentFile::Facts::Take);
    }
    if (!result.ok) {
        m_main.prompts().critical(
            tr("The document could not be saved to %1:\n%2").arg(state.TargetPath, result.error));
        return false;
    }
    if (state.SourcePath != state.TargetPath)
        document.setCaption(state.TargetPath);
    document.setFilePath(state.TargetPath);
    document.setDisplayPath(state.TargetPath);
    if (written.ok)
        showPage(document, written);
    m_main.showFileStatus(document.displayPath(), MainWindow::IconSaved);
    m_main.showMessage(savedText(state.TargetPath));
    document.setModified(false);
    return true;
}

bool DocumentCommands::FileSaveAs(DocumentWindow &document)
{
    DocumentState &state = m_main.documentState();
    const QString path = m_main.prompts().saveFileName();
    if (path.isEmpty()) {
        m_main.setFileStatusIcon(MainWindow::IconIdle);
        m_main.showMessage(state.SavedStatusText);
        state.SaveAsCancelled = true;
        return false;
    }
    if (state.IsNewDocument) {
        const DocumentCreator::Result created = DocumentCreator::CreateDocument(path, generatorText());
        if (!created.ok) {
            m_main.prompts().critical(
                tr("The document could not be created at %1:\n%2").arg(path, created.error));
            state.SaveAsCancelled = true;
            return false;
        }
        m_main.recentFiles().add(path);
        emit recentFilesChanged();
    }
    state.SourcePath = state.IsNewDocument ? path : document.filePath();
    state.TargetPath = path;
    const bool saved = FileSave(document);
    state.SaveAsCancelled = !saved;
    return saved;
}

bool DocumentCommands::confirmClose(DocumentWindow &document)
{
    if (!document.isModified())
        return true;
    const QMessageBox::StandardButton answer = m_main.prompts().askSaveChanges(
        ResourceText::get(StringId::SaveChangesPrompt) + QLatin1Char('\n') + document.filePath());
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    DocumentState &state = m_main.documentState();
    // A failed save keeps the window, so its edits are not lost.
    const bool saved = state.prepareSave(document.filePath()) ? FileSaveAs(document) : FileSave(document);
    m_main.metaText().setText({});
    m_main.setFileStatusIcon(MainWindow::IconEdited);
    m_main.showMessage(ResourceText::status(StringId::NoDocumentOpen));
    return saved;
}

void DocumentCommands::documentChanged(DocumentWindow &document)
{
    if (&document != m_main.activeDocument())
        return;
    m_main.refreshTagBlockPane();
    m_main.setFileStatusIcon(MainWindow::IconEdited);
    m_main.showMessage(ResourceText::status(StringId::RememberToSave));
}

void DocumentCommands::documentActivated(DocumentWindow &document)
{
    m_main.refreshTagBlockPane();
    m_main.showFileStatus(document.displayPath(), MainWindow::IconEdited);
}
