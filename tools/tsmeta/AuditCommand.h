#pragma once

#include "WidthLimits.h"

#include <QCoreApplication>
#include <QStringList>

#include <chrono>
#include <optional>

class QTextStream;

// "tsmeta audit": reads every page as "tsmeta read" does and reports what a search result
// would show of it (title and description widths) and the warnings the editor shows, then
// the groups of pages sharing a description and a summary over all the pages.
class AuditCommand
{
    // All of tsmeta's texts share one translation context.
    Q_DECLARE_TR_FUNCTIONS(tsmeta)

public:
    enum class Format { JsonLines, Table };
    enum class Outcome { Clean, Warnings, Failed };

    struct Options
    {
        Format format = Format::JsonLines;
        int jobs = 0; // threads reading pages; 0 for one per core
        // How many pages of the lists of pages sharing a description are held in memory at
        // a time; the lists are gathered in as many passes as they need.
        qint64 listWindow = 32768;
        // "N pages read" on the error stream while the pages are read: for a terminal only.
        bool progress = false;
        // Titles and descriptions wider than these are counted and marked.
        WidthLimits limits;
        std::chrono::milliseconds progressInterval { 250 };
    };

    static std::optional<Format> formatNamed(const QString &name);
    // The pages an audit of these paths reads, in order (see PageWalk).
    static QStringList pagesIn(const QStringList &paths);
    // Failed when a page could not be read, or the audit could not be done; else whether
    // any page has a warning. The pages are read on several threads. JSON Lines come as
    // soon as each page's line is settled: at once for a page without a description, one
    // that could not be read, or one whose description an earlier page has; the pages
    // whose description no earlier page had come after all are read, in page order. A
    // table waits for every page, so that its columns align, and keeps page order.
    static Outcome run(const QStringList &paths, const Options &options, QTextStream &out, QTextStream &err);
};
