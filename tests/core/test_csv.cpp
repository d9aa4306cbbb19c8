#include "CsvReader.h"
#include "CsvWriter.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using Table = QList<QStringList>;

namespace {

Table cellsOf(const CsvReader::Result &result)
{
    Table table;
    for (const CsvReader::Row &row : result.rows)
        table.append(row.cells);
    return table;
}

QList<qsizetype> linesOf(const CsvReader::Result &result)
{
    QList<qsizetype> lines;
    for (const CsvReader::Row &row : result.rows)
        lines.append(row.line);
    return lines;
}

// Texts built from the characters that give a table trouble, and some that should not.
QString randomText(QRandomGenerator &random)
{
    static const QStringList kPieces { u","_s, u";"_s, u"\""_s, u"\"\""_s, u"\r"_s, u"\n"_s, u"\r\n"_s, u" "_s,
        u"\t"_s, u"a"_s, u"Zoë"_s, u"–"_s, u"日本"_s, u"😀"_s, u"\uFEFF"_s, u"="_s, u"'"_s, QString(QChar(0)) };
    QString text;
    const int length = random.bounded(0, 6);
    for (int i = 0; i < length; ++i)
        text += kPieces.at(random.bounded(kPieces.size()));
    return text;
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Whatever the cells hold, reading what was written gives them back.
    void writtenTablesReadBack_data()
    {
        QTest::addColumn<Table>("table");
        QTest::newRow("plain") << Table { { "path", "title" }, { "a.html", "Home" } };
        QTest::newRow("comma and semicolon") << Table { { "a,b", "c;d", ";" }, { ",", "x", "" } };
        QTest::newRow("quotes") << Table { { "\"", "say \"hi\"", "\"\"\"" }, { "ends with \"", "\"starts", "mid\"dle" } };
        QTest::newRow("line ends inside cells") << Table { { "one\ntwo", "cr\ronly", "crlf\r\nhere" }, { "\n", "\r", "\r\n" } };
        QTest::newRow("blanks at the ends") << Table { { " lead", "trail ", "  both  " }, { "\ttab", "tab\t", " " } };
        QTest::newRow("non-ASCII") << Table { { "Zoë Ærø", "日本語", "😀" }, { "\u00a0nbsp\u00a0", u"\uFEFFbom inside"_s, "–" } };
        QTest::newRow("empty cells") << Table { { "", "", "" }, { "a", "", "" }, { "", "", "z" } };
        QTest::newRow("one empty cell alone") << Table { { "" } };
        QTest::newRow("empty row between rows") << Table { { "a" }, { "" }, { "b" } };
        QTest::newRow("empty last row") << Table { { "a" }, { "" } };
        QTest::newRow("rows of different lengths") << Table { { "a", "b", "c" }, { "d" }, { "e", "f" } };
        QTest::newRow("a header of semicolons") << Table { { "a;b;c", "d" }, { "1", "2" } };
        QTest::newRow("formula-like text") << Table { { "=1+2", "+3", "-4", "@sum" } };
        QTest::newRow("nothing") << Table {};
    }
    void writtenTablesReadBack()
    {
        QFETCH(Table, table);
        const QByteArray bytes = CsvWriter::write(table);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(table.isEmpty() || bytes.endsWith("\r\n"));
        const CsvReader::Result read = CsvReader::parse(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(cellsOf(read), table);
        QCOMPARE(read.separator, ',');
    }

    // What a spreadsheet would trim, split or take for an empty line is quoted; the rest
    // is written as it is.
    void quotesWhatOthersWouldChange_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("plain") << QStringList { "a b", "Zoë" } << "a b,Zo\xc3\xab\r\n"_ba;
        QTest::newRow("blank first") << QStringList { " a", "\tb" } << "\" a\",\"\tb\"\r\n"_ba;
        QTest::newRow("blank last") << QStringList { "a ", "b\t" } << "\"a \",\"b\t\"\r\n"_ba;
        QTest::newRow("semicolon") << QStringList { "a;b" } << "\"a;b\"\r\n"_ba;
        QTest::newRow("quote doubled") << QStringList { "5\" screen" } << "\"5\"\" screen\"\r\n"_ba;
        QTest::newRow("line end") << QStringList { "a\nb" } << "\"a\nb\"\r\n"_ba;
        QTest::newRow("nul") << QStringList { QString(QChar(0)) } << "\"\0\"\r\n"_ba;
        QTest::newRow("empty among others") << QStringList { "", "" } << ",\r\n"_ba;
        QTest::newRow("empty alone") << QStringList { "" } << "\"\"\r\n"_ba;
    }
    void quotesWhatOthersWouldChange()
    {
        QFETCH(QStringList, row);
        QFETCH(QByteArray, written);
        QCOMPARE(CsvWriter::write({ row }), "\xEF\xBB\xBF"_ba + written);
    }

    // The same over tables nobody chose.
    void randomTablesReadBack()
    {
        QRandomGenerator random(20261207);
        for (int round = 0; round < 2000; ++round) {
            Table table(random.bounded(1, 5));
            const int columns = random.bounded(1, 5);
            for (QStringList &row : table) {
                for (int i = 0; i < columns; ++i)
                    row.append(randomText(random));
            }
            const CsvReader::Result read = CsvReader::parse(CsvWriter::write(table));
            QVERIFY2(read.ok, qPrintable(read.error));
            QCOMPARE(cellsOf(read), table);
        }
    }

    // A file as other programs write it: each row's cells and the line it starts on.
    void readsWhatSpreadsheetsWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Table>("table");
        QTest::addColumn<QList<qsizetype>>("lines");
        QTest::addColumn<char>("separator");
        using Lines = QList<qsizetype>;
        QTest::newRow("crlf") << "a,b\r\nc,d\r\n"_ba << Table { { "a", "b" }, { "c", "d" } } << Lines { 1, 2 } << ',';
        QTest::newRow("lf only") << "a,b\nc,d\n"_ba << Table { { "a", "b" }, { "c", "d" } } << Lines { 1, 2 } << ',';
        QTest::newRow("cr only") << "a,b\rc,d\r"_ba << Table { { "a", "b" }, { "c", "d" } } << Lines { 1, 2 } << ',';
        QTest::newRow("no line end at the end") << "a,b\r\nc,d"_ba << Table { { "a", "b" }, { "c", "d" } } << Lines { 1, 2 } << ',';
        QTest::newRow("empty lines at the end") << "a\r\nb\r\n\r\n\n\r"_ba << Table { { "a" }, { "b" } } << Lines { 1, 2 } << ',';
        QTest::newRow("empty line between rows") << "a\n\nb\n"_ba << Table { { "a" }, { "" }, { "b" } } << Lines { 1, 2, 3 } << ',';
        QTest::newRow("byte order mark") << "\xEF\xBB\xBFpath,title\r\nx,y\r\n"_ba << Table { { "path", "title" }, { "x", "y" } } << Lines { 1, 2 } << ',';
        QTest::newRow("a mark inside is text") << "a,\xEF\xBB\xBF"_ba << Table { { "a", u"\uFEFF"_s } } << Lines { 1 } << ',';
        QTest::newRow("semicolons") << "path;description\r\na.html;one, two\r\n"_ba << Table { { "path", "description" }, { "a.html", "one, two" } } << Lines { 1, 2 } << ';';
        QTest::newRow("semicolons, quoted commas in the header") << "\"a,b,c\";d;e\n1;2;3\n"_ba << Table { { "a,b,c", "d", "e" }, { "1", "2", "3" } } << Lines { 1, 2 } << ';';
        QTest::newRow("commas, quoted semicolons in the header") << "\"a;b;c\",d\n1;2,3\n"_ba << Table { { "a;b;c", "d" }, { "1;2", "3" } } << Lines { 1, 2 } << ',';
        QTest::newRow("as many of each: commas") << "a;b,c\n"_ba << Table { { "a;b", "c" } } << Lines { 1 } << ',';
        QTest::newRow("cell over three lines") << "a,\"1\r\n2\n3\"\r\nb,c\r\n"_ba << Table { { "a", "1\r\n2\n3" }, { "b", "c" } } << Lines { 1, 4 } << ',';
        QTest::newRow("quoted empty cells") << "\"\",\"\"\n"_ba << Table { { "", "" } } << Lines { 1 } << ',';
        QTest::newRow("separator at the end") << "a,\nb,\n"_ba << Table { { "a", "" }, { "b", "" } } << Lines { 1, 2 } << ',';
        QTest::newRow("blanks kept") << " a , b \n"_ba << Table { { " a ", " b " } } << Lines { 1 } << ',';
        QTest::newRow("nul byte in a quoted cell is text") << "a\n\"\0\n\"\n"_ba << Table { { "a" }, { QString(QChar(0)) + u'\n' } } << Lines { 1, 2 } << ',';
        QTest::newRow("empty file") << ""_ba << Table {} << Lines {} << ',';
        QTest::newRow("byte order mark alone") << "\xEF\xBB\xBF"_ba << Table {} << Lines {} << ',';
    }
    void readsWhatSpreadsheetsWrite()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Table, table);
        QFETCH(QList<qsizetype>, lines);
        QFETCH(char, separator);
        const CsvReader::Result read = CsvReader::parse(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(cellsOf(read), table);
        QCOMPARE(linesOf(read), lines);
        QCOMPARE(read.separator, separator);
    }

    // A file that is not a table of text is refused with the reason and the line it is on.
    void refusesMalformedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<qsizetype>("line");
        QTest::newRow("quote never closed") << "a,b\r\nc,\"d\r\ne\r\n"_ba << u"never ends"_s << qsizetype(2);
        QTest::newRow("quote never closed after a cell over lines") << "\"a\nb\",c\n\"d\n"_ba << u"never ends"_s << qsizetype(3);
        QTest::newRow("quote never closed, a doubled one lines later") << "x\n\"a\nb\"\"c\nd\n"_ba << u"never ends"_s << qsizetype(2);
        QTest::newRow("a lone doubled quote never closes") << "a\n\"\"\"\n"_ba << u"never ends"_s << qsizetype(2);
        QTest::newRow("text after the closing quote") << "a\n\"b\"c\n"_ba << u"after the quote"_s << qsizetype(2);
        QTest::newRow("blank after the closing quote") << "\"x\nb\" ,c\n"_ba << u"after the quote"_s << qsizetype(2);
        QTest::newRow("quote inside a plain cell") << "a,b\nc,5\" screen\n"_ba << u"quote inside a cell"_s << qsizetype(2);
        QTest::newRow("quote at the end of a plain cell") << "a,b\"\n"_ba << u"quote inside a cell"_s << qsizetype(1);
        QTest::newRow("nul byte") << "a\nb\nc\0d\n"_ba << u"binary"_s << qsizetype(3);
        QTest::newRow("nul byte ending a cell") << "a,b\0\n"_ba << u"binary"_s << qsizetype(1);
        QTest::newRow("windows-1252") << "path\r\ncaf\xe9\r\n"_ba << u"not UTF-8"_s << qsizetype(2);
        QTest::newRow("cut in the middle of a character") << "a\nb\n\xC3"_ba << u"not UTF-8"_s << qsizetype(3);
        QTest::newRow("overlong slash") << "\xC0\xAF"_ba << u"not UTF-8"_s << qsizetype(1);
        QTest::newRow("surrogate") << "a\r\xED\xA0\x80\r"_ba << u"not UTF-8"_s << qsizetype(2);
        QTest::newRow("utf-16 with its mark") << "\xFF\xFEp\0a\0"_ba << u"not UTF-8"_s << qsizetype(1);
        QTest::newRow("utf-16 without a mark") << "p\0a\0t\0h\0\n\0"_ba << u"binary"_s << qsizetype(1);
        QTest::newRow("bad byte inside a cell over lines") << "\"1\r\n2\r\n\x80\"\r\n"_ba << u"not UTF-8"_s << qsizetype(3);
        QTest::newRow("bad byte after a byte order mark") << "\xEF\xBB\xBF\xFF"_ba << u"not UTF-8"_s << qsizetype(1);
    }
    void refusesMalformedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QFETCH(qsizetype, line);
        const CsvReader::Result read = CsvReader::parse(bytes);
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(reason), qPrintable(read.error));
        QCOMPARE(read.errorLine, line);
    }

    // A file too large to be a table is refused before it is parsed; one of exactly the
    // largest size is parsed (and here refused for what it holds).
    void refusesFilesTooLarge_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("reason");
        QTest::newRow("largest") << CsvReader::kMaxBytes << u"binary"_s;
        QTest::newRow("one byte more") << CsvReader::kMaxBytes + 1 << u"too large"_s;
    }
    void refusesFilesTooLarge()
    {
        QFETCH(qint64, size);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        QFile file(folder.filePath(u"big.csv"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size)); // a sparse file of NULs
        file.close();
        const CsvReader::Result read = CsvReader::readFile(file.fileName());
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(reason), qPrintable(read.error));
    }

    void countsCells_data()
    {
        QTest::addColumn<qsizetype>("cells");
        QTest::addColumn<bool>("ok");
        QTest::newRow("as many as allowed") << CsvReader::kMaxCells << true;
        QTest::newRow("one more") << CsvReader::kMaxCells + 1 << false;
    }
    void countsCells()
    {
        QFETCH(qsizetype, cells);
        QFETCH(bool, ok);
        // Half on the first line, half on the second, so that the count is of the whole file.
        const qsizetype firstLine = cells / 2;
        const QByteArray bytes = QByteArray(firstLine - 1, ',') + '\n' + QByteArray(cells - firstLine - 1, ',');
        const CsvReader::Result read = CsvReader::parse(bytes);
        QCOMPARE(read.ok, ok);
        QCOMPARE(read.errorLine, ok ? 0 : 2);
    }

    void readsFiles()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"t.csv"_s);
        const CsvReader::Result missing = CsvReader::readFile(path);
        QVERIFY(!missing.ok);
        QCOMPARE(missing.errorLine, 0);
        QVERIFY2(!missing.error.isEmpty(), "a missing file says why");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(CsvWriter::write({ { "a", "b\nc" } })) > 0);
        file.close();
        const CsvReader::Result read = CsvReader::readFile(path);
        QVERIFY(read.ok);
        QCOMPARE(cellsOf(read), (Table { { "a", "b\nc" } }));
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "test_csv.moc"
