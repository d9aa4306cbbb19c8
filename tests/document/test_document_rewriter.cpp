#include "EngineText.h"

#include "document/BackupPath.h"
#include "document/DocumentRewriter.h"

#include <QTest>

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
        QTest::newRow("managed tag before the head start goes with its line end")
            << QByteArray("<meta name=\"author\" content=\"x\">\n<head>\n</head>") << block("<HEAD>#|</HEAD>")
            << QByteArray("\n");
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
        QTest::newRow("head end before head start") << QByteArray("</head><head>");
        QTest::newRow("self-closed head") << QByteArray("<head/>");
    }
    void refused()
    {
        QFETCH(QByteArray, page);
        QCOMPARE(save(page, MetaElementSet()), QByteArray("<refused>"));
    }

    void charactersOutsideTheCodePageBecomeReferences()
    {
        const QByteArray written = save("<head>\n<title>Caf\xE9</title>\n</head>", withDescription(QStringLiteral(u"Привет €")));
        QVERIFY(written.contains("content=\"&#1055;&#1088;&#1080;&#1074;&#1077;&#1090; \x80\""));
    }

    void backupPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("backup");
        QTest::newRow("two dots in the name") << "/srv/page.en.html" << "/srv/page.bak";
        QTest::newRow("no dot") << "/srv/README" << "/srv/README.bak";
        QTest::newRow("page named like its backup") << "/srv/old.bak" << "/srv/old.bak.bak";
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
