#pragma once

#include "CommandId.h"

#include <QString>

class PopupMenu;
class RecentFileList;

// A recent list as File menu items above Exit, newest first, below a separator above Exit
// that comes with the first entry. The recent pages are mnuFile(6) to mnuFile(8) above
// "mnuFileMRU"; the recent sites mnuFile(11) to mnuFile(13) below it, above "mnuFileSites".
class RecentFilesMenu
{
public:
    enum class Kind { Pages, Sites };

    static constexpr int kCapacity = 3;
    static inline const QString kSeparatorKey = QStringLiteral("mnuFileMRU");
    static inline const QString kSitesSeparatorKey = QStringLiteral("mnuFileSites");

    RecentFilesMenu(PopupMenu &menu, RecentFileList &list, Kind kind = Kind::Pages);

    // Puts the list's entries into the menu again, newest first; an empty list leaves
    // neither entries nor its separator.
    void build();
    bool built() const { return m_built; }

    // "mnuFile(6)" for entry 1 of the pages.
    static QString itemKey(int entry, Kind kind = Kind::Pages);

private:
    QString separatorKey() const;
    // The item the separator goes in above: the pages stay above the sites, whichever list
    // gets its first entry first.
    QString anchorKey() const;

    PopupMenu &m_menu;
    RecentFileList &m_list;
    Kind m_kind;
    bool m_built = false;
};
