#include "ExternalTools.h"

#include "DefaultTextEditor.h"
#include "Document.h"
#include "DocumentCommands.h"
#include "DocumentWindow.h"
#include "ProgramLauncher.h"
#include "SettingsCatalogue.h"
#include "StatusPanels.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>

namespace {

// By ExternalTools::Link.
constexpr const char *kLinkAddresses[] = {
    "https://www.vantorel.com/tagsmith/",
    "https://www.vantorel.com/forum/",
    "https://developers.google.com/search/docs/crawling-indexing/robots-meta-tag",
    "https://www.vantorel.com/",
};

// Where an installed copy keeps the guide, from the program's folder: with the program's own
// data, for a system may leave out /usr/share/doc.
const QString kInstalledGuide = QStringLiteral("../share/tagsmith/guide/index.html");

const QString kSiblingEditorEnding = QStringLiteral("Scriv.exe");
const QString kViewer = QStringLiteral("xdg-open");

} // namespace

ExternalTools::ExternalTools(const QMdiArea &mdiArea, DocumentCommands &commands,
    const SettingsCatalogue &settings, StatusPanels &status)
    : m_mdiArea(mdiArea)
    , m_commands(commands)
    , m_settings(settings)
    , m_status(status)
    , m_launcher(std::make_unique<ProgramLauncher>())
    , m_programFolder(QCoreApplication::applicationDirPath())
{
}

ExternalTools::~ExternalTools() = default;

void ExternalTools::setLauncher(std::unique_ptr<ProgramLauncher> launcher)
{
    if (launcher)
        m_launcher = std::move(launcher);
}

QUrl ExternalTools::linkAddress(Link link)
{
    return QUrl(QString::fromLatin1(kLinkAddresses[static_cast<std::size_t>(link)]));
}

QString ExternalTools::userGuide(const QString &programFolder)
{
    const QDir folder(programFolder);
    const QString installed = QDir::cleanPath(folder.filePath(kInstalledGuide));
    if (QFileInfo(installed).isFile())
        return installed;
    // The path comes from a note the build leaves beside the program rather than from the
    // program itself: no program, installed or packaged, carries a path of the machine it
    // was built on, and only a build tree holds the note.
    QFile note(folder.filePath(kSourceGuideNote));
    if (!note.open(QIODevice::ReadOnly))
        return {};
    const QString sourceGuide = QFile::decodeName(note.readAll());
    return QFileInfo(sourceGuide).isFile() ? sourceGuide : QString();
}

void ExternalTools::fullCode()
{
    DocumentWindow *window = DocumentWindow::activeIn(m_mdiArea);
    // A save that was cancelled or failed leaves nothing true to show.
    if (window && m_commands.save(window->document()))
        startEditor(window->document().path());
}

void ExternalTools::startEditor(const QString &path)
{
    const QString sibling = m_settings.text(Setting::ScrivanLocation);
    if (sibling.endsWith(kSiblingEditorEnding, Qt::CaseSensitive)) {
        if (!m_launcher->start(sibling, { path }))
            reportNotStarted(sibling);
        return;
    }
    if (const auto visual = DefaultTextEditor::fromVisual(qEnvironmentVariable("VISUAL"), path)) {
        if (!m_launcher->start(visual->program, visual->arguments))
            reportNotStarted(visual->program);
        return;
    }
    const std::optional<DesktopApplication> editor = DefaultTextEditor::forPlainText();
    if (!editor) {
        m_status.showMessage(tr("No text editor found for plain text."));
        return;
    }
    // The answer comes after the command has returned, maybe after the window has gone.
    const QPointer<const QMdiArea> windowOpen(&m_mdiArea);
    m_launcher->open(*editor, path, [this, windowOpen, name = editor->name()](const QString &reason) {
        if (windowOpen)
            m_status.showMessage(tr("%1 could not be started: %2").arg(name, reason));
    });
}

void ExternalTools::helpIndex()
{
    QString file = m_settings.text(Setting::Help);
    if (file.isEmpty()) {
        file = userGuide(m_programFolder);
        if (file.isEmpty()) {
            m_status.showMessage(tr("The user guide is not installed (looked for %1).")
                                     .arg(QDir::cleanPath(QDir(m_programFolder).filePath(kInstalledGuide))));
            return;
        }
    } else if (!QFileInfo::exists(file)) {
        m_status.showMessage(tr("The help file %1 does not exist.").arg(file));
        return;
    }
    if (!startViewer(file))
        reportNotStarted(kViewer);
}

bool ExternalTools::startViewer(const QString &file)
{
    return m_launcher->start(kViewer, { file }) || m_launcher->openUrl(QUrl::fromLocalFile(file));
}

void ExternalTools::openLink(Link link)
{
    const QUrl address = linkAddress(link);
    if (!m_launcher->openUrl(address)) {
        m_status.showMessage(tr("No web browser could be started for %1.").arg(address.toString()));
    }
}

void ExternalTools::reportNotStarted(const QString &program)
{
    m_status.showMessage(tr("%1 could not be started.").arg(program));
}
