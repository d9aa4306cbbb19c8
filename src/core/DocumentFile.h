#pragma once

#include "ScannedDocument.h"
#include "PageFacts.h"

#include <QByteArray>
#include <QString>

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
    static OpenResult open(const QString &path, Facts facts = Facts::Skip);

private:
    static OpenResult scan(const QByteArray &bytes);
};
