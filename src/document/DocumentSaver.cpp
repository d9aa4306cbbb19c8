#include "document/DocumentSaver.h"

#include "document/BackupPath.h"
#include "document/DocumentFile.h"
#include "document/DocumentRewriter.h"
#include "resources/ResourceText.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DocumentSaver", text);
}

std::string_view viewOf(const QByteArray &bytes)
{
    return { bytes.constData(), static_cast<std::size_t>(bytes.size()) };
}

// A symbolic link is written through: the file it points to is replaced, the link stays.
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
        return tr("Is a directory");
    if (!info.isFile())
        return tr("Not a regular file");
    // Replacing through a rename needs no write permission on the file itself, so ask.
    if (!info.isWritable())
        return tr("Permission denied");
    return {};
}

// The source as it was read: copying from it file to file is only right while it is
// still the same file with the same size and time, byte for byte what was read.
class SourceFile
{
public:
    explicit SourceFile(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
        if (m_fd >= 0 && ::fstat(m_fd, &m_stat) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~SourceFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SourceFile(const SourceFile &) = delete;
    SourceFile &operator=(const SourceFile &) = delete;

    int fd() const { return m_fd; }
    bool stillAsRead(qint64 sizeRead) const
    {
        struct stat now
        {
        };
        return m_fd >= 0 && ::fstat(m_fd, &now) == 0 && now.st_size == sizeRead
            && now.st_size == m_stat.st_size && now.st_mtim.tv_sec == m_stat.st_mtim.tv_sec
            && now.st_mtim.tv_nsec == m_stat.st_mtim.tv_nsec;
    }

private:
    int m_fd;
    struct stat m_stat
    {
    };
};

// One file written through a temporary file in its folder, ready to replace the real one.
class PreparedFile
{
public:
    PreparedFile(const QString &path, const DocumentSaver::SaveFileFactory &makeSaveFile)
        : m_file(makeSaveFile ? makeSaveFile(path) : std::make_unique<QSaveFile>(path))
    {
    }

    bool open(std::optional<QFileDevice::Permissions> permissions)
    {
        return m_file->open(QIODevice::WriteOnly) && (!permissions || m_file->setPermissions(*permissions));
    }

    bool write(std::string_view bytes)
    {
        return m_file->write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && m_file->flush();
    }

    // Copies part of the source file by the kernel, which can share the blocks instead of
    // moving them through memory; where it cannot, the bytes already read are written.
    bool copy(const SourceFile &source, std::string_view readBytes, std::size_t from)
    {
        loff_t offset = loff_t(from);
        std::size_t left = readBytes.size() - from;
        while (left > 0) {
            const ssize_t copied = copy_file_range(source.fd(), &offset, m_file->handle(), nullptr, left, 0);
            if (copied <= 0)
                return write(readBytes.substr(readBytes.size() - left));
            left -= std::size_t(copied);
        }
        return true;
    }

    bool commit() { return m_file->commit(); }
    QString errorString() const { return m_file->errorString(); }

private:
    std::unique_ptr<QSaveFile> m_file;
};

// Writes a page made of a new head and the source's tail.
bool writeJoined(PreparedFile &file, const SourceFile &source, std::string_view page, const std::string &head,
    std::size_t tailFrom)
{
    if (!file.write(head))
        return false;
    if (tailFrom == page.size())
        return true;
    if (source.stillAsRead(qint64(page.size())))
        return file.copy(source, page, tailFrom);
    return file.write(page.substr(tailFrom));
}

QString failure(const QString &path, const QString &reason)
{
    return path + QStringLiteral(": ") + reason;
}

// Everything a save settles before it writes: the source as read, the new page as a plan
// over it, and the files it replaces. A dry run stops here, so it shows the very bytes a
// save writes.
struct PlannedSave
{
    QString error;
    QByteArray source;
    DocumentRewriter::Plan plan;
    QString target;
    QString backupPath;

    std::string_view page() const { return viewOf(source); }
    bool changed() const { return plan.head != page().substr(0, plan.tailFrom); }
};

PlannedSave planFor(const DocumentSaver::Request &request)
{
    PlannedSave planned;
    const DocumentFile::ReadResult source = DocumentFile::readBytes(request.sourcePath);
    if (!source.ok) {
        planned.error = failure(request.sourcePath, source.error);
        return planned;
    }
    planned.source = source.bytes;
    std::optional<DocumentRewriter::Plan> rewritten
        = DocumentRewriter::planSave(planned.page(), request.values, request.version.toStdString());
    if (!rewritten) {
        planned.error
            = ResourceText::status(StringId::NoHeadSection) + QLatin1Char('\n') + request.sourcePath;
        return planned;
    }
    planned.plan = std::move(*rewritten);

    planned.target = resolvedTarget(request.targetPath.trimmed());
    if (const QString refusal = refusalFor(planned.target); !refusal.isEmpty()) {
        planned.error = failure(planned.target, refusal);
        return planned;
    }
    if (request.backup) {
        const QString backupPath = resolvedTarget(DocumentSaver::backupPathFor(request.filePath));
        if (const QString refusal = refusalFor(backupPath); !refusal.isEmpty()) {
            planned.error = failure(backupPath, refusal);
            return planned;
        }
        planned.backupPath = backupPath;
    }
    return planned;
}

// A save replaces each file through a temporary file beside it, which a folder the user
// cannot write to refuses. Only a dry run asks; a save finds out by trying.
QString folderRefusal(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    return QFileInfo(folder).isWritable() ? QString() : failure(folder, tr("Permission denied"));
}

} // namespace

QString DocumentSaver::backupPathFor(const QString &filePath)
{
    return QString::fromStdString(BackupPath::forFile(filePath.trimmed().toStdString()));
}

DocumentSaver::Result DocumentSaver::save(const Request &request, const SaveFileFactory &makeSaveFile)
{
    Result result;
    const PlannedSave planned = planFor(request);
    if (!planned.error.isEmpty()) {
        result.error = planned.error;
        return result;
    }
    const std::string_view page = planned.page();
    const QFileDevice::Permissions sourcePermissions = QFileInfo(request.sourcePath).permissions();
    const SourceFile sourceFile(request.sourcePath);

    // Both files are written in full before either replaces anything, so a full disk or
    // a read-only folder stops the save with every file still as it was.
    std::unique_ptr<PreparedFile> backup;
    if (request.backup) {
        result.backupPath = planned.backupPath;
        backup = std::make_unique<PreparedFile>(result.backupPath, makeSaveFile);
        const bool backupExists = QFileInfo::exists(result.backupPath);
        if (!backup->open(backupExists ? std::nullopt : std::optional(sourcePermissions))
            || !writeJoined(*backup, sourceFile, page, {}, 0)) {
            result.error = failure(result.backupPath, backup->errorString());
            result.backupPath.clear();
            return result;
        }
    }
    PreparedFile written(planned.target, makeSaveFile);
    const bool targetExists = QFileInfo::exists(planned.target);
    if (!written.open(targetExists ? std::nullopt : std::optional(sourcePermissions))
        || !writeJoined(written, sourceFile, page, planned.plan.head, planned.plan.tailFrom)) {
        result.error = failure(planned.target, written.errorString());
        result.backupPath.clear();
        return result;
    }
    if (backup && !backup->commit()) {
        result.error = failure(result.backupPath, backup->errorString());
        result.backupPath.clear();
        return result;
    }
    if (!written.commit()) {
        result.error = failure(planned.target, written.errorString());
        return result;
    }
    result.ok = true;
    result.changed = planned.changed();
    return result;
}

DocumentSaver::Preview DocumentSaver::preview(const Request &request)
{
    Preview preview;
    const PlannedSave planned = planFor(request);
    preview.result.error = planned.error;
    if (preview.result.error.isEmpty())
        preview.result.error = folderRefusal(planned.target);
    if (preview.result.error.isEmpty() && request.backup)
        preview.result.error = folderRefusal(planned.backupPath);
    if (!preview.result.error.isEmpty())
        return preview;
    preview.result.ok = true;
    preview.result.backupPath = planned.backupPath;
    preview.result.changed = planned.changed();
    preview.before = planned.source;
    preview.after = QByteArray::fromStdString(planned.plan.joined(planned.page()));
    return preview;
}
