#include "EngineText.h"

#include "seo/TextWidth.h"

#include <QRawFont>
#include <QTest>

#include <cmath>

namespace {

const QString kFontFile = QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");

QRawFont installedFont(double pixelSize)
{
    QRawFont font;
    font.loadFromFile(kFontFile, pixelSize, QFont::PreferNoHinting);
    return font;
}

// The width the font file itself gives: the sum of the glyph advances, unkerned. Qt rounds
// advances to 1/64 pixel, so they are taken at one pixel per design unit and scaled.
double measuredPixels(const QRawFont &unitFont, const QString &text, double pixelSize)
{
    double units = 0;
    const QList<quint32> glyphs = unitFont.glyphIndexesForString(text);
    for (const QPointF &advance : unitFont.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics))
        units += advance.x();
    return units * pixelSize / TextWidth::kUnitsPerEm;
}

int designAdvance(const QRawFont &font, char32_t codePoint)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&codePoint, 1));
    return qRound(font.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics).first().x());
}

bool samePixels(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

} // namespace

class TestTextWidth : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownAdvances_data()
    {
        QTest::addColumn<uint>("codePoint");
        QTest::addColumn<int>("units");
        // The Arial metrics Liberation Sans copies.
        QTest::newRow("space") << 0x20u << 569;
        QTest::newRow("a") << uint('a') << 1139;
        QTest::newRow("W") << uint('W') << 1933;
        QTest::newRow("i") << uint('i') << 455;
        QTest::newRow("M") << uint('M') << 1706;
        QTest::newRow("digit") << uint('7') << 1139;
        QTest::newRow("e acute") << 0xE9u << 1139;
        QTest::newRow("em dash") << 0x2014u << 2048;
        QTest::newRow("ellipsis") << 0x2026u << 2048;
        // Not in the font.
        QTest::newRow("CJK ideograph") << 0x4E2Du << 2048;
        QTest::newRow("hiragana") << 0x3042u << 2048;
        QTest::newRow("hangul syllable") << 0xAC00u << 2048;
        QTest::newRow("full-width A") << 0xFF21u << 2048;
        QTest::newRow("emoji") << 0x1F600u << 2048;
        QTest::newRow("CJK extension B") << 0x20000u << 2048;
        QTest::newRow("combining acute") << 0x301u << 0;
        QTest::newRow("combining enclosing circle") << 0x20DDu << 0;
        QTest::newRow("zero width space") << 0x200Bu << 0;
        QTest::newRow("zero width non-joiner") << 0x200Cu << 0;
        QTest::newRow("zero width joiner") << 0x200Du << 0;
        QTest::newRow("soft hyphen") << 0xADu << 0;
        QTest::newRow("variation selector 16") << 0xFE0Fu << 0;
        QTest::newRow("ideographic variation selector") << 0xE0100u << 0;
        QTest::newRow("byte order mark") << 0xFEFFu << 0;
        QTest::newRow("NUL") << 0u << 0;
        QTest::newRow("C1 control") << 0x85u << 0;
    }

    void knownAdvances()
    {
        QFETCH(uint, codePoint);
        QFETCH(int, units);
        QCOMPARE(TextWidth::advance(char32_t(codePoint)), units);
    }

    void exactPixels_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<double>("pixelSize");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << QByteArray() << 20.0 << 0.0;
        QTest::newRow("only spaces") << QByteArray(" \t\r\n ") << 20.0 << 0.0;
        // (1933 + 455 + 455) units at 20 px to the 2048-unit em.
        QTest::newRow("Wii at 20 px") << QByteArray("Wii") << 20.0 << 2843 * 20.0 / 2048;
        QTest::newRow("Wii at 14 px") << QByteArray("Wii") << 14.0 << 2843 * 14.0 / 2048;
        QTest::newRow("two ideographs at 20 px") << QByteArray("\xE4\xB8\xAD\xE6\x96\x87") << 20.0 << 40.0;
        QTest::newRow("emoji at 14 px") << QByteArray("\xF0\x9F\x98\x80") << 14.0 << 14.0;
        QTest::newRow("emoji with variation selector")
            << QByteArray("\xE2\x8C\x9A\xEF\xB8\x8F") << 14.0 << 14.0;
        QTest::newRow("zero width space alone") << QByteArray("\xE2\x80\x8B") << 20.0 << 0.0;
    }

    void exactPixels()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(double, pixelSize);
        QFETCH(double, expected);
        QCOMPARE(TextWidth::pixels(bytesOf(utf8), pixelSize), expected);
    }

    void equalWidths_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("sameAs");
        QTest::newRow("e + combining acute is e acute")
            << QByteArray("Cafe\xCC\x81") << QByteArray("Caf\xC3\xA9");
        QTest::newRow("zero width joiner adds nothing") << QByteArray("a\xE2\x80\x8D"
                                                                      "b")
                                                        << QByteArray("ab");
        QTest::newRow("byte order mark adds nothing") << QByteArray("\xEF\xBB\xBFHome") << QByteArray("Home");
        QTest::newRow("soft hyphen adds nothing") << QByteArray("Wa\xC2\xADter") << QByteArray("Water");
        QTest::newRow("leading and trailing space dropped")
            << QByteArray("  Home \r\n") << QByteArray("Home");
        QTest::newRow("white space runs collapse") << QByteArray("Our\n\t  shop") << QByteArray("Our shop");
        QTest::newRow("named reference") << QByteArray("Bread &amp; butter") << QByteArray("Bread & butter");
        QTest::newRow("Latin-1 reference") << QByteArray("Caf&eacute; &Uuml;ber")
                                           << QByteArray("Caf\xC3\xA9 \xC3\x9C"
                                                         "ber");
        QTest::newRow("typographic reference")
            << QByteArray("Wait&hellip;") << QByteArray("Wait\xE2\x80\xA6");
        QTest::newRow("decimal reference") << QByteArray("Caf&#233;") << QByteArray("Caf\xC3\xA9");
        QTest::newRow("hexadecimal reference") << QByteArray("&#X1F600;") << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("reference to a space collapses")
            << QByteArray("Our &#32;&#x9; shop") << QByteArray("Our shop");
        QTest::newRow("no-break space does not collapse") << QByteArray("a&nbsp;&nbsp;b")
                                                          << QByteArray("a\xC2\xA0\xC2\xA0"
                                                                        "b");
        QTest::newRow("number beyond Unicode")
            << QByteArray("&#99999999999999;") << QByteArray("\xEF\xBF\xBD");
        QTest::newRow("surrogate number") << QByteArray("&#xD800;") << QByteArray("\xEF\xBF\xBD");
        QTest::newRow("without semicolon stays text") << QByteArray("&amp b") << QByteArray("&amp b");
        QTest::newRow("unknown name stays text") << QByteArray("&bogus;") << QByteArray("&bogus;");
        QTest::newRow("names are case-sensitive") << QByteArray("&Hellip;") << QByteArray("&Hellip;");
        QTest::newRow("no digits stays text") << QByteArray("&#;&#x;") << QByteArray("&#;&#x;");
        QTest::newRow("lone ampersand at the end") << QByteArray("R&") << QByteArray("R&");
        QTest::newRow("invalid byte is a replacement character") << QByteArray("a\xFF"
                                                                               "b")
                                                                 << QByteArray("a\xEF\xBF\xBD"
                                                                               "b");
        QTest::newRow("truncated sequence is one replacement character each byte")
            << QByteArray("a\xE4\xB8") << QByteArray("a\xEF\xBF\xBD\xEF\xBF\xBD");
        QTest::newRow("overlong slash is not a slash")
            << QByteArray("\xC0\xAF") << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD");
    }

    void equalWidths()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, sameAs);
        QCOMPARE(TextWidth::titlePixels(bytesOf(text)), TextWidth::titlePixels(bytesOf(sameAs)));
        QCOMPARE(TextWidth::descriptionPixels(bytesOf(text)), TextWidth::descriptionPixels(bytesOf(sameAs)));
    }

    void pixelsMatchTheFont_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("sentence") << QStringLiteral("Fresh bread daily from our family bakery");
        QTest::newRow("capitals and digits") << QStringLiteral("WWW.EXAMPLE.COM 2026");
        QTest::newRow("punctuation") << QStringLiteral("Shop | Home & Garden: \"tools\", (50% off!) - [new]");
        QTest::newRow("Latin-1 accents") << QStringLiteral(u"Café naïve façade Größe");
        QTest::newRow("typographic quotes and dashes") << QStringLiteral(u"“Quoted” — and ‘this’ … ©®™");
        QTest::newRow("Cyrillic") << QStringLiteral(u"Добро пожаловать");
        QTest::newRow("Greek") << QStringLiteral(u"Καλώς ήρθατε");
        QTest::newRow("Hebrew") << QStringLiteral(u"ברוכים הבאים");
        QTest::newRow("narrow letters") << QStringLiteral("illicit fillip");
    }

    void pixelsMatchTheFont()
    {
        QFETCH(QString, text);
        const QRawFont font = installedFont(TextWidth::kUnitsPerEm);
        if (!font.isValid())
            QSKIP("Liberation Sans is not installed");
        for (const double pixelSize : { TextWidth::kTitlePixelSize, TextWidth::kDescriptionPixelSize }) {
            const double expected = measuredPixels(font, text, pixelSize);
            const double actual = TextWidth::pixels(utf8Of(text), pixelSize);
            if (!samePixels(actual, expected))
                QFAIL(qPrintable(
                    QStringLiteral("%1 px: %2, the font gives %3").arg(pixelSize).arg(actual).arg(expected)));
        }
    }

    void everyMappedCodePointAgreesWithTheFont()
    {
        const QRawFont font = installedFont(TextWidth::kUnitsPerEm);
        if (!font.isValid())
            QSKIP("Liberation Sans is not installed");
        int checked = 0;
        for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
            // Format characters (the soft hyphen) show nothing whatever glyph the font has.
            if ((cp >= 0xD800 && cp <= 0xDFFF) || !font.supportsCharacter(cp)
                || QChar::category(cp) == QChar::Other_Format)
                continue;
            ++checked;
            if (TextWidth::advance(cp) != designAdvance(font, cp))
                QFAIL(qPrintable(QStringLiteral("U+%1: %2 units, the font has %3")
                                     .arg(uint(cp), 4, 16, QLatin1Char('0'))
                                     .arg(TextWidth::advance(cp))
                                     .arg(designAdvance(font, cp))));
        }
        QVERIFY2(checked > 600, "the font maps far fewer characters than Liberation Sans");
    }

    void missingCharacterIsTheFontsMissingGlyph()
    {
        const QRawFont font = installedFont(TextWidth::kUnitsPerEm);
        if (!font.isValid())
            QSKIP("Liberation Sans is not installed");
        const char32_t thaiKoKai = 0x0E01;
        QVERIFY(!font.supportsCharacter(thaiKoKai));
        const int missingGlyph
            = qRound(font.advancesForGlyphIndexes({ 0 }, QRawFont::UseDesignMetrics).first().x());
        QCOMPARE(TextWidth::advance(thaiKoKai), missingGlyph);
        QCOMPARE(TextWidth::advance(0xFFFD), missingGlyph);
    }
};

QTEST_MAIN(TestTextWidth)
#include "test_text_width.moc"
