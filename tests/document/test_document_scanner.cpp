#include "EngineText.h"

#include "document/DocumentScanner.h"

#include <QTest>

namespace {

const QString kNoDescription = QStringLiteral("No description");
const QString kNoKeywords = QStringLiteral("No, keywords");
const QString kNoAuthor = QStringLiteral("No author");

QByteArray page(const QByteArray &head, const QByteArray &body = QByteArray())
{
    return "<html>\r\n<head>\r\n" + head + "\r\n</head>\r\n<body>" + body + "</body>\r\n</html>\r\n";
}

} // namespace

class TestDocumentScanner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headTest_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hasHead");
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("plain head") << QByteArray("<html><head></head>") << true;
        QTest::newRow("upper case") << QByteArray("<HTML><HEAD>") << true;
        QTest::newRow("with attributes") << QByteArray("<head profile=\"x\">") << true;
        QTest::newRow("only a header element") << QByteArray("<body><header>x</header>") << true;
        QTest::newRow("space after <") << QByteArray("< head>") << false;
        QTest::newRow("end tag only") << QByteArray("</head>") << false;
        QTest::newRow("fragment") << QByteArray("<div>no head here</div>") << false;
        QTest::newRow("cut off at <hea") << QByteArray("text <hea") << false;
        QTest::newRow("binary with nul bytes") << QByteArray("\0\1\2<head>\xFF", 9) << true;
        QTest::newRow("utf-16 has no byte run <head") << QByteArray("<\0h\0e\0a\0d\0>\0", 12) << false;
    }
    void headTest()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, hasHead);
        QCOMPARE(DocumentScanner::hasHeadStart(bytesOf(bytes)), hasHead);
        QCOMPARE(DocumentScanner::scan(bytesOf(bytes)).hasHead, hasHead);
    }

    // A page and the values a document window shows after opening it.
    void scan_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("robots");
        QTest::addColumn<bool>("charset");

        QTest::newRow("no tags at all")
            << page("") << QString() << kNoDescription << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("title between the tags")
            << page("<TITLE>My page</TITLE>") << QStringLiteral("My page") << kNoDescription << kNoKeywords
            << kNoAuthor << QString() << false;
        QTest::newRow("title with attributes is not read")
            << page("<title lang=\"en\">My page</title>") << QString() << kNoDescription << kNoKeywords
            << kNoAuthor << QString() << false;
        QTest::newRow("two titles run together")
            << page("<title>A</title><title>B</title>") << QStringLiteral("AB") << kNoDescription
            << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("title without a following tag")
            << QByteArray("<head><title>unfinished") << QString() << kNoDescription << kNoKeywords
            << kNoAuthor << QString() << false;
        QTest::newRow("all four values") << page(
            "<meta name=\"description\" content=\"About us\">\r\n<meta name=\"keywords\" content=\"a, "
            "b\">\r\n"
            "<meta name=\"author\" content=\"Ada\">\r\n<meta name=\"robots\" content=\"noindex, nofollow\">")
                                         << QString() << QStringLiteral("About us") << QStringLiteral("a, b")
                                         << QStringLiteral("Ada") << QStringLiteral("noindex, nofollow")
                                         << false;
        QTest::newRow("letter case ignored")
            << page("<META NAME=\"Description\" CONTENT=\"A\">") << QString() << QStringLiteral("A")
            << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("spaces around = are not read")
            << page("<meta name = \"description\" content=\"A\">") << QString() << kNoDescription
            << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("content first is not read")
            << page("<meta content=\"A\" name=\"description\">") << QString() << kNoDescription << kNoKeywords
            << kNoAuthor << QString() << false;
        QTest::newRow("authorship reads as author")
            << page("<meta name=\"authorship\" content=\"x\">") << QString() << kNoDescription << kNoKeywords
            << QStringLiteral("x") << QString() << false;
        QTest::newRow("repeated tags run together")
            << page("<meta name=\"description\" content=\"A\">\r\n<meta name=\"description\" content=\"B\">")
            << QString() << QStringLiteral("AB") << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("tag in the body is read")
            << page("", "<meta name=\"author\" content=\"X\">") << QString() << kNoDescription << kNoKeywords
            << QStringLiteral("X") << QString() << false;
        QTest::newRow("value search runs on into the next tag")
            << page("<meta name=\"description\">\r\n<meta name=\"keywords\" content=\"k\">") << QString()
            << QStringLiteral("k") << QStringLiteral("k") << kNoAuthor << QString() << false;
        QTest::newRow("value cut at an inner quote")
            << page("<meta name=\"description\" content=\"say \"hi\"\">") << QString()
            << QStringLiteral("say ") << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("value spanning lines keeps its line end")
            << page("<meta name=\"keywords\" content=\"a,\r\nb\">") << QString() << kNoDescription
            << QStringLiteral("a,\r\nb") << kNoAuthor << QString() << false;
        QTest::newRow("no content anywhere after: nothing, scan goes on")
            << QByteArray("<head><title>T</title><meta name=\"description\"></head>") << QStringLiteral("T")
            << kNoDescription << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("unclosed value: nothing, earlier values stay")
            << QByteArray("<head><meta name=\"author\" content=\"A\"><meta name=\"keywords\" content=\"open")
            << QString() << kNoDescription << kNoKeywords << QStringLiteral("A") << QString() << false;
        QTest::newRow("empty value reads as none")
            << page("<meta name=\"author\" content=\"\">") << QString() << kNoDescription << kNoKeywords
            << kNoAuthor << QString() << false;
        QTest::newRow("robots in capitals without space")
            << page("<meta name=\"robots\" content=\"NOINDEX,NOFOLLOW\">") << QString() << kNoDescription
            << kNoKeywords << kNoAuthor << QStringLiteral("noindex, nofollow") << false;
        QTest::newRow("robots: last exclusive word wins")
            << page("<meta name=\"robots\" content=\"noimageclick, noindex\">") << QString() << kNoDescription
            << kNoKeywords << kNoAuthor << QStringLiteral("noindex") << false;
        QTest::newRow("robots: nofollow with noimageindex")
            << page("<meta name=\"robots\" content=\"nofollow,noimageindex\">") << QString() << kNoDescription
            << kNoKeywords << kNoAuthor << QStringLiteral("nofollow, noimageindex") << false;
        QTest::newRow("robots: any separator")
            << page("<meta name=\"robots\" content=\"noindex|nofollow\">") << QString() << kNoDescription
            << kNoKeywords << kNoAuthor << QStringLiteral("noindex, nofollow") << false;
        QTest::newRow("robots: words of other engines ignored")
            << page("<meta name=\"robots\" content=\"index, follow, noarchive\">") << QString()
            << kNoDescription << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("iso-8859-1 content type sets charset")
            << page("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-1\">")
            << QString() << kNoDescription << kNoKeywords << kNoAuthor << QString() << true;
        QTest::newRow("another charset does not")
            << page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">")
            << QString() << kNoDescription << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("html5 charset does not")
            << page("<meta charset=\"iso-8859-1\">") << QString() << kNoDescription << kNoKeywords
            << kNoAuthor << QString() << false;
        QTest::newRow("utf-8 values")
            << page("<title>Caf\xC3\xA9</title><meta name=\"author\" content=\"J\xC3\xBCrgen\">")
            << QStringLiteral(u"Café") << kNoDescription << kNoKeywords << QStringLiteral(u"Jürgen")
            << QString() << false;
        QTest::newRow("windows-1252 values")
            << page("<title>Caf\xE9</title><meta name=\"author\" content=\"\x93J\xFCrgen\x94\">")
            << QStringLiteral(u"Café") << kNoDescription << kNoKeywords << QStringLiteral(u"“Jürgen”")
            << QString() << false;
        QTest::newRow("a tag far beyond 32767 bytes")
            << page(QByteArray(40000, ' ') + "<meta name=\"description\" content=\"far\">") << QString()
            << QStringLiteral("far") << kNoKeywords << kNoAuthor << QString() << false;
        QTest::newRow("tag at the very end")
            << QByteArray("<head><meta name=\"author\" content=\"x\"") << QString() << kNoDescription
            << kNoKeywords << QStringLiteral("x") << QString() << false;
        QTest::newRow("lone < at the end") << QByteArray("<head><") << QString() << kNoDescription
                                           << kNoKeywords << kNoAuthor << QString() << false;
    }
    void scan()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(QString, description);
        QFETCH(QString, keywords);
        QFETCH(QString, author);
        QFETCH(QString, robots);
        QFETCH(bool, charset);

        const ScannedDocument doc = DocumentScanner::scan(bytesOf(bytes));
        QVERIFY(doc.hasHead);
        const MetaElementSet values = doc.values();
        QCOMPARE(textOf(doc.title), title);
        QCOMPARE(textOf(values.text(TextField::Description)), description);
        QCOMPARE(textOf(values.text(TextField::Keywords)), keywords);
        QCOMPARE(textOf(values.text(TextField::Author)), author);
        QCOMPARE(textOf(values.robotsValue()), robots);
        QCOMPARE(values.charset(), charset);
    }

    void encodingAndLineEnd()
    {
        const ScannedDocument utf8 = DocumentScanner::scan("<head>\ncaf\xC3\xA9\n");
        QCOMPARE(utf8.encoding, Encoding::Utf8);
        QCOMPARE(utf8.lineEnd, LineEnd::Lf);
        const ScannedDocument latin = DocumentScanner::scan("<head>\rcaf\xE9\r");
        QCOMPARE(latin.encoding, Encoding::Windows1252);
        QCOMPARE(latin.lineEnd, LineEnd::Cr);
    }

    // Large pages check their encoding beside the tag scan; the outcome must not change.
    void largePageEncoding_data()
    {
        QTest::addColumn<QByteArray>("last");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("utf-8 at the very end") << QByteArray("caf\xC3\xA9") << true;
        QTest::newRow("latin-1 at the very end") << QByteArray("caf\xE9") << false;
    }
    void largePageEncoding()
    {
        QFETCH(QByteArray, last);
        QFETCH(bool, utf8);
        const QByteArray bytes
            = "<head><meta name=\"author\" content=\"" + last + "\">" + QByteArray(6 << 20, 'x') + last;
        const ScannedDocument doc = DocumentScanner::scan(bytesOf(bytes));
        QCOMPARE(doc.encoding, utf8 ? Encoding::Utf8 : Encoding::Windows1252);
        QCOMPARE(textOf(doc.author), QStringLiteral(u"café"));
    }

    // The search for tags tests many positions at once; a tag must be found wherever it
    // falls in such a block, the last bytes of the page included.
    void tagFoundAtEveryOffset()
    {
        for (int offset = 0; offset < 40; ++offset) {
            const QByteArray bytes
                = "<head>" + QByteArray(offset, 'x') + "<TITLE>t<meta name=\"author\" content=\"a\"";
            const ScannedDocument doc = DocumentScanner::scan(bytesOf(bytes));
            QVERIFY2(doc.title == "t" && doc.author == "a", qPrintable(QString::number(offset)));
        }
    }

    // Thousands of value tags with no value after them must not make a read quadratic:
    // on a slow read this test runs into CTest's time-out.
    void manyUnfinishedTagsStayLinear()
    {
        QByteArray bytes("<head>");
        for (int i = 0; i < 200000; ++i)
            bytes += "<meta name=\"description\"";
        bytes += "<meta name=\"author\" content=\"late";
        const ScannedDocument doc = DocumentScanner::scan(bytesOf(bytes));
        QVERIFY(doc.description.empty());
        QVERIFY(doc.author.empty());
    }
};

QTEST_APPLESS_MAIN(TestDocumentScanner)
#include "test_document_scanner.moc"
