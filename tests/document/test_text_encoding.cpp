#include "EngineText.h"

#include "document/TextEncoding.h"

#include <QTest>

class TestTextEncoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("ascii") << QByteArray("<head><title>x</title>") << true;
        QTest::newRow("two-byte e acute") << QByteArray("caf\xC3\xA9") << true;
        QTest::newRow("three-byte euro") << QByteArray("\xE2\x82\xAC") << true;
        QTest::newRow("four-byte emoji") << QByteArray("\xF0\x9F\x98\x80") << true;
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF<html>") << true;
        QTest::newRow("latin-1 e acute") << QByteArray("caf\xE9") << false;
        QTest::newRow("windows-1252 quotes") << QByteArray("\x93quoted\x94") << false;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("overlong three-byte") << QByteArray("\xE0\x80\xAF") << false;
        QTest::newRow("surrogate half") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("truncated at the end") << QByteArray("abc\xE2\x82") << false;
        QTest::newRow("lone continuation") << QByteArray("\x80") << false;
        QTest::newRow("invalid after eight ascii") << QByteArray("12345678\xFF") << false;
        QTest::newRow("invalid as eighth byte") << QByteArray("1234567\xFF"
                                                              "90")
                                                << false;
        QTest::newRow("sequence across the eight-byte step") << QByteArray("1234567\xC3\xA9"
                                                                           "abcdefgh")
                                                             << true;
        QTest::newRow("nul bytes are ascii") << QByteArray("a\0b", 3) << true;
    }
    void validUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(TextEncoding::isValidUtf8(bytesOf(bytes)), valid);
        QCOMPARE(TextEncoding::detect(bytesOf(bytes)), valid ? Encoding::Utf8 : Encoding::Windows1252);
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

    void windows1252Decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("latin letters") << QByteArray("Engstr\xF6m") << QStringLiteral(u"Engström");
        QTest::newRow("curly quotes and dash") << QByteArray("\x93"
                                                             "a\x94 \x96")
                                               << QStringLiteral(u"“a” –");
        QTest::newRow("euro sign") << QByteArray("\x80") << QStringLiteral(u"€");
        QTest::newRow("undefined byte kept as control") << QByteArray("\x81") << QStringLiteral(u"\u0081");
        QTest::newRow("no-break space") << QByteArray("\xA0") << QStringLiteral(u"\u00A0");
    }
    void windows1252Decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(textOf(TextEncoding::toUtf8(bytesOf(bytes), Encoding::Windows1252)), text);
    }

    // Values are encoded back into the page's own bytes on save; none may change.
    void everyWindows1252ByteSurvivesARoundTrip()
    {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        const std::string utf8 = TextEncoding::toUtf8(all, Encoding::Windows1252);
        QVERIFY(TextEncoding::isValidUtf8(utf8));
        const auto back = TextEncoding::fromUtf8(utf8, Encoding::Windows1252);
        QVERIFY(back.has_value());
        QCOMPARE(QByteArray::fromStdString(*back), QByteArray::fromStdString(all));
    }

    void encodingRefusesWhatItCannotHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("encodable");
        QTest::newRow("ascii") << QStringLiteral("plain") << true;
        QTest::newRow("umlaut") << QStringLiteral(u"Müller") << true;
        QTest::newRow("euro") << QStringLiteral(u"5 €") << true;
        QTest::newRow("cyrillic") << QStringLiteral(u"Привет") << false;
        QTest::newRow("emoji") << QStringLiteral(u"\U0001F600") << false;
    }
    void encodingRefusesWhatItCannotHold()
    {
        QFETCH(QString, text);
        QFETCH(bool, encodable);
        const auto encoded = TextEncoding::fromUtf8(utf8Of(text), Encoding::Windows1252);
        QCOMPARE(encoded.has_value(), encodable);
        if (encodable)
            QCOMPARE(textOf(TextEncoding::toUtf8(*encoded, Encoding::Windows1252)), text);
        QCOMPARE(TextEncoding::fromUtf8(utf8Of(text), Encoding::Utf8).value_or("?"), utf8Of(text));
    }

    void decodingCodePoints_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<uint>>("codePoints");
        QTest::newRow("ascii") << QByteArray("ab") << QList<uint> { 'a', 'b' };
        QTest::newRow("every length") << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")
                                      << QList<uint> { 0xE9, 0x20AC, 0x1F600 };
        QTest::newRow("latin-1 byte") << QByteArray("caf\xE9") << QList<uint> { 'c', 'a', 'f', 0xFFFD };
        QTest::newRow("overlong slash, byte by byte") << QByteArray("\xC0\xAF") << QList<uint> { 0xFFFD, 0xFFFD };
        QTest::newRow("surrogate half") << QByteArray("\xED\xA0\x80") << QList<uint> { 0xFFFD, 0xFFFD, 0xFFFD };
        QTest::newRow("truncated at the end") << QByteArray("a\xE2\x82") << QList<uint> { 'a', 0xFFFD, 0xFFFD };
        QTest::newRow("lead byte before ascii") << QByteArray("\xE2z") << QList<uint> { 0xFFFD, 'z' };
    }

    void decodingCodePoints()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<uint>, codePoints);
        QList<uint> decoded;
        std::size_t pos = 0;
        while (pos < std::size_t(bytes.size()))
            decoded.append(uint(TextEncoding::decodeNext(bytesOf(bytes), pos)));
        QCOMPARE(decoded, codePoints);
        QCOMPARE(pos, std::size_t(bytes.size()));
    }

    void names()
    {
        QCOMPARE(textOf(TextEncoding::name(Encoding::Utf8)), QStringLiteral("UTF-8"));
        QCOMPARE(textOf(TextEncoding::name(Encoding::Windows1252)), QStringLiteral("windows-1252"));
    }
};

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "test_text_encoding.moc"
