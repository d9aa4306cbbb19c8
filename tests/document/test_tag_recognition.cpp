#include "EngineText.h"

#include "document/TagRecognition.h"

#include <QTest>

Q_DECLARE_METATYPE(TagKind)

namespace {
constexpr int kNone = -1;

int kindOrNone(std::optional<TagKind> kind)
{
    return kind ? static_cast<int>(*kind) : kNone;
}
} // namespace

class TestTagRecognition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The text after "<" and what the reader and the writer make of it.
    void recognition_data()
    {
        QTest::addColumn<QByteArray>("afterLessThan");
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("removed");
        const int title = int(TagKind::Title), type = int(TagKind::ContentType),
                  desc = int(TagKind::Description), keys = int(TagKind::Keywords),
                  author = int(TagKind::Author), robots = int(TagKind::Robots),
                  dist = int(TagKind::Distribution), fmt = int(TagKind::Formatter),
                  lab = int(TagKind::LabTag);

        QTest::newRow("title") << QByteArray("title>Home</title>") << title << kNone;
        QTest::newRow("TITLE upper case") << QByteArray("TITLE>Home") << title << kNone;
        QTest::newRow("title with attributes") << QByteArray("title lang=\"en\">Home") << kNone << kNone;
        QTest::newRow("canonical description")
            << QByteArray("meta name=\"description\" content=\"A\">") << desc << desc;
        QTest::newRow("any letter case")
            << QByteArray("META NAME=\"Description\" CONTENT=\"A\">") << desc << desc;
        QTest::newRow("two spaces") << QByteArray("meta  name=\"description\" content=\"A\">") << kNone
                                    << kNone;
        QTest::newRow("spaces around equals")
            << QByteArray("meta name = \"description\" content=\"A\">") << kNone << kNone;
        QTest::newRow("content first")
            << QByteArray("meta content=\"A\" name=\"description\">") << kNone << kNone;
        QTest::newRow("single quotes")
            << QByteArray("meta name='description' content='A'>") << kNone << kNone;
        QTest::newRow("authorship is read, not removed")
            << QByteArray("meta name=\"authorship\" content=\"x\">") << author << kNone;
        QTest::newRow("descriptions is read, not removed")
            << QByteArray("meta name=\"descriptions\" content=\"x\">") << desc << kNone;
        QTest::newRow("keywords") << QByteArray("meta name=\"keywords\" content=\"a, b\">") << keys << keys;
        QTest::newRow("robots") << QByteArray("meta name=\"robots\" content=\"noindex\">") << robots
                                << robots;
        QTest::newRow("robotstxt is read, not removed")
            << QByteArray("meta name=\"robotstxt\">") << robots << kNone;
        QTest::newRow("iso-8859-1 content type")
            << QByteArray("meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">")
            << type << type;
        QTest::newRow("utf-8 content type: removed, never read")
            << QByteArray("meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">") << kNone
            << type;
        QTest::newRow("content type missing its closing >")
            << QByteArray("meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\"/>")
            << kNone << type;
        QTest::newRow("distribution")
            << QByteArray("meta name=\"distribution\" content=\"global\">") << kNone << dist;
        QTest::newRow("formatter") << QByteArray("META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">")
                                   << kNone << fmt;
        QTest::newRow("lab tag") << QByteArray("meta name=\"quorn\" content=\"x\">") << kNone << lab;
        QTest::newRow("generator stays")
            << QByteArray("meta name=\"generator\" content=\"x\">") << kNone << kNone;
        QTest::newRow("cut short") << QByteArray("meta name=\"descr") << kNone << kNone;
        QTest::newRow("nothing after the <") << QByteArray() << kNone << kNone;
    }
    void recognition()
    {
        QFETCH(QByteArray, afterLessThan);
        QFETCH(int, read);
        QFETCH(int, removed);
        QCOMPARE(kindOrNone(TagRecognition::matchRead(bytesOf(afterLessThan))), read);
        QCOMPARE(kindOrNone(TagRecognition::matchRemoval(bytesOf(afterLessThan))), removed);
    }

    // The comparisons cover exactly these lengths; one character more or less changes
    // which tags survive a save.
    void prefixLengths_data()
    {
        QTest::addColumn<TagKind>("kind");
        QTest::addColumn<int>("readLength");
        QTest::addColumn<int>("removalLength");
        QTest::newRow("title") << TagKind::Title << 6 << 0;
        QTest::newRow("content type") << TagKind::ContentType << 71 << 30;
        QTest::newRow("description") << TagKind::Description << 22 << 23;
        QTest::newRow("keywords") << TagKind::Keywords << 19 << 20;
        QTest::newRow("author") << TagKind::Author << 17 << 18;
        QTest::newRow("robots") << TagKind::Robots << 17 << 18;
        QTest::newRow("distribution") << TagKind::Distribution << 0 << 24;
        QTest::newRow("formatter") << TagKind::Formatter << 0 << 21;
        QTest::newRow("lab tag") << TagKind::LabTag << 0 << 17;
    }
    void prefixLengths()
    {
        QFETCH(TagKind, kind);
        QFETCH(int, readLength);
        QFETCH(int, removalLength);
        QCOMPARE(int(TagRecognition::readPrefix(kind).size()), readLength);
        QCOMPARE(int(TagRecognition::removalPrefix(kind).size()), removalLength);
    }

    void removalOrder()
    {
        const std::vector<TagKind> expected = { TagKind::ContentType, TagKind::Description, TagKind::Keywords,
            TagKind::Distribution, TagKind::LabTag, TagKind::Author, TagKind::Formatter, TagKind::Robots };
        const auto order = TagRecognition::removalOrder();
        QCOMPARE(std::vector<TagKind>(order.begin(), order.end()), expected);
    }
};

QTEST_APPLESS_MAIN(TestTagRecognition)
#include "test_tag_recognition.moc"
