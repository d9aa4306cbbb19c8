#include "RecentFilesMenu.h"

#include "PopupMenu.h"
#include "ProgramCommands.h"
#include "RecentFileList.h"

#include <algorithm>

namespace {

const QString kExitKey = QStringLiteral("mnuFile(5)");

} // namespace

RecentFilesMenu::RecentFilesMenu(PopupMenu &menu, RecentFileList &list, Kind kind)
    : m_menu(menu)
    , m_list(list)
    , m_kind(kind)
{
}

QString RecentFilesMenu::itemKey(int entry, Kind kind)
{
    const CommandId first = kind == Kind::Pages ? CommandId::RecentFile1 : CommandId::RecentSite1;
    return ProgramCommands::menuKey(static_cast<CommandId>(static_cast<int>(first) + entry - 1));
}

QString RecentFilesMenu::separatorKey() const
{
    return m_kind == Kind::Pages ? kSeparatorKey : kSitesSeparatorKey;
}

QString RecentFilesMenu::anchorKey() const
{
    const QString firstSite = itemKey(1, Kind::Sites);
    return m_kind == Kind::Pages && m_menu.findItemByKey(firstSite) ? firstSite : kExitKey;
}

void RecentFilesMenu::build()
{
    // A fourth entry would take the key of another command.
    const int count = std::min(m_list.count(), kCapacity);
    bool anyInUse = false;
    for (int entry = 1; entry <= count; ++entry) {
        m_menu.removeItem(itemKey(entry, m_kind));
        anyInUse = anyInUse || m_list.inUse(entry);
    }
    if (!anyInUse) {
        m_menu.removeItem(separatorKey());
        m_built = false;
        return;
    }
    if (!m_menu.findItemByKey(separatorKey()))
        m_menu.insertItem(QStringLiteral("-"), anchorKey(), separatorKey());
    for (int entry = 1; entry <= count; ++entry) {
        if (m_list.inUse(entry))
            m_menu.insertItem(m_list.caption(entry), separatorKey(), itemKey(entry, m_kind));
    }
    m_built = true;
}
