#include "StringTable.h"

#include <algorithm>
#include <iterator>

namespace {

// Sorted by id; the texts are quoted exactly, spelling included.
constexpr StringTable::Entry kEntries[] = {
    { 100, "Description" },
    { 101, "Keywords" },
    { 102, "Author" },
    { 103, "Robots" },
    { 105, "Description of your homepage" },
    { 106, "No description" },
    { 107, "Keywords, seperated, with, commas" },
    { 108, "No, keywords" },
    { 109, "Your name goes here" },
    { 110, "No author" },
    { 111, "NONE" },
    { 112, "Save changes before closing this file?" },
    { 113, "No HEAD section in file" },
    { 114, "Open" },
    { 115, "Save As" },
    { 116, "New" },
    { 117, "Open" },
    { 118, "Save" },
    { 119, "Standard Author" },
    { 120, "META Element Tags" },
    { 121, "Program Settings" },
    { 122, "Tagsmith Homepage" },
    { 123, "Help" },
    { 124, "Cut" },
    { 125, "Copy" },
    { 126, "Paste" },
    { 127, "Undo" },
    { 128, "Copy META Element Tags" },
    { 200, "Program Settings" },
    { 201, "Standard Author" },
    { 202, "Backup files" },
    { 203, "Use default charset" },
    { 204, "General" },
    { 205, "File extentions" },
    { 206, "Editor" },
    { 300, "Using these components" },
    { 301, "Written by" },
    { 400, "Charset" },
    { 401, "USE DEFAULT CHARSET" },
    { 1000, "No document open" },
    { 1001, "Opening document" },
    { 1002, "Document opened" },
    { 1003, "Document saved" },
    { 1004, "Remember to save" },
    { 2000, "&File" },
    { 2001, "&New" },
    { 2002, "&Open" },
    { 2003, "&Save" },
    { 2004, "&Close" },
    { 2005, "&Properties (BETA)" },
    { 2006, "E&xit" },
    { 2007, "&Edit" },
    { 2008, "&Undo" },
    { 2009, "Cu&t" },
    { 2010, "&Copy" },
    { 2011, "&Paste" },
    { 2012, "Copy &META Element Tags" },
    { 2013, "&Insert" },
    { 2014, "Standar&d Author" },
    { 2015, "&View" },
    { 2016, "&META Element Tags" },
    { 2017, "&Full Code" },
    { 2018, "&Toolbar" },
    { 2019, "&Tools" },
    { 2020, "&Program Settings" },
    { 2021, "&Window" },
    { 2022, "&Cascade" },
    { 2023, "Tile &Horizontally" },
    { 2024, "Tile &Vertically" },
    { 2025, "&Arrange Icons" },
    { 2026, "&Help" },
    { 2027, "I&ndex" },
    { 2028, "&Quorn Lab" },
    { 2029, "Tagsmith &Homepage" },
    { 2030, "&Messageboard" },
    { 2031, "&Other Great Sites" },
    { 2032, "AltaVista Help - &Blocking Pages" },
    { 2033, "&Vantorel" },
    { 2034, "&About Tagsmith" },
    { 3000, "OK" },
    { 3001, "APPLY" },
    { 3002, "CANCEL" },
};

} // namespace

std::optional<std::string_view> StringTable::find(int id)
{
    const auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
        [](const Entry &e, int wanted) { return e.id < wanted; });
    if (it == std::end(kEntries) || it->id != id)
        return std::nullopt;
    return it->text;
}

std::string_view StringTable::text(int id)
{
    return find(id).value_or(std::string_view());
}

const StringTable::Entry *StringTable::begin()
{
    return std::begin(kEntries);
}

const StringTable::Entry *StringTable::end()
{
    return std::end(kEntries);
}
