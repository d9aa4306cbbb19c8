#pragma once

#include "FileStamp.h"
#include "PageFacts.h"
#include "ScannedDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <mutex>

class Utf8Validator;
struct BlockFeed;

// Reading a page from disk: its bytes exactly as they are, then the scan.
class DocumentFile
{
    Q_DECLARE_TR_FUNCTIONS(DocumentFile)

public:
    // Pages are small; anything this large is not one and would only exhaust memory.
    static constexpr qint64 kMaxBytes = qint64(512) * 1024 * 1024;

    // Why a page was not opened, for callers that act on the cause and not only show it.
    enum class OpenError { None, NoHead, Missing, AccessDenied, NotAPage, TooLarge, ReadFailed };

    struct ReadResult
    {
        bool ok = false;
        QString error; // the reason, when not ok
        OpenError code = OpenError::None;
        QByteArray bytes;
        FileStamp stamp; // of the file read, once it was opened
    };

    struct OpenResult
    {
        bool ok = false;
        QString error; // the reason, when not ok
        OpenError code = OpenError::None;
        ScannedDocument document;
        PageFacts facts; // only when asked for: the editor and the audit warn from them
        QByteArray bytes; // the whole page, when the facts were taken: they read it all anyway
        // Of the file read, taken from the descriptor it was read through, so that a page
        // replaced while it was being opened is not mistaken for the one read.
        FileStamp stamp;
    };

    enum class Facts { Skip, Take };

    static ReadResult readBytes(const QString &path);
    // Reads and scans; a page without "<head" is refused with "No HEAD section in file...".
    // Without the facts only what the read needs is read: the page up to the end of its
    // HEAD region, and the rest only to tell its encoding when the region declares none.
    // With them the page is read whole; a page over kLargePage is then read and scanned
    // holding largePageTurn, when one is given, so that callers reading many pages at once
    // can hold one large page in memory at a time.
    static OpenResult open(
        const QString &path, Facts facts = Facts::Skip, std::mutex *largePageTurn = nullptr);
    // What open(path, Facts::Take) makes of a page with these bytes; no stamp, as no file was read.
    static OpenResult fromBytes(QByteArray bytes);

private:
    static constexpr qint64 kFirstBlock = 64 * 1024;
    static constexpr qint64 kLargePage = 1024 * 1024;
    static constexpr qint64 kRestBlock = 256 * 1024;
    static constexpr qint64 kSplitRestFrom = 8 * 1024 * 1024;

    struct Failure
    {
        OpenError code = OpenError::None;
        QString error;
    };

    struct RestCheck
    {
        bool utf8 = false;
        Failure failure;
    };

    static Failure openDescriptor(const QString &path, int &fd);
    static Failure openForReading(const QString &path, QFile &file);
    static Failure tooLarge(qint64 size);
    // Takes the turn, when it holds a mutex, before reading a large page.
    static ReadResult readBytesInTurn(const QString &path, std::unique_lock<std::mutex> &turn);
    static OpenResult openByNeed(const QString &path);
    // Whether the page is UTF-8, the prefix read already and the rest read block by block
    // up to its first byte that is not.
    static RestCheck restIsUtf8(QFile &file, const QByteArray &prefix);
    static RestCheck halvesAreUtf8(int fd, Utf8Validator &validator, qint64 from, qint64 middle);
    // What a feed of the rest found: its error, the page too large, or the verdict.
    static RestCheck checked(const BlockFeed &fed, const Utf8Validator &validator);
    static OpenResult failed(const Failure &failure);
    static OpenResult opened(ScannedDocument document);
};
