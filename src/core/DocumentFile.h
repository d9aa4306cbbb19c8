#pragma once

#include "ScannedDocument.h"
#include "PageFacts.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <mutex>

class Utf8Validator;
struct BlockFeed;

// Reading a page from disk: its bytes exactly as they are, then the scan.
class DocumentFile
{
public:
    // Pages are small; anything this large is not one and would only exhaust memory.
    static constexpr qint64 kMaxBytes = qint64(512) * 1024 * 1024;

    struct ReadResult
    {
        bool ok = false;
        QString error; // the reason, when not ok
        QByteArray bytes;
    };

    struct OpenResult
    {
        bool ok = false;
        QString error; // the reason, when not ok
        ScannedDocument document;
        PageFacts facts; // only when asked for: the editor and the audit warn from them
    };

    enum class Facts { Skip, Take };

    static ReadResult readBytes(const QString &path);
    // Reads and scans; a page without "<head" is refused with "No HEAD section in file...".
    // Without the facts only what the read needs is read: the page up to the end of its
    // HEAD region, and the rest only to tell its encoding when the region declares none.
    static OpenResult open(const QString &path, Facts facts = Facts::Skip);

private:
    static constexpr qint64 kFirstBlock = 64 * 1024;
    static constexpr qint64 kLargePage = 1024 * 1024;
    static constexpr qint64 kRestBlock = 256 * 1024;
    static constexpr qint64 kSplitRestFrom = 8 * 1024 * 1024;

    struct RestCheck
    {
        bool utf8 = false;
        QString error;
    };

    // Takes the turn, when one is given, before reading a large page.
    static ReadResult readBytesInTurn(const QString &path, std::unique_lock<std::mutex> *turn);
    static OpenResult openByNeed(const QString &path);
    // Whether the page is UTF-8, the prefix read already and the rest read block by block
    // up to its first byte that is not.
    static RestCheck restIsUtf8(QFile &file, const QByteArray &prefix);
    static RestCheck halvesAreUtf8(int fd, Utf8Validator &validator, qint64 from, qint64 middle);
    // What a feed of the rest found: its error, the page too large, or the verdict.
    static RestCheck checked(const BlockFeed &fed, const Utf8Validator &validator);
    static OpenResult failed(const QString &error);
    static OpenResult opened(ScannedDocument document);
};
