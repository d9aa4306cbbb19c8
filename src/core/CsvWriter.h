#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Writes a table of comma-separated values (RFC 4180) that spreadsheets open as UTF-8: a
// byte order mark first, CR LF after each row. A cell is quoted when it must be, and also
// when a spreadsheet would otherwise trim it or split it at a semicolon; CsvReader reads
// every cell back exactly.
class CsvWriter
{
public:
    static QByteArray write(const QList<QStringList> &rows);

private:
    static void appendCell(QByteArray &out, const QString &text, bool alone);
};
