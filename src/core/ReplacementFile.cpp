#include "ReplacementFile.h"

#include "FileWriter.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReplacementFile::ReplacementFile(const QString &path)
    : m_path(path)
{
}

ReplacementFile::~ReplacementFile()
{
    discard();
}

QString ReplacementFile::folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QDir::currentPath();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

int ReplacementFile::create()
{
    // A short fixed stem: the page's own name may be as long as a name can be.
    m_temporaryPath = QFile::encodeName(folder()) + "/.tagsmith-XXXXXX";
    m_fd = ::mkostemp(m_temporaryPath.data(), O_CLOEXEC);
    if (m_fd >= 0)
        return 0;
    m_temporaryPath.clear();
    return errno;
}

bool ReplacementFile::takeIdentity(mode_t mode, std::optional<Owner> owner)
{
    // A change of owner clears the set-id bits, so the mode is set after it.
    const bool owned = !owner || ::fchown(m_fd, owner->user, owner->group) == 0;
    return ::fchmod(m_fd, mode) == 0 && owned;
}

int ReplacementFile::commit(FileWriter &writer)
{
    if (const int error = writer.sync(m_fd))
        return error;
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0 || ::rename(m_temporaryPath.constData(), QFile::encodeName(m_path).constData()) != 0)
        return errno;
    m_temporaryPath.clear();
    m_tookName = true;
    // The new name is only safe from a crash once the folder holding it is on disk too.
    // A folder the user may not read cannot be opened to sync, and some file systems
    // cannot sync a folder at all; the rename stands all the same.
    const int folderFd = ::open(QFile::encodeName(folder()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return 0;
    const int synced = writer.sync(folderFd);
    ::close(folderFd);
    return synced == EINVAL ? 0 : synced;
}

void ReplacementFile::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporaryPath.isEmpty())
        ::unlink(m_temporaryPath.constData());
    m_temporaryPath.clear();
}
