#include "DocumentFile.h"

#include "ByteView.h"
#include "DocumentScanner.h"
#include "PageRead.h"
#include "ResourceText.h"
#include "StringTable.h"
#include "Utf8Validator.h"

#include <QScopeGuard>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <future>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

struct BlockFeed
{
    qint64 end = 0; // the file position reached
    int readError = 0; // errno, when a read failed
};

namespace {

QString megabytes(qint64 bytes)
{
    return QString::number((bytes + 1024 * 1024 - 1) / (1024 * 1024));
}

DocumentFile::OpenError openErrorOf(int error)
{
    switch (error) {
    case ENOENT:
        return DocumentFile::OpenError::Missing;
    case EACCES:
    case EPERM:
        return DocumentFile::OpenError::AccessDenied;
    default:
        return DocumentFile::OpenError::ReadFailed;
    }
}

// Page faults dominate reading a large file into fresh memory; huge pages take 512 times
// fewer of them. Only a hint: where the kernel declines, nothing changes.
void preferHugePages(QByteArray &bytes)
{
    constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;
    if (bytes.size() < qsizetype(4 * kHugePage))
        return;
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t alignedBegin = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t alignedEnd = (begin + static_cast<std::uintptr_t>(bytes.size())) & ~(kHugePage - 1);
    if (alignedEnd > alignedBegin)
        madvise(reinterpret_cast<void *>(alignedBegin), alignedEnd - alignedBegin, MADV_HUGEPAGE);
}

// One read at a position, again when a signal cut it short; the count read, or -1 with
// errno set.
qint64 readAt(int fd, char *data, qint64 count, qint64 at)
{
    for (;;) {
        const ssize_t got = ::pread(fd, data, std::size_t(count), off_t(at));
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

// Reads into data until count bytes are there or the file ends; the count read, or -1 with
// errno set.
qint64 readFully(int fd, char *data, qint64 count, qint64 at)
{
    qint64 done = 0;
    while (done < count) {
        const qint64 got = readAt(fd, data + done, count - done, at + done);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

// Reading a cached file is bound by copying it out of the page cache, so a large file is
// read as two halves at once. Returns how much of the start is filled; on any shortfall
// the rest is simply read again in order.
qint64 readHalvesAtOnce(int fd, QByteArray &bytes, qint64 size)
{
    constexpr qint64 kSplitFrom = 8 * 1024 * 1024;
    if (size < kSplitFrom)
        return 0;
    const qint64 half = size / 2;
    auto second = std::async(std::launch::async,
        [fd, data = bytes.data(), half, size] { return readFully(fd, data + half, size - half, half); });
    const qint64 first = readFully(fd, bytes.data(), half, 0);
    const bool secondComplete = second.get() == size - half;
    return (first == half && secondComplete) ? size : std::max<qint64>(first, 0);
}

// Reads to the end even when the file grew or shrank since its size was taken, up to the
// limit; false with errno set on a read error, false with errno 0 when the page is too
// large. A page is a regular file, whose read comes short only at its end: a read of one
// byte more than its size that brings exactly its size tells that end without a further read.
bool readWhole(int fd, qint64 size, QByteArray &bytes)
{
    // Reserved first: a resize alone rounds a large page up to the next power of two.
    bytes.reserve(size + 1);
    bytes.resize(size + 1);
    preferHugePages(bytes);
    qint64 filled = readHalvesAtOnce(fd, bytes, size);
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > DocumentFile::kMaxBytes) {
                errno = 0;
                return false;
            }
            bytes.resize(std::min<qint64>(bytes.size() * 2, DocumentFile::kMaxBytes + 1));
        }
        const qint64 want = bytes.size() - filled;
        const qint64 got = readAt(fd, bytes.data() + filled, want, filled);
        if (got < 0)
            return false;
        filled += got;
        if (got == 0 || (filled == size && got < want))
            break;
    }
    bytes.truncate(filled);
    errno = 0;
    return filled <= DocumentFile::kMaxBytes;
}

// Reads until the buffer holds count more bytes or the file ends; false on a read error.
bool appendBytes(QFile &file, QByteArray &bytes, qint64 count, bool &atEnd)
{
    const qint64 start = bytes.size();
    bytes.resize(start + count);
    qint64 filled = 0;
    while (filled < count) {
        const qint64 got = file.read(bytes.data() + start + filled, count - filled);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(start + filled);
    atEnd = filled < count;
    return true;
}

// Feeds the file to the validator block by block, from one position up to another or the
// file's end, by positioned reads that two threads can make at once; stops early once
// the page is known not to be UTF-8, here or in the other half.
BlockFeed feedBlocks(int fd, qint64 from, qint64 end, Utf8Validator &validator, QByteArray &block,
    std::atomic<bool> &invalidFound)
{
    qint64 at = from;
    while (at < end && validator.stillValid() && !invalidFound) {
        const ssize_t got = ::pread(fd, block.data(), std::size_t(std::min<qint64>(block.size(), end - at)), off_t(at));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return { at, errno };
        if (got == 0)
            break;
        validator.feed(byteView(block).substr(0, std::size_t(got)));
        at += got;
    }
    invalidFound = invalidFound || !validator.stillValid();
    return { at, 0 };
}

} // namespace

// Opens a page for reading, or says why it cannot be read. Looked at before it is opened:
// opening a device or a pipe may block or act on it.
DocumentFile::Failure DocumentFile::openDescriptor(const QString &path, int &fd)
{
    if (path.isEmpty())
        return { OpenError::NotAPage, tr("No file name given") };
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::stat(name.constData(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            return { OpenError::NotAPage, tr("Is a directory") };
        // Devices and pipes never end or block; a page is always a regular file.
        if (!S_ISREG(status.st_mode))
            return { OpenError::NotAPage, tr("Not a regular file") };
        if (status.st_size > kMaxBytes)
            return tooLarge(status.st_size);
    }
    // Opened here rather than by QFile, whose failure keeps the words but not the errno.
    fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return { openErrorOf(error), qt_error_string(error) };
    }
    return {};
}

DocumentFile::Failure DocumentFile::openForReading(const QString &path, QFile &file)
{
    int fd = -1;
    if (Failure refused = openDescriptor(path, fd); refused.code != OpenError::None)
        return refused;
    // Unbuffered: the bytes go straight into their final buffer.
    file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    return {};
}

DocumentFile::Failure DocumentFile::tooLarge(qint64 size)
{
    return { OpenError::TooLarge,
        tr("File is too large (%1 MB; pages up to %2 MB can be opened)")
            .arg(megabytes(size), megabytes(kMaxBytes)) };
}

DocumentFile::ReadResult DocumentFile::readBytes(const QString &path)
{
    std::unique_lock<std::mutex> noTurn;
    return readBytesInTurn(path, noTurn);
}

DocumentFile::ReadResult DocumentFile::readBytesInTurn(
    const QString &path, std::unique_lock<std::mutex> &turn)
{
    ReadResult result;
    int fd = -1;
    if (Failure refused = openDescriptor(path, fd); refused.code != OpenError::None) {
        result.code = refused.code;
        result.error = std::move(refused.error);
        return result;
    }
    // Plain calls on the descriptor: an audit reads tens of thousands of small pages, and
    // each call a file object makes besides the reading shows in its time.
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    result.stamp = FileStamp::of(fd);
    const qint64 size = std::max<qint64>(result.stamp.size, 0);
    if (turn.mutex() && size > kLargePage)
        turn.lock();
    if (!readWhole(fd, size, result.bytes)) {
        const int error = errno;
        const Failure failure
            = error != 0 ? Failure { OpenError::ReadFailed, qt_error_string(error) } : tooLarge(result.bytes.size());
        result.code = failure.code;
        result.error = failure.error;
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

DocumentFile::OpenResult DocumentFile::open(const QString &path, Facts facts, std::mutex *largePageTurn)
{
    if (facts == Facts::Skip)
        return openByNeed(path);
    // The turn is held through the scan too: it is the page's bytes in memory that it limits.
    std::unique_lock<std::mutex> turn;
    if (largePageTurn)
        turn = std::unique_lock(*largePageTurn, std::defer_lock);
    ReadResult read = readBytesInTurn(path, turn);
    if (!read.ok)
        return failed({ read.code, read.error });
    OpenResult result = fromBytes(std::move(read.bytes));
    result.stamp = read.stamp;
    return result;
}

DocumentFile::OpenResult DocumentFile::fromBytes(QByteArray bytes)
{
    PageRead page = PageRead::of(byteView(bytes));
    OpenResult result = opened(std::move(page.document));
    result.facts = std::move(page.facts);
    result.bytes = std::move(bytes);
    return result;
}

DocumentFile::OpenResult DocumentFile::openByNeed(const QString &path)
{
    QFile file;
    if (const Failure refused = openForReading(path, file); refused.code != OpenError::None)
        return failed(refused);
    const FileStamp stamp = FileStamp::of(file.handle());
    QByteArray prefix;
    bool atEnd = false;
    DocumentScanner::Need need = DocumentScanner::Need::MoreBytes;
    for (qint64 block = kFirstBlock; need == DocumentScanner::Need::MoreBytes && !atEnd; block = prefix.size()) {
        if (!appendBytes(file, prefix, std::min(block, kMaxBytes + 1 - prefix.size()), atEnd))
            return failed({ OpenError::ReadFailed, file.errorString() });
        if (prefix.size() > kMaxBytes)
            return failed(tooLarge(prefix.size()));
        need = DocumentScanner::needOf(byteView(prefix));
    }
    bool pageIsUtf8 = true;
    if (!atEnd && need == DocumentScanner::Need::RestEncoding) {
        const RestCheck rest = restIsUtf8(file, prefix);
        if (rest.failure.code != OpenError::None)
            return failed(rest.failure);
        pageIsUtf8 = rest.utf8;
    }
    OpenResult result = opened(atEnd ? DocumentScanner::scan(byteView(prefix))
                                     : DocumentScanner::scanPrefix(byteView(prefix), pageIsUtf8));
    result.stamp = stamp;
    return result;
}

DocumentFile::RestCheck DocumentFile::restIsUtf8(QFile &file, const QByteArray &prefix)
{
    Utf8Validator validator;
    validator.feed(byteView(prefix));
    if (!validator.stillValid())
        return { false, {} };
    const qint64 restSize = file.size() - prefix.size();
    if (restSize >= kSplitRestFrom)
        return halvesAreUtf8(file.handle(), validator, prefix.size(), prefix.size() + restSize / 2);
    std::atomic<bool> invalidFound = false;
    QByteArray block(kRestBlock, Qt::Uninitialized);
    return checked(feedBlocks(file.handle(), prefix.size(), kMaxBytes + 1, validator, block, invalidFound), validator);
}

// Reading a cached file is bound by copying it out of the page cache, so a large rest is
// read and checked as two halves at once. The second half starts at the first character
// that begins at or after the middle; the first ends there.
DocumentFile::RestCheck DocumentFile::halvesAreUtf8(int fd, Utf8Validator &validator, qint64 from, qint64 middle)
{
    QByteArray block(kRestBlock, Qt::Uninitialized);
    const ssize_t got = ::pread(fd, block.data(), Utf8Validator::kMaxCharacterTail, off_t(middle));
    const std::string_view afterMiddle = byteView(block).substr(0, std::size_t(std::max<ssize_t>(got, 0)));
    const qint64 split = middle + qint64(Utf8Validator::characterTailLength(afterMiddle));
    std::atomic<bool> invalidFound = false;
    // The second block is made here: the first allocation on a thread costs it a memory arena.
    QByteArray secondBlock(kRestBlock, Qt::Uninitialized);
    Utf8Validator secondValidator;
    auto second = std::async(std::launch::async, [&] {
        return feedBlocks(fd, split, kMaxBytes + 1, secondValidator, secondBlock, invalidFound);
    });
    const BlockFeed first = feedBlocks(fd, from, split, validator, block, invalidFound);
    const BlockFeed rest = second.get();
    if (first.readError != 0)
        return checked(first, validator);
    const RestCheck secondCheck = checked(rest, secondValidator);
    return { secondCheck.utf8 && validator.valid(), secondCheck.failure };
}

DocumentFile::RestCheck DocumentFile::checked(const BlockFeed &fed, const Utf8Validator &validator)
{
    if (fed.readError != 0)
        return { false, { OpenError::ReadFailed, qt_error_string(fed.readError) } };
    if (fed.end > kMaxBytes)
        return { false, tooLarge(fed.end) };
    return { validator.valid(), {} };
}

DocumentFile::OpenResult DocumentFile::failed(const Failure &failure)
{
    OpenResult result;
    result.code = failure.code;
    result.error = failure.error;
    return result;
}

DocumentFile::OpenResult DocumentFile::opened(ScannedDocument document)
{
    OpenResult result;
    result.document = std::move(document);
    if (!result.document.hasHead) {
        result.code = OpenError::NoHead;
        result.error = ResourceText::status(StringId::NoHeadSection);
        return result;
    }
    result.ok = true;
    return result;
}
