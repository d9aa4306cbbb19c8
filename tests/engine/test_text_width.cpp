#include "EngineText.h"

#include "TextWidth.h"

#include <QRawFont>
#include <QTest>

namespace {

QRawFont designFont()
{
    QRawFont font;
    font.loadFromFile(QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"),
        TextWidth::kUnitsPerEm, QFont::PreferNoHinting);
    return font;
}

int designAdvance(const QRawFont &font, quint32 glyph)
{
    return qRound(font.advancesForGlyphIndexes({ glyph }, QRawFont::UseDesignMetrics).first().x());
}

} // namespace

class TestTextWidth : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Characters the font lacks, drawn as a browser draws them; controls draw nothing.
    void advancesOutsideTheFont_data()
    {
        QTest::addColumn<uint>("codePoint");
        QTest::addColumn<int>("units");
        QTest::newRow("CJK ideograph") << 0x4E2Du << 2048;
        QTest::newRow("emoji") << 0x1F600u << 2048;
        QTest::newRow("CJK extension B") << 0x20000u << 2048;
        QTest::newRow("zero width joiner") << 0x200Du << 0;
        QTest::newRow("soft hyphen") << 0xADu << 0;
        QTest::newRow("ideographic variation selector") << 0xE0100u << 0;
        QTest::newRow("byte order mark") << 0xFEFFu << 0;
        QTest::newRow("bell, a C0 control") << 0x07u << 0;
        QTest::newRow("delete") << 0x7Fu << 0;
        QTest::newRow("next line, a C1 control") << 0x85u << 0;
    }
    void advancesOutsideTheFont()
    {
        QFETCH(uint, codePoint);
        QFETCH(int, units);
        QCOMPARE(TextWidth::advance(char32_t(codePoint)), units);
    }

    void exactPixels_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<double>("pixelSize");
        QTest::addColumn<double>("pixels");
        QTest::newRow("only spaces") << QByteArray(" \t\r\n ") << 20.0 << 0.0;
        // (1933 + 455 + 455) units at 14 px to the 2048-unit em.
        QTest::newRow("Wii at 14 px") << QByteArray("Wii") << 14.0 << 2843 * 14.0 / 2048;
        QTest::newRow("emoji with variation selector") << QByteArray("\xE2\x8C\x9A\xEF\xB8\x8F") << 14.0 << 14.0;
    }
    void exactPixels()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(double, pixelSize);
        QFETCH(double, pixels);
        QCOMPARE(TextWidth::pixels(bytesOf(utf8), pixelSize), pixels);
    }

    // Texts a browser draws alike, whatever the bytes. A title is measured as the page
    // holds it, so its references are decoded; a value is already the text it stands for.
    void equalWidths_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("sameAs");
        QTest::addColumn<bool>("references");
        QTest::newRow("e + combining acute is e acute") << QByteArray("Cafe\xCC\x81") << QByteArray("Caf\xC3\xA9") << false;
        QTest::newRow("ends trimmed, runs collapse") << QByteArray("  Our\n\t shop \r\n") << QByteArray("Our shop") << false;
        QTest::newRow("named references") << QByteArray("&amp;&Uuml;&hellip;") << QByteArray("&\xC3\x9C\xE2\x80\xA6") << true;
        QTest::newRow("numeric references") << QByteArray("&#233;&#X1F600;") << QByteArray("\xC3\xA9\xF0\x9F\x98\x80") << true;
        QTest::newRow("reference to a space collapses") << QByteArray("Our &#32;&#x9; shop") << QByteArray("Our shop") << true;
        QTest::newRow("no-break space does not collapse") << QByteArray("a&nbsp;&nbsp;b")
                                                          << QByteArray("a\xC2\xA0\xC2\xA0" "b") << true;
        QTest::newRow("beyond Unicode or a surrogate")
            << QByteArray("&#99999999999999;&#xD800;") << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD") << true;
        QTest::newRow("not references stay text") << QByteArray("&bogus; &Hellip; &#; &#x; R&")
                                                  << QByteArray("&amp;bogus; &amp;Hellip; &amp;#; &amp;#x; R&amp;") << true;
        QTest::newRow("old names need no ;") << QByteArray("&copy 2026 &amp co") << QByteArray("&copy; 2026 &amp; co")
                                             << true;
        QTest::newRow("each byte of a truncated sequence is a replacement character")
            << QByteArray("a\xE4\xB8") << QByteArray("a\xEF\xBF\xBD\xEF\xBF\xBD") << false;
    }
    void equalWidths()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, sameAs);
        QFETCH(bool, references);
        QCOMPARE(TextWidth::titlePixels(bytesOf(text)), TextWidth::titlePixels(bytesOf(sameAs)));
        if (references)
            QVERIFY(TextWidth::descriptionPixels(bytesOf(text)) != TextWidth::descriptionPixels(bytesOf(sameAs)));
        else
            QCOMPARE(TextWidth::descriptionPixels(bytesOf(text)), TextWidth::descriptionPixels(bytesOf(sameAs)));
    }

    void everyMappedCodePointAgreesWithTheFont()
    {
        const QRawFont font = designFont();
        if (!font.isValid())
            QSKIP("Liberation Sans is not installed");
        int checked = 0;
        for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
            // Format characters (the soft hyphen) show nothing whatever glyph the font has.
            if ((cp >= 0xD800 && cp <= 0xDFFF) || !font.supportsCharacter(cp)
                || QChar::category(cp) == QChar::Other_Format)
                continue;
            ++checked;
            const int expected = designAdvance(font, font.glyphIndexesForString(QString::fromUcs4(&cp, 1)).first());
            if (TextWidth::advance(cp) != expected)
                QFAIL(qPrintable(QStringLiteral("U+%1: %2 units, the font has %3")
                                     .arg(uint(cp), 4, 16, QLatin1Char('0'))
                                     .arg(TextWidth::advance(cp))
                                     .arg(expected)));
        }
        QVERIFY2(checked > 600, "the font maps far fewer characters than Liberation Sans");
        // What the font lacks and has no rule of its own gets the font's missing glyph.
        QVERIFY(!font.supportsCharacter(0x0E01));
        QCOMPARE(TextWidth::advance(0x0E01), designAdvance(font, 0));
        QCOMPARE(TextWidth::advance(0xFFFD), designAdvance(font, 0));
    }
};

QTEST_MAIN(TestTextWidth)
#include "test_text_width.moc"
