#include "BackupPath.h"

std::string BackupPath::forFile(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    // A hidden file's leading dots belong to its name.
    std::size_t stemStart = nameStart;
    while (stemStart < path.size() && path[stemStart] == '.')
        ++stemStart;
    const std::size_t dot = path.find('.', stemStart);
    std::string backup(path.substr(0, dot));
    backup += ".bak";
    // A page that is itself named like its backup must not be overwritten by it.
    if (backup == path)
        backup += ".bak";
    return backup;
}
