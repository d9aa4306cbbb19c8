#include "EngineText.h"

#include "document/BackupPath.h"
#include "document/DocumentRewriter.h"
#include "document/DocumentScanner.h"

#include <QTest>

namespace {

const QByteArray kVersion = "2.01a";

// Values given the way a user fills the window: texts, then robots words.
MetaElementSet valuesOf(const QString &description, const QString &keywords, const QString &author,
    const QStringList &robots = {}, bool charset = false)
{
    MetaElementSet values;
    values.setText(TextField::Description, utf8Of(description));
    values.setText(TextField::Keywords, utf8Of(keywords));
    values.setText(TextField::Author, utf8Of(author));
    for (const QString &word : robots) {
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
            if (textOf(MetaElementSet::robotsWord(flag)) == word)
                values.setFlag(flag, true);
        }
    }
    values.setCharset(charset);
    return values;
}

QByteArray save(const QByteArray &page, const MetaElementSet &values)
{
    const auto out = DocumentRewriter::save(bytesOf(page), values, bytesOf(kVersion));
    return out ? QByteArray::fromStdString(*out) : QByteArray("<refused>");
}

QByteArray tail(const char *lineEnd)
{
    return QByteArray(lineEnd) + "<META name=\"distribution\" content=\"global\">" + lineEnd
        + "<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">";
}

} // namespace

class TestDocumentRewriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A page, the values saved into it, and the exact bytes written.
    void rewrite_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QByteArray>("written");
        const QByteArray kw = "<META name=\"keywords\" content=\"new\">";

        QTest::newRow("old keywords line replaced, crlf") << QByteArray(
            "<html>\r\n<head>\r\n<title>T</title>\r\n<meta name=\"keywords\" content=\"old\">\r\n</head>\r\n"
            "<body>x</body>\r\n</html>\r\n") << QStringLiteral("new")
                                                          << QByteArray("<html>\r\n<HEAD>\r\n" + kw
                                                                 + tail("\r\n")
                                                                 + "\r\n<title>T</title>\r\n</HEAD>\r\n"
                                                                   "<body>x</body>\r\n</html>\r\n");
        QTest::newRow("lf page keeps lf")
            << QByteArray("<html>\n<head>\n<meta name=\"keywords\" content=\"old\">\n</head>\n</html>\n")
            << QStringLiteral("new")
            << QByteArray("<html>\n<HEAD>\n" + kw + tail("\n") + "\n</HEAD>\n</html>\n");
        QTest::newRow("cr page keeps cr")
            << QByteArray("<head>\r<meta name=\"keywords\" content=\"old\">\r</head>")
            << QStringLiteral("new") << QByteArray("<HEAD>\r" + kw + tail("\r") + "\r</HEAD>");
        QTest::newRow("head tags in any case written in capitals") << QByteArray(
            "<Head>\n</hEAD>\n") << QString() << QByteArray("<HEAD>" + tail("\n").mid(0) + "\n</HEAD>\n");
        QTest::newRow("head with attributes kept as written")
            << QByteArray("<head profile=\"x\">\n</head>") << QString()
            << QByteArray("<head profile=\"x\">" + tail("\n") + "\n</HEAD>");
        QTest::newRow("tag sharing its line goes alone; text after the head start gets its own line")
            << QByteArray("<head><meta name=\"author\" content=\"x\"><title>T</title></head>") << QString()
            << QByteArray("<HEAD>" + tail("\r\n") + "\r\n<title>T</title></HEAD>");
        QTest::newRow("indented tag takes its whole line")
            << QByteArray(
                   "<head>\n  <title>T</title>\n    <meta name=\"robots\" content=\"noindex\">  \n</head>")
            << QString()
            << QByteArray("<HEAD>" + tail("\n") + "\n  <title>T</title>\n</head>")
                   .replace("</head>", "</HEAD>");
        QTest::newRow("tag spread over lines removed whole")
            << QByteArray("<head>\n<meta name=\"description\"\n      content=\"two\nlines\">\n</head>")
            << QString() << QByteArray("<HEAD>" + tail("\n") + "\n</HEAD>");
        QTest::newRow("generator and other metas stay")
            << QByteArray(
                   "<head>\n<meta name=\"generator\" content=\"x\">\n<meta charset=\"utf-8\">\n</head>")
            << QString()
            << QByteArray("<HEAD>" + tail("\n")
                   + "\n<meta name=\"generator\" content=\"x\">\n<meta charset=\"utf-8\">\n</HEAD>");
        QTest::newRow("old program tags and any content type removed") << QByteArray(
            "<head>\n<META name=\"distribution\" content=\"global\">\n<meta name=\"FORMATTER\" "
            "content=\"old\">\n"
            "<meta name=\"quorn\" content=\"q\">\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=utf-8\">\n</head>") << QString() << QByteArray("<HEAD>" + tail("\n") + "\n</HEAD>");
        QTest::newRow("non-canonical tags stay beside the new ones")
            << QByteArray("<head>\n<meta content=\"x\" name=\"description\">\n<meta name=\"authorship\" "
                          "content=\"y\">\n</head>")
            << QString()
            << QByteArray("<HEAD>" + tail("\n")
                   + "\n<meta content=\"x\" name=\"description\">\n"
                     "<meta name=\"authorship\" content=\"y\">\n</HEAD>");
        QTest::newRow("tags after the head end are never touched")
            << QByteArray("<head></head><body><meta name=\"author\" content=\"b\"><HEAD></body>") << QString()
            << QByteArray("<HEAD>" + tail("\r\n")
                   + "\r\n</HEAD><body><meta name=\"author\" content=\"b\"><HEAD></body>");
        QTest::newRow("no final line end stays that way")
            << QByteArray("<head>\n</head>\n</html>") << QString()
            << QByteArray("<HEAD>" + tail("\n") + "\n</HEAD>\n</html>");
        QTest::newRow("only the first head start tag gets the block")
            << QByteArray("<head>\n<head>\n</head>") << QString()
            << QByteArray("<HEAD>" + tail("\n") + "\n<head>\n</HEAD>");
        QTest::newRow("unfinished managed tag is kept")
            << QByteArray("<head>\n<meta name=\"author\" content=\"x\"") << QString()
            << QByteArray("<HEAD>" + tail("\n") + "\n<meta name=\"author\" content=\"x\"");
        QTest::newRow("managed tag on the first line takes the line end after it")
            << QByteArray("<meta name=\"author\" content=\"x\">\n<head>\n</head>") << QString()
            << QByteArray("<HEAD>" + tail("\n") + "\n</HEAD>");
        QTest::newRow("no head end: managed tags removed to the end")
            << QByteArray("<head>\n<meta name=\"author\" content=\"x\">\n<p>text") << QString()
            << QByteArray("<HEAD>" + tail("\n") + "\n<p>text");
    }
    void rewrite()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, keywords);
        QFETCH(QByteArray, written);
        const MetaElementSet values = valuesOf(QStringLiteral("No description"), keywords, QString());
        QCOMPARE(save(page, values), written);
        // Saving the result again with the same values changes nothing.
        QCOMPARE(save(written, values), written);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("only a header element") << QByteArray("<body><header>x</header></body>");
        QTest::newRow("head end before head start") << QByteArray("</head><head>");
        QTest::newRow("head start never closed") << QByteArray("<head profile=\"x\"");
        QTest::newRow("self-closed head") << QByteArray("<head/>");
    }
    void refused()
    {
        QFETCH(QByteArray, page);
        QVERIFY(!DocumentRewriter::save(bytesOf(page), MetaElementSet(), "2.01a").has_value());
    }

    // What a save writes reads back as the same values.
    void readsBackWhatItWrote_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QStringList>("robots");
        QTest::addColumn<bool>("charset");
        const QByteArray plain
            = "<html>\r\n<head>\r\n<meta name=\"description\" content=\"old\">\r\n</head>\r\n</html>\r\n";
        const QByteArray latin = "<html>\n<head>\n<title>Caf\xE9</title>\n</head>\n</html>\n";
        QTest::newRow("everything set")
            << plain << QStringLiteral("New text") << QStringLiteral("a, b") << QStringLiteral("Ada")
            << QStringList { QStringLiteral("noindex"), QStringLiteral("nofollow") } << true;
        QTest::newRow("placeholders only") << plain << QStringLiteral("Description of your homepage")
                                           << QStringLiteral("Keywords, seperated, with, commas")
                                           << QStringLiteral("Your name goes here") << QStringList() << false;
        QTest::newRow("value with a greater-than sign")
            << plain << QStringLiteral("a > b") << QString() << QString()
            << QStringList { QStringLiteral("noimageclick") } << false;
        QTest::newRow("utf-8 text into an ascii page")
            << plain << QStringLiteral(u"Grüße aus Köln") << QString() << QStringLiteral(u"山田")
            << QStringList() << false;
        QTest::newRow("windows-1252 page keeps its encoding")
            << latin << QStringLiteral(u"Müller – 5 €") << QString() << QString() << QStringList() << false;
    }
    void readsBackWhatItWrote()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, description);
        QFETCH(QString, keywords);
        QFETCH(QString, author);
        QFETCH(QStringList, robots);
        QFETCH(bool, charset);
        const MetaElementSet values = valuesOf(description, keywords, author, robots, charset);
        const QByteArray written = save(page, values);
        const ScannedDocument reread = DocumentScanner::scan(bytesOf(written));
        QCOMPARE(reread.encoding, DocumentScanner::scan(bytesOf(page)).encoding);
        const MetaElementSet back = reread.values();
        for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author }) {
            const std::string &set = values.text(field);
            const std::string expected = MetaElementSet::hasValue(field, set)
                ? set
                : std::string(MetaElementSet::noValueText(field));
            QCOMPARE(textOf(back.text(field)), textOf(expected));
        }
        QCOMPARE(textOf(back.robotsValue()), textOf(values.robotsValue()));
        QCOMPARE(back.charset(), charset);
    }

    void charactersOutsideTheCodePageBecomeReferences()
    {
        const QByteArray page = "<head>\n<title>Caf\xE9</title>\n</head>";
        const QByteArray written = save(page, valuesOf(QStringLiteral(u"Привет €"), QString(), QString()));
        QVERIFY(written.contains("content=\"&#1055;&#1088;&#1080;&#1074;&#1077;&#1090; \x80\""));
    }

    void backupPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("backup");
        QTest::newRow("plain name") << QStringLiteral("/srv/www/index.html")
                                    << QStringLiteral("/srv/www/index.bak");
        QTest::newRow("dotted folder") << QStringLiteral("/srv/site.example/index.html")
                                       << QStringLiteral("/srv/site.example/index.bak");
        QTest::newRow("two dots in the name")
            << QStringLiteral("/srv/page.en.html") << QStringLiteral("/srv/page.bak");
        QTest::newRow("no dot") << QStringLiteral("/srv/README") << QStringLiteral("/srv/README.bak");
        QTest::newRow("relative") << QStringLiteral("index.php3") << QStringLiteral("index.bak");
        QTest::newRow("hidden file") << QStringLiteral("/srv/.draft.html")
                                     << QStringLiteral("/srv/.draft.bak");
        QTest::newRow("page named like its backup")
            << QStringLiteral("/srv/old.bak") << QStringLiteral("/srv/old.bak.bak");
        QTest::newRow("spaces and quotes")
            << QStringLiteral("/tmp/my \"best\" page.htm") << QStringLiteral("/tmp/my \"best\" page.bak");
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
