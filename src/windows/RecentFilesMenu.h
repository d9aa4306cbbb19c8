#pragma once

#include <QString>

class PopupMenu;
class RecentFileList;

// The recent files as File menu items mnuFile(6) to mnuFile(8), between "mnuFileInsert" and
// a separator "mnuFileMRU" above Exit. The separator comes with the first entry.
class RecentFilesMenu
{
public:
    static constexpr int kCapacity = 3;
    static inline const QString kSeparatorKey = QStringLiteral("mnuFileMRU");

    RecentFilesMenu(PopupMenu &menu, RecentFileList &list);

    // Puts the list's entries into the menu again, newest first.
    void build();
    bool built() const { return m_built; }

    // "mnuFile(6)" for entry 1.
    static QString itemKey(int entry);

private:
    PopupMenu &m_menu;
    RecentFileList &m_list;
    bool m_built = false;
};
