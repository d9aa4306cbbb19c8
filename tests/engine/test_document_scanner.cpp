#include "EngineText.h"

#include "DocumentScanner.h"
#include "TagRecognition.h"

#include <QTest>

namespace {

QByteArray page(const QByteArray &head, const QByteArray &body = QByteArray())
{
    return "<html>\r\n<head>\r\n" + head + "\r\n</head>\r\n<body>" + body + "</body>\r\n</html>\r\n";
}

// What a document window shows after opening the page, leaving out what is as for a bare page.
QString shown(const ScannedDocument &doc)
{
    const MetaElementSet values = doc.values();
    const MetaElementSet none = ScannedDocument().values();
    QStringList parts;
    if (!doc.title.empty())
        parts << QStringLiteral("title=") + textOf(doc.title);
    const std::pair<const char *, TextField> fields[] = { { "description=", TextField::Description },
        { "keywords=", TextField::Keywords }, { "author=", TextField::Author } };
    for (const auto &[name, field] : fields) {
        if (values.text(field) != none.text(field))
            parts << QLatin1String(name) + textOf(values.text(field));
    }
    if (!values.robotsValue().empty())
        parts << QStringLiteral("robots=") + textOf(values.robotsValue());
    if (values.charset())
        parts << QStringLiteral("charset");
    return parts.join(QStringLiteral("; "));
}

} // namespace

class TestDocumentScanner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The text after "<" decides what a tag is; a save removes exactly the tags a read
    // takes, so a near miss must be neither.
    void recognition_data()
    {
        QTest::addColumn<QByteArray>("afterLessThan");
        QTest::addColumn<int>("kind");
        const int none = -1;
        QTest::newRow("TITLE upper case") << QByteArray("TITLE>Home") << int(TagKind::Title);
        QTest::newRow("any letter case") << QByteArray("META NAME=\"Description\" CONTENT=\"A\">")
                                         << int(TagKind::Description);
        QTest::newRow("authorship is neither read nor removed") << QByteArray("meta name=\"authorship\"") << none;
        QTest::newRow("any content type") << QByteArray("meta http-equiv=\"Content-Type\" content=\"x\">")
                                          << int(TagKind::ContentType);
        QTest::newRow("lab tag") << QByteArray("meta name=\"quorn\" content=\"x\">") << int(TagKind::LabTag);
        QTest::newRow("cut short") << QByteArray("meta name=\"descr") << none;
        QTest::newRow("title with attributes") << QByteArray("title lang=\"en\">") << none;
    }
    void recognition()
    {
        QFETCH(QByteArray, afterLessThan);
        QFETCH(int, kind);
        const std::optional<TagKind> matched = TagRecognition::match(bytesOf(afterLessThan));
        QCOMPARE(matched ? int(*matched) : -1, kind);
    }

    void headTest_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hasHead");
        QTest::newRow("upper case with attributes") << QByteArray("<HTML><HEAD profile=\"x\">") << true;
        QTest::newRow("only a header element") << QByteArray("<body><header>x</header>") << true;
        QTest::newRow("space after <") << QByteArray("< head>") << false;
        QTest::newRow("utf-16 has no byte run <head") << QByteArray("<\0h\0e\0a\0d\0>\0", 12) << false;
    }
    void headTest()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, hasHead);
        QCOMPARE(DocumentScanner::hasHeadStart(bytesOf(bytes)), hasHead);
        QCOMPARE(DocumentScanner::scan(bytesOf(bytes)).hasHead, hasHead);
    }

    void scan_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("values");
        const QByteArray robots = "<meta name=\"robots\" content=\"";
        QTest::newRow("no tags at all") << page("") << QString();
        QTest::newRow("title in capitals") << page("<TITLE>My page</TITLE>") << "title=My page";
        QTest::newRow("two titles run together") << page("<title>A</title><title>B</title>") << "title=AB";
        QTest::newRow("all four values")
            << page("<meta name=\"description\" content=\"About us\">\r\n<meta name=\"keywords\" content=\"a, b\">"
                    "<meta name=\"author\" content=\"Ada\">\r\n" + robots + "noindex, nofollow\">")
            << "description=About us; keywords=a, b; author=Ada; robots=noindex, nofollow";
        QTest::newRow("repeated tags run together")
            << page("<meta name=\"description\" content=\"A\">\r\n<meta name=\"description\" content=\"B\">")
            << "description=AB";
        QTest::newRow("a tag without content gives nothing, the next its own")
            << page("<meta name=\"description\">\r\n<meta name=\"keywords\" content=\"k\">") << "keywords=k";
        QTest::newRow("content after other attributes, in single quotes")
            << page("<meta name=\"description\" lang=\"en\" content='say \"hi\"'>") << "description=say \"hi\"";
        QTest::newRow("references decoded as in an attribute")
            << page("<meta name=\"description\" content=\"&quot;A&quot; &amp; B &lt;1&gt; &#39;x&#x27; &eacute;&hellip;\">")
            << QStringLiteral(u"description=\"A\" & B <1> 'x' é…");
        QTest::newRow("a name run on by letters or = stays text")
            << page("<meta name=\"keywords\" content=\"?a=1&copy=2&copyx &copy &notin; &notit;\">")
            << QStringLiteral(u"keywords=?a=1&copy=2&copyx © ∉ &notit;");
        QTest::newRow("numbers without ; and the Windows-1252 range")
            << page("<meta name=\"author\" content=\"&#65&#x42; &#150; &#0; &#xD800;\">")
            << QStringLiteral(u"author=AB – \uFFFD \uFFFD");
        QTest::newRow("the Windows-1252 range, first and last")
            << page("<meta name=\"author\" content=\"&#128;&#x9F;\">") << QStringLiteral(u"author=€Ÿ");
        QTest::newRow("just outside the Windows-1252 range")
            << page("<meta name=\"author\" content=\"&#126;&#127;&#160;\">") << QStringLiteral(u"author=~\u007F\u00A0");
        QTest::newRow("a number the code page leaves unused keeps its value")
            << page("<meta name=\"author\" content=\"&#129;&#x8D;\">") << QStringLiteral(u"author=\u0081\u008D");
        QTest::newRow("the last code point and past it")
            << page("<meta name=\"author\" content=\"&#x10FFFF;&#x110000;&#1114112;\">")
            << QStringLiteral(u"author=\U0010FFFF\uFFFD\uFFFD");
        QTest::newRow("around the surrogates")
            << page("<meta name=\"author\" content=\"&#xD7FF;&#xDFFF;&#xE000;\">") << QStringLiteral(u"author=\uD7FF\uFFFD\uE000");
        QTest::newRow("digits a hexadecimal number does not take")
            << page("<meta name=\"author\" content=\"&#x4g;&#9a;&#xaF;\">") << QStringLiteral(u"author=\u0004g;\u0009a;\u00AF");
        QTest::newRow("< and > inside the value are text")
            << page("<meta name=\"description\" content=\"a<b> c\">") << "description=a<b> c";
        QTest::newRow("unclosed value: nothing from there on, earlier values stay")
            << QByteArray("<head><meta name=\"author\" content=\"A\"><meta name=\"keywords\" content=\"open"
                          "<title>T</title>")
            << "author=A";
        QTest::newRow("only the HEAD region is read")
            << QByteArray("<meta name=\"author\" content=\"before\"><html><head><title>T</title></head>"
                          "<body><meta name=\"description\" content=\"body\"><title>late</title></body>")
            << "title=T";
        QTest::newRow("a HEAD start tag in a comment opens nothing")
            << QByteArray("<!-- <head><meta name=\"author\" content=\"old\"> --><head>\n"
                          "<meta name=\"author\" content=\"new\"></head>")
            << "author=new";
        QTest::newRow("an end tag before the start tag ends nothing")
            << QByteArray("<!-- </head> --></head><head><meta name=\"author\" content=\"A\"></head>") << "author=A";
        QTest::newRow("a region without an end tag runs to the end")
            << QByteArray("<head><meta name=\"author\" content=\"A\"><body><meta name=\"keywords\" content=\"K\">")
            << "keywords=K; author=A";
        QTest::newRow("tags inside a comment in the HEAD are skipped")
            << page("<!--\r\n<meta name=\"author\" content=\"off\">\r\n--><meta name=\"keywords\" content=\"on\">")
            << "keywords=on";
        QTest::newRow("a start tag with attributes")
            << QByteArray("<head profile=\"a>b\"><title>T</title>") << "title=T";
        QTest::newRow("robots in capitals without space")
            << page(robots + "NOINDEX,NOFOLLOW\">") << "robots=noindex, nofollow";
        QTest::newRow("robots: last exclusive word wins") << page(robots + "noimageclick|noindex\">")
                                                          << "robots=noindex";
        QTest::newRow("iso-8859-1 content type sets charset")
            << page("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-1\">") << "charset";
        QTest::newRow("utf-8 content type sets charset")
            << page("<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">") << "charset";
        QTest::newRow("windows-1252 content type does not")
            << page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">") << "";
        QTest::newRow("declared UTF-8 decides over one stray byte")
            << page("<meta charset=\"utf-8\"><meta name=\"author\" content=\"J\xC3\xBCrgen \xFF\">")
            << QStringLiteral(u"author=Jürgen \uFFFD");
        QTest::newRow("declared ISO-8859-1 decides over valid UTF-8")
            << page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">"
                    "<meta name=\"author\" content=\"\xC3\xBC\">")
            << QStringLiteral(u"author=Ã¼; charset");
        QTest::newRow("another charset leaves it to the bytes")
            << page("<meta charset=\"koi8-r\"><meta name=\"author\" content=\"J\xC3\xBCrgen\">")
            << QStringLiteral(u"author=Jürgen");
        QTest::newRow("windows-1252 values")
            << page("<title>Caf\xE9</title><meta name=\"author\" content=\"\x93J\xFCrgen\x94\">")
            << QStringLiteral(u"title=Café; author=“Jürgen”");
        QTest::newRow("windows-1252 in every text field")
            << page("<meta name=\"description\" content=\"Cr\xE8me\"><meta name=\"keywords\" content=\"caf\xE9\">"
                    "<meta name=\"author\" content=\"J\xFCrgen\">")
            << QStringLiteral(u"description=Crème; keywords=café; author=Jürgen");
        QTest::newRow("a tag far beyond 32767 bytes")
            << page(QByteArray(40000, ' ') + "<meta name=\"description\" content=\"far\">") << "description=far";
        QTest::newRow("lone < at the end") << QByteArray("<head><") << "";
    }
    void scan()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, values);
        const ScannedDocument doc = DocumentScanner::scan(bytesOf(bytes));
        QVERIFY(doc.hasHead);
        QCOMPARE(shown(doc), values);
    }

    // A read that stops at the end of the HEAD region must read what a read of the whole
    // page reads, wherever the bytes read so far end.
    void readByNeed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("need");
        const QByteArray stray("caf\xE9");
        const int rest = int(DocumentScanner::Need::RestEncoding);
        const int nothing = int(DocumentScanner::Need::Nothing);
        QTest::newRow("declared UTF-8, a stray byte in the body")
            << page("<meta charset=\"utf-8\"><meta name=\"author\" content=\"J\xC3\xBCrgen\">", stray) << nothing;
        QTest::newRow("declared ISO-8859-1, UTF-8 in the body")
            << page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">", "\xC3\xA9")
            << nothing;
        QTest::newRow("undeclared, a stray byte in the body")
            << page("<meta name=\"author\" content=\"J\xC3\xBCrgen\">", stray) << rest;
        QTest::newRow("undeclared, UTF-8 throughout") << page("<title>\xC3\xA9</title>", "\xC3\xA9") << rest;
        QTest::newRow("an unknown charset leaves it to the bytes")
            << page("<meta charset=\"shift_jis\">", stray) << rest;
        QTest::newRow("no end tag") << QByteArray("<html>\n<head><title>open\xE9") << int(DocumentScanner::Need::MoreBytes);
        QTest::newRow("CR line ends") << QByteArray("<head>\r<title>cr</title>\r</head>\r<body>x</body>\r") << rest;
        QTest::newRow("first line end past the region")
            << QByteArray("<head><meta charset=\"utf-8\"><title>t</title></head><body>\nx") << nothing;
        QTest::newRow("CR LF right after the end tag")
            << QByteArray("<head><meta charset=\"utf-8\"></head>\r\n<body>") << nothing;
        QTest::newRow("start and end tags in comments and with attributes")
            << QByteArray("<!-- <head> </head> --><head profile=\"a>b\">\n<!-- </head> -->"
                          "<meta name=\"keywords\" content=\"k\"></head foo>\n")
            << rest;
    }
    void readByNeed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, need);
        QCOMPARE(int(DocumentScanner::needOf(bytesOf(bytes))), need);
        const ScannedDocument whole = DocumentScanner::scan(bytesOf(bytes));
        const bool pageIsUtf8 = TextEncoding::isValidUtf8(bytesOf(bytes));
        for (qsizetype length = 0; length <= bytes.size(); ++length) {
            const std::string_view prefix = bytesOf(bytes).substr(0, std::size_t(length));
            if (DocumentScanner::needOf(prefix) == DocumentScanner::Need::MoreBytes)
                continue;
            const ScannedDocument read = DocumentScanner::scanPrefix(prefix, pageIsUtf8);
            QVERIFY2(read == whole, qPrintable(QStringLiteral("%1 bytes read: %2").arg(length).arg(shown(read))));
        }
    }

    // A quadratic read of these runs into CTest's time-out.
    void manyUnfinishedTagsStayLinear()
    {
        QByteArray bytes("<head>");
        for (int i = 0; i < 200000; ++i)
            bytes += "<meta name=\"description\"";
        bytes += "<meta name=\"author\" content=\"late";
        for (int i = 0; i < 200000; ++i)
            bytes += "<meta name=\"keywords\" content=\"";
        const ScannedDocument doc = DocumentScanner::scan(bytesOf(bytes));
        QVERIFY(doc.description.empty());
        QVERIFY(doc.author.empty());
        QVERIFY(doc.keywords.empty());
    }
};

QTEST_APPLESS_MAIN(TestDocumentScanner)
#include "test_document_scanner.moc"
