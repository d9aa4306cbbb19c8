#pragma once

#include <QByteArrayView>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// Reads a table of comma-separated values as spreadsheets save it (RFC 4180) in UTF-8.
// Lenient where spreadsheets differ: a byte order mark, LF or CR line ends instead of
// CR LF, empty lines at the end, and a semicolon for the separator when the header line
// holds more semicolons than commas, as spreadsheets write in locales whose decimal mark
// is the comma. Strict where a guess could move a value into another cell: a stray quote
// is an error, not text. Errors name the line they are on; a file is read whole or not at
// all.
class CsvReader
{
    Q_DECLARE_TR_FUNCTIONS(CsvReader)

public:
    // A site's table is a few hundred bytes a page; beyond these it is not one.
    static constexpr qint64 kMaxBytes = qint64(64) * 1024 * 1024;
    static constexpr qsizetype kMaxCells = 4'000'000;

    struct Row
    {
        qsizetype line = 0; // where the row starts, from 1; a quoted cell may span lines
        QStringList cells;
    };

    struct Result
    {
        bool ok = false;
        QString error; // when not ok
        qsizetype errorLine = 0; // the line of the error, 0 when it is about the whole file
        QList<Row> rows;
        char separator = ',';
    };

    static Result parse(QByteArrayView bytes);
    static Result readFile(const QString &path);

private:
    explicit CsvReader(QByteArrayView bytes);

    Result run();
    // A byte that is not UTF-8, found line by line.
    bool checkText();
    char separatorOfHeader() const;
    bool readRow(Row &row);
    bool readQuotedCell(QByteArray &cell);
    void readPlainCell(QByteArray &cell);
    bool atLineEnd() const;
    void skipLineEnd();
    qsizetype endOfContent() const;
    bool fail(const QString &error, qsizetype line);

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    qsizetype m_line = 1;
    qsizetype m_cells = 0;
    char m_separator = ',';
    Result m_result;
};
