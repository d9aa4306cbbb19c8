#include "PageWalk.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QStringList kPageSuffixes
    = { QStringLiteral("htm"), QStringLiteral("html"), QStringLiteral("asp"), QStringLiteral("php"),
          QStringLiteral("php3"), QStringLiteral("phtml"), QStringLiteral("shtml"), QStringLiteral("ssi") };

bool isPageFile(const QFileInfo &info)
{
    return kPageSuffixes.contains(info.suffix().toLower());
}

} // namespace

PageWalk::PageWalk(QStringList paths)
    : m_paths(std::move(paths))
{
}

void PageWalk::enter(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || m_visited.contains(canonical))
        return;
    m_visited.insert(canonical);
    Level level;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QFileInfoList entries
        = QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir())
            level.entries.append(prefix + entry.fileName() + QLatin1Char('/'));
        else if (isPageFile(entry))
            level.entries.append(prefix + entry.fileName());
    }
    std::sort(level.entries.begin(), level.entries.end());
    m_levels.push_back(std::move(level));
}

std::optional<QString> PageWalk::next()
{
    for (;;) {
        while (!m_levels.empty()) {
            Level &level = m_levels.back();
            if (level.at == level.entries.size()) {
                m_levels.pop_back();
                continue;
            }
            const QString entry = level.entries.at(level.at++);
            if (!entry.endsWith(QLatin1Char('/')))
                return entry;
            enter(entry.chopped(1));
        }
        if (m_nextPath == m_paths.size())
            return std::nullopt;
        const QString path = m_paths.at(m_nextPath++);
        if (!QFileInfo(path).isDir())
            return path;
        enter(path);
    }
}
