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
#include "SiteCommands.h"
#include "WindowArranger.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>

using C = ProgramCommands;
using Edit = EditCommands::Operation;
using Link = ExternalTools::Link;
using Mode = WindowArranger::Mode;

// In the order of CommandId.
const ProgramCommands::Row ProgramCommands::kRows[] = {
    { CommandId::New, "mnuFile(0)", 2001, nullptr, false, "Ctrl+N", 1,
        [](C &c) { c.m_documents.newDocument(); } },
    { CommandId::Open, "mnuFile(1)", 2002, nullptr, true, "Ctrl+O", 2,
        [](C &c) { c.m_documents.openWithDialog(); } },
    { CommandId::OpenSite, "mnuFile(10)", 0, "Open Site", true, nullptr, -1,
        [](C &c) { c.m_window.siteCommands().openWithDialog(); } },
    { CommandId::Close, "mnuFile(2)", 2004, nullptr, false, nullptr, -1,
        [](C &c) { c.m_documents.close(); } },
    { CommandId::Save, "mnuFile(3)", 2003, nullptr, true, "Ctrl+S", 3,
        [](C &c) { c.m_documents.saveActive(); } },
    { CommandId::SaveAs, "mnuFile(9)", 0, "Save As", true, nullptr, -1,
        [](C &c) { c.m_documents.saveActiveAs(); } },
    // Properties (BETA) has never done anything.
    { CommandId::Properties, "mnuFile(4)", 2005, nullptr, false, nullptr, 12, [](C &) {} },
    { CommandId::Exit, "mnuFile(5)", 2006, nullptr, false, "Alt+Q", 11, [](C &c) { c.m_window.close(); } },
    { CommandId::RecentFile1, "mnuFile(6)", 0, nullptr, false, nullptr, -1,
        [](C &c) { c.openRecentFile(1); } },
    { CommandId::RecentFile2, "mnuFile(7)", 0, nullptr, false, nullptr, -1,
        [](C &c) { c.openRecentFile(2); } },
    { CommandId::RecentFile3, "mnuFile(8)", 0, nullptr, false, nullptr, -1,
        [](C &c) { c.openRecentFile(3); } },
    { CommandId::RecentSite1, "mnuFile(11)", 0, nullptr, false, nullptr, -1,
        [](C &c) { c.m_window.openRecentSite(1); } },
    { CommandId::RecentSite2, "mnuFile(12)", 0, nullptr, false, nullptr, -1,
        [](C &c) { c.m_window.openRecentSite(2); } },
    { CommandId::RecentSite3, "mnuFile(13)", 0, nullptr, false, nullptr, -1,
        [](C &c) { c.m_window.openRecentSite(3); } },
    { CommandId::Undo, "mnuEdit(0)", 2008, nullptr, false, "Ctrl+Z", 13,
        [](C &c) { c.m_edits.run(Edit::Undo); } },
    { CommandId::Cut, "mnuEdit(1)", 2009, nullptr, false, "Ctrl+X", 14,
        [](C &c) { c.m_edits.run(Edit::Cut); } },
    { CommandId::Copy, "mnuEdit(2)", 2010, nullptr, false, "Ctrl+C", 15,
        [](C &c) { c.m_edits.run(Edit::Copy); } },
    { CommandId::Paste, "mnuEdit(3)", 2011, nullptr, false, "Ctrl+V", 16,
        [](C &c) { c.m_edits.run(Edit::Paste); } },
    { CommandId::CopyMetaTags, "mnuEdit(4)", 0, "Copy META Element Tags", false, "Ctrl+M", 17,
        [](C &c) { c.m_window.copyMetaElementTags(); } },
    { CommandId::InsertStandardAuthor, "mnuInsert(0)", 2014, nullptr, false, "Ctrl+I", 4,
        [](C &c) { c.m_edits.insertStandardAuthor(); } },
    { CommandId::MetaPane, "mnuView(0)", 2016, nullptr, false, "F8", 5,
        [](C &c) { c.m_window.toggleMetaPane(); } },
    { CommandId::FullCode, "mnuView(1)", 2017, nullptr, false, "Ctrl+F", -1,
        [](C &c) { c.m_tools.fullCode(); } },
    { CommandId::ToolbarStrip, "mnuView(2)", 2018, nullptr, false, nullptr, 6,
        [](C &c) { c.m_window.toggleToolbar(); } },
    { CommandId::ProgramSettings, "mnuTool(0)", 2020, nullptr, true, "F9", 7,
        [](C &c) {
            const FileAssociations associations(
                QCoreApplication::applicationDirPath(), FileAssociations::defaultApplicationsFolder());
            auto *dialog = new SettingsDialog(c.m_services, associations, &c.m_window);
            connect(dialog, &SettingsDialog::widthLimitsChanged, &c.m_documents,
                &DocumentCommands::applyWidthLimits);
            connect(dialog, &SettingsDialog::widthLimitsChanged, &c.m_window.siteCommands(),
                &SiteCommands::applyWidthLimits);
            c.openDialog(dialog);
        } },
    { CommandId::Cascade, "mnuWindow(0)", 2022, nullptr, false, nullptr, -1,
        [](C &c) { WindowArranger::arrange(c.m_window.mdiArea(), Mode::Cascade); } },
    { CommandId::TileHorizontally, "mnuWindow(1)", 2023, nullptr, false, nullptr, -1,
        [](C &c) { WindowArranger::arrange(c.m_window.mdiArea(), Mode::TileHorizontally); } },
    { CommandId::TileVertically, "mnuWindow(2)", 2024, nullptr, false, nullptr, -1,
        [](C &c) { WindowArranger::arrange(c.m_window.mdiArea(), Mode::TileVertically); } },
    { CommandId::ArrangeIcons, "mnuWindow(3)", 2025, nullptr, false, nullptr, -1,
        [](C &c) { WindowArranger::arrange(c.m_window.mdiArea(), Mode::ArrangeIcons); } },
    { CommandId::HelpIndex, "mnuHelp(0)", 2027, nullptr, false, "F1", 8,
        [](C &c) { c.m_tools.helpIndex(); } },
    { CommandId::TagsmithHome, "mnuHelp(1)", 2029, nullptr, false, nullptr, 10,
        [](C &c) { c.m_tools.openLink(Link::TagsmithHome); } },
    { CommandId::Forum, "mnuHelp(2)", 2030, nullptr, false, nullptr, 10,
        [](C &c) { c.m_tools.openLink(Link::Forum); } },
    { CommandId::RobotsMetaTag, "mnuHelp(3)", 2032, nullptr, false, nullptr, 10,
        [](C &c) { c.m_tools.openLink(Link::RobotsMetaTag); } },
    { CommandId::Vantorel, "mnuHelp(4)", 2033, nullptr, false, nullptr, 10,
        [](C &c) { c.m_tools.openLink(Link::Vantorel); } },
    { CommandId::About, "mnuHelp(5)", 2034, nullptr, true, nullptr, -1,
        [](C &c) { c.openDialog(new AboutDialog(c.m_services.settings(), &c.m_window)); } },
};

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
        connect(action, &QAction::triggered, this, [this, handler = row.handler] { handler(*this); });
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

void ProgramCommands::openRecentFile(int entry)
{
    if (m_services.recentFiles().inUse(entry))
        m_documents.openRecent(m_services.recentFiles().path(entry));
}

// Dialogs open window-modal without a nested event loop, so commands return at once.
void ProgramCommands::openDialog(QDialog *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}
