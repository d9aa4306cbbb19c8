#include "document/DocumentSaver.h"

#include "document/BackupPath.h"
#include "document/DocumentFile.h"
#include "document/DocumentRewriter.h"
#include "resources/ResourceText.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DocumentSaver", text);
}

std::string_view viewOf(const QByteArray &bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
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

// One file written through a temporary file in its folder, ready to replace the real one.
class PreparedFile
{
public:
    PreparedFile(const QString &path, const DocumentSaver::SaveFileFactory &makeSaveFile)
        : m_file(makeSaveFile ? makeSaveFile(path) : std::make_unique<QSaveFile>(path))
    {
    }

    bool write(const QByteArray &bytes, std::optional<QFileDevice::Permissions> permissions)
    {
        if (!m_file->open(QIODevice::WriteOnly))
            return false;
        if (permissions && !m_file->setPermissions(*permissions))
            return false;
        return m_file->write(bytes) == bytes.size() && m_file->flush();
    }

    bool commit() { return m_file->commit(); }
    QString errorString() const { return m_file->errorString(); }
    QString fileName() const { return m_file->fileName(); }

private:
    std::unique_ptr<QSaveFile> m_file;
};

QString failure(const QString &path, const QString &reason)
{
    return path + QStringLiteral(": ") + reason;
}

} // namespace

QString DocumentSaver::backupPathFor(const QString &filePath)
{
    return QString::fromStdString(BackupPath::forFile(filePath.trimmed().toStdString()));
}

DocumentSaver::Result DocumentSaver::save(const Request &request, const SaveFileFactory &makeSaveFile)
{
    Result result;
    const DocumentFile::ReadResult source = DocumentFile::readBytes(request.sourcePath);
    if (!source.ok) {
        result.error = failure(request.sourcePath, source.error);
        return result;
    }
    const std::optional<std::string> rewritten
        = DocumentRewriter::save(viewOf(source.bytes), request.values, request.version.toStdString());
    if (!rewritten) {
        result.error = ResourceText::status(StringId::NoHeadSection) + QLatin1Char('\n') + request.sourcePath;
        return result;
    }

    const QString target = resolvedTarget(request.targetPath.trimmed());
    if (const QString refusal = refusalFor(target); !refusal.isEmpty()) {
        result.error = failure(target, refusal);
        return result;
    }
    const QFileDevice::Permissions sourcePermissions = QFileInfo(request.sourcePath).permissions();

    // Both files are written in full before either replaces anything, so a full disk or
    // a read-only folder stops the save with every file still as it was.
    std::unique_ptr<PreparedFile> backup;
    if (request.backup) {
        result.backupPath = resolvedTarget(backupPathFor(request.filePath));
        if (const QString refusal = refusalFor(result.backupPath); !refusal.isEmpty()) {
            result.error = failure(result.backupPath, refusal);
            result.backupPath.clear();
            return result;
        }
        backup = std::make_unique<PreparedFile>(result.backupPath, makeSaveFile);
        const bool backupExists = QFileInfo::exists(result.backupPath);
        if (!backup->write(source.bytes, backupExists ? std::nullopt : std::optional(sourcePermissions))) {
            result.error = failure(result.backupPath, backup->errorString());
            result.backupPath.clear();
            return result;
        }
    }
    PreparedFile page(target, makeSaveFile);
    const bool targetExists = QFileInfo::exists(target);
    const QByteArray bytes = QByteArray::fromStdString(*rewritten);
    if (!page.write(bytes, targetExists ? std::nullopt : std::optional(sourcePermissions))) {
        result.error = failure(target, page.errorString());
        result.backupPath.clear();
        return result;
    }
    if (backup && !backup->commit()) {
        result.error = failure(result.backupPath, backup->errorString());
        result.backupPath.clear();
        return result;
    }
    if (!page.commit()) {
        result.error = failure(target, page.errorString());
        return result;
    }
    result.ok = true;
    return result;
}
