#include "EngineText.h"
#include "TestHome.h"

#include "document/DocumentRewriter.h"
#include "document/DocumentScanner.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTest>

namespace {

const char *kVersion = "2.01a";

MetaElementSet chosenValues()
{
    MetaElementSet values;
    values.setText(TextField::Description, utf8Of(QStringLiteral(u"Round trip – über alles")));
    values.setText(TextField::Keywords, "alpha, beta");
    values.setText(TextField::Author, "Tess Ter");
    values.setFlag(RobotsFlag::NoFollow, true);
    values.setFlag(RobotsFlag::NoImageIndex, true);
    values.setCharset(true);
    return values;
}

std::optional<QByteArray> save(const QByteArray &page, const MetaElementSet &values)
{
    const auto written = DocumentRewriter::save(bytesOf(page), values, kVersion);
    return written ? std::optional(QByteArray::fromStdString(*written)) : std::nullopt;
}

// The page without managed tags, white space and letter case: what a save must leave alone.
QByteArray unmanagedText(QByteArray bytes)
{
    static const QRegularExpression managed(
        QStringLiteral("<meta "
                       "(name=\"(description|keywords|author|robots|distribution|formatter|quorn)\"|http-"
                       "equiv=\"content-type\")[^>]*>"));
    QString text = QString::fromLatin1(bytes.toLower());
    text.remove(managed);
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text.toLatin1();
}

QByteArray withoutBlock(const QByteArray &written, const MetaElementSet &values)
{
    const ScannedDocument doc = DocumentScanner::scan(bytesOf(written));
    const std::string block = DocumentRewriter::encodedBlock(values, kVersion, doc.lineEnd, doc.encoding);
    QByteArray out = written;
    const qsizetype at = out.indexOf(QByteArray::fromStdString(block));
    if (at >= 0)
        out.remove(at, qsizetype(block.size()));
    return out;
}

bool hasLoneLf(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return true;
    }
    return false;
}

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("crlf") << QByteArray("<head>\r\n<meta name=\"author\" content=\"a\">\r\n</head>\r\n<body>text</body>\r\n");
        QTest::newRow("lf, no final line end") << QByteArray("<head lang=\"en\">\n<meta name=\"robots\" content=\"noindex\">\n</head>");
        QTest::newRow("one line") << QByteArray("<head><title>x</title><meta name=\"keywords\" content=\"k\"></head>");
        QTest::newRow("windows-1252") << QByteArray("<head>\r\n<title>Caf\xE9</title>\r\n</head>\r\n");
        QDirIterator it(QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS")), { QStringLiteral("*.htm*") },
            QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                QTest::newRow(qPrintable(QDir(it.path()).relativeFilePath(path))) << file.readAll();
        }
    }
    void pages()
    {
        QFETCH(QByteArray, page);
        const MetaElementSet values = chosenValues();
        const auto written = save(page, values);
        if (!written) {
            QVERIFY2(!DocumentScanner::scan(bytesOf(page)).hasHead || !page.toLower().contains("<head>"),
                "a page with a plain <head> start tag was refused");
            return;
        }

        // Saving the same values again changes nothing.
        QCOMPARE(save(*written, values).value_or("<refused>"), *written);

        // Reading back gives the values set, then the tags the save leaves but the reader collects.
        const auto leftovers = DocumentScanner::scan(bytesOf(save(page, MetaElementSet()).value()));
        const ScannedDocument reread = DocumentScanner::scan(bytesOf(*written));
        const ScannedDocument original = DocumentScanner::scan(bytesOf(page));
        QCOMPARE(reread.encoding, original.encoding);
        QCOMPARE(
            textOf(reread.description), textOf(values.text(TextField::Description) + leftovers.description));
        QCOMPARE(textOf(reread.keywords), textOf(values.text(TextField::Keywords) + leftovers.keywords));
        QCOMPARE(textOf(reread.author), textOf(values.text(TextField::Author) + leftovers.author));
        QCOMPARE(textOf(reread.robots), textOf(values.robotsValue() + leftovers.robots));
        QVERIFY(reread.contentTypeFound);

        // Nothing but the managed tags changed, and the line ends stay the page's own.
        QCOMPARE(unmanagedText(withoutBlock(*written, values)), unmanagedText(page));
        if (page.contains('\n') && !page.contains('\r'))
            QVERIFY(!written->contains('\r'));
        if (!hasLoneLf(page))
            QVERIFY(!hasLoneLf(*written));
    }
};

QTEST_APPLESS_MAIN(TestRoundTrip)
#include "test_round_trip.moc"
