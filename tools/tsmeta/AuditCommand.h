#pragma once

#include <QCoreApplication>
#include <QStringList>

#include <optional>

class QTextStream;

// "tsmeta audit": reads every page as "tsmeta read" does and reports what a search result
// would show of it (title and description widths) and the warnings the editor shows, then
// a summary over all the pages, duplicate descriptions included.
class AuditCommand
{
    // All of tsmeta's texts share one translation context.
    Q_DECLARE_TR_FUNCTIONS(tsmeta)

public:
    enum class Format { JsonLines, Table };

    struct Options
    {
        Format format = Format::JsonLines;
        int jobs = 0; // threads reading pages; 0 for one per core
        // How many pages of the lists of pages sharing a description the summary holds in
        // memory at a time; the lists are gathered in as many passes as they need.
        qint64 listWindow = 32768;
    };

    static std::optional<Format> formatNamed(const QString &name);
    // The pages an audit of these paths reads, in order (see PageWalk).
    static QStringList pagesIn(const QStringList &paths);
    // Returns true when every page was read. The pages are read on several threads; the
    // output is in page order all the same.
    static bool run(const QStringList &paths, const Options &options, QTextStream &out, QTextStream &err);
};
