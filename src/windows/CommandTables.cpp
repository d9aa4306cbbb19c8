#include "CommandTables.h"

#include "toolbar/Toolbar.h"
#include "ResourceText.h"
#include "PopupMenu.h"

namespace {

struct MenuRow
{
    const char *key; // nullptr: no key
    int text; // resource id; 0: the literal
    const char *literal;
    bool ellipsis;
    const char *shortcut;
    int parent; // row number, 0 for the top level
    int image; // -1: none
};

// Row n of the table becomes item n of the menu object.
constexpr MenuRow kMenu[] = {
    { "mnuFileTOP", 2000, nullptr, false, nullptr, 0, -1 },
    { "mnuFile(0)", 2001, nullptr, false, "Ctrl+N", 1, 1 },
    { "mnuFile(1)", 2002, nullptr, true, "Ctrl+O", 1, 2 },
    { "mnuFile(2)", 2004, nullptr, false, nullptr, 1, -1 },
    { nullptr, 0, "-", false, nullptr, 1, -1 },
    { "mnuFile(3)", 2003, nullptr, true, "Ctrl+S", 1, 3 },
    { "mnuFile(9)", 0, "Save As", true, nullptr, 1, -1 },
    { nullptr, 0, "-", false, nullptr, 1, -1 },
    { "mnuFile(4)", 2005, nullptr, false, nullptr, 1, 12 },
    { "mnuFileInsert", 0, "-", false, nullptr, 1, -1 },
    { "mnuFile(5)", 2006, nullptr, false, "Alt+Q", 1, 11 },
    { "mnuEditTOP", 2007, nullptr, false, nullptr, 0, -1 },
    { "mnuEdit(0)", 2008, nullptr, false, "Ctrl+Z", 12, 13 },
    { nullptr, 0, "-", false, nullptr, 12, -1 },
    { "mnuEdit(1)", 2009, nullptr, false, "Ctrl+X", 12, 14 },
    { "mnuEdit(2)", 2010, nullptr, false, "Ctrl+C", 12, 15 },
    { "mnuEdit(3)", 2011, nullptr, false, "Ctrl+V", 12, 16 },
    { nullptr, 0, "-", false, nullptr, 12, -1 },
    { "mnuEdit(4)", 0, "Copy META Element Tags", false, "Ctrl+M", 12, 17 },
    { "mnuInsertTOP", 2013, nullptr, false, nullptr, 0, -1 },
    { "mnuInsert(0)", 2014, nullptr, false, "Ctrl+I", 20, 4 },
    { "mnuViewTOP", 2015, nullptr, false, nullptr, 0, -1 },
    { "mnuView(0)", 2016, nullptr, false, "F8", 22, 5 },
    { "mnuView(1)", 2017, nullptr, false, "Ctrl+F", 22, -1 },
    { nullptr, 0, "-", false, nullptr, 22, -1 },
    { "mnuView(2)", 2018, nullptr, false, nullptr, 22, 6 },
    { "mnuToolTOP", 2019, nullptr, false, nullptr, 0, -1 },
    { "mnuTool(0)", 2020, nullptr, true, "F9", 27, 7 },
    { "mnuWindowTOP", 2021, nullptr, false, nullptr, 0, -1 },
    { "mnuWindow(0)", 2022, nullptr, false, nullptr, 29, -1 },
    { "mnuWindow(1)", 2023, nullptr, false, nullptr, 29, -1 },
    { "mnuWindow(2)", 2024, nullptr, false, nullptr, 29, -1 },
    { "mnuWindow(3)", 2025, nullptr, false, nullptr, 29, -1 },
    { "mnuHelpTOP", 2026, nullptr, false, nullptr, 0, -1 },
    { "mnuHelp(0)", 2027, nullptr, false, "F1", 34, 8 },
    { nullptr, 0, "-", false, nullptr, 34, -1 },
    { nullptr, 2028, nullptr, false, nullptr, 34, -1 },
    { nullptr, 2028, "-", false, nullptr, 37, -1 },
    { "mnuHelp(1)", 2029, nullptr, false, nullptr, 37, 10 },
    { "mnuHelp(2)", 2030, nullptr, false, nullptr, 37, 10 },
    { nullptr, 2031, nullptr, false, nullptr, 34, -1 },
    { nullptr, 2031, "-", false, nullptr, 41, -1 },
    { "mnuHelp(3)", 2032, nullptr, false, nullptr, 41, 10 },
    { nullptr, 0, "-", false, nullptr, 34, -1 },
    { "mnuHelp(4)", 2033, nullptr, false, nullptr, 34, 10 },
    { "mnuHelp(5)", 2034, nullptr, true, nullptr, 34, -1 },
};

// Items the menu shows as defaults: Exit, Index, the maker's site and About.
constexpr int kDefaultItems[] = { 11, 35, 45, 46 };

QString caption(const MenuRow &row)
{
    QString text;
    if (row.literal)
        text = QString::fromLatin1(row.literal);
    // A heading separator: "-" and the text of the submenu it heads.
    if (row.text != 0)
        text += ResourceText::get(row.text);
    if (row.ellipsis)
        text += QStringLiteral("...");
    if (row.shortcut)
        text += QLatin1Char('\t') + QString::fromLatin1(row.shortcut);
    return text;
}

struct ButtonRow
{
    const char *key; // nullptr: a separator
    int image;
    int tip;
    bool ellipsis;
};

constexpr ButtonRow kButtons[] = {
    { "tbNew", 1, 116, false },
    { "tbLoad", 2, 117, true },
    { "tbSave", 3, 118, true },
    { nullptr, -1, 0, false },
    { "tbCut", 14, 124, false },
    { "tbCopy", 15, 125, false },
    { "tbPaste", 16, 126, false },
    { "tbCopyMETA", 17, 128, false },
    { "tbUndo", 13, 127, false },
    { nullptr, -1, 0, false },
    { "tbAuthor", 4, 119, false },
    { "tbMeta", 5, 120, false },
    { nullptr, -1, 0, false },
    { "tbSettings", 7, 121, false },
    { nullptr, -1, 0, false },
    { "tbLink", 10, 122, false },
    { "tbHelp", 8, 123, false },
};

} // namespace

void CommandTables::buildMenu(PopupMenu &menu)
{
    for (const MenuRow &row : kMenu) {
        const QString key = row.key ? QString::fromLatin1(row.key) : QString();
        const int index = menu.appendItem(caption(row), row.parent, key);
        if (row.image >= 0)
            menu.setItemImage(index, row.image);
        if (key == kViewToolbar)
            menu.setItemChecked(index, true);
    }
    for (const int index : kDefaultItems)
        menu.setItemDefault(index, true);
}

void CommandTables::buildToolbar(Toolbar &toolbar)
{
    for (const ButtonRow &row : kButtons) {
        if (!row.key) {
            toolbar.addButton({}, -1, {}, 0, {}, Toolbar::StyleSeparator);
            continue;
        }
        const QString tip = ResourceText::get(row.tip) + (row.ellipsis ? QStringLiteral("...") : QString());
        toolbar.addButton(tip, row.image, {}, 0, {}, Toolbar::StyleButton, QString::fromLatin1(row.key));
    }
}
