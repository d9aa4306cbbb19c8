#include "FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace {

qint64 nanoseconds(const timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + qint64(time.tv_nsec);
}

FileStamp stampOf(const struct stat &status)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = qint64(status.st_size);
    stamp.modifiedNs = nanoseconds(status.st_mtim);
    stamp.changedNs = nanoseconds(status.st_ctim);
    stamp.device = quint64(status.st_dev);
    stamp.inode = quint64(status.st_ino);
    stamp.mode = uint(status.st_mode & 07777);
    return stamp;
}

} // namespace

FileStamp FileStamp::of(const QString &path)
{
    struct stat status = {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return stampOf(status);
}

FileStamp FileStamp::of(int fd)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return {};
    return stampOf(status);
}

bool FileStamp::sameFile(const FileStamp &other) const
{
    return exists && other.exists && device == other.device && inode == other.inode;
}
