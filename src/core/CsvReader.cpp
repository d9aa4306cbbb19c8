#include "CsvReader.h"

#include "Utf8Validator.h"

#include <QFile>
#include <QStringDecoder>

namespace {

constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";

bool isLineEndByte(char c)
{
    return c == '\r' || c == '\n';
}

// A byte order mark at the start of a cell is the cell's text, not a mark to drop.
QString textOf(const QByteArray &cell)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(cell);
}

} // namespace

CsvReader::CsvReader(QByteArrayView bytes)
    : m_bytes(bytes)
{
}

CsvReader::Result CsvReader::parse(QByteArrayView bytes)
{
    return CsvReader(bytes).run();
}

CsvReader::Result CsvReader::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Result failed;
        failed.error = file.errorString();
        return failed;
    }
    // Read one byte past the limit, so that a file growing while it is read is caught too.
    const QByteArray bytes = file.read(kMaxBytes + 1);
    Result result;
    if (file.error() != QFileDevice::NoError)
        result.error = file.errorString();
    else if (bytes.size() > kMaxBytes)
        result.error = tr("the file is too large for a table (over %1 MB)").arg(kMaxBytes / (1024 * 1024));
    else
        result = parse(bytes);
    return result;
}

CsvReader::Result CsvReader::run()
{
    if (m_bytes.startsWith(kByteOrderMark))
        m_at = kByteOrderMark.size();
    if (!checkText())
        return m_result;
    m_separator = separatorOfHeader();
    m_result.separator = m_separator;
    // Empty lines at the end are where the last row's line end was doubled, not rows.
    const qsizetype contentEnd = endOfContent();
    while (m_at < contentEnd) {
        Row row;
        row.line = m_line;
        if (!readRow(row))
            return m_result;
        m_result.rows.append(row);
    }
    m_result.ok = true;
    return m_result;
}

bool CsvReader::checkText()
{
    qsizetype line = 1;
    for (qsizetype from = m_at; from < m_bytes.size(); ++line) {
        qsizetype end = from;
        while (end < m_bytes.size() && !isLineEndByte(m_bytes[end]))
            ++end;
        const QByteArrayView text = m_bytes.sliced(from, end - from);
        Utf8Validator validator;
        validator.feed(std::string_view(text.data(), std::size_t(text.size())));
        if (!validator.valid())
            return fail(tr("not UTF-8 text (save the table as CSV UTF-8)"), line);
        from = end + (m_bytes.sliced(end).startsWith("\r\n") ? 2 : 1);
    }
    return true;
}

char CsvReader::separatorOfHeader() const
{
    qsizetype commas = 0;
    qsizetype semicolons = 0;
    bool quoted = false;
    for (qsizetype i = m_at; i < m_bytes.size() && (quoted || !isLineEndByte(m_bytes[i])); ++i) {
        const char c = m_bytes[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

bool CsvReader::readRow(Row &row)
{
    for (;;) {
        QByteArray cell;
        if (m_at < m_bytes.size() && m_bytes[m_at] == '"') {
            if (!readQuotedCell(cell))
                return false;
        } else {
            readPlainCell(cell);
            if (m_at < m_bytes.size() && m_bytes[m_at] == '"')
                return fail(tr("a quote inside a cell that does not start with one"), m_line);
            // Text a page holds may have one, and is written quoted; bare, it marks a binary file.
            if (m_at < m_bytes.size() && m_bytes[m_at] == '\0')
                return fail(tr("binary data (a NUL byte outside quotes): not a table of text"), m_line);
        }
        if (++m_cells > kMaxCells)
            return fail(tr("more than %1 cells: too many for a table").arg(kMaxCells), m_line);
        row.cells.append(textOf(cell));
        if (m_at >= m_bytes.size())
            return true;
        if (atLineEnd()) {
            skipLineEnd();
            return true;
        }
        ++m_at; // the separator
    }
}

bool CsvReader::readQuotedCell(QByteArray &cell)
{
    const qsizetype startLine = m_line;
    ++m_at;
    for (;;) {
        const qsizetype quote = m_bytes.indexOf('"', m_at);
        if (quote < 0)
            return fail(tr("a quoted cell starts here and never ends"), startLine);
        const QByteArrayView text = m_bytes.sliced(m_at, quote - m_at);
        cell += text;
        while (m_at < quote) {
            if (atLineEnd())
                skipLineEnd();
            else
                ++m_at;
        }
        m_at = quote + 1;
        if (m_at < m_bytes.size() && m_bytes[m_at] == '"') {
            cell += '"';
            ++m_at;
            continue;
        }
        if (m_at < m_bytes.size() && m_bytes[m_at] != m_separator && !atLineEnd())
            return fail(
                tr("text after the quote that closes a cell (a quote inside a cell is written twice)"),
                m_line);
        return true;
    }
}

void CsvReader::readPlainCell(QByteArray &cell)
{
    const qsizetype from = m_at;
    while (m_at < m_bytes.size() && m_bytes[m_at] != m_separator && m_bytes[m_at] != '"'
        && m_bytes[m_at] != '\0' && !atLineEnd())
        ++m_at;
    cell = m_bytes.sliced(from, m_at - from).toByteArray();
}

bool CsvReader::atLineEnd() const
{
    return isLineEndByte(m_bytes[m_at]);
}

void CsvReader::skipLineEnd()
{
    m_at += m_bytes.sliced(m_at).startsWith("\r\n") ? 2 : 1;
    ++m_line;
}

qsizetype CsvReader::endOfContent() const
{
    qsizetype end = m_bytes.size();
    while (end > m_at && isLineEndByte(m_bytes[end - 1]))
        --end;
    return end;
}

bool CsvReader::fail(const QString &error, qsizetype line)
{
    m_result.error = error;
    m_result.errorLine = line;
    return false;
}
