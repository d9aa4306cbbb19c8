#include "PageSource.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

constexpr qsizetype kBlock = 64 * 1024;

QString megabytes(qint64 bytes)
{
    return QString::number(bytes / (1024 * 1024));
}

DocumentFile::OpenResult refused(DocumentFile::OpenError code, const QString &error)
{
    DocumentFile::OpenResult result;
    result.code = code;
    result.error = error;
    return result;
}

} // namespace

bool PageSource::isStandardInput(const QString &path)
{
    return path == QLatin1String("-");
}

DocumentFile::OpenResult PageSource::open(
    const QString &path, DocumentFile::Facts facts, std::mutex *largePageTurn)
{
    return isStandardInput(path) ? openStandardInput() : DocumentFile::open(path, facts, largePageTurn);
}

// Read by the system's own calls: a pipe or a terminal has no size to read up to, and
// only the whole input is the page.
DocumentFile::OpenResult PageSource::openStandardInput()
{
    // An audit reads its pages on several threads; "-" given twice must not interleave.
    static std::mutex oneReader;
    const std::lock_guard lock(oneReader);
    QByteArray bytes;
    for (;;) {
        const qsizetype filled = bytes.size();
        bytes.resize(filled + kBlock);
        const ssize_t got = ::read(STDIN_FILENO, bytes.data() + filled, std::size_t(kBlock));
        const int error = got < 0 ? errno : 0;
        bytes.truncate(filled + std::max<qsizetype>(got, 0));
        if (error == EINTR)
            continue;
        if (error != 0)
            return refused(DocumentFile::OpenError::ReadFailed, qt_error_string(error));
        if (got == 0)
            break;
        if (bytes.size() > DocumentFile::kMaxBytes)
            return refused(DocumentFile::OpenError::TooLarge,
                tr("Standard input is too large (pages up to %1 MB can be read)")
                    .arg(megabytes(DocumentFile::kMaxBytes)));
    }
    return DocumentFile::fromBytes(std::move(bytes));
}
