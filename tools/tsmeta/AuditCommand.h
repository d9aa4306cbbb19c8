#pragma once

#include <QStringList>

#include <optional>

class QTextStream;

// "tsmeta audit": reads every page as "tsmeta read" does and reports what a search result
// would show of it (title and description widths) and the warnings the editor shows, then
// a summary over all the pages, duplicate descriptions included.
class AuditCommand
{
public:
    enum class Format { JsonLines, Table };

    static std::optional<Format> formatNamed(const QString &name);
    // Files as given; folders searched through their subfolders for the page extensions
    // (.htm .html .asp .php .php3 .phtml .shtml .ssi in any letter case), hidden entries
    // skipped, each folder's pages sorted, every folder visited once however linked.
    static QStringList pagesIn(const QStringList &paths);
    // Returns true when every page was read.
    static bool run(const QStringList &paths, Format format, QTextStream &out);
};
