#include "ProgramCommands.h"

#include "AboutDialog.h"
#include "DocumentCommands.h"
#include "EditCommands.h"
#include "ExternalTools.h"
#include "FileAssociations.h"
#include "MainWindow.h"
#include "ProgramServices.h"
#include "ResourceText.h"
#include "SettingsDialog.h"
#include "WindowArranger.h"

#include <QAction>
#include <QCoreApplication>


namespace {

using C = ProgramCommands;

} // namespace

// In the order of CommandId.
const ProgramCommands::Row ProgramCommands::kRows[] = {
    { CommandId::New, "mnuFile(0)", 2001, nullptr, false, "Ctrl+N", 1, &C::newDocument },
    { CommandId::Open, "mnuFile(1)", 2002, nullptr, true, "Ctrl+O", 2, &C::open },
    { CommandId::Close, "mnuFile(2)", 2004, nullptr, false, nullptr, -1, &C::close },
    { CommandId::Save, "mnuFile(3)", 2003, nullptr, true, "Ctrl+S", 3, &C::save },
    { CommandId::SaveAs, "mnuFile(9)", 0, "Save As", true, nullptr, -1, &C::saveAs },
    { CommandId::Properties, "mnuFile(4)", 2005, nullptr, false, nullptr, 12, &C::properties },
    { CommandId::Exit, "mnuFile(5)", 2006, nullptr, false, "Alt+Q", 11, &C::exit },
    { CommandId::RecentFile1, "mnuFile(6)", 0, nullptr, false, nullptr, -1, &C::openRecentFile1 },
    { CommandId::RecentFile2, "mnuFile(7)", 0, nullptr, false, nullptr, -1, &C::openRecentFile2 },
    { CommandId::RecentFile3, "mnuFile(8)", 0, nullptr, false, nullptr, -1, &C::openRecentFile3 },
    { CommandId::Undo, "mnuEdit(0)", 2008, nullptr, false, "Ctrl+Z", 13, &C::undo },
    { CommandId::Cut, "mnuEdit(1)", 2009, nullptr, false, "Ctrl+X", 14, &C::cut },
    { CommandId::Copy, "mnuEdit(2)", 2010, nullptr, false, "Ctrl+C", 15, &C::copy },
    { CommandId::Paste, "mnuEdit(3)", 2011, nullptr, false, "Ctrl+V", 16, &C::paste },
    { CommandId::CopyMetaTags, "mnuEdit(4)", 0, "Copy META Element Tags", false, "Ctrl+M", 17, &C::copyMetaTags },
    { CommandId::InsertStandardAuthor, "mnuInsert(0)", 2014, nullptr, false, "Ctrl+I", 4, &C::insertStandardAuthor },
    { CommandId::MetaPane, "mnuView(0)", 2016, nullptr, false, "F8", 5, &C::toggleMetaPane },
    { CommandId::FullCode, "mnuView(1)", 2017, nullptr, false, "Ctrl+F", -1, &C::fullCode },
    { CommandId::ToolbarStrip, "mnuView(2)", 2018, nullptr, false, nullptr, 6, &C::toggleToolbarStrip },
    { CommandId::ProgramSettings, "mnuTool(0)", 2020, nullptr, true, "F9", 7, &C::programSettings },
    { CommandId::Cascade, "mnuWindow(0)", 2022, nullptr, false, nullptr, -1, &C::cascade },
    { CommandId::TileHorizontally, "mnuWindow(1)", 2023, nullptr, false, nullptr, -1, &C::tileHorizontally },
    { CommandId::TileVertically, "mnuWindow(2)", 2024, nullptr, false, nullptr, -1, &C::tileVertically },
    { CommandId::ArrangeIcons, "mnuWindow(3)", 2025, nullptr, false, nullptr, -1, &C::arrangeIcons },
    { CommandId::HelpIndex, "mnuHelp(0)", 2027, nullptr, false, "F1", 8, &C::helpIndex },
    { CommandId::TagsmithHome, "mnuHelp(1)", 2029, nullptr, false, nullptr, 10, &C::tagsmithHome },
    { CommandId::Forum, "mnuHelp(2)", 2030, nullptr, false, nullptr, 10, &C::forum },
    { CommandId::RobotsMetaTag, "mnuHelp(3)", 2032, nullptr, false, nullptr, 10, &C::robotsMetaTag },
    { CommandId::Vantorel, "mnuHelp(4)", 2033, nullptr, false, nullptr, 10, &C::vantorel },
    { CommandId::About, "mnuHelp(5)", 2034, nullptr, true, nullptr, -1, &C::about },
};
namespace {

// Dialogs open window-modal without a nested event loop, so commands return at once.
void openDialog(QDialog *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace

ProgramCommands::ProgramCommands(MainWindow &window, ProgramServices &services, DocumentCommands &documents,
    EditCommands &edits, ExternalTools &tools)
    : QObject(&window)
    , m_window(window)
    , m_services(services)
    , m_documents(documents)
    , m_edits(edits)
    , m_tools(tools)
{
    for (const Row &row : kRows) {
        auto *action = new QAction(menuCaption(row.id).section(QLatin1Char('\t'), 0, 0), this);
        if (row.shortcut) {
            action->setShortcut(QKeySequence::fromString(QString::fromLatin1(row.shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
            window.addAction(action);
        }
        connect(action, &QAction::triggered, this, row.handler);
        m_actions[static_cast<std::size_t>(row.id)] = action;
    }
}

const ProgramCommands::Row &ProgramCommands::row(CommandId id)
{
    return kRows[static_cast<std::size_t>(id)];
}

QString ProgramCommands::menuKey(CommandId id)
{
    return QString::fromLatin1(row(id).key);
}

QString ProgramCommands::menuCaption(CommandId id)
{
    const Row &command = row(id);
    QString text = command.literal ? QString::fromLatin1(command.literal) : ResourceText::get(command.text);
    if (command.ellipsis)
        text += QStringLiteral("...");
    if (command.shortcut)
        text += QLatin1Char('\t') + QString::fromLatin1(command.shortcut);
    return text;
}

std::optional<CommandId> ProgramCommands::forMenuKey(const QString &key)
{
    for (const Row &command : kRows) {
        if (key == QLatin1String(command.key))
            return command.id;
    }
    return std::nullopt;
}

void ProgramCommands::trigger(CommandId id) const
{
    action(id)->trigger();
}

void ProgramCommands::triggerMenuKey(const QString &key) const
{
    if (const std::optional<CommandId> id = forMenuKey(key))
        trigger(*id);
}

void ProgramCommands::setEnabled(CommandId id, bool enabled)
{
    action(id)->setEnabled(enabled);
}

void ProgramCommands::newDocument()
{
    m_documents.newDocument();
}

void ProgramCommands::open()
{
    m_documents.openWithDialog();
}

void ProgramCommands::close()
{
    m_documents.close();
}

void ProgramCommands::save()
{
    m_documents.saveActive();
}

void ProgramCommands::saveAs()
{
    m_documents.saveActiveAs();
}

// Properties (BETA) has never done anything.
void ProgramCommands::properties() { }

void ProgramCommands::exit()
{
    m_window.close();
}

void ProgramCommands::openRecentFile1()
{
    openRecentFile(1);
}

void ProgramCommands::openRecentFile2()
{
    openRecentFile(2);
}

void ProgramCommands::openRecentFile3()
{
    openRecentFile(3);
}

void ProgramCommands::openRecentFile(int entry)
{
    if (m_services.recentFiles().inUse(entry))
        m_documents.openRecent(m_services.recentFiles().path(entry));
}

void ProgramCommands::undo()
{
    m_edits.run(EditCommands::Operation::Undo);
}

void ProgramCommands::cut()
{
    m_edits.run(EditCommands::Operation::Cut);
}

void ProgramCommands::copy()
{
    m_edits.run(EditCommands::Operation::Copy);
}

void ProgramCommands::paste()
{
    m_edits.run(EditCommands::Operation::Paste);
}

void ProgramCommands::copyMetaTags()
{
    m_window.copyMetaElementTags();
}

void ProgramCommands::insertStandardAuthor()
{
    m_edits.insertStandardAuthor();
}

void ProgramCommands::toggleMetaPane()
{
    m_window.toggleMetaPane();
}

void ProgramCommands::fullCode()
{
    m_tools.fullCode();
}

void ProgramCommands::toggleToolbarStrip()
{
    m_window.toggleToolbar();
}

void ProgramCommands::programSettings()
{
    const FileAssociations associations(
        QCoreApplication::applicationDirPath(), FileAssociations::defaultApplicationsFolder());
    openDialog(new SettingsDialog(m_services, associations, &m_window));
}

void ProgramCommands::cascade()
{
    WindowArranger::arrange(m_window.mdiArea(), WindowArranger::Mode::Cascade);
}

void ProgramCommands::tileHorizontally()
{
    WindowArranger::arrange(m_window.mdiArea(), WindowArranger::Mode::TileHorizontally);
}

void ProgramCommands::tileVertically()
{
    WindowArranger::arrange(m_window.mdiArea(), WindowArranger::Mode::TileVertically);
}

void ProgramCommands::arrangeIcons()
{
    WindowArranger::arrange(m_window.mdiArea(), WindowArranger::Mode::ArrangeIcons);
}

void ProgramCommands::helpIndex()
{
    m_tools.helpIndex();
}

void ProgramCommands::tagsmithHome()
{
    m_tools.openLink(ExternalTools::Link::TagsmithHome);
}

void ProgramCommands::forum()
{
    m_tools.openLink(ExternalTools::Link::Forum);
}

void ProgramCommands::robotsMetaTag()
{
    m_tools.openLink(ExternalTools::Link::RobotsMetaTag);
}

void ProgramCommands::vantorel()
{
    m_tools.openLink(ExternalTools::Link::Vantorel);
}

void ProgramCommands::about()
{
    openDialog(new AboutDialog(m_services.settings(), &m_window));
}
