#include "TestHome.h"

#include "TsmetaRun.h"

#include "AuditCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray page(const QByteArray &head) { return "<html>\n<head>\n" + head + "\n</head>\n<body><p>Bread</p></body>\n</html>\n"; }

// Two pages share a description (apart from white space), one of them with a robots tag in
// its body; one has none and a title too wide for a result, one in a subfolder has a
// keywords tag the program does not read and a long description, one has no HEAD; beside
// them a text file and a link back up the tree.
struct Site
{
    TestHome home;
    QString root = home.path() + u"/site"_s;
    Site()
    {
        home.write(u"site/index.html"_s, page("<title>Home</title>\n<meta name=\"description\" content=\"Fresh bread daily\">\n"
                                               "</head><body><meta name=\"robots\" content=\"noindex\">"));
        home.write(u"site/about.HTM"_s, page("<title>About</title>\n<meta name=\"description\" content=\"Fresh  bread\r\ndaily\">"));
        home.write(u"site/contact.php"_s, page("<title>" + QByteArray(40, 'W') + "</title>"));
        home.write(u"site/news/old.shtml"_s,
            page("<meta name=\"description\" content=\"Old news " + QByteArray(120, 'W') + "\">\n<meta content=\"bread\" name=\"keywords\">"));
        home.write(u"site/broken.html"_s, "<html><body>No head here</body></html>");
        home.write(u"site/notes.txt"_s, page("<title>Notes</title>"));
        QFile::link(root, root + u"/news/loop"_s);
    }
    QString path(const char *relative) const { return root + u'/' + QLatin1String(relative); }
};

QStringList warningKinds(const QJsonObject &line)
{
    QStringList kinds;
    for (const QJsonValue &warning : line.value("warnings").toArray())
        kinds << warning["kind"].toString() + u'/' + warning["target"].toString()
                + (warning["message"].toString().isEmpty() ? u" <no message>"_s : QString());
    return kinds;
}

} // namespace

class TestAudit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // However many threads read the pages, the lines come in page order.
    void folderIsSearchedForPagesInOrder_data()
    {
        QTest::addColumn<QStringList>("jobs");
        QTest::newRow("one per core") << QStringList();
        QTest::newRow("one thread") << QStringList { "--jobs", "1" };
        QTest::newRow("more threads than pages") << QStringList { "--jobs", "7" };
    }
    void folderIsSearchedForPagesInOrder()
    {
        QFETCH(QStringList, jobs);
        const Site site;
        const TsmetaRun run = runTsmeta(QStringList { "audit" } + jobs + QStringList { site.root });
        QCOMPARE(run.status, 1);
        QStringList paths;
        for (const QJsonObject &line : run.lines)
            if (line.contains("path"))
                paths << line["path"].toString();
        QCOMPARE(paths, (QStringList { site.path("about.HTM"), site.path("broken.html"), site.path("contact.php"),
                            site.path("index.html"), site.path("news/old.shtml") }));
        const auto warningsOf = [&](const char *relative) {
            for (const QJsonObject &line : run.lines)
                if (line["path"] == site.path(relative) && line["ok"].toBool())
                    return warningKinds(line);
            return QStringList { u"<no line>"_s };
        };
        QCOMPARE(warningsOf("about.HTM"), QStringList { u"description-shared/description"_s });
        QCOMPARE(warningsOf("index.html"),
            (QStringList { u"outside-head/robots"_s, u"description-shared/description"_s }));
        QCOMPARE(warningsOf("contact.php"), QStringList { u"description-missing/description"_s });
        QCOMPARE(warningsOf("news/old.shtml"), QStringList { u"unread-tag-form/keywords"_s });
        QCOMPARE(run.lines.value(1), (QJsonObject { { "path", site.path("broken.html") }, { "ok", false }, { "error", "No HEAD section in file..." } }));

        const QJsonObject duplicate { { "description", "Fresh  bread\r\ndaily" },
            { "pages", QJsonArray { site.path("about.HTM"), site.path("index.html") } } };
        const QJsonObject warnings { { "description-shared", 2 }, { "description-missing", 1 }, { "unread-tag-form", 1 },
            { "outside-head", 1 } };
        QCOMPARE(run.lines.last(), (QJsonObject { { "summary", QJsonObject { { "pages", 5 }, { "unreadable", 1 },
            { "missingTitles", 1 }, { "missingDescriptions", 1 }, { "duplicateDescriptions", QJsonArray { duplicate } },
            { "titlesTooLong", 1 }, { "descriptionsTooLong", 1 }, { "warnings", warnings } } } }));
    }

    void lineHoldsValuesAndWidths()
    {
        const Site site;
        const TsmetaRun run = runTsmeta({ "audit", site.path("index.html"), site.path("contact.php"), site.path("notes.txt") });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.size(), 4);
        const QJsonObject index = run.lines.at(0);
        QCOMPARE(index["description"].toString(), u"Fresh bread daily"_s);
        QCOMPARE(index["keywords"].toString(), u"No, keywords"_s);
        // H, o, m, e: 1479 + 1139 + 1706 + 1139 units at 20 px to the 2048-unit em.
        QCOMPARE(index["titlePixels"].toDouble(), 53.3);
        // "Fresh bread daily": 15823 units at 14 px.
        QCOMPARE(index["descriptionPixels"].toDouble(), 108.2);
        // Alone in this run, the description is no longer shared.
        QCOMPARE(warningKinds(index), QStringList { u"outside-head/robots"_s });
        QCOMPARE(run.lines.at(1)["descriptionPixels"].toDouble(), 0.0);
        QCOMPARE(run.lines.at(1)["titlePixels"].toDouble(), 755.1);
        // A file named on the command line is read whatever its extension.
        QCOMPARE(run.lines.at(2)["title"].toString(), u"Notes"_s);
    }

    void tableShowsTheSameInWords()
    {
        const Site site;
        const TsmetaRun run = runTsmeta({ "audit", "--format", "table", site.root });
        QCOMPARE(run.status, 1);
        const auto rowOf = [&](const char *relative) {
            for (const QString &row : run.out.split(u'\n'))
                if (row.startsWith(site.path(relative) + u' '))
                    return row.mid(site.path(relative).size()).simplified();
            return QString();
        };
        QCOMPARE(rowOf("index.html"), u"53.3 108.2 2 (outside-head, description-shared)"_s);
        QCOMPARE(rowOf("contact.php"), u"755.1! 0.0 1 (description-missing)"_s);
        QCOMPARE(rowOf("broken.html"), u"unreadable: No HEAD section in file..."_s);
        QVERIFY(run.out.contains(u"5 pages, 1 unreadable."_s));
        QVERIFY(run.out.contains(u"2 pages share the description"_s));
    }

    // The pages below a folder come as their paths sort, read a folder at a time.
    void pagesComeInPathOrder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("a page before the folder of its name")
            << QStringList { "b/x.html", "b.html", "a/z.htm", "a b/y.php" }
            << QStringList { "a b/y.php", "a/z.htm", "b.html", "b/x.html" };
        QTest::newRow("only page extensions, in any case, hidden entries skipped")
            << QStringList { "notes.txt", "INDEX.HTML", ".hidden.html", ".git/a.html", "c.ssi", "c.phtml~" }
            << QStringList { "INDEX.HTML", "c.ssi" };
        QTest::newRow("deep before shallow when the path says so")
            << QStringList { "z.html", "a/b/c/d.shtml", "a/b.asp" } << QStringList { "a/b.asp", "a/b/c/d.shtml", "z.html" };
    }
    void pagesComeInPathOrder()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, pages);
        TestHome home;
        for (const QString &file : files)
            QVERIFY(!home.write(u"site/"_s + file, "<head>").isEmpty());
        QStringList expected;
        for (const QString &page : pages)
            expected << home.path() + u"/site/"_s + page;
        QCOMPARE(AuditCommand::pagesIn({ home.path() + u"/site"_s }), expected);
    }

    // Links are followed to the page or folder they name; what is neither a folder nor a
    // regular file (a broken link, a pipe) is passed over.
    void linksAreFollowedOtherEntriesSkipped()
    {
        TestHome home;
        const QString site = home.path() + u"/site"_s;
        const QString elsewhere = home.path() + u"/elsewhere"_s;
        home.write(u"elsewhere/page.html"_s, "<head>");
        home.write(u"elsewhere/deep/inner.htm"_s, "<head>");
        home.write(u"site/a.html"_s, "<head>");
        QVERIFY(QFile::link(elsewhere + u"/page.html"_s, site + u"/linked.html"_s));
        QVERIFY(QFile::link(elsewhere + u"/deep"_s, site + u"/folder"_s));
        QVERIFY(QFile::link(elsewhere + u"/missing.html"_s, site + u"/broken.html"_s));
        QCOMPARE(mkfifo(QFile::encodeName(site + u"/pipe.html"_s).constData(), 0600), 0);
        QCOMPARE(AuditCommand::pagesIn({ site }),
            (QStringList { site + u"/a.html"_s, site + u"/folder/inner.htm"_s, site + u"/linked.html"_s }));
    }

    // The lists of pages sharing a description are gathered a window at a time; however
    // small the window, the output is the same, groups in order of first use.
    void summaryIsTheSameWhateverItsWindow_data()
    {
        QTest::addColumn<AuditCommand::Format>("format");
        QTest::addColumn<qint64>("window");
        for (const auto &[name, format] : { std::pair { "lines", AuditCommand::Format::JsonLines },
                 std::pair { "table", AuditCommand::Format::Table } }) {
            for (const qint64 window : { 1, 2, 3, 5, 8 })
                QTest::addRow("%s, window of %lld", name, window) << format << window;
        }
    }
    void summaryIsTheSameWhateverItsWindow()
    {
        QFETCH(AuditCommand::Format, format);
        QFETCH(qint64, window);
        // Descriptions a to d in an order that interleaves the groups; d stays alone.
        const QByteArray descriptions = "abacbadcab";
        TestHome home;
        QMap<QChar, QJsonArray> groups;
        for (qsizetype at = 0; at < descriptions.size(); ++at) {
            const QString name = u"site/%1.html"_s.arg(at, 2, 10, QLatin1Char('0'));
            const QByteArray description(1, descriptions[at]);
            groups[QLatin1Char(description[0])].append(
                home.write(name, page("<title>T</title><meta name=\"description\" content=\"" + description + "\">")));
        }
        const auto audit = [&](qint64 listWindow) {
            AuditCommand::Options options;
            options.format = format;
            options.listWindow = listWindow;
            QString out;
            QTextStream stream(&out);
            AuditCommand::run({ home.path() + u"/site"_s }, options, stream, stream);
            stream.flush();
            return out;
        };
        const QString whole = audit(1000);
        QCOMPARE(audit(window), whole);
        if (format == AuditCommand::Format::Table)
            return;
        QJsonArray expected;
        for (const QChar description : { u'a', u'b', u'c' })
            expected.append(QJsonObject { { "description", QString(description) }, { "pages", groups[description] } });
        const QJsonObject summary = QJsonDocument::fromJson(whole.split(u'\n', Qt::SkipEmptyParts).last().toUtf8()).object();
        QCOMPARE(summary["summary"]["duplicateDescriptions"].toArray(), expected);
    }

    // The program writes its UTF-8 straight to its output; a stream on a string gets text.
    // Both must come to the same bytes.
    void programWritesWhatTheLibraryWrites_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("lines") << u"jsonl"_s;
        QTest::newRow("table") << u"table"_s;
    }
    void programWritesWhatTheLibraryWrites()
    {
        QFETCH(QString, format);
        const Site site;
        site.home.write(u"site/caf\u00e9 \"quoted\".html"_s,
            page("<title>Caf\xC3\xA9 \xE2\x82\xAC</title><meta name=\"description\" content=\"Fresh bread daily\">"));
        const QStringList arguments { "audit", "--format", format, site.root };
        QProcess program;
        program.start(QStringLiteral(TSMETA_EXECUTABLE), arguments);
        QVERIFY(program.waitForFinished());
        const QByteArray written = program.readAllStandardOutput();
        QVERIFY(written.contains("pages share") || written.contains("\"pages\":[\""));
        QCOMPARE(written, runTsmeta(arguments).out.toUtf8());
    }

    // The pages are put aside in a temporary file; where none can be made, the audit says so.
    void noTemporaryFile()
    {
        const Site site;
        const QByteArray tmp = qgetenv("TMPDIR");
        // A file where the folder should be refuses even root.
        qputenv("TMPDIR", QFile::encodeName(site.path("index.html")));
        const TsmetaRun run = runTsmeta({ "audit", site.root });
        qputenv("TMPDIR", tmp);
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith(u"tsmeta: cannot create a temporary file"_s), qPrintable(run.err));
    }
};

QTEST_MAIN(TestAudit)
#include "test_audit.moc"
