#include "ByteView.h"
#include "JsonText.h"
#include "PageLines.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// What QJsonDocument writes for a value standing alone, the witness the hand-made text is
// held to.
QByteArray asQtWritesIt(const QJsonValue &value)
{
    return QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact).chopped(1).mid(1);
}

QByteArray stringText(QStringView text)
{
    QByteArray out;
    JsonText::appendString(out, text);
    return out;
}

QByteArray utf8Text(const QByteArray &bytes)
{
    QByteArray out;
    JsonText::appendUtf8(out, byteView(bytes));
    return out;
}

// The line as a QJsonObject would make it.
QJsonObject lineAsObject(const PageAudit &page, bool shared)
{
    QJsonObject line { { u"path"_s, page.path }, { u"ok"_s, page.ok } };
    if (!page.ok) {
        line[u"error"_s] = page.error;
        return line;
    }
    std::vector<Warning> warnings = page.warnings;
    if (shared)
        warnings.push_back(PageWarnings::descriptionShared());
    QJsonArray warningArray;
    for (const Warning &warning : warnings) {
        warningArray.append(QJsonObject { { u"kind"_s, QString::fromUtf8(PageWarnings::kindName(warning.kind)) },
            { u"target"_s, QString::fromUtf8(PageWarnings::targetName(warning.target)) },
            { u"message"_s, QString::fromUtf8(warning.message) } });
    }
    line[u"title"_s] = QString::fromUtf8(page.title);
    line[u"description"_s] = QString::fromUtf8(page.description);
    line[u"keywords"_s] = QString::fromUtf8(page.keywords);
    line[u"author"_s] = QString::fromUtf8(page.author);
    line[u"robots"_s] = QString::fromUtf8(page.robots);
    line[u"titlePixels"_s] = page.titlePixels;
    line[u"descriptionPixels"_s] = page.descriptionPixels;
    line[u"warnings"_s] = warningArray;
    return line;
}

// Characters and bytes where writers tend to differ: escapes, controls, the edges of each
// UTF-8 length, surrogates alone and in pairs.
const std::array<char16_t, 16> kTrickyUnits
    = { u'a', u'"', u'\\', u'/', 0x00, 0x1F, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFD, 0xFFFF, 0xD83D, 0xDE00, u'\n', 0x2028 };
const std::array<char, 12> kTrickyBytes
    = { 'a', '"', '\\', '\x01', '\x7F', '\x80', '\xBF', '\xC3', '\xE2', '\xF0', '\xF8', '\xFF' };

} // namespace

class TestJsonOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stringsAsQtWritesThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("plain") << u"Fresh bread daily"_s;
        QTest::newRow("quote, backslash, slash") << u"a \"b\" c\\d/e"_s;
        QString controls;
        for (char16_t c = 0; c < 0x20; ++c)
            controls += QChar(c);
        QTest::newRow("every control character") << controls;
        QTest::newRow("delete") << QString(QChar(0x7F));
        QTest::newRow("two and three bytes") << u"Caf\u00e9 \u20ac"_s;
        QTest::newRow("a pair of surrogates") << u"smile \U0001F600!"_s;
        QTest::newRow("high surrogate alone") << QString(QChar(0xD83D)) + u"x"_s;
        QTest::newRow("low surrogate alone") << u"x"_s + QChar(0xDE00);
        QTest::newRow("high surrogate last") << u"x"_s + QChar(0xD83D);
        QTest::newRow("two highs then a low") << QString(QChar(0xD83D)) + QChar(0xD83D) + QChar(0xDE00);
    }
    void stringsAsQtWritesThem()
    {
        QFETCH(QString, text);
        QCOMPARE(stringText(text), asQtWritesIt(text));
    }

    void randomStringsAsQtWritesThem()
    {
        QRandomGenerator random(7);
        for (int round = 0; round < 20000; ++round) {
            QString text;
            for (quint32 count = random.bounded(12); count > 0; --count)
                text += QChar(kTrickyUnits[random.bounded(quint32(kTrickyUnits.size()))]);
            QVERIFY2(stringText(text) == asQtWritesIt(text), qPrintable(QString::fromLatin1(text.toUtf8().toHex(' '))));
        }
    }

    // Bytes that are not UTF-8 are written as a QString would hold them.
    void randomBytesAsQtReadsAndWritesThem()
    {
        QRandomGenerator random(11);
        for (int round = 0; round < 20000; ++round) {
            QByteArray bytes;
            for (quint32 count = random.bounded(10); count > 0; --count)
                bytes += kTrickyBytes[random.bounded(quint32(kTrickyBytes.size()))];
            QVERIFY2(utf8Text(bytes) == asQtWritesIt(QString::fromUtf8(bytes)), bytes.toHex(' ').constData());
        }
    }

    void numbersAsQtWritesThem_data()
    {
        QTest::addColumn<double>("number");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative zero") << -0.0;
        QTest::newRow("a tenth") << 0.1;
        QTest::newRow("a width") << 53.3;
        QTest::newRow("a whole width") << 755.0;
        QTest::newRow("large") << 1e21;
        QTest::newRow("just below where exponents start") << 999999999999999.9;
        QTest::newRow("small") << 1.5e-7;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
    }
    void numbersAsQtWritesThem()
    {
        QFETCH(double, number);
        QByteArray text;
        JsonText::appendNumber(text, number);
        QCOMPARE(text, asQtWritesIt(number));
    }

    // A page's line is the object QJsonDocument would write, for any values.
    void pageLinesAsQtWritesThem()
    {
        QRandomGenerator random(3);
        const auto someText = [&random] {
            std::string text;
            for (quint32 count = random.bounded(6); count > 0; --count)
                text += kTrickyBytes[random.bounded(quint32(kTrickyBytes.size()))];
            return text;
        };
        for (int round = 0; round < 3000; ++round) {
            PageAudit page;
            page.path = u"/site/"_s + QString::fromUtf8(someText()) + u".html"_s;
            page.ok = random.bounded(8) != 0;
            page.error = QString::fromUtf8(someText());
            page.title = someText();
            page.description = someText();
            page.keywords = someText();
            page.author = someText();
            page.robots = someText();
            page.titlePixels = std::round(random.bounded(8000.0)) / 10;
            page.descriptionPixels = std::round(random.bounded(8000.0)) / 10;
            for (quint32 count = random.bounded(4); count > 0; --count)
                page.warnings.push_back({ WarningKind(random.bounded(7)), WarningTarget(random.bounded(5)), someText() });
            for (const bool shared : { false, true }) {
                const QByteArray expected
                    = QJsonDocument(lineAsObject(page, shared)).toJson(QJsonDocument::Compact) + '\n';
                QVERIFY2(PageLines::json(page, shared) == expected, expected.constData());
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestJsonOutput)
#include "test_json_output.moc"
