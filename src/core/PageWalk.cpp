#include "PageWalk.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include <dirent.h>
#include <sys/stat.h>

namespace {

constexpr std::array<std::string_view, 8> kPageSuffixes = { "htm", "html", "asp", "php", "php3", "phtml", "shtml", "ssi" };

bool isPageName(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string suffix(name.substr(dot + 1));
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return std::find(kPageSuffixes.begin(), kPageSuffixes.end(), suffix) != kPageSuffixes.end();
}

enum class EntryKind { Folder, File, Other };

// The folder entry's kind, links followed: from the entry itself where the file system
// says, else from the file it names.
EntryKind kindOf(const dirent &entry, const QByteArray &path)
{
    if (entry.d_type == DT_DIR)
        return EntryKind::Folder;
    if (entry.d_type == DT_REG)
        return EntryKind::File;
    struct stat status {};
    if ((entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) || ::stat(path.constData(), &status) != 0)
        return EntryKind::Other;
    return S_ISDIR(status.st_mode) ? EntryKind::Folder : S_ISREG(status.st_mode) ? EntryKind::File : EntryKind::Other;
}

struct CloseFolder
{
    void operator()(DIR *folder) const { closedir(folder); }
};

} // namespace

PageWalk::PageWalk(QStringList paths)
    : m_paths(std::move(paths))
{
}

// Read with the system's own calls: through QDir, a file object for each entry made the
// walk a quarter of an audit's time on a large site.
void PageWalk::enter(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || m_visited.contains(canonical))
        return;
    m_visited.insert(canonical);
    const QByteArray prefix = QFile::encodeName(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
    const std::unique_ptr<DIR, CloseFolder> entries(opendir(prefix.constData()));
    if (!entries)
        return;
    Level level { QFile::decodeName(prefix), {}, 0 };
    while (const dirent *entry = readdir(entries.get())) {
        const std::string_view name(entry->d_name);
        if (name.starts_with('.'))
            continue;
        const EntryKind kind = kindOf(*entry, prefix + QByteArray(name.data(), qsizetype(name.size())));
        if (kind == EntryKind::Folder)
            level.names.append(QFile::decodeName(entry->d_name) + QLatin1Char('/'));
        else if (kind == EntryKind::File && isPageName(name))
            level.names.append(QFile::decodeName(entry->d_name));
    }
    std::sort(level.names.begin(), level.names.end());
    m_levels.push_back(std::move(level));
}

std::optional<QString> PageWalk::next()
{
    for (;;) {
        while (!m_levels.empty()) {
            Level &level = m_levels.back();
            if (level.at == level.names.size()) {
                m_levels.pop_back();
                continue;
            }
            const QString entry = level.folder + level.names.at(level.at++);
            if (!entry.endsWith(QLatin1Char('/')))
                return entry;
            enter(entry.chopped(1));
        }
        if (m_nextPath == m_paths.size())
            return std::nullopt;
        const QString path = m_paths.at(m_nextPath++);
        if (path == QLatin1String("-") || !QFileInfo(path).isDir())
            return path;
        enter(path);
    }
}
