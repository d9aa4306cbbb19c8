#include "EngineText.h"

#include "UnifiedDiff.h"

#include <QTest>

namespace {

const QByteArray kHeaders = "--- page.html\n+++ page.html\n";
const QByteArray kNoNewline = "\\ No newline at end of file\n";

QByteArray diff(const QByteArray &before, const QByteArray &after, std::size_t workLimit = UnifiedDiff::kWorkLimit)
{
    return QByteArray::fromStdString(
        UnifiedDiff::between(bytesOf(before), bytesOf(after), "page.html", "page.html", workLimit));
}

// "1\n2\n...\n<count>\n" with the lines named in replaced changed to "x<n>".
QByteArray numbered(int count, const QList<int> &replaced = {})
{
    QByteArray text;
    for (int line = 1; line <= count; ++line)
        text += (replaced.contains(line) ? "x" : "") + QByteArray::number(line) + '\n';
    return text;
}

} // namespace

class TestUnifiedDiff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hunks_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<qulonglong>("limit");
        QTest::addColumn<QByteArray>("hunks");
        const qulonglong all = UnifiedDiff::kWorkLimit;
        QTest::newRow("identical") << numbered(5) << numbered(5) << all << QByteArray();
        QTest::newRow("change in the middle has three lines of context")
            << numbered(9) << numbered(9, { 5 }) << all << QByteArray("@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+x5\n 6\n 7\n 8\n");
        QTest::newRow("moved line is one deletion and one insertion") << QByteArray("a\nb\nc\nd\n")
            << QByteArray("b\nc\nd\na\n") << all << QByteArray("@@ -1,4 +1,4 @@\n-a\n b\n c\n d\n+a\n");
        QTest::newRow("insertion at start") << numbered(5) << "0\n" + numbered(5) << all
                                            << QByteArray("@@ -1,3 +1,4 @@\n+0\n 1\n 2\n 3\n");
        QTest::newRow("changes six lines apart share a hunk")
            << numbered(20) << numbered(20, { 5, 12 }) << all
            << QByteArray("@@ -2,14 +2,14 @@\n 2\n 3\n 4\n-5\n+x5\n 6\n 7\n 8\n 9\n 10\n 11\n-12\n+x12\n 13\n 14\n 15\n");
        QTest::newRow("changes seven lines apart get a hunk each")
            << numbered(20) << numbered(20, { 5, 13 }) << all
            << QByteArray("@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+x5\n 6\n 7\n 8\n"
                          "@@ -10,7 +10,7 @@\n 10\n 11\n 12\n-13\n+x13\n 14\n 15\n 16\n");
        QTest::newRow("final newline added") << QByteArray("a\nb") << QByteArray("a\nb\n") << all
                                             << "@@ -1,2 +1,2 @@\n a\n-b\n" + kNoNewline + "+b\n";
        QTest::newRow("unterminated last line as context")
            << QByteArray("a\nb\nc\nd\ne") << QByteArray("a\nB\nc\nd\ne") << all
            << "@@ -1,5 +1,5 @@\n a\n-b\n+B\n c\n d\n e\n" + kNoNewline;
        QTest::newRow("crlf lines keep their cr") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nx\r\nb\r\n")
                                                  << all << QByteArray("@@ -1,2 +1,3 @@\n a\r\n+x\r\n b\r\n");
        QTest::newRow("empty old file") << QByteArray() << QByteArray("a\nb\n") << all
                                        << QByteArray("@@ -0,0 +1,2 @@\n+a\n+b\n");
        QTest::newRow("empty new file") << QByteArray("a\n") << QByteArray() << all
                                        << QByteArray("@@ -1 +0,0 @@\n-a\n");
        // Past the work limit the changed region is replaced whole; the common ends stay.
        QTest::newRow("beyond the work limit")
            << QByteArray("1\n2\n3\n4\na\nb\n5\n6\n7\n8\n") << QByteArray("1\n2\n3\n4\nb\nc\n5\n6\n7\n8\n")
            << 0ULL << QByteArray("@@ -2,8 +2,8 @@\n 2\n 3\n 4\n-a\n-b\n+b\n+c\n 5\n 6\n 7\n");
        // Every step counts towards the limit, a step along no common line too.
        const QByteArray before = "1\n2\n3\n4\na\nx\nb\n5\n6\n7\n8\n";
        const QByteArray after = "1\n2\n3\n4\nc\nx\nd\n5\n6\n7\n8\n";
        QTest::newRow("a common line kept within the limit") << before << after << 20ULL
            << QByteArray("@@ -2,9 +2,9 @@\n 2\n 3\n 4\n-a\n+c\n x\n-b\n+d\n 5\n 6\n 7\n");
        QTest::newRow("a common line replaced beyond it") << before << after << 3ULL
            << QByteArray("@@ -2,9 +2,9 @@\n 2\n 3\n 4\n-a\n-x\n-b\n+c\n+x\n+d\n 5\n 6\n 7\n");
        // So does each common line a step follows.
        const auto marked = [](char mark) {
            QByteArray run;
            for (int line = 0; line < 20; ++line)
                run += mark + QByteArray("x") + QByteArray::number(line) + '\n';
            return run;
        };
        const QByteArray longBefore = "1\n2\n3\n4\na\n" + marked(' ').replace(' ', "") + "b\n5\n6\n7\n8\n";
        const QByteArray longAfter = "1\n2\n3\n4\nc\n" + marked(' ').replace(' ', "") + "d\n5\n6\n7\n8\n";
        QTest::newRow("a long common run kept within the limit") << longBefore << longAfter << 100ULL
            << QByteArray("@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-a\n+c\n x0\n x1\n x2\n"
                          "@@ -23,7 +23,7 @@\n x17\n x18\n x19\n-b\n+d\n 5\n 6\n 7\n");
        QTest::newRow("a long common run counts towards the limit") << longBefore << longAfter << 12ULL
            << "@@ -2,28 +2,28 @@\n 2\n 3\n 4\n-a\n" + marked('-') + "-b\n+c\n" + marked('+') + "+d\n 5\n 6\n 7\n";
    }
    void hunks()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(qulonglong, limit);
        QFETCH(QByteArray, hunks);
        QCOMPARE(diff(before, after, limit), hunks.isEmpty() ? hunks : kHeaders + hunks);
    }

    void names_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("utf-8 kept") << QByteArray("caf\xc3\xa9.html") << QByteArray("caf\xc3\xa9.html");
        QTest::newRow("blank") << QByteArray("my page.html") << QByteArray("\"my page.html\"");
        QTest::newRow("escapes") << QByteArray("a\tb\n\"\\\x01") << QByteArray("\"a\\tb\\n\\\"\\\\\\001\"");
    }
    void names()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, header);
        const std::string out = UnifiedDiff::between("a\n", "b\n", bytesOf(name), bytesOf(name));
        QCOMPARE(QByteArray::fromStdString(out), "--- " + header + "\n+++ " + header + "\n@@ -1 +1 @@\n-a\n+b\n");
    }
};

QTEST_APPLESS_MAIN(TestUnifiedDiff)
#include "test_unified_diff.moc"
