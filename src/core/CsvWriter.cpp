#include "CsvWriter.h"

namespace {

bool needsQuotes(const QString &text, bool alone)
{
    // An empty cell alone on its row would be an empty line, which readers may skip.
    if (text.isEmpty())
        return alone;
    // A NUL is quoted too: bare, it marks a binary file to a reader.
    static const QString kSpecial = QStringLiteral(",;\"\r\n") + QChar(0);
    for (const QChar c : text) {
        if (kSpecial.contains(c))
            return true;
    }
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    return isBlank(text.front()) || isBlank(text.back());
}

} // namespace

QByteArray CsvWriter::write(const QList<QStringList> &rows)
{
    QByteArray out("\xEF\xBB\xBF");
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += ',';
            appendCell(out, row.at(i), row.size() == 1);
        }
        out += "\r\n";
    }
    return out;
}

void CsvWriter::appendCell(QByteArray &out, const QString &text, bool alone)
{
    const QByteArray bytes = text.toUtf8();
    if (!needsQuotes(text, alone)) {
        out += bytes;
        return;
    }
    out += '"';
    out += QByteArray(bytes).replace('"', "\"\"");
    out += '"';
}
