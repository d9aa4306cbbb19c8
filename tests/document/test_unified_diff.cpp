#include "EngineText.h"

#include "document/UnifiedDiff.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kHeaders = "--- page.html\n+++ page.html\n";
const QByteArray kNoNewline = "\\ No newline at end of file\n";

QByteArray diff(
    const QByteArray &before, const QByteArray &after, std::size_t workLimit = UnifiedDiff::kWorkLimit)
{
    return QByteArray::fromStdString(
        UnifiedDiff::between(bytesOf(before), bytesOf(after), "page.html", "page.html", workLimit));
}

// "1\n2\n...\n<count>\n" with the lines named in replaced changed to "x<n>".
QByteArray numberedLines(int count, const QList<int> &replaced = {})
{
    QByteArray text;
    for (int line = 1; line <= count; ++line)
        text += (replaced.contains(line) ? "x" : "") + QByteArray::number(line) + '\n';
    return text;
}

// Lines drawn from a few, so many are equal and the matching has choices to make; some
// end in CRLF, and the last may have no line end.
QByteArray randomText(QRandomGenerator &random, int lines)
{
    static const QList<QByteArray> kLines { "<p>", "</p>", "<br>\r", "", "text", "<meta a>" };
    QByteArray text;
    for (int i = 0; i < lines; ++i)
        text += kLines.at(random.bounded(int(kLines.size()))) + '\n';
    if (!text.isEmpty() && random.bounded(2) == 0)
        text.chop(1);
    return text;
}

// The text with lines deleted, inserted and changed at random places.
QByteArray edited(QRandomGenerator &random, const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    const int edits = random.bounded(1, 8);
    for (int i = 0; i < edits; ++i) {
        const int at = random.bounded(int(lines.size()) + 1);
        switch (random.bounded(3)) {
        case 0:
            if (at < lines.size())
                lines.removeAt(at);
            break;
        case 1:
            lines.insert(at, "new " + QByteArray::number(i));
            break;
        default:
            if (at < lines.size())
                lines[at] += "!";
        }
    }
    return lines.join('\n');
}

// GNU patch applied to a file holding before: what it makes of the file, or its complaint.
QByteArray patched(const QByteArray &before, const QByteArray &diff)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("page.html")));
    if (!file.open(QIODevice::WriteOnly) || file.write(before) != before.size())
        return "<cannot write>";
    file.close();
    QProcess patch;
    patch.start(QStringLiteral("patch"),
        { QStringLiteral("--fuzz=0"), QStringLiteral("--batch"), QStringLiteral("--no-backup-if-mismatch"),
            file.fileName() });
    patch.write(diff);
    patch.closeWriteChannel();
    if (!patch.waitForFinished(30000) || patch.exitCode() != 0)
        return "<patch failed> " + patch.readAllStandardOutput() + patch.readAllStandardError();
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
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
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("identical") << numberedLines(5) << numberedLines(5) << QByteArray();
        QTest::newRow("both empty") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("insertion at start")
            << numberedLines(5) << "0\n" + numberedLines(5) << kHeaders + "@@ -1,3 +1,4 @@\n+0\n 1\n 2\n 3\n";
        QTest::newRow("insertion at end")
            << numberedLines(5) << numberedLines(6) << kHeaders + "@@ -3,3 +3,4 @@\n 3\n 4\n 5\n+6\n";
        QTest::newRow("change in the middle has three lines of context") << numberedLines(
            9) << numberedLines(9, { 5 }) << kHeaders + "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+x5\n 6\n 7\n 8\n";
        QTest::newRow("changes six lines apart share a hunk")
            << numberedLines(20) << numberedLines(20, { 5, 12 })
            << kHeaders
                + "@@ -2,14 +2,14 @@\n 2\n 3\n 4\n-5\n+x5\n 6\n 7\n 8\n 9\n 10\n 11\n-12\n+x12\n 13\n 14\n "
                  "15\n";
        QTest::newRow("changes seven lines apart get a hunk each")
            << numberedLines(20) << numberedLines(20, { 5, 13 })
            << kHeaders
                + "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+x5\n 6\n 7\n 8\n"
                  "@@ -10,7 +10,7 @@\n 10\n 11\n 12\n-13\n+x13\n 14\n 15\n 16\n";
        QTest::newRow("lines kept between a deletion and an insertion") << QByteArray(
            "a\nb\nc\n") << QByteArray("b\nc\nd\n") << kHeaders + "@@ -1,3 +1,3 @@\n-a\n b\n c\n+d\n";
        QTest::newRow("moved line is one deletion and one insertion")
            << QByteArray("a\nb\nc\nd\n") << QByteArray("b\nc\nd\na\n")
            << kHeaders + "@@ -1,4 +1,4 @@\n-a\n b\n c\n d\n+a\n";
        QTest::newRow("final newline added") << QByteArray("a\nb") << QByteArray("a\nb\n")
                                             << kHeaders + "@@ -1,2 +1,2 @@\n a\n-b\n" + kNoNewline + "+b\n";
        QTest::newRow("final newline removed") << QByteArray("a\nb\n") << QByteArray("a\nb")
                                               << kHeaders + "@@ -1,2 +1,2 @@\n a\n-b\n+b\n" + kNoNewline;
        QTest::newRow("unterminated last line as context")
            << QByteArray("a\nb\nc\nd\ne") << QByteArray("a\nB\nc\nd\ne")
            << kHeaders + "@@ -1,5 +1,5 @@\n a\n-b\n+B\n c\n d\n e\n" + kNoNewline;
        QTest::newRow("crlf lines keep their cr")
            << QByteArray("a\r\nb\r\nc\r\n") << QByteArray("a\r\nx\r\nb\r\nc\r\n")
            << kHeaders + "@@ -1,3 +1,4 @@\n a\r\n+x\r\n b\r\n c\r\n";
        QTest::newRow("cr-only text is one line")
            << QByteArray("a\rb\r") << QByteArray("a\rx\rb\r")
            << kHeaders + "@@ -1 +1 @@\n-a\rb\r\n" + kNoNewline + "+a\rx\rb\r\n" + kNoNewline;
        QTest::newRow("empty old file")
            << QByteArray() << QByteArray("a\nb\n") << kHeaders + "@@ -0,0 +1,2 @@\n+a\n+b\n";
        QTest::newRow("empty new file")
            << QByteArray("a\nb\n") << QByteArray() << kHeaders + "@@ -1,2 +0,0 @@\n-a\n-b\n";
        QTest::newRow("unterminated line added after the last")
            << QByteArray("a\n") << QByteArray("a\nb") << kHeaders + "@@ -1 +1,2 @@\n a\n+b\n" + kNoNewline;
        QTest::newRow("bytes compared as they are")
            << QByteArray("caf\xe9\n\x01\x02\n") << QByteArray("caf\xc3\xa9\n\x01\x02\n")
            << kHeaders + "@@ -1,2 +1,2 @@\n-caf\xe9\n+caf\xc3\xa9\n \x01\x02\n";
    }
    void hunks()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QByteArray, expected);
        QCOMPARE(diff(before, after), expected);
    }

    // Past the work limit the changed region is replaced whole; the common lines around
    // it are still found.
    void workLimit_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<qulonglong>("limit");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("within the limit") << QByteArray("a\nb\nc\n") << QByteArray("b\nc\nd\n") << 100ULL
                                          << kHeaders + "@@ -1,3 +1,3 @@\n-a\n b\n c\n+d\n";
        QTest::newRow("beyond the limit") << QByteArray("a\nb\nc\n") << QByteArray("b\nc\nd\n") << 0ULL
                                          << kHeaders + "@@ -1,3 +1,3 @@\n-a\n-b\n-c\n+b\n+c\n+d\n";
        QTest::newRow("beyond the limit, common ends kept")
            << QByteArray("1\n2\n3\n4\na\nb\n5\n6\n7\n8\n") << QByteArray("1\n2\n3\n4\nb\nc\n5\n6\n7\n8\n")
            << 0ULL << kHeaders + "@@ -2,8 +2,8 @@\n 2\n 3\n 4\n-a\n-b\n+b\n+c\n 5\n 6\n 7\n";
    }
    void workLimit()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(qulonglong, limit);
        QFETCH(QByteArray, expected);
        QCOMPARE(diff(before, after, limit), expected);
    }

    // Two long texts with no line in common: the default limit stops the matching and
    // the whole text goes out as one hunk.
    void unrelatedLongTextsBecomeOneHunk()
    {
        QByteArray before;
        QByteArray after;
        const int lines = 30000;
        for (int line = 0; line < lines; ++line) {
            before += "old " + QByteArray::number(line) + '\n';
            after += "new " + QByteArray::number(line) + '\n';
        }
        const QByteArray out = diff(before, after);
        QVERIFY(out.startsWith(QByteArray(kHeaders + "@@ -1,30000 +1,30000 @@\n-old 0\n")));
        QCOMPARE(out.count("\n@@"), 1);
        QCOMPARE(out.count("\n-old "), lines);
        QCOMPARE(out.count("\n+new "), lines);
    }

    // Random edits of random texts: patch turns the old text into the new one exactly,
    // without needing any fuzz, however the hunks fall.
    void randomEditsApplyWithPatch_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 40; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }
    void randomEditsApplyWithPatch()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const QByteArray before = randomText(random, random.bounded(0, 60));
        const QByteArray after = edited(random, before);
        const QByteArray out = diff(before, after);
        QCOMPARE(out.isEmpty(), before == after);
        if (!out.isEmpty())
            QCOMPARE(patched(before, out), after);
    }

    void names_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("plain") << QByteArray("site/index.html") << QByteArray("site/index.html");
        QTest::newRow("utf-8 kept") << QByteArray("caf\xc3\xa9.html") << QByteArray("caf\xc3\xa9.html");
        QTest::newRow("blank") << QByteArray("my page.html") << QByteArray("\"my page.html\"");
        QTest::newRow("tab and newline") << QByteArray("a\tb\nc") << QByteArray("\"a\\tb\\nc\"");
        QTest::newRow("quote and backslash") << QByteArray("a\"b\\c") << QByteArray("\"a\\\"b\\\\c\"");
        QTest::newRow("control character") << QByteArray("a\x01"
                                                         "b")
                                           << QByteArray("\"a\\001b\"");
    }
    void names()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, header);
        QCOMPARE(QByteArray::fromStdString(UnifiedDiff::quotedName(bytesOf(name))), header);
        const std::string out = UnifiedDiff::between("a\n", "b\n", bytesOf(name), bytesOf(name));
        QCOMPARE(
            QByteArray::fromStdString(out), "--- " + header + "\n+++ " + header + "\n@@ -1 +1 @@\n-a\n+b\n");
    }
};

QTEST_APPLESS_MAIN(TestUnifiedDiff)
#include "test_unified_diff.moc"
