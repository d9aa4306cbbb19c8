// Any bytes read as a table without a crash, and a table read and written again reads back
// the same. The same bytes taken as cells (\x01 between cells, \x02 between rows) are
// written and read back exactly, and the site import of any bytes gives either errors or
// edits, never both, each of a page inside the site.

#include "CsvReader.h"
#include "CsvWriter.h"
#include "SiteTableCsv.h"

#include <cstdint>
#include <cstdlib>

namespace {

QList<QStringList> cellsOf(const CsvReader::Result &result)
{
    QList<QStringList> table;
    for (const CsvReader::Row &row : result.rows)
        table.append(row.cells);
    return table;
}

void checkRead(QByteArrayView bytes)
{
    const CsvReader::Result read = CsvReader::parse(bytes);
    if (!read.ok) {
        if (read.error.isEmpty() || read.errorLine < 1)
            std::abort();
        return;
    }
    const CsvReader::Result again = CsvReader::parse(CsvWriter::write(cellsOf(read)));
    if (!again.ok || cellsOf(again) != cellsOf(read))
        std::abort();
}

void checkWritten(QByteArrayView bytes)
{
    QList<QStringList> table;
    for (const QString &row : QString::fromUtf8(bytes).split(QChar(2)))
        table.append(row.split(QChar(1)));
    const CsvReader::Result read = CsvReader::parse(CsvWriter::write(table));
    if (!read.ok || cellsOf(read) != table)
        std::abort();
}

void checkImport(QByteArrayView bytes)
{
    const SiteTableCsv::Import import = SiteTableCsv::importTable(bytes, QStringLiteral("/site"));
    if (!import.errors.isEmpty() && !import.edits.isEmpty())
        std::abort();
    for (const SiteTableCsv::PageEdit &edit : import.edits) {
        if (!edit.path.startsWith(QStringLiteral("/site/")))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkRead(bytes);
    checkWritten(bytes);
    checkImport(bytes);
    return 0;
}
