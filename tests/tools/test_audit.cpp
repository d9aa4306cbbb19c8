#include "TestHome.h"

#include "TsmetaRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTextStream>

namespace {

using Run = TsmetaRun;

Run tsmeta(const QStringList &arguments)
{
    return runTsmeta(arguments);
}

QByteArray page(const QByteArray &head)
{
    return "<html>\n<head>\n" + head + "\n</head>\n<body><p>Bread</p></body>\n</html>\n";
}

// A small site: two pages share a description, one has none and a title too wide for a
// result, one in a subfolder has a keywords tag the program does not read and a long
// description, one has no HEAD; beside them a text file and a link back up the tree.
struct Site
{
    TestHome home;
    QString root = home.path() + QStringLiteral("/site");

    Site()
    {
        home.write(QStringLiteral("site/index.html"),
            page("<title>Home</title>\n<meta name=\"description\" content=\"Fresh bread daily\">"));
        home.write(QStringLiteral("site/about.HTM"),
            page("<title>About us</title>\n<meta name=\"description\" content=\"Fresh  bread\r\ndaily\">"));
        home.write(QStringLiteral("site/contact.php"), page("<title>" + QByteArray(40, 'W') + "</title>"));
        home.write(QStringLiteral("site/news/old.shtml"),
            page("<meta name=\"description\" content=\"Old news " + QByteArray(120, 'W')
                + "\">\n<meta content=\"bread\" name=\"keywords\">"));
        home.write(QStringLiteral("site/broken.html"), "<html><body>No head here</body></html>");
        home.write(QStringLiteral("site/notes.txt"), page("<title>Notes</title>"));
        QFile::link(root, root + QStringLiteral("/news/loop"));
    }

    QString path(const char *relative) const { return root + QLatin1Char('/') + QLatin1String(relative); }
};

QStringList warningKinds(const QJsonObject &line)
{
    QStringList kinds;
    for (const QJsonValue &warning : line.value(QStringLiteral("warnings")).toArray()) {
        const QJsonObject object = warning.toObject();
        kinds << object.value(QStringLiteral("kind")).toString() + QLatin1Char('/')
                + object.value(QStringLiteral("target")).toString();
        if (object.value(QStringLiteral("message")).toString().isEmpty())
            kinds << QStringLiteral("<no message>");
    }
    return kinds;
}

QString pathOf(const QJsonObject &line)
{
    return line.value(QStringLiteral("path")).toString();
}

} // namespace

class TestAudit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void folderIsSearchedForPagesInOrder()
    {
        const Site site;
        const Run run = tsmeta({ QStringLiteral("audit"), site.root });
        QCOMPARE(run.status, 1);
        QStringList paths;
        for (qsizetype i = 0; i + 1 < run.lines.size(); ++i)
            paths << pathOf(run.lines.at(i));
        const QStringList expected = { site.path("about.HTM"), site.path("broken.html"),
            site.path("contact.php"), site.path("index.html"), site.path("news/old.shtml") };
        QCOMPARE(paths, expected);
    }

    void pageLines_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("shared description") << QStringLiteral(
            "index.html") << QStringList { QStringLiteral("description-shared/description") };
        QTest::newRow("shared, apart from white space") << QStringLiteral(
            "about.HTM") << QStringList { QStringLiteral("description-shared/description") };
        QTest::newRow("no description") << QStringLiteral("contact.php")
                                        << QStringList { QStringLiteral("description-missing/description") };
        QTest::newRow("keywords tag not read")
            << QStringLiteral("news/old.shtml") << QStringList { QStringLiteral("unread-tag-form/keywords") };
    }

    void pageLines()
    {
        QFETCH(QString, relative);
        QFETCH(QStringList, warnings);
        const Site site;
        const Run run = tsmeta({ QStringLiteral("audit"), site.root });
        const auto line
            = std::find_if(run.lines.cbegin(), run.lines.cend(), [&](const QJsonObject &candidate) {
                  return pathOf(candidate) == site.root + QLatin1Char('/') + relative;
              });
        QVERIFY(line != run.lines.cend());
        QCOMPARE(line->value(QStringLiteral("ok")).toBool(), true);
        QVERIFY(!line->contains(QStringLiteral("error")));
        QCOMPARE(warningKinds(*line), warnings);
    }

    void lineHoldsValuesAndWidths()
    {
        const Site site;
        const Run run
            = tsmeta({ QStringLiteral("audit"), site.path("index.html"), site.path("contact.php") });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.size(), 3);
        const QJsonObject index = run.lines.at(0);
        QCOMPARE(index.value(QStringLiteral("title")).toString(), QStringLiteral("Home"));
        QCOMPARE(index.value(QStringLiteral("description")).toString(), QStringLiteral("Fresh bread daily"));
        QCOMPARE(index.value(QStringLiteral("keywords")).toString(), QStringLiteral("No, keywords"));
        QCOMPARE(index.value(QStringLiteral("author")).toString(), QStringLiteral("No author"));
        QCOMPARE(index.value(QStringLiteral("robots")).toString(), QString());
        // H, o, m, e: 1479 + 1139 + 1706 + 1139 units at 20 px to the 2048-unit em.
        QCOMPARE(index.value(QStringLiteral("titlePixels")).toDouble(), 53.3);
        // "Fresh bread daily": 15823 units at 14 px.
        QCOMPARE(index.value(QStringLiteral("descriptionPixels")).toDouble(), 108.2);
        // Alone in this run, the description is no longer shared.
        QCOMPARE(warningKinds(index), QStringList());
        const QJsonObject contact = run.lines.at(1);
        QCOMPARE(contact.value(QStringLiteral("description")).toString(), QStringLiteral("No description"));
        QCOMPARE(contact.value(QStringLiteral("descriptionPixels")).toDouble(), 0.0);
        QCOMPARE(contact.value(QStringLiteral("titlePixels")).toDouble(), 755.1);
    }

    void unreadablePagesSayWhy_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("error");
        QTest::newRow("no HEAD") << QStringLiteral("broken.html")
                                 << QStringLiteral("No HEAD section in file...");
        QTest::newRow("missing file")
            << QStringLiteral("gone.html") << QStringLiteral("No such file or directory");
    }

    void unreadablePagesSayWhy()
    {
        QFETCH(QString, relative);
        QFETCH(QString, error);
        const Site site;
        const QString path = site.root + QLatin1Char('/') + relative;
        const Run run = tsmeta({ QStringLiteral("audit"), path });
        QCOMPARE(run.status, 1);
        QCOMPARE(run.lines.size(), 2);
        const QJsonObject expected { { QStringLiteral("path"), path }, { QStringLiteral("ok"), false },
            { QStringLiteral("error"), error } };
        QCOMPARE(run.lines.first(), expected);
    }

    void fileNamedOnTheCommandLineIsReadWhateverItsExtension()
    {
        const Site site;
        const Run run = tsmeta({ QStringLiteral("audit"), site.path("notes.txt") });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.first().value(QStringLiteral("title")).toString(), QStringLiteral("Notes"));
    }

    void summaryCountsTheSite()
    {
        const Site site;
        const Run run = tsmeta({ QStringLiteral("audit"), site.root });
        const QJsonObject duplicate { { QStringLiteral("description"),
                                          QStringLiteral("Fresh  bread\r\ndaily") },
            { QStringLiteral("pages"), QJsonArray { site.path("about.HTM"), site.path("index.html") } } };
        const QJsonObject warnings { { QStringLiteral("description-shared"), 2 },
            { QStringLiteral("description-missing"), 1 }, { QStringLiteral("unread-tag-form"), 1 } };
        const QJsonObject expected { { QStringLiteral("summary"),
            QJsonObject { { QStringLiteral("pages"), 5 }, { QStringLiteral("unreadable"), 1 },
                { QStringLiteral("missingTitles"), 1 }, { QStringLiteral("missingDescriptions"), 1 },
                { QStringLiteral("duplicateDescriptions"), QJsonArray { duplicate } },
                { QStringLiteral("titlesTooLong"), 1 }, { QStringLiteral("descriptionsTooLong"), 1 },
                { QStringLiteral("warnings"), warnings } } } };
        QCOMPARE(run.lines.last(), expected);
    }

    void tableShowsTheSameInWords()
    {
        const Site site;
        const Run run = tsmeta(
            { QStringLiteral("audit"), QStringLiteral("--format"), QStringLiteral("table"), site.root });
        QCOMPARE(run.status, 1);
        const QStringList rows = run.out.split(QLatin1Char('\n'));
        const auto rowOf = [&](const char *relative) {
            const QString path = site.path(relative);
            for (const QString &row : rows) {
                if (row.startsWith(path + QLatin1Char(' ')))
                    return row.mid(path.size()).simplified();
            }
            return QString();
        };
        QCOMPARE(rowOf("index.html"), QStringLiteral("53.3 108.2 1 (description-shared)"));
        QCOMPARE(rowOf("contact.php"), QStringLiteral("755.1! 0.0 1 (description-missing)"));
        QCOMPARE(rowOf("broken.html"), QStringLiteral("unreadable: No HEAD section in file..."));
        QVERIFY(run.out.contains(QStringLiteral("5 pages, 1 unreadable.")));
        QVERIFY(run.out.contains(QStringLiteral("2 pages share the description")));
        QVERIFY(!run.out.contains(QStringLiteral("notes.txt")));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no path") << QStringList { QStringLiteral("audit") };
        QTest::newRow("unknown format") << QStringList { QStringLiteral("audit"), QStringLiteral("--format"),
            QStringLiteral("xml"), QStringLiteral("x.html") };
        QTest::newRow("values given") << QStringList { QStringLiteral("audit"), QStringLiteral("--author"),
            QStringLiteral("Ann"), QStringLiteral("x.html") };
        QTest::newRow("format for read") << QStringList { QStringLiteral("read"), QStringLiteral("--format"),
            QStringLiteral("table"), QStringLiteral("x.html") };
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        const Run run = tsmeta(arguments);
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.isEmpty());
    }
};

QTEST_MAIN(TestAudit)
#include "test_audit.moc"
