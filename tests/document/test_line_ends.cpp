#include "EngineText.h"

#include "document/LineEnds.h"

#include <QTest>

Q_DECLARE_METATYPE(LineEnd)

class TestLineEnds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void detect_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LineEnd>("expected");
        QTest::newRow("empty file") << QByteArray() << LineEnd::CrLf;
        QTest::newRow("one line without end") << QByteArray("<html>") << LineEnd::CrLf;
        QTest::newRow("windows") << QByteArray("a\r\nb\r\n") << LineEnd::CrLf;
        QTest::newRow("unix") << QByteArray("a\nb\n") << LineEnd::Lf;
        QTest::newRow("classic mac") << QByteArray("a\rb\r") << LineEnd::Cr;
        QTest::newRow("first one wins: LF then CRLF") << QByteArray("a\nb\r\n") << LineEnd::Lf;
        QTest::newRow("first one wins: CR then LF") << QByteArray("a\rb\nc") << LineEnd::Cr;
        QTest::newRow("CR as the last byte") << QByteArray("abc\r") << LineEnd::Cr;
        QTest::newRow("CRLF at the very start") << QByteArray("\r\n") << LineEnd::CrLf;
    }
    void detect()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(LineEnd, expected);
        QCOMPARE(LineEnds::detect(bytesOf(bytes)), expected);
    }

    void countLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("lines");
        QTest::newRow("empty") << QByteArray() << qint64(0);
        QTest::newRow("no line end") << QByteArray("x") << qint64(1);
        QTest::newRow("one ended line") << QByteArray("x\r\n") << qint64(1);
        QTest::newRow("last line unended") << QByteArray("x\ny") << qint64(2);
        QTest::newRow("CRLF counts once") << QByteArray("a\r\nb\r\nc\r\n") << qint64(3);
        QTest::newRow("lone CRs") << QByteArray("a\rb\rc") << qint64(3);
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << qint64(4);
        QTest::newRow("empty lines") << QByteArray("\n\n\n") << qint64(3);
        QTest::newRow("CR then LF split is one end") << QByteArray("\r\n\r") << qint64(2);
    }
    void countLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, lines);
        QCOMPARE(LineEnds::countLines(bytesOf(bytes)), lines);
    }

    void namesAndTexts()
    {
        QCOMPARE(textOf(LineEnds::name(LineEnd::CrLf)), QStringLiteral("CRLF"));
        QCOMPARE(textOf(LineEnds::name(LineEnd::Lf)), QStringLiteral("LF"));
        QCOMPARE(textOf(LineEnds::name(LineEnd::Cr)), QStringLiteral("CR"));
        QCOMPARE(textOf(LineEnds::text(LineEnd::CrLf)), QStringLiteral("\r\n"));
        QCOMPARE(textOf(LineEnds::text(LineEnd::Cr)), QStringLiteral("\r"));
    }
};

QTEST_APPLESS_MAIN(TestLineEnds)
#include "test_line_ends.moc"
