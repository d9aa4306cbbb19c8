#include "RecentFilesMenu.h"

#include "PopupMenu.h"
#include "ProgramCommands.h"
#include "RecentFileList.h"

#include <algorithm>

namespace {

const QString kExitKey = QStringLiteral("mnuFile(5)");

} // namespace

RecentFilesMenu::RecentFilesMenu(PopupMenu &menu, RecentFileList &list)
    : m_menu(menu)
    , m_list(list)
{
}

QString RecentFilesMenu::itemKey(int entry)
{
    return ProgramCommands::menuKey(
        static_cast<CommandId>(static_cast<int>(CommandId::RecentFile1) + entry - 1));
}

void RecentFilesMenu::build()
{
    // A fourth entry would take "mnuFile(9)", the key of Save As.
    const int count = std::min(m_list.count(), kCapacity);
    bool anyInUse = false;
    for (int entry = 1; entry <= count; ++entry)
        anyInUse = anyInUse || m_list.inUse(entry);
    // An empty list adds nothing, not even the separator.
    if (!anyInUse)
        return;
    if (!m_built)
        m_menu.insertItem(QStringLiteral("-"), kExitKey, kSeparatorKey);
    for (int entry = 1; entry <= count; ++entry) {
        m_menu.removeItem(itemKey(entry));
        if (m_list.inUse(entry))
            m_menu.insertItem(m_list.caption(entry), kSeparatorKey, itemKey(entry));
    }
    m_built = true;
}
