#include "DocumentSaver.h"

#include "BackupPath.h"
#include "ByteView.h"
#include "DocumentFile.h"
#include "DocumentRewriter.h"
#include "FileWriter.h"
#include "ReplacementFile.h"
#include "ResourceText.h"
#include "StringTable.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString failure(const QString &path, const QString &reason)
{
    return path + QStringLiteral(": ") + reason;
}

QString failure(const QString &path, int error)
{
    return failure(path, qt_error_string(error));
}

// A symbolic link at the page's name is written through: the file it points to is
// saved, the link stays.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        return target.isEmpty() ? info.symLinkTarget() : target;
    }
    return path;
}

// Only regular files are replaced; anything else (a folder, a device) would be lost.
QString refusalFor(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.isDir())
        return DocumentSaver::tr("Is a directory");
    if (!info.isFile())
        return DocumentSaver::tr("Not a regular file");
    // Replacing through a rename needs no write permission on the file itself, so ask.
    if (!info.isWritable())
        return DocumentSaver::tr("Permission denied");
    return {};
}

// A link at the backup's name is replaced by the backup itself, wherever it points.
QString backupRefusal(const QString &path)
{
    return QFileInfo(path).isSymLink() ? QString() : refusalFor(path);
}

// A new file, or a file replaced through a new one, needs a folder the user may write to.
QString folderRefusal(const QString &path)
{
    const QString folder = ReplacementFile::folderOf(path);
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) == 0)
        return {};
    return failure(folder, errno);
}

// What stands at a path now, for the file that takes its place to keep.
struct FileStatus
{
    bool exists = false;
    bool regular = false;
    mode_t mode = 0;
    nlink_t links = 0;
    ReplacementFile::Owner owner;

    static FileStatus of(const QString &path, bool followLink)
    {
        FileStatus status;
        struct stat info
        {
        };
        const QByteArray name = QFile::encodeName(path);
        if ((followLink ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info)) != 0)
            return status;
        status.exists = true;
        status.regular = S_ISREG(info.st_mode);
        status.mode = info.st_mode & 07777;
        status.links = info.st_nlink;
        status.owner = { info.st_uid, info.st_gid };
        return status;
    }
};

// The bytes a save writes to one file: a head, then a tail, as if joined, so the large
// tail goes to disk from where it was read into memory without another copy.
struct PageBytes
{
    std::string_view head;
    std::string_view tail;

    qint64 size() const { return qint64(head.size() + tail.size()); }

    // Writes the bytes from `from` up to `to` at the same offsets of the file.
    int writeRange(FileWriter &writer, int fd, qint64 from, qint64 to) const
    {
        const qint64 headSize = qint64(head.size());
        if (from < headSize) {
            const qint64 headTo = std::min(to, headSize);
            if (const int error
                = writer.writeAt(fd, from, head.substr(std::size_t(from), std::size_t(headTo - from))))
                return error;
            from = headTo;
        }
        if (from >= to)
            return 0;
        return writer.writeAt(fd, from, tail.substr(std::size_t(from - headSize), std::size_t(to - from)));
    }
};

// A new file: its room claimed, then its bytes, all of them on disk before it counts.
int writeFresh(FileWriter &writer, int fd, const PageBytes &bytes)
{
    if (const int error = writer.reserve(fd, bytes.size()))
        return error;
    if (const int error = bytes.writeRange(writer, fd, 0, bytes.size()))
        return error;
    return writer.sync(fd);
}

// Overwrites a page in its own inode. A full disk must stop this before any byte of the
// page changes: the room is claimed first and, for file systems that cannot claim it, any
// growth is written past the old end first and cut off again when it fails. Only then is
// the old content overwritten, from memory, never from the file itself.
int rewriteInPlace(FileWriter &writer, int fd, const PageBytes &page)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        return errno;
    const qint64 oldSize = info.st_size;
    const qint64 newSize = page.size();
    if (const int error = writer.reserve(fd, newSize))
        return error;
    if (newSize > oldSize) {
        if (const int error = page.writeRange(writer, fd, oldSize, newSize)) {
            writer.truncate(fd, oldSize);
            return error;
        }
    }
    if (const int error = page.writeRange(writer, fd, 0, std::min(oldSize, newSize)))
        return error;
    if (newSize < oldSize) {
        if (const int error = writer.truncate(fd, newSize))
            return error;
    }
    return writer.sync(fd);
}

// Everything a save settles before it writes: the source as read, the new page as a plan
// over it, and the files it replaces. A dry run stops here, so it shows the very bytes a
// save writes and refuses what a save refuses.
struct PlannedSave
{
    QString error;
    DocumentSaver::SaveError code = DocumentSaver::SaveError::None;
    QByteArray source;
    mode_t sourceMode = S_IRUSR | S_IWUSR;
    DocumentRewriter::Plan plan;
    QString target;
    QString backupPath;

    std::string_view page() const { return byteView(source); }
    bool changed() const { return plan.head != page().substr(0, plan.tailFrom); }

    // The page as the save writes it; an unchanged page shares the source's bytes.
    QByteArray after() const { return changed() ? QByteArray::fromStdString(plan.joined(page())) : source; }

    void refuse(DocumentSaver::SaveError refusal, const QString &reason)
    {
        code = refusal;
        error = reason;
    }
};

// The mode open() gives a new file, 0666 less the umask. The umask is read, not set and set
// back, which would race with any other thread creating a file meanwhile; where the kernel
// does not show it, the file is only for its owner.
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            bool ok = false;
            const uint umask = line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&ok, 8) : 0;
            if (ok)
                return 0666 & ~mode_t(umask);
        }
    }
    return S_IRUSR | S_IWUSR;
}

// The source as the request gives it: the bytes held, or the file read now. A file that
// stands at the source's name still gives the new file its mode.
void takeSource(const DocumentSaver::Request &request, PlannedSave &planned)
{
    const FileStatus status = FileStatus::of(request.sourcePath, true);
    if (request.sourceBytes) {
        planned.source = *request.sourceBytes;
        planned.sourceMode = status.exists ? status.mode & 0777 : newFileMode();
        return;
    }
    const DocumentFile::ReadResult source = DocumentFile::readBytes(request.sourcePath);
    if (!source.ok) {
        planned.refuse(DocumentSaver::SaveError::SourceUnreadable, failure(request.sourcePath, source.error));
        return;
    }
    planned.source = source.bytes;
    if (status.exists)
        planned.sourceMode = status.mode & 0777;
}

QString targetRefusal(const QString &target)
{
    if (const QString refusal = refusalFor(target); !refusal.isEmpty())
        return failure(target, refusal);
    // An existing page can be rewritten where it is; a new one needs its folder.
    return QFileInfo::exists(target) ? QString() : folderRefusal(target);
}

QString backupPathRefusal(const QString &backupPath)
{
    if (const QString refusal = backupRefusal(backupPath); !refusal.isEmpty())
        return failure(backupPath, refusal);
    return folderRefusal(backupPath);
}

PlannedSave planFor(const DocumentSaver::Request &request)
{
    PlannedSave planned;
    takeSource(request, planned);
    if (!planned.error.isEmpty())
        return planned;
    std::optional<DocumentRewriter::Plan> rewritten
        = DocumentRewriter::planSave(planned.page(), request.values, request.version.toStdString());
    if (!rewritten) {
        planned.refuse(DocumentSaver::SaveError::NoHead,
            ResourceText::status(StringId::NoHeadSection) + QLatin1Char('\n') + request.sourcePath);
        return planned;
    }
    planned.plan = std::move(*rewritten);

    planned.target = resolvedTarget(request.targetPath);
    if (const QString refusal = targetRefusal(planned.target); !refusal.isEmpty()) {
        planned.refuse(DocumentSaver::SaveError::TargetRefused, refusal);
        return planned;
    }
    if (request.backup) {
        planned.backupPath = DocumentSaver::backupPathFor(request.filePath);
        if (const QString refusal = backupPathRefusal(planned.backupPath); !refusal.isEmpty())
            planned.refuse(DocumentSaver::SaveError::BackupRefused, refusal);
    }
    return planned;
}

// The writing of one planned save, in an order that keeps every file whole at every step.
// The page is replaced through a new file when that file can be the same as the old one:
// its only name, with its mode, owner and group, in a folder the user may write to.
// Otherwise the page is rewritten in its own inode, after the backup is safely on disk.
class SaveWriting
{
public:
    SaveWriting(const PlannedSave &planned, FileWriter &writer)
        : m_planned(planned)
        , m_writer(writer)
        , m_page { planned.plan.head, planned.page().substr(planned.plan.tailFrom) }
    {
    }
    ~SaveWriting()
    {
        if (m_inPlaceFd >= 0)
            ::close(m_inPlaceFd);
    }
    SaveWriting(const SaveWriting &) = delete;
    SaveWriting &operator=(const SaveWriting &) = delete;

    QString run()
    {
        QString error = openPage();
        if (error.isEmpty() && !m_planned.backupPath.isEmpty())
            error = writeBackup();
        if (error.isEmpty())
            error = m_replacement ? replacePage() : rewritePage();
        return error;
    }

    // Whether the backup took its name: from then on it stays, even when the page fails.
    bool backupWritten() const { return m_backupWritten; }
    // The page as the save left it, once it succeeded.
    const FileStamp &stamp() const { return m_stamp; }

private:
    QString openPage()
    {
        const FileStatus old = FileStatus::of(m_planned.target, true);
        if (old.exists && (old.links > 1 || !folderRefusal(m_planned.target).isEmpty()))
            return openInPlace();
        m_replacement.emplace(m_planned.target);
        if (const int error = m_replacement->create())
            return failure(m_replacement->folder(), error);
        const bool same = old.exists ? m_replacement->takeIdentity(old.mode, old.owner)
                                     : m_replacement->takeIdentity(m_planned.sourceMode, std::nullopt);
        if (same || !old.exists)
            return {};
        m_replacement.reset();
        return openInPlace();
    }

    QString openInPlace()
    {
        m_inPlaceFd = ::open(QFile::encodeName(m_planned.target).constData(), O_WRONLY | O_CLOEXEC);
        return m_inPlaceFd >= 0 ? QString() : failure(m_planned.target, errno);
    }

    // A backup is the saver's own file: it keeps the owner of the one it replaces only
    // where the system allows, and a new one is no more readable than the page.
    QString writeBackup()
    {
        m_backup.emplace(m_planned.backupPath);
        if (const int error = m_backup->create())
            return failure(m_backup->folder(), error);
        const FileStatus old = FileStatus::of(m_planned.backupPath, false);
        if (old.regular)
            m_backup->takeIdentity(old.mode, old.owner);
        else
            m_backup->takeIdentity(m_planned.sourceMode, std::nullopt);
        if (const int error = writeFresh(m_writer, m_backup->fd(), PageBytes { {}, m_planned.page() }))
            return failure(m_planned.backupPath, error);
        return {};
    }

    QString commitBackup()
    {
        if (!m_backup)
            return {};
        const int error = m_backup->commit(m_writer);
        // A backup whose folder failed to sync has its name all the same.
        m_backupWritten = m_backup->hasTakenName();
        return error == 0 ? QString() : failure(m_backup->folder(), error);
    }

    // Both new files are written in full before either takes a name, so a full disk stops
    // the save with every file as it was.
    QString replacePage()
    {
        if (const int error = writeFresh(m_writer, m_replacement->fd(), m_page))
            return failure(m_planned.target, error);
        if (const QString error = commitBackup(); !error.isEmpty())
            return error;
        if (const int error = m_replacement->commit(m_writer))
            return failure(m_replacement->folder(), error);
        // Taken after the rename, which changes the new file's status time.
        m_stamp = FileStamp::of(m_planned.target);
        return {};
    }

    QString rewritePage()
    {
        if (const QString error = commitBackup(); !error.isEmpty())
            return error;
        if (const int error = rewriteInPlace(m_writer, m_inPlaceFd, m_page))
            return failure(m_planned.target, error);
        m_stamp = FileStamp::of(m_inPlaceFd);
        return {};
    }

    const PlannedSave &m_planned;
    FileWriter &m_writer;
    const PageBytes m_page;
    std::optional<ReplacementFile> m_replacement;
    std::optional<ReplacementFile> m_backup;
    int m_inPlaceFd = -1;
    bool m_backupWritten = false;
    FileStamp m_stamp;
};

} // namespace

QString DocumentSaver::backupPathFor(const QString &filePath)
{
    const QByteArray name = QFile::encodeName(filePath);
    return QFile::decodeName(QByteArray::fromStdString(BackupPath::forFile(byteView(name))));
}

DocumentSaver::Result DocumentSaver::save(const Request &request)
{
    FileWriter writer;
    return save(request, writer);
}

DocumentSaver::Result DocumentSaver::save(const Request &request, FileWriter &writer)
{
    Result result;
    const PlannedSave planned = planFor(request);
    if (!planned.error.isEmpty()) {
        result.code = planned.code;
        result.error = planned.error;
        return result;
    }
    SaveWriting writing(planned, writer);
    result.error = writing.run();
    if (writing.backupWritten())
        result.backupPath = planned.backupPath;
    result.ok = result.error.isEmpty();
    if (!result.ok) {
        result.code = SaveError::WriteFailed;
        return result;
    }
    result.changed = planned.changed();
    result.written = planned.after();
    result.stamp = writing.stamp();
    return result;
}

DocumentSaver::Result DocumentSaver::restore(const QString &path, const QByteArray &bytes)
{
    Result result;
    PlannedSave planned;
    planned.source = bytes;
    planned.target = resolvedTarget(path);
    if (const QString refusal = targetRefusal(planned.target); !refusal.isEmpty()) {
        result.code = SaveError::TargetRefused;
        result.error = refusal;
        return result;
    }
    FileWriter writer;
    SaveWriting writing(planned, writer);
    result.error = writing.run();
    result.ok = result.error.isEmpty();
    if (!result.ok) {
        result.code = SaveError::WriteFailed;
        return result;
    }
    result.changed = true;
    result.written = bytes;
    result.stamp = writing.stamp();
    return result;
}

DocumentSaver::Preview DocumentSaver::preview(const Request &request)
{
    Preview preview;
    const PlannedSave planned = planFor(request);
    preview.result.error = planned.error;
    preview.result.code = planned.code;
    if (!preview.result.error.isEmpty())
        return preview;
    preview.result.ok = true;
    preview.result.backupPath = planned.backupPath;
    preview.result.changed = planned.changed();
    preview.before = planned.source;
    preview.after = planned.after();
    return preview;
}
