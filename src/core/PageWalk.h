#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The pages under folders, one at a time, so that a site of any size costs only the
// folders on the way down: files (and "-", a command line's standard input) as given; folders searched through their subfolders for
// the page extensions (.htm .html .asp .php .php3 .phtml .shtml .ssi in any letter case),
// hidden entries skipped, every folder visited once however linked. The pages below one
// argument come in the order of their sorted paths.
class PageWalk
{
public:
    explicit PageWalk(QStringList paths);

    std::optional<QString> next();

private:
    // One folder's entries still to visit, sorted as their paths sort: a subfolder "b"
    // sorts as "b/", so "b.html" comes before the pages inside it.
    struct Level
    {
        QString folder; // ending in "/"
        QStringList names; // of folders ending in "/"
        qsizetype at = 0;
    };

    void enter(const QString &folder);

    QStringList m_paths;
    qsizetype m_nextPath = 0;
    std::vector<Level> m_levels;
    QSet<QString> m_visited; // canonical folders
};
