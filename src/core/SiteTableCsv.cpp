#include "SiteTableCsv.h"

#include "CsvReader.h"
#include "CsvWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace {

QString cellOf(const SitePageRow &row, SiteColumn column)
{
    switch (column) {
    case SiteColumn::Path:
        return row.path;
    case SiteColumn::Title:
        return row.title;
    case SiteColumn::TitleWidth:
        return QString::number(row.titlePixels);
    case SiteColumn::Description:
        return row.description;
    case SiteColumn::DescriptionWidth:
        return QString::number(row.descriptionPixels);
    case SiteColumn::Keywords:
        return row.keywords;
    case SiteColumn::Author:
        return row.author;
    case SiteColumn::Robots:
        return row.robots;
    case SiteColumn::Charset:
        return row.charset ? QStringLiteral("on") : QStringLiteral("off");
    case SiteColumn::Warnings:
        break;
    }
    QStringList kinds;
    for (const WarningKind kind : row.warnings)
        kinds.append(QString::fromUtf8(PageWarnings::kindName(kind)));
    return kinds.join(QLatin1Char(' '));
}

std::optional<SiteTableCsv::Column> columnNamed(const QString &name)
{
    for (const SiteTableCsv::Column &column : SiteTableCsv::kColumns) {
        if (name.trimmed().compare(column.name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return std::nullopt;
}

std::optional<bool> switchNamed(const QString &word)
{
    static const QStringList kOn { QStringLiteral("on"), QStringLiteral("yes"), QStringLiteral("true"),
        QStringLiteral("1") };
    static const QStringList kOff { QString(), QStringLiteral("off"), QStringLiteral("no"), QStringLiteral("false"),
        QStringLiteral("0") };
    const QString key = word.trimmed().toLower();
    if (kOn.contains(key))
        return true;
    if (kOff.contains(key))
        return false;
    return std::nullopt;
}

bool isBlank(const QStringList &cells)
{
    return std::all_of(cells.begin(), cells.end(), [](const QString &cell) { return cell.isEmpty(); });
}

// Reads the rows of one table into edits, collecting every error on the way.
class ImportReader
{
public:
    explicit ImportReader(const QString &siteFolder)
        : m_folder(siteFolder)
        , m_absoluteFolder(QDir::cleanPath(QDir(siteFolder).absolutePath()))
    {
    }

    SiteTableCsv::Import read(const QList<CsvReader::Row> &rows)
    {
        if (rows.isEmpty())
            error(0, SiteTableCsv::tr("the table is empty: its first line must name the columns"));
        else if (readHeader(rows.first())) {
            for (qsizetype i = 1; i < rows.size(); ++i) {
                if (!isBlank(rows.at(i).cells))
                    readRow(rows.at(i));
            }
        }
        if (!m_import.errors.isEmpty())
            m_import.edits.clear();
        return m_import;
    }

private:
    bool readHeader(const CsvReader::Row &header)
    {
        const qsizetype errorsBefore = m_import.errors.size();
        for (const QString &name : header.cells) {
            const std::optional<SiteTableCsv::Column> column = columnNamed(name);
            if (name.trimmed().isEmpty())
                error(header.line, SiteTableCsv::tr("column %1 has no name").arg(m_columns.size() + 1));
            else if (!column)
                error(header.line,
                    SiteTableCsv::tr("unknown column '%1' (path, description, keywords, author, robots, charset)")
                        .arg(name));
            else if (m_columns.contains(column->column))
                error(header.line, SiteTableCsv::tr("the column '%1' is named twice").arg(column->name));
            m_columns.append(column ? std::optional(column->column) : std::nullopt);
        }
        if (!m_columns.contains(SiteColumn::Path))
            error(header.line, SiteTableCsv::tr("no path column: it names the page of each row"));
        return m_import.errors.size() == errorsBefore;
    }

    void readRow(const CsvReader::Row &row)
    {
        if (row.cells.size() != m_columns.size()) {
            error(row.line,
                SiteTableCsv::tr("%1 cells, but the header has %2").arg(row.cells.size()).arg(m_columns.size()));
            return;
        }
        SiteTableCsv::PageEdit page;
        page.line = row.line;
        bool ok = true;
        for (qsizetype i = 0; i < row.cells.size(); ++i)
            ok = readCell(*m_columns.at(i), row.cells.at(i), page) && ok;
        if (ok && registerPath(page))
            m_import.edits.append(page);
    }

    bool readCell(SiteColumn column, const QString &cell, SiteTableCsv::PageEdit &page)
    {
        switch (column) {
        case SiteColumn::Path:
            return resolvePath(cell, page);
        case SiteColumn::Description:
            page.edit.setText(TextField::Description, cell);
            return true;
        case SiteColumn::Keywords:
            page.edit.setText(TextField::Keywords, cell);
            return true;
        case SiteColumn::Author:
            page.edit.setText(TextField::Author, cell);
            return true;
        case SiteColumn::Robots:
            return readRobots(cell, page);
        case SiteColumn::Charset:
            return readCharset(cell, page);
        case SiteColumn::Title:
        case SiteColumn::TitleWidth:
        case SiteColumn::DescriptionWidth:
        case SiteColumn::Warnings:
            break;
        }
        return true; // what the page shows but a save does not set
    }

    bool resolvePath(const QString &cell, SiteTableCsv::PageEdit &page)
    {
        if (cell.isEmpty())
            return error(page.line, SiteTableCsv::tr("no path"));
        page.path = QDir::cleanPath(QDir(m_folder).filePath(cell));
        const QString absolute = QDir::cleanPath(QDir(m_absoluteFolder).absoluteFilePath(cell));
        const QString inside
            = m_absoluteFolder.endsWith(QLatin1Char('/')) ? m_absoluteFolder : m_absoluteFolder + QLatin1Char('/');
        if (!absolute.startsWith(inside) || absolute == inside)
            return error(page.line, SiteTableCsv::tr("'%1' is not a page inside %2").arg(cell, m_absoluteFolder));
        return true;
    }

    bool readRobots(const QString &cell, SiteTableCsv::PageEdit &page)
    {
        QList<RobotsFlag> flags;
        QString message;
        if (!MetaEdit::parseRobots(cell, flags, message))
            return error(page.line, message);
        page.edit.setRobots(flags);
        return true;
    }

    bool readCharset(const QString &cell, SiteTableCsv::PageEdit &page)
    {
        const std::optional<bool> on = switchNamed(cell);
        if (!on)
            return error(page.line, SiteTableCsv::tr("charset takes on or off, not '%1'").arg(cell));
        page.edit.setCharset(*on);
        return true;
    }

    bool registerPath(const SiteTableCsv::PageEdit &page)
    {
        const QString absolute = QDir::cleanPath(QFileInfo(page.path).absoluteFilePath());
        const auto earlier = m_lineOfPath.constFind(absolute);
        if (earlier != m_lineOfPath.constEnd())
            return error(page.line, SiteTableCsv::tr("the page of line %1 again").arg(*earlier));
        m_lineOfPath.insert(absolute, page.line);
        return true;
    }

    bool error(qsizetype line, const QString &message)
    {
        m_import.errors.append({ line, message });
        return false;
    }

    QString m_folder;
    QString m_absoluteFolder;
    QList<std::optional<SiteColumn>> m_columns;
    QHash<QString, qsizetype> m_lineOfPath;
    SiteTableCsv::Import m_import;
};

SiteTableCsv::Import importOf(const CsvReader::Result &table, const QString &siteFolder)
{
    if (!table.ok)
        return { {}, { { table.errorLine, table.error } } };
    return ImportReader(siteFolder).read(table.rows);
}

} // namespace

QByteArray SiteTableCsv::exportTable(const QList<SitePageRow> &rows)
{
    QList<QStringList> table;
    QStringList header;
    for (const Column &column : kColumns)
        header.append(column.name);
    table.append(header);
    for (const SitePageRow &row : rows) {
        QStringList cells;
        for (const Column &column : kColumns)
            cells.append(cellOf(row, column.column));
        table.append(cells);
    }
    return CsvWriter::write(table);
}

bool SiteTableCsv::writeExport(const QString &path, const QList<SitePageRow> &rows, QString &error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(exportTable(rows)) >= 0 && file.commit())
        return true;
    error = file.errorString();
    return false;
}

SiteTableCsv::Import SiteTableCsv::importTable(QByteArrayView csv, const QString &siteFolder)
{
    return importOf(CsvReader::parse(csv), siteFolder);
}

SiteTableCsv::Import SiteTableCsv::readImport(const QString &csvPath, const QString &siteFolder)
{
    return importOf(CsvReader::readFile(csvPath), siteFolder);
}

QString SiteTableCsv::describe(const QString &csvPath, const RowError &error)
{
    const QString where = error.line == 0 ? csvPath : csvPath + QLatin1Char(':') + QString::number(error.line);
    return where + QStringLiteral(": ") + error.message;
}
