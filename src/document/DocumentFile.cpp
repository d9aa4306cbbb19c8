#include "document/DocumentFile.h"

#include "document/DocumentScanner.h"
#include "resources/ResourceText.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <string_view>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DocumentFile", text);
}

QString megabytes(qint64 bytes)
{
    return QString::number((bytes + 1024 * 1024 - 1) / (1024 * 1024));
}

QString tooLarge(qint64 size)
{
    return tr("File is too large (%1 MB; pages up to %2 MB can be opened)")
        .arg(megabytes(size), megabytes(DocumentFile::kMaxBytes));
}

} // namespace

DocumentFile::ReadResult DocumentFile::readBytes(const QString &path)
{
    ReadResult result;
    if (path.isEmpty()) {
        result.error = tr("No file name given");
        return result;
    }
    const QFileInfo info(path);
    if (info.exists() && info.isDir()) {
        result.error = tr("Is a directory");
        return result;
    }
    if (info.exists() && !info.isFile()) {
        // Devices and pipes never end or block; a page is always a regular file.
        result.error = tr("Not a regular file");
        return result;
    }
    if (info.size() > kMaxBytes) {
        result.error = tooLarge(info.size());
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
        return result;
    }
    if (result.bytes.size() > kMaxBytes) {
        result.error = tooLarge(result.bytes.size());
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

DocumentFile::OpenResult DocumentFile::open(const QString &path)
{
    OpenResult result;
    const ReadResult read = readBytes(path);
    if (!read.ok) {
        result.error = read.error;
        return result;
    }
    result.document = DocumentScanner::scan(
        std::string_view(read.bytes.constData(), static_cast<std::size_t>(read.bytes.size())));
    if (!result.document.hasHead) {
        result.error = ResourceText::status(StringId::NoHeadSection);
        return result;
    }
    result.ok = true;
    return result;
}
