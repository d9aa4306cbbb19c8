#include "EngineText.h"

#include "LineEnds.h"
#include "TextEncoding.h"
#include "Utf8Validator.h"
#include "Utf8VectorCheck.h"

#include <QTest>

#include <algorithm>

#include <array>

Q_DECLARE_METATYPE(LineEnd)

class TestTextEncoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("every length") << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80") << true;
        QTest::newRow("latin-1 e acute") << QByteArray("caf\xE9") << false;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("overlong slash, three bytes") << QByteArray("\xE0\x80\xAF") << false;
        QTest::newRow("overlong slash, four bytes") << QByteArray("\xF0\x80\x80\xAF") << false;
        QTest::newRow("first three-byte character") << QByteArray("\xE0\xA0\x80") << true;
        QTest::newRow("first four-byte character") << QByteArray("\xF0\x90\x80\x80") << true;
        QTest::newRow("last character before the surrogates") << QByteArray("\xED\x9F\xBF") << true;
        QTest::newRow("U+10FFFF, the last character") << QByteArray("\xF4\x8F\xBF\xBF") << true;
        QTest::newRow("surrogate half") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("truncated at the end") << QByteArray("abc\xE2\x82") << false;
        QTest::newRow("stray continuation byte") << QByteArray("a\x80") << false;
        QTest::newRow("lead that starts nothing") << QByteArray("\xF5\x80\x80\x80") << false;
        QTest::newRow("a character cut by a plain byte") << QByteArray("\xF0\x9F" "a\x98") << false;
    }
    void validUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(TextEncoding::isValidUtf8(bytesOf(bytes)), valid);
        QCOMPARE(TextEncoding::isValidUtf8ByteByByte(bytesOf(bytes)), valid);
        QCOMPARE(TextEncoding::survey(bytesOf(bytes)).validUtf8, valid);
        QCOMPARE(TextEncoding::detect(bytesOf(bytes)), valid ? Encoding::Utf8 : Encoding::Windows1252);
        // A file read in blocks may cut a character anywhere: into two and three pieces.
        for (qsizetype first = 0; first <= bytes.size(); ++first) {
            for (qsizetype second = first; second <= bytes.size(); ++second) {
                Utf8Validator validator;
                validator.feed(bytesOf(bytes.left(first)));
                validator.feed(bytesOf(bytes.mid(first, second - first)));
                validator.feed(bytesOf(bytes.mid(second)));
                QVERIFY2(validator.valid() == valid, qPrintable(QStringLiteral("cut at %1, %2").arg(first).arg(second)));
            }
        }
    }

    // Plain bytes are skipped a block at a time; a bad byte must be caught at any offset.
    void badByteCaughtAtEveryOffset()
    {
        for (int offset = 0; offset < 40; ++offset) {
            QByteArray bytes(48, 'a');
            bytes[offset] = '\xE9';
            QVERIFY2(!TextEncoding::isValidUtf8(bytesOf(bytes)), qPrintable(QString::number(offset)));
            bytes.replace(offset, 1, "\xC3\xA9");
            QVERIFY2(TextEncoding::isValidUtf8(bytesOf(bytes)), qPrintable(QString::number(offset)));
        }
    }

#if defined(__x86_64__) || defined(__i386__)
    // The processor is asked directly; the compiler's own feature test is the witness.
    void vectorWidthsAreThoseOfTheProcessor()
    {
        const std::vector<Utf8VectorCheck::Width> widths = Utf8VectorCheck::widths();
        const auto has = [&widths](Utf8VectorCheck::Width width) {
            return std::find(widths.begin(), widths.end(), width) != widths.end();
        };
        QCOMPARE(has(Utf8VectorCheck::Width::Bytes32), bool(__builtin_cpu_supports("avx2")));
        QCOMPARE(has(Utf8VectorCheck::Width::Bytes16), bool(__builtin_cpu_supports("ssse3")));
    }
#endif

    // The checks sixteen and thirty-two bytes at a time must say what the check byte by byte
    // says, for characters and faults of every kind at every offset and across block edges.
    void blockCheckAgreesWithByteCheck()
    {
        const std::array<QByteArray, 14> pieces = { "a", "abcdefg", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
            "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF", "\xE9", "\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
            "\xF4\x90\x80\x80", "\xF0\x9F" };
        quint32 state = 2463534242u;
        const auto random = [&state](quint32 below) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            return state % below;
        };
        int invalid = 0;
        for (int round = 0; round < 20000; ++round) {
            QByteArray bytes;
            for (quint32 count = random(48); count > 0; --count)
                bytes += pieces[random(random(3) == 0 ? pieces.size() : 7)];
            const bool valid = TextEncoding::isValidUtf8ByteByByte(bytesOf(bytes));
            invalid += !valid;
            QVERIFY2(TextEncoding::isValidUtf8(bytesOf(bytes)) == valid, bytes.toHex(' ').constData());
            for (const Utf8VectorCheck::Width width : Utf8VectorCheck::widths())
                QVERIFY2(Utf8VectorCheck::isValid(width, bytesOf(bytes)) == valid, bytes.toHex(' ').constData());
        }
        QVERIFY(invalid > 1000 && invalid < 19000);
    }

    // A page whose length is a whole number of blocks gets no padding after its last block:
    // a character cut short there is found by its lead byte alone.
    void characterCutShortAtTheLastBlocksEnd_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<bool>("valid");
        const QList<std::pair<const char *, QByteArray>> tails = { { "two bytes whole", "\xC3\xA9" },
            { "two bytes, lead only", "\xC3" }, { "three bytes whole", "\xE2\x82\xAC" },
            { "three bytes, two of them", "\xE2\x82" }, { "three bytes, lead only", "\xE2" },
            { "four bytes whole", "\xF0\x9F\x98\x80" }, { "four bytes, three of them", "\xF0\x9F\x98" },
            { "four bytes, two of them", "\xF0\x9F" }, { "four bytes, lead only", "\xF0" },
            { "lowest three-byte lead, two of three", "\xE0\xA0" }, { "highest lead, three of four", "\xF4\x8F\xBF" } };
        for (const auto &[name, tail] : tails)
            QTest::newRow(name) << tail << TextEncoding::isValidUtf8ByteByByte(bytesOf(tail));
    }
    void characterCutShortAtTheLastBlocksEnd()
    {
        QFETCH(QByteArray, tail);
        QFETCH(bool, valid);
        for (const qsizetype length : { 16, 32, 64, 128 }) {
            const QByteArray bytes = QByteArray(length - tail.size(), 'a') + tail;
            QCOMPARE(TextEncoding::isValidUtf8(bytesOf(bytes)), valid);
            for (const Utf8VectorCheck::Width width : Utf8VectorCheck::widths())
                QVERIFY2(Utf8VectorCheck::isValid(width, bytesOf(bytes)) == valid, qPrintable(QString::number(length)));
        }
    }

    // Values are encoded back into the page's own bytes on save; none may change.
    // Each code point at the edges of the UTF-8 lengths is written as Qt writes it and read
    // back as itself.
    void codePointsAtTheEdgesOfEachLength_data()
    {
        QTest::addColumn<uint>("codePoint");
        for (const uint cp : { 0x1u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu })
            QTest::newRow(qPrintable(QStringLiteral("U+%1").arg(cp, 4, 16, QLatin1Char('0')).toUpper())) << cp;
    }
    void codePointsAtTheEdgesOfEachLength()
    {
        QFETCH(uint, codePoint);
        std::string written;
        TextEncoding::appendUtf8(written, char32_t(codePoint));
        const char32_t asUcs4[] = { char32_t(codePoint) };
        QCOMPARE(QByteArray::fromStdString(written), QString::fromUcs4(asUcs4, 1).toUtf8());
        std::size_t at = 0;
        QCOMPARE(uint(TextEncoding::decodeNext(written, at)), codePoint);
        QCOMPARE(at, written.size());
    }

    void everyWindows1252ByteSurvivesARoundTrip()
    {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        const std::string utf8 = TextEncoding::toUtf8(all, Encoding::Windows1252);
        QVERIFY(TextEncoding::isValidUtf8(utf8));
        QCOMPARE(textOf(utf8).mid(0x80, 2), QStringLiteral(u"€\u0081"));
        const auto back = TextEncoding::fromUtf8(utf8, Encoding::Windows1252);
        QVERIFY(back.has_value());
        QCOMPARE(QByteArray::fromStdString(*back), QByteArray::fromStdString(all));
    }

    // A page declared UTF-8 with stray bytes still gives text: each stray byte one U+FFFD.
    void strayBytesInUtf8BecomeReplacementCharacters()
    {
        const std::string text = TextEncoding::toUtf8("J\xC3\xBCrgen \xFF\xC3", Encoding::Utf8);
        QCOMPARE(textOf(text), QStringLiteral(u"Jürgen \uFFFD\uFFFD"));
    }

    void encodingRefusesWhatItCannotHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("encodable");
        QTest::newRow("euro and umlaut") << QStringLiteral(u"Müller 5 €") << true;
        QTest::newRow("cyrillic") << QStringLiteral(u"Привет") << false;
        QTest::newRow("emoji") << QStringLiteral(u"\U0001F600") << false;
    }
    void encodingRefusesWhatItCannotHold()
    {
        QFETCH(QString, text);
        QFETCH(bool, encodable);
        QCOMPARE(TextEncoding::fromUtf8(utf8Of(text), Encoding::Windows1252).has_value(), encodable);
        QCOMPARE(TextEncoding::fromUtf8(utf8Of(text), Encoding::Utf8).value_or("?"), utf8Of(text));
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LineEnd>("detected");
        QTest::addColumn<qint64>("lines");
        QTest::newRow("empty file") << QByteArray() << LineEnd::CrLf << qint64(0);
        QTest::newRow("no line end") << QByteArray("<html>") << LineEnd::CrLf << qint64(1);
        QTest::newRow("unix, last line unended") << QByteArray("a\nb") << LineEnd::Lf << qint64(2);
        QTest::newRow("classic mac") << QByteArray("a\rb\rc") << LineEnd::Cr << qint64(3);
        QTest::newRow("first one wins, mixed") << QByteArray("a\nb\r\nc\rd") << LineEnd::Lf << qint64(4);
        QTest::newRow("CRLF counts once") << QByteArray("\r\n\r") << LineEnd::CrLf << qint64(2);
        QTest::newRow("CR last") << QByteArray("a\r") << LineEnd::Cr << qint64(1);
        QTest::newRow("CR, LF later") << QByteArray("a\rb\n") << LineEnd::Cr << qint64(2);
    }
    void lineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(LineEnd, detected);
        QFETCH(qint64, lines);
        QCOMPARE(LineEnds::detect(bytesOf(bytes)), detected);
        QCOMPARE(LineEnds::countLines(bytesOf(bytes)), lines);
    }
};

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "test_text_encoding.moc"
