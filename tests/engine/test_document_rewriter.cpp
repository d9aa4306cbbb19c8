#include "EngineText.h"

#include "BackupPath.h"
#include "DocumentRewriter.h"
#include "DocumentScanner.h"
#include "PageFacts.h"

#include <QTest>

Q_DECLARE_METATYPE(TextField)

namespace {

MetaElementSet withDescription(const QString &description)
{
    MetaElementSet values;
    values.setText(TextField::Description, utf8Of(description));
    return values;
}

QByteArray save(const QByteArray &page, const MetaElementSet &values)
{
    const auto out = DocumentRewriter::save(bytesOf(page), values, "2.01a");
    return out ? QByteArray::fromStdString(*out) : QByteArray("<refused>");
}

// The block for no values, with the page's line end in place of "|".
QByteArray block(const char *written)
{
    return QByteArray(written).replace(
        "#", "|<META name=\"distribution\" content=\"global\">|<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">");
}

} // namespace

class TestDocumentRewriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A page and the exact bytes a save of no values writes ("#" is the block).
    void rewrite_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("crlf, head tags in capitals") << QByteArray("<html>\r\n<Head>\r\n<meta name=\"keywords\" "
                                                                   "content=\"old\">\r\n</hEAD>\r\n</html>\r\n")
                                                     << block("<html>|<HEAD>#|</HEAD>|</html>|") << QByteArray("\r\n");
        QTest::newRow("tag sharing its line goes alone")
            << QByteArray("<head><meta name=\"author\" content=\"x\"><title>T</title></head>")
            << block("<HEAD>#|<title>T</title></HEAD>") << QByteArray("\r\n");
        QTest::newRow("indented tag takes its whole line")
            << QByteArray("<head>\n  <title>T</title>\n    <meta name=\"robots\" content=\"noindex\">  \n</head>")
            << block("<HEAD>#|  <title>T</title>|</HEAD>") << QByteArray("\n");
        QTest::newRow("tag spread over lines removed whole")
            << QByteArray("<head>\n<meta name=\"description\"\n      content=\"two\nlines\">\n</head>")
            << block("<HEAD>#|</HEAD>") << QByteArray("\n");
        QTest::newRow("old program tags go, other and non-canonical tags stay")
            << QByteArray("<head>\n<meta name=\"FORMATTER\" content=\"old\">\n<meta name=\"quorn\" content=\"q\">\n"
                          "<meta name=\"generator\" content=\"x\">\n<meta content=\"x\" name=\"description\">\n</head>")
            << block("<HEAD>#|<meta name=\"generator\" content=\"x\">|<meta content=\"x\" name=\"description\">|</HEAD>")
            << QByteArray("\n");
        QTest::newRow("tags after the head end are never touched")
            << QByteArray("<head></head><body><meta name=\"author\" content=\"b\"><HEAD></body>")
            << block("<HEAD>#|</HEAD><body><meta name=\"author\" content=\"b\"><HEAD></body>") << QByteArray("\r\n");
        QTest::newRow("only the first head start tag gets the block")
            << QByteArray("<head>\n<head>\n</head>") << block("<HEAD>#|<head>|</HEAD>") << QByteArray("\n");
        QTest::newRow("managed tag before the head start stays")
            << QByteArray("<meta name=\"author\" content=\"x\">\n<head>\n</head>")
            << block("<meta name=\"author\" content=\"x\">|<HEAD>#|</HEAD>") << QByteArray("\n");
        QTest::newRow("head start tag in an earlier comment is passed over")
            << QByteArray("<!-- <head> -->\n<head>\n<meta name=\"author\" content=\"x\">\n</head>")
            << block("<!-- <head> -->|<HEAD>#|</HEAD>") << QByteArray("\n");
        QTest::newRow("head end before the head start ends nothing")
            << QByteArray("<!-- </head> -->\n</head><head>\n<meta name=\"author\" content=\"x\">\n</head>")
            << block("<!-- </head> -->|</head><HEAD>#|</HEAD>") << QByteArray("\n");
        QTest::newRow("tags in a comment inside the head stay")
            << QByteArray("<head>\n<!--\n<meta name=\"author\" content=\"x\">\n-->\n</head>")
            << block("<HEAD>#|<!--|<meta name=\"author\" content=\"x\">|-->|</HEAD>") << QByteArray("\n");
        QTest::newRow("a value holding markup goes whole")
            << QByteArray("<head>\n<meta name=\"description\" content=\"a<b> \"q\"\">\n</head>")
            << block("<HEAD>#|</HEAD>") << QByteArray("\n");
        QTest::newRow("a tag whose removal would open another stays, unread")
            << QByteArray("<head>\n<<meta name=\"author\" content=\"x\">meta name=\"keywords\" content=\"k\">\n</head>")
            << block("<HEAD>#|<<meta name=\"author\" content=\"x\">meta name=\"keywords\" content=\"k\">|</HEAD>")
            << QByteArray("\n");
        QTest::newRow("a tag whose removal would finish an open tag name stays, unread")
            << QByteArray("<head>\n<meta<meta name=\"author\" content=\"x\">\n<heta charset=\"koi8-r\">\n</head>")
            << block("<HEAD>#|<meta<meta name=\"author\" content=\"x\">|<heta charset=\"koi8-r\">|</HEAD>")
            << QByteArray("\n");
        QTest::newRow("a tag glued to a tag name in lower case stays, unread")
            << QByteArray("<head>\n<p<meta name=\"author\" content=\"x\">\n</head>")
            << block("<HEAD>#|<p<meta name=\"author\" content=\"x\">|</HEAD>") << QByteArray("\n");
        QTest::newRow("a tag glued to a tag name in capitals stays, unread")
            << QByteArray("<head>\n<P<meta name=\"author\" content=\"x\">\n</head>")
            << block("<HEAD>#|<P<meta name=\"author\" content=\"x\">|</HEAD>") << QByteArray("\n");
        QTest::newRow("a tag glued to a tag name with a digit stays, unread")
            << QByteArray("<head>\n<h1<meta name=\"author\" content=\"x\">\n</head>")
            << block("<HEAD>#|<h1<meta name=\"author\" content=\"x\">|</HEAD>") << QByteArray("\n");
        QTest::newRow("a tag glued to text goes, the text stays")
            << QByteArray("<head>\nx<meta name=\"author\" content=\"x\">\n</head>")
            << block("<HEAD>#|x|</HEAD>") << QByteArray("\n");
        QTest::newRow("end tag with attributes stays as written")
            << QByteArray("<head>\n</head >") << block("<HEAD>#|</head >") << QByteArray("\n");
        QTest::newRow("no head end: managed tags removed to the end, unfinished one kept")
            << QByteArray("<head>\n<meta name=\"author\" content=\"x\">\n<p><meta name=\"author\" content=\"y\"")
            << block("<HEAD>#|<p><meta name=\"author\" content=\"y\"") << QByteArray("\n");
    }
    void rewrite()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, lineEnd);
        written.replace("|", lineEnd);
        const MetaElementSet values = withDescription(QStringLiteral("No description"));
        QCOMPARE(save(page, values), written);
        QCOMPARE(save(written, values), written);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("only a header element") << QByteArray("<body><header>x</header></body>");
        QTest::newRow("head start only inside a comment") << QByteArray("<!-- <head> --><body>");
        QTest::newRow("head start tag that never ends") << QByteArray("<head profile=\"x>");
        QTest::newRow("self-closed head") << QByteArray("<head/>");
    }
    void refused()
    {
        QFETCH(QByteArray, page);
        QCOMPARE(save(page, MetaElementSet()), QByteArray("<refused>"));
    }

    // Values are attribute text: whatever is typed comes back from the page unchanged.
    void valuesAsAttributeText_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QByteArray>("tag");
        QTest::newRow("markup") << QStringLiteral("a<b> & c") << QByteArray("content=\"a&lt;b&gt; &amp; c\"");
        QTest::newRow("double and single quotes")
            << QStringLiteral("say \"hi\" 'now'") << QByteArray("content=\"say &quot;hi&quot; 'now'\"");
        QTest::newRow("text that looks like a reference")
            << QStringLiteral("&amp; &#39;") << QByteArray("content=\"&amp;amp; &amp;#39;\"");
        QTest::newRow("blanks at both ends kept") << QStringLiteral("  x  ") << QByteArray("content=\"  x  \"");
    }
    void valuesAsAttributeText()
    {
        QFETCH(QString, description);
        QFETCH(QByteArray, tag);
        const QByteArray page("<html><head>\n<title>T</title>\n</head></html>");
        QByteArray written = page;
        for (int save = 0; save < 4; ++save) {
            written = ::save(written, withDescription(description));
            QCOMPARE(written.count(tag), 1);
            QCOMPARE(textOf(DocumentScanner::scan(bytesOf(written)).description), description);
        }
    }

    // The charset tag never contradicts the saved bytes, and values are written in the
    // encoding the saved page is read in.
    void charsetAndEncoding_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<TextField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("charset");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray iso = "<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">";
        const QByteArray utf8 = "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">";
        QTest::newRow("ASCII page keeps ISO-8859-1") << QByteArray("<head>\n</head>") << TextField::Author << "Ada" << true << iso;
        QTest::newRow("UTF-8 page with non-ASCII declares UTF-8")
            << QByteArray("<head>\n<title>Caf\xC3\xA9</title></head>") << TextField::Author << "Ada" << true << utf8;
        QTest::newRow("a non-ASCII value makes an ASCII page UTF-8")
            << QByteArray("<head>\n</head>") << TextField::Author << QStringLiteral(u"Jürgen") << true << QByteArray(utf8 + "\n<META name=\"author\" content=\"J\xC3\xBCrgen\">");
        QTest::newRow("a non-ASCII description alone makes an ASCII page UTF-8")
            << QByteArray("<head>\n</head>") << TextField::Description << QStringLiteral(u"Crème") << true
            << QByteArray(utf8 + "\n<META name=\"description\" content=\"Cr\xC3\xA8me\">");
        QTest::newRow("a non-ASCII keyword alone makes an ASCII page UTF-8")
            << QByteArray("<head>\n</head>") << TextField::Keywords << QStringLiteral(u"café") << true
            << QByteArray(utf8 + "\n<META name=\"keywords\" content=\"caf\xC3\xA9\">");
        QTest::newRow("Windows-1252 page stays ISO-8859-1")
            << QByteArray("<head>\n<title>Caf\xE9</title></head>") << TextField::Author << QStringLiteral(u"Jürgen") << true
            << QByteArray(iso + "\n<META name=\"author\" content=\"J\xFCrgen\">");
        QTest::newRow("declared UTF-8 with a stray byte is written in UTF-8")
            << QByteArray("<head>\n<meta charset=\"utf-8\">\n<title>\xFF</title></head>") << TextField::Author << QStringLiteral(u"Jürgen")
            << false << QByteArray("content=\"J\xC3\xBCrgen\"");
        QTest::newRow("characters Windows-1252 cannot hold become references")
            << QByteArray("<head>\n<title>Caf\xE9</title>\n</head>") << TextField::Description << QStringLiteral(u"Привет €")
            << false << QByteArray("content=\"&#1055;&#1088;&#1080;&#1074;&#1077;&#1090; \x80\"");
        QTest::newRow("a declaration on a tag the save removes does not count")
            << QByteArray("<head>\n<meta name=\"author\" content=\"x\" charset=\"utf-8\">\n<title>\xFF</title></head>")
            << TextField::Author << QStringLiteral(u"Jürgen") << false << QByteArray("content=\"J\xFCrgen\"");
        QTest::newRow("a dropped declaration leaves the bytes to decide")
            << QByteArray("<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n</head>")
            << TextField::Author << QStringLiteral(u"Ã©") << false << QByteArray("content=\"\xC3\x83\xC2\xA9\"");
    }
    void charsetAndEncoding()
    {
        QFETCH(QByteArray, page);
        QFETCH(TextField, field);
        QFETCH(QString, text);
        QFETCH(bool, charset);
        QFETCH(QByteArray, expected);
        MetaElementSet values;
        values.setText(field, utf8Of(text));
        values.setCharset(charset);
        const QByteArray written = save(page, values);
        QVERIFY2(written.contains(expected), written.constData());
        const ScannedDocument reread = DocumentScanner::scan(bytesOf(written));
        QCOMPARE(textOf(reread.values().text(field)), text);
        QCOMPARE(reread.charsetTagFound, charset);
        QCOMPARE(save(written, values), written);
    }

    // A browser's order: a UTF-8 byte order mark, then the declaration in the HEAD (where a
    // UTF-16 label means UTF-8), then the bytes. The title reads as the browser shows it and a
    // saved value is written so that the browser shows what was typed.
    void encodingAsABrowserDecides_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("browserReadsUtf8");
        QTest::addColumn<QString>("title");
        const QByteArray bom = "\xEF\xBB\xBF";
        QTest::newRow("mark outranks a Latin-1 charset")
            << QByteArray(bom + "<head><meta charset=\"ISO-8859-1\"><title>Caf\xC3\xA9</title></head>") << true << QStringLiteral(u"Café");
        QTest::newRow("mark outranks a Latin-1 Content-Type")
            << QByteArray(bom + "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"><title>Caf\xC3\xA9</title></head>")
            << true << QStringLiteral(u"Café");
        QTest::newRow("mark with a stray byte is still UTF-8")
            << QByteArray(bom + "<head><title>Caf\xC3\xA9</title></head><p>\xFF") << true << QStringLiteral(u"Café");
        QTest::newRow("mark without a HEAD end")
            << QByteArray(bom + "<head><meta charset=latin1><title>Caf\xC3\xA9</title>\xFF") << true << QStringLiteral(u"Café");
        QTest::newRow("mark not at the start is text")
            << QByteArray("<head>" + bom + "<meta charset=\"ISO-8859-1\"><title>Caf\xE9</title></head>") << false << QStringLiteral(u"Café");
        QTest::newRow("mark cut short is text")
            << QByteArray("\xEF\xBB<head><title>Caf\xE9</title></head>") << false << QStringLiteral(u"Café");
        QTest::newRow("utf-16 means UTF-8")
            << QByteArray("<head><meta charset=\"utf-16\"><title>Caf\xC3\xA9</title></head><p>\xFF") << true << QStringLiteral(u"Café");
        QTest::newRow("UTF-16LE means UTF-8")
            << QByteArray("<head><meta charset=\"UTF-16LE\"><title>Caf\xC3\xA9</title></head><p>\xFF") << true << QStringLiteral(u"Café");
        QTest::newRow("unquoted utf-16be means UTF-8")
            << QByteArray("<head><meta charset=utf-16be><title>Caf\xC3\xA9</title></head><p>\xFF") << true << QStringLiteral(u"Café");
        QTest::newRow("utf-16 outside the HEAD counts for nothing")
            << QByteArray("<head><title>Caf\xE9</title></head><meta charset=\"utf-16\">") << false << QStringLiteral(u"Café");
        QTest::newRow("utf-32 is no UTF-16 label")
            << QByteArray("<head><meta charset=\"utf-32\"><title>Caf\xE9</title></head>") << false << QStringLiteral(u"Café");
        QTest::newRow("Content-Type's bare charset ends with the value")
            << QByteArray("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"><title>Caf\xC3\xA9</title></head>") << false << QStringLiteral(u"CafÃ©");
        QTest::newRow("Content-Type's charset ends at a semicolon")
            << QByteArray("<head><meta http-equiv=content-type content='text/html;charset=latin1;q=1'><title>Caf\xC3\xA9</title></head>") << false << QStringLiteral(u"CafÃ©");
        QTest::newRow("Content-Type's charset quoted inside the value")
            << QByteArray("<head><meta http-equiv=\"Content-Type\" content='text/html; charset = \"latin1\"'><title>Caf\xC3\xA9</title></head>") << false << QStringLiteral(u"CafÃ©");
        QTest::newRow("declared Latin-1 without a mark")
            << QByteArray("<head><meta charset=\"ISO-8859-1\"><title>Caf\xC3\xA9</title></head>") << false << QStringLiteral(u"CafÃ©");
    }
    void encodingAsABrowserDecides()
    {
        QFETCH(QByteArray, page);
        QFETCH(bool, browserReadsUtf8);
        QFETCH(QString, title);
        const Encoding browser = browserReadsUtf8 ? Encoding::Utf8 : Encoding::Windows1252;
        QCOMPARE(textOf(DocumentScanner::scan(bytesOf(page)).title), title);
        QCOMPARE(PageFacts::of(bytesOf(page)).charset.readAs, browser);
        for (const bool charset : { false, true }) {
            MetaElementSet values = withDescription(QStringLiteral(u"Zoë"));
            values.setCharset(charset);
            const QByteArray written = save(page, values);
            const QByteArray zoe = browserReadsUtf8 ? QByteArray("Zo\xC3\xAB") : QByteArray("Zo\xEB");
            QVERIFY2(written.contains(QByteArray("content=\"" + zoe + "\"")), written.constData());
            QCOMPARE(written.startsWith("\xEF\xBB\xBF"), page.startsWith("\xEF\xBB\xBF"));
            if (charset)
                QCOMPARE(written.contains("charset=UTF-8"), browserReadsUtf8);
            const ScannedDocument reread = DocumentScanner::scan(bytesOf(written));
            QCOMPARE(textOf(reread.description), QStringLiteral(u"Zoë"));
            QCOMPARE(textOf(reread.title), title);
        }
    }

    void backupPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("backup");
        QTest::newRow("two dots in the name") << "/srv/page.en.html" << "/srv/page.bak";
        QTest::newRow("no dot") << "/srv/README" << "/srv/README.bak";
        QTest::newRow("a name without a folder") << "page.html" << "page.bak";
        QTest::newRow("page named like its backup") << "/srv/old.bak" << "/srv/old.bak.bak";
        QTest::newRow("hidden page: its leading dot is its name's") << "/srv/.draft.html" << "/srv/.draft.bak";
        QTest::newRow("hidden, no other dot") << "/srv/.profile" << "/srv/.profile.bak";
        QTest::newRow("dotted folder") << "/srv/site.example/index.html" << "/srv/site.example/index.bak";
    }
    void backupPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, backup);
        QCOMPARE(textOf(BackupPath::forFile(utf8Of(path))), backup);
    }
};

QTEST_APPLESS_MAIN(TestDocumentRewriter)
#include "test_document_rewriter.moc"
