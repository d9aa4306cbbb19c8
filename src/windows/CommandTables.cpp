#include "CommandTables.h"

#include "PopupMenu.h"
#include "ProgramCommands.h"
#include "ResourceText.h"
#include "toolbar/Toolbar.h"

#include <QHash>

#include <iterator>

namespace {

enum class Kind { Menu, Submenu, Command, Separator, HeadingSeparator };

struct MenuRow
{
    Kind kind;
    // The menu key of a menu or a separator, or how later rows name a submenu without a key.
    const char *name;
    int text; // resource id
    CommandId command;
    const char *parent; // the name of the menu the row belongs to; nullptr: the menu bar
};

constexpr MenuRow menu(const char *key, int text)
{
    return { Kind::Menu, key, text, CommandId::New, nullptr };
}

constexpr MenuRow submenu(const char *name, int text, const char *parent)
{
    return { Kind::Submenu, name, text, CommandId::New, parent };
}

constexpr MenuRow command(CommandId id, const char *parent)
{
    return { Kind::Command, nullptr, 0, id, parent };
}

constexpr MenuRow separator(const char *parent, const char *key = nullptr)
{
    return { Kind::Separator, key, 0, CommandId::New, parent };
}

// A separator that heads a submenu with the submenu's own text.
constexpr MenuRow headingSeparator(int text, const char *parent)
{
    return { Kind::HeadingSeparator, nullptr, text, CommandId::New, parent };
}

constexpr const char *kFile = "mnuFileTOP";
constexpr const char *kEdit = "mnuEditTOP";
constexpr const char *kInsert = "mnuInsertTOP";
constexpr const char *kView = "mnuViewTOP";
constexpr const char *kTool = "mnuToolTOP";
constexpr const char *kWindow = "mnuWindowTOP";
constexpr const char *kHelp = "mnuHelpTOP";
constexpr const char *kHelpProgram = "help: the program's pages";
constexpr const char *kHelpSearch = "help: search engines";

// In menu order; the menu object numbers the items in this order.
constexpr MenuRow kMenu[] = {
    menu(kFile, 2000),
    command(CommandId::New, kFile),
    command(CommandId::Open, kFile),
    command(CommandId::OpenSite, kFile),
    command(CommandId::Close, kFile),
    separator(kFile),
    command(CommandId::Save, kFile),
    command(CommandId::SaveAs, kFile),
    separator(kFile),
    command(CommandId::Properties, kFile),
    // The recent files go in after this one.
    separator(kFile, "mnuFileInsert"),
    command(CommandId::Exit, kFile),
    menu(kEdit, 2007),
    command(CommandId::Undo, kEdit),
    separator(kEdit),
    command(CommandId::Cut, kEdit),
    command(CommandId::Copy, kEdit),
    command(CommandId::Paste, kEdit),
    separator(kEdit),
    command(CommandId::CopyMetaTags, kEdit),
    menu(kInsert, 2013),
    command(CommandId::InsertStandardAuthor, kInsert),
    menu(kView, 2015),
    command(CommandId::MetaPane, kView),
    command(CommandId::FullCode, kView),
    separator(kView),
    command(CommandId::ToolbarStrip, kView),
    menu(kTool, 2019),
    command(CommandId::ProgramSettings, kTool),
    menu(kWindow, 2021),
    command(CommandId::Cascade, kWindow),
    command(CommandId::TileHorizontally, kWindow),
    command(CommandId::TileVertically, kWindow),
    command(CommandId::ArrangeIcons, kWindow),
    menu(kHelp, 2026),
    command(CommandId::HelpIndex, kHelp),
    separator(kHelp),
    submenu(kHelpProgram, 2028, kHelp),
    headingSeparator(2028, kHelpProgram),
    command(CommandId::TagsmithHome, kHelpProgram),
    command(CommandId::Forum, kHelpProgram),
    submenu(kHelpSearch, 2031, kHelp),
    headingSeparator(2031, kHelpSearch),
    command(CommandId::RobotsMetaTag, kHelpSearch),
    separator(kHelp),
    command(CommandId::Vantorel, kHelp),
    command(CommandId::About, kHelp),
};

// Shown as defaults: Exit, Index, the maker's site and About.
constexpr CommandId kDefaultCommands[]
    = { CommandId::Exit, CommandId::HelpIndex, CommandId::Vantorel, CommandId::About };

struct ButtonRow
{
    const char *key; // nullptr: a separator
    CommandId command; // its image is the button's
    int tip; // resource id
    bool ellipsis;
};

constexpr ButtonRow kSeparator { nullptr, CommandId::New, 0, false };

constexpr ButtonRow kButtons[] = {
    { "tbNew", CommandId::New, 116, false },
    { "tbLoad", CommandId::Open, 117, true },
    { "tbSave", CommandId::Save, 118, true },
    kSeparator,
    { "tbCut", CommandId::Cut, 124, false },
    { "tbCopy", CommandId::Copy, 125, false },
    { "tbPaste", CommandId::Paste, 126, false },
    { "tbCopyMETA", CommandId::CopyMetaTags, 128, false },
    { "tbUndo", CommandId::Undo, 127, false },
    kSeparator,
    { "tbAuthor", CommandId::InsertStandardAuthor, 119, false },
    { "tbMeta", CommandId::MetaPane, 120, false },
    kSeparator,
    { "tbSettings", CommandId::ProgramSettings, 121, false },
    kSeparator,
    { "tbLink", CommandId::TagsmithHome, 122, false },
    { "tbHelp", CommandId::HelpIndex, 123, false },
};

QString caption(const MenuRow &row)
{
    switch (row.kind) {
    case Kind::Command:
        return ProgramCommands::menuCaption(row.command);
    case Kind::Separator:
        return QStringLiteral("-");
    case Kind::HeadingSeparator:
        return QLatin1Char('-') + ResourceText::get(row.text);
    case Kind::Menu:
    case Kind::Submenu:
        break;
    }
    return ResourceText::get(row.text);
}

QString key(const MenuRow &row)
{
    if (row.kind == Kind::Command)
        return ProgramCommands::menuKey(row.command);
    return row.kind == Kind::Submenu || !row.name ? QString() : QString::fromLatin1(row.name);
}

} // namespace

void CommandTables::buildMenu(PopupMenu &popup)
{
    QHash<QString, int> menus;
    for (const MenuRow &row : kMenu) {
        const int parent = row.parent ? menus.value(QString::fromLatin1(row.parent)) : 0;
        const int index = popup.appendItem(caption(row), parent, key(row));
        if (row.kind == Kind::Menu || row.kind == Kind::Submenu)
            menus.insert(QString::fromLatin1(row.name), index);
        if (row.kind != Kind::Command)
            continue;
        if (const int image = ProgramCommands::row(row.command).image; image >= 0)
            popup.setItemImage(index, image);
        if (row.command == CommandId::ToolbarStrip)
            popup.setItemChecked(index, true);
    }
    for (const CommandId id : kDefaultCommands)
        popup.setItemDefault(popup.findItemByKey(ProgramCommands::menuKey(id)), true);
}

void CommandTables::buildToolbar(Toolbar &toolbar)
{
    for (const ButtonRow &row : kButtons) {
        if (!row.key) {
            toolbar.addButton({}, -1, {}, 0, {}, Toolbar::StyleSeparator);
            continue;
        }
        const QString tip = ResourceText::get(row.tip) + (row.ellipsis ? QStringLiteral("...") : QString());
        toolbar.addButton(tip, ProgramCommands::row(row.command).image, {}, 0, {}, Toolbar::StyleButton,
            QString::fromLatin1(row.key));
    }
}

std::optional<CommandId> CommandTables::buttonCommand(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kButtons)) || !kButtons[index].key)
        return std::nullopt;
    return kButtons[index].command;
}
