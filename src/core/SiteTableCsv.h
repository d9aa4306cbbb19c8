#pragma once

#include "MetaEdit.h"
#include "SitePageRow.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QLatin1StringView>
#include <QList>
#include <QString>

#include <array>

enum class SiteColumn {
    Path,
    Title,
    TitleWidth,
    Description,
    DescriptionWidth,
    Keywords,
    Author,
    Robots,
    Charset,
    Warnings
};

// A site's table as a CSV file: exported whole, and read back as edits to its pages.
//
// An exported file can be edited in a spreadsheet and imported as it is. The import reads a
// header row naming path and any of the editable columns, in any order and letter case;
// the other columns of the export are ignored. Each row is an edit of the page at its path
// (relative to the site's folder, or absolute, but inside it). A column that is not there
// leaves that value as the page holds it; an empty cell empties it, so that no tag is
// written for it (robots: all four off; charset: off). Robots cells take the words of
// "tsmeta apply --robots"; charset cells on/off, yes/no, true/false or 1/0.
//
// An import is all or nothing: one bad row (an unknown column, a page named twice, a value
// not understood, a path outside the folder) and it gives no edit at all, only the errors,
// each with its line, so that a half-applied table never leaves a site in between.
class SiteTableCsv
{
    Q_DECLARE_TR_FUNCTIONS(SiteTableCsv)

public:
    struct Column
    {
        SiteColumn column;
        QLatin1StringView name;
        bool editable;
    };
    // The columns of an export, in order.
    static constexpr std::array<Column, 10> kColumns = { {
        { SiteColumn::Path, QLatin1StringView("path"), false },
        { SiteColumn::Title, QLatin1StringView("title"), false },
        { SiteColumn::TitleWidth, QLatin1StringView("title width"), false },
        { SiteColumn::Description, QLatin1StringView("description"), true },
        { SiteColumn::DescriptionWidth, QLatin1StringView("description width"), false },
        { SiteColumn::Keywords, QLatin1StringView("keywords"), true },
        { SiteColumn::Author, QLatin1StringView("author"), true },
        { SiteColumn::Robots, QLatin1StringView("robots"), true },
        { SiteColumn::Charset, QLatin1StringView("charset"), true },
        { SiteColumn::Warnings, QLatin1StringView("warnings"), false },
    } };

    struct PageEdit
    {
        qsizetype line = 0; // of the row in the file
        // The site's folder as given joined with the row's path, clean: absolute when either
        // is, so that a relative one names the page as the caller named the folder.
        QString path;
        MetaEdit edit;
    };

    struct RowError
    {
        qsizetype line = 0; // 0: the file as a whole
        QString message;
    };

    struct Import
    {
        QList<PageEdit> edits; // none when there is any error
        QList<RowError> errors;
    };

    static QByteArray exportTable(const QList<SitePageRow> &rows);
    // Written whole or not at all; false with the reason.
    static bool writeExport(const QString &path, const QList<SitePageRow> &rows, QString &error);

    // siteFolder: what relative paths are relative to, and what every page must be inside.
    static Import importTable(QByteArrayView csv, const QString &siteFolder);
    static Import readImport(const QString &csvPath, const QString &siteFolder);

    // "FILE:LINE: message", or "FILE: message" for the file as a whole.
    static QString describe(const QString &csvPath, const RowError &error);
};
