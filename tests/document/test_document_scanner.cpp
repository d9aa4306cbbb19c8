#include "EngineText.h"

#include "document/DocumentScanner.h"
#include "document/TagRecognition.h"

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

int kindOrNone(std::optional<TagKind> kind)
{
    return kind ? static_cast<int>(*kind) : -1;
}

} // namespace

class TestDocumentScanner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The text after "<" and what the reader and the writer make of it: the two differ,
    // and which tags survive a save hangs on the difference.
    void recognition_data()
    {
        QTest::addColumn<QByteArray>("afterLessThan");
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("removed");
        const int none = -1, type = int(TagKind::ContentType), desc = int(TagKind::Description);
        QTest::newRow("TITLE upper case") << QByteArray("TITLE>Home") << int(TagKind::Title) << none;
        QTest::newRow("any letter case") << QByteArray("META NAME=\"Description\" CONTENT=\"A\">") << desc << desc;
        QTest::newRow("authorship is read, not removed") << QByteArray("meta name=\"authorship\"") << int(TagKind::Author)
                                                         << none;
        QTest::newRow("utf-8 content type: removed, never read")
            << QByteArray("meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">") << none << type;
        QTest::newRow("lab tag") << QByteArray("meta name=\"quorn\" content=\"x\">") << none << int(TagKind::LabTag);
        QTest::newRow("cut short") << QByteArray("meta name=\"descr") << none << none;
    }
    void recognition()
    {
        QFETCH(QByteArray, afterLessThan);
        QFETCH(int, read);
        QFETCH(int, removed);
        QCOMPARE(kindOrNone(TagRecognition::matchRead(bytesOf(afterLessThan))), read);
        QCOMPARE(kindOrNone(TagRecognition::matchRemoval(bytesOf(afterLessThan))), removed);
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
        QTest::newRow("value search runs on into the next tag")
            << page("<meta name=\"description\">\r\n<meta name=\"keywords\" content=\"k\">")
            << "description=k; keywords=k";
        QTest::newRow("value cut at an inner quote")
            << page("<meta name=\"description\" content=\"say \"hi\"\">") << "description=say ";
        QTest::newRow("unclosed value: nothing, earlier values stay")
            << QByteArray("<head><meta name=\"author\" content=\"A\"><meta name=\"keywords\" content=\"open")
            << "author=A";
        QTest::newRow("robots in capitals without space")
            << page(robots + "NOINDEX,NOFOLLOW\">") << "robots=noindex, nofollow";
        QTest::newRow("robots: last exclusive word wins") << page(robots + "noimageclick|noindex\">")
                                                          << "robots=noindex";
        QTest::newRow("iso-8859-1 content type sets charset")
            << page("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-1\">") << "charset";
        QTest::newRow("windows-1252 values")
            << page("<title>Caf\xE9</title><meta name=\"author\" content=\"\x93J\xFCrgen\x94\">")
            << QStringLiteral(u"title=Café; author=“Jürgen”");
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

    // Tags are searched for many positions at once; one must be found wherever it falls
    // in such a block, the last bytes of the page included.
    void tagFoundAtEveryOffset()
    {
        for (int offset = 0; offset < 40; ++offset) {
            const QByteArray bytes = "<head>" + QByteArray(offset, 'x') + "<TITLE>t<meta name=\"author\" content=\"a\"";
            const ScannedDocument doc = DocumentScanner::scan(bytesOf(bytes));
            QVERIFY2(doc.title == "t" && doc.author == "a", qPrintable(QString::number(offset)));
        }
    }

    // A quadratic read of these runs into CTest's time-out.
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
