#include "RecentFileList.h"

#include "CommandLinePaths.h"
#include "RegistryKey.h"
#include "RegistryPaths.h"

#include <QDir>

#include <algorithm>

void RecentFileList::setCapacity(int capacity)
{
    m_capacity = std::clamp(capacity, 0, kMaxCapacity);
    while (m_paths.size() > m_capacity)
        m_paths.removeLast();
}

void RecentFileList::add(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString absolute = CommandLinePaths::absolute(path, QDir::currentPath());
    m_paths.removeAll(absolute);
    m_paths.prepend(absolute);
    setCapacity(m_capacity);
}

bool RecentFileList::inUse(int index) const
{
    return isValidIndex(index);
}

QString RecentFileList::caption(int index) const
{
    if (!isValidIndex(index))
        return {};
    return QLatin1Char('&') + QString::number(index) + QStringLiteral("  ") + m_paths.at(index - 1);
}

QString RecentFileList::path(int index) const
{
    return isValidIndex(index) ? m_paths.at(index - 1) : QString();
}

void RecentFileList::load(RegistryKey &key)
{
    QStringList stored;
    for (int i = 1; i <= kMaxCapacity; ++i) {
        key.setValueName(valueName(i));
        stored.append(key.value());
    }
    setPaths(stored);
}

void RecentFileList::setPaths(const QStringList &stored)
{
    m_paths.clear();
    for (const QString &path : stored) {
        if (isAbsolute(path) && !m_paths.contains(path) && m_paths.size() < m_capacity)
            m_paths.append(path);
    }
}

bool RecentFileList::save(RegistryKey &key) const
{
    bool ok = true;
    for (int i = 1; i <= kMaxCapacity; ++i) {
        key.setValueName(valueName(i));
        ok = (isValidIndex(i) ? key.setValue(m_paths.at(i - 1)) : key.deleteValue()) && ok;
    }
    return ok;
}

bool RecentFileList::isAbsolute(const QString &stored)
{
    // A relative entry, as earlier versions kept, says nothing of the folder it was given in.
    return stored.startsWith(QLatin1Char('/'));
}

QString RecentFileList::valueName(int index)
{
    return RegistryPaths::kRecentFileValuePrefix + QString::number(index);
}
