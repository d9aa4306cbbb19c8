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
#include <QFileInfo>

namespace {

// By ExternalTools::Link.
constexpr const char *kLinkAddresses[] = {
    "https://www.vantorel.com/tagsmith/",
    "https://www.vantorel.com/forum/",
    "https://developers.google.com/search/docs/crawling-indexing/robots-meta-tag",
    "https://www.vantorel.com/",
};

// Where an installed copy keeps the guide, then where a build tree finds the sources' one.
constexpr const char *kGuidePlaces[] = {
    "../share/doc/tagsmith/index.html",
    "../docs/guide/index.html",
    "../../docs/guide/index.html",
};

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
    for (const char *place : kGuidePlaces) {
        const QString candidate = QDir::cleanPath(folder.filePath(QString::fromLatin1(place)));
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
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
    const DefaultTextEditor::Command editor = DefaultTextEditor::forFile(path);
    if (!m_launcher->start(editor.program, editor.arguments))
        reportNotStarted(editor.program);
}

void ExternalTools::helpIndex()
{
    QString file = m_settings.text(Setting::Help);
    if (file.isEmpty()) {
        file = userGuide(m_programFolder);
        if (file.isEmpty()) {
            m_status.showMessage(
                tr("The user guide is not installed (looked for %1).")
                    .arg(QDir::cleanPath(
                        QDir(m_programFolder).filePath(QString::fromLatin1(kGuidePlaces[0])))));
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
