#pragma once

#include <QString>
#include <QtGlobal>

// What tells the bytes at a path apart without reading them, so that a page changed on
// disk since it was read can be noticed: rewritten where it is, replaced by another file,
// or given another mode.
struct FileStamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    // A copy that keeps the modification time still changes this; no one can set it back.
    qint64 changedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    uint mode = 0; // permission bits

    // Follows links; a path that is absent or cannot be looked at gives no stamp.
    static FileStamp of(const QString &path);
    static FileStamp of(int fd);

    bool sameFile(const FileStamp &other) const;
    bool operator==(const FileStamp &) const = default;
};
