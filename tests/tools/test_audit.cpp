#include "TestHome.h"

#include "TsmetaRun.h"

#include "AuditCommand.h"
#include "PageAudit.h"
#include "PageLines.h"
#include "SettingsStore.h"
#include "TextWidth.h"
#include "WidthLimits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <functional>
#include <map>

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

// A page for each of `kinds`: a letter gives it a description, wide enough to warn of
// nothing, that ends in that letter (a capital the same in other white space), '-' none, '!' no HEAD, so that it
// cannot be read. The pages sort in that order. Returns the site's folder.
QString writeSite(const TestHome &home, const QByteArray &kinds)
{
    for (qsizetype at = 0; at < kinds.size(); ++at) {
        const char kind = kinds[at];
        const QByteArray letter(1, char(QChar::toLower(uint(kind))));
        QByteArray bytes = kind == '!' ? QByteArray("<html><body>No head</body></html>") : page("<title>Page</title>");
        if (kind >= 'a' && kind <= 'z')
            bytes = page("<title>Page</title><meta name=\"description\" content=\"A description wide enough to tell searchers what this page offers: " + letter + "\">");
        if (kind >= 'A' && kind <= 'Z')
            bytes = page("<title>Page</title><meta name=\"description\" content=\"\n A description wide enough to tell searchers\twhat this page offers: " + letter + " \">");
        home.write(u"site/p%1.html"_s.arg(at, 3, 10, QLatin1Char('0')), bytes);
    }
    return home.path() + u"/site"_s;
}

// Pages whose descriptions are a few, in any white space, many of them shared, or unique,
// or missing, or a placeholder; some cannot be read; some are in subfolders.
QString writeRandomSite(const TestHome &home, quint32 seed)
{
    QRandomGenerator random(seed);
    const QByteArrayList spaces { " ", "  ", "\n", "\t ", "\r\n" };
    const QStringList folders { "", "a/", "a/b/", "c/" };
    const auto space = [&] { return spaces.at(random.bounded(qsizetype(spaces.size()))); };
    const int pages = 100 + int(random.bounded(500));
    for (int at = 0; at < pages; ++at) {
        const quint32 kind = random.bounded(20);
        const QByteArray title = "<title>Page " + QByteArray::number(random.bounded(5)) + "</title>";
        QByteArray bytes = page(title + "<meta name=\"description\" content=\"" + space() + "Fresh" + space() + "bread"
            + space() + QByteArray::number(random.bounded(kind < 12 ? 8 : 1000)) + "\">");
        if (kind == 0)
            bytes = "<html><body>No head</body></html>";
        else if (kind == 1)
            bytes = page(title);
        else if (kind == 2)
            bytes = page(title + "<meta name=\"description\" content=\"No description\">");
        home.write(u"site/"_s + folders.at(random.bounded(qsizetype(folders.size()))) + u"p%1.html"_s.arg(at), bytes);
    }
    return home.path() + u"/site"_s;
}

// What an audit that reads every page before it writes anything makes of them.
struct AuditOfAllPagesFirst
{
    QByteArrayList pageLines; // sorted
    QList<QJsonObject> groups;
    QByteArrayList tableRows;

    explicit AuditOfAllPagesFirst(const QStringList &paths)
    {
        std::vector<PageAudit> pages;
        std::map<std::string, QJsonArray> pagesWith;
        std::vector<std::pair<std::string, std::string>> firstUses; // key and description
        qsizetype pathWidth = u"Page"_s.size();
        for (const QString &path : AuditCommand::pagesIn(paths)) {
            const PageAudit &page = pages.emplace_back(PageAudit::read(path, WidthLimits::desktop()));
            pathWidth = std::max(pathWidth, page.path.size());
            if (!described(page))
                continue;
            QJsonArray &group = pagesWith[page.descriptionKey()];
            if (group.isEmpty())
                firstUses.emplace_back(page.descriptionKey(), page.description);
            group.append(page.path);
        }
        for (const PageAudit &page : pages) {
            const bool shared = described(page) && pagesWith[page.descriptionKey()].size() > 1;
            pageLines.append(PageLines::json(page, shared).chopped(1));
            tableRows.append((page.path.leftJustified(pathWidth)).toUtf8()
                + PageLines::tableCells(page, shared, WidthLimits::desktop()).chopped(1));
        }
        std::sort(pageLines.begin(), pageLines.end());
        for (const auto &[key, description] : firstUses) {
            if (pagesWith[key].size() > 1)
                groups.append(QJsonObject { { "type", "sharedDescription" },
                    { "description", QString::fromStdString(description) }, { "pages", pagesWith[key] } });
        }
    }

    static bool described(const PageAudit &page) { return page.ok && page.hasDescription(); }
};

QString auditInProcess(const QStringList &paths, const AuditCommand::Options &options)
{
    QString out;
    QTextStream stream(&out);
    AuditCommand::run(paths, options, stream, stream);
    stream.flush();
    return out;
}

// Each line of the text as a terminal shows it: carriage returns write over the line.
QStringList asOnTerminal(const QString &text)
{
    QStringList lines { QString() };
    qsizetype cursor = 0;
    for (const QChar c : text) {
        QString &line = lines.last();
        if (c == u'\n') {
            lines.append(QString());
            cursor = 0;
        } else if (c == u'\r') {
            cursor = 0;
        } else if (cursor < line.size()) {
            line[cursor++] = c;
        } else {
            line += c;
            ++cursor;
        }
    }
    for (QString &line : lines) {
        while (line.endsWith(u' '))
            line.chop(1);
    }
    return lines;
}

// A device that asks `beforeWrite` at each write whether to take the bytes or fail.
class ScriptedDevice : public QIODevice
{
public:
    explicit ScriptedDevice(std::function<bool()> beforeWrite)
        : m_beforeWrite(std::move(beforeWrite))
    {
        open(QIODevice::WriteOnly);
    }

    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (!m_beforeWrite())
            return -1;
        written.append(data, size);
        return size;
    }

private:
    std::function<bool()> m_beforeWrite;
};

} // namespace

struct Progress { bool asked; int intervalMs; int pages; QString shown; };
Q_DECLARE_METATYPE(Progress)

struct Widths { QByteArray title; QByteArray description; int titlesTooLong; int descriptionsTooLong; QString setting; QStringList options; };
Q_DECLARE_METATYPE(Widths)

class TestAudit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // However many threads read the pages, the lines come in the same order: those settled
    // as they are read, then the rest in page order.
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
        QCOMPARE(paths, (QStringList { site.path("broken.html"), site.path("contact.php"), site.path("index.html"),
                            site.path("about.HTM"), site.path("news/old.shtml") }));
        const auto warningsOf = [&](const char *relative) {
            for (const QJsonObject &line : run.lines)
                if (line["path"] == site.path(relative) && line["ok"].toBool())
                    return warningKinds(line);
            return QStringList { u"<no line>"_s };
        };
        QCOMPARE(warningsOf("about.HTM"),
            (QStringList { u"description-too-short/description"_s, u"description-shared/description"_s }));
        QCOMPARE(warningsOf("index.html"),
            (QStringList { u"outside-head/robots"_s, u"description-too-short/description"_s,
                u"description-shared/description"_s }));
        QCOMPARE(warningsOf("contact.php"), QStringList { u"description-missing/description"_s });
        QCOMPARE(warningsOf("news/old.shtml"),
            (QStringList { u"unread-tag-form/keywords"_s, u"description-too-long/description"_s }));
        QCOMPARE(run.lines.value(0), (QJsonObject { { "path", site.path("broken.html") }, { "ok", false }, { "error", "No HEAD section in file..." } }));

        QCOMPARE(run.lines.size(), 7);
        QCOMPARE(run.lines.at(5), (QJsonObject { { "type", "sharedDescription" }, { "description", "Fresh  bread\r\ndaily" },
            { "pages", QJsonArray { site.path("about.HTM"), site.path("index.html") } } }));
        const QJsonObject warnings { { "description-shared", 2 }, { "description-missing", 1 }, { "unread-tag-form", 1 },
            { "outside-head", 1 }, { "description-too-short", 2 }, { "description-too-long", 1 } };
        QCOMPARE(run.lines.at(6), (QJsonObject { { "type", "summary" }, { "pages", 5 }, { "unreadable", 1 },
            { "missingTitles", 1 }, { "missingDescriptions", 1 }, { "sharedDescriptions", 1 },
            { "titlesTooLong", 1 }, { "descriptionsTooLong", 1 }, { "warnings", warnings } }));
        QVERIFY2(run.out.split(u'\n').at(6).startsWith(u"{\"type\":\"summary\","_s), qPrintable(run.out));
    }

    void lineHoldsValuesAndWidths()
    {
        const Site site;
        const TsmetaRun run = runTsmeta({ "audit", site.path("index.html"), site.path("contact.php"), site.path("notes.txt") });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.size(), 4);
        // The two pages without a description come first.
        const QJsonObject index = run.lines.at(2);
        QCOMPARE(index["description"].toString(), u"Fresh bread daily"_s);
        QCOMPARE(index["keywords"].toString(), u"No, keywords"_s);
        // H, o, m, e: 1479 + 1139 + 1706 + 1139 units at 20 px to the 2048-unit em.
        QCOMPARE(index["titlePixels"].toDouble(), 53.3);
        // "Fresh bread daily": 15823 units at 14 px.
        QCOMPARE(index["descriptionPixels"].toDouble(), 108.2);
        // Alone in this run, the description is no longer shared.
        QCOMPARE(warningKinds(index), (QStringList { u"outside-head/robots"_s, u"description-too-short/description"_s }));
        QCOMPARE(run.lines.at(0)["descriptionPixels"].toDouble(), 0.0);
        QCOMPARE(run.lines.at(0)["titlePixels"].toDouble(), 755.1);
        // A file named on the command line is read whatever its extension.
        QCOMPARE(run.lines.at(1)["title"].toString(), u"Notes"_s);
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
        QCOMPARE(rowOf("index.html"), u"53.3 108.2 3 (outside-head, description-too-short, description-shared)"_s);
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
            return auditInProcess({ home.path() + u"/site"_s }, options);
        };
        const QString whole = audit(1000);
        QCOMPARE(audit(window), whole);
        if (format == AuditCommand::Format::Table)
            return;
        QList<QJsonObject> expected;
        for (const QChar description : { u'a', u'b', u'c' })
            expected.append(QJsonObject { { "type", "sharedDescription" }, { "description", QString(description) },
                { "pages", groups[description] } });
        QList<QJsonObject> groupLines;
        for (const QString &line : whole.split(u'\n', Qt::SkipEmptyParts)) {
            const QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
            if (object["type"] == "sharedDescription")
                groupLines.append(object);
        }
        QCOMPARE(groupLines, expected);
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

    // A page's line comes once it is settled: at once when the page has no description,
    // cannot be read, or has a description an earlier page has; at the end otherwise.
    void linesComeAsTheyAreSettled_data()
    {
        QTest::addColumn<QByteArray>("kinds");
        QTest::addColumn<QString>("order"); // page numbers as their lines come, * for a shared description
        QTest::newRow("no description: at once") << QByteArray("a-") << u"1 0"_s;
        QTest::newRow("unreadable: at once") << QByteArray("a!") << u"1 0"_s;
        QTest::newRow("shared with an earlier page: at once") << QByteArray("aa") << u"1* 0*"_s;
        QTest::newRow("the same apart from white space") << QByteArray("aA") << u"1* 0*"_s;
        QTest::newRow("third of a group: at once") << QByteArray("aaa") << u"1* 2* 0*"_s;
        QTest::newRow("shared only with a later page: at the end") << QByteArray("ab-a") << u"2 3* 0* 1"_s;
        QTest::newRow("unique: at the end, in page order") << QByteArray("cba") << u"0 1 2"_s;
        QTest::newRow("all kinds") << QByteArray("a-b!aBc") << u"1 3 4* 5* 0* 2* 6"_s;
    }
    void linesComeAsTheyAreSettled()
    {
        QFETCH(QByteArray, kinds);
        QFETCH(QString, order);
        TestHome home;
        const TsmetaRun run = runTsmeta({ "audit", writeSite(home, kinds) });
        QStringList came;
        for (const QJsonObject &line : run.lines) {
            if (!line.contains("path"))
                continue;
            const bool shared = warningKinds(line).contains(u"description-shared/description"_s);
            came << QString::number(QFileInfo(line["path"].toString()).completeBaseName().mid(1).toInt())
                    + (shared ? u"*"_s : QString());
        }
        QCOMPARE(came.join(u' '), order);
    }

    // Settled lines go out while pages are still to be read: the last page, removed at the
    // output's first write, is then read after it, unless the report waits for every page.
    void settledLinesGoOutBeforeTheLastPageIsRead_data()
    {
        QTest::addColumn<AuditCommand::Format>("format");
        QTest::addColumn<QByteArray>("lastPageReads");
        QTest::newRow("lines stream") << AuditCommand::Format::JsonLines << QByteArray("\"ok\":false");
        QTest::newRow("a table waits") << AuditCommand::Format::Table << QByteArray("0.0  1 (description-missing)");
    }
    void settledLinesGoOutBeforeTheLastPageIsRead()
    {
        QFETCH(AuditCommand::Format, format);
        QFETCH(QByteArray, lastPageReads);
        TestHome home;
        const QString site = writeSite(home, QByteArray(600, '-'));
        const QString last = site + u"/p599.html"_s;
        ScriptedDevice device([&] { return !QFile::exists(last) || QFile::remove(last); });
        QTextStream out(&device);
        QString errors;
        QTextStream err(&errors);
        AuditCommand::Options options;
        options.format = format;
        options.jobs = 1;
        AuditCommand::run({ site }, options, out, err);
        QVERIFY(!QFile::exists(last));
        const QByteArrayList lines = device.written.split('\n');
        const auto lastLine = std::find_if(lines.cbegin(), lines.cend(), [&](const QByteArray &line) { return line.contains("p599.html"); });
        QVERIFY(lastLine != lines.cend());
        QVERIFY2(lastLine->contains(lastPageReads), lastLine->constData());
    }

    // Only the order differs from an audit that reads every page first: the same lines,
    // each byte for byte; the lists of shared descriptions and the table in their order.
    void linesAreThoseOfAllPagesReadFirst_data()
    {
        QTest::addColumn<QString>("corpus"); // real pages, or none for a generated site
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("jobs");
        for (const quint32 seed : { 1, 2, 3, 4, 5, 6 })
            QTest::addRow("generated site %u", seed) << QString() << seed << int(1 + seed % 3);
        QTest::newRow("corpus") << qEnvironmentVariable("TAGSMITH_CORPUS") << 0u << 0;
    }
    void linesAreThoseOfAllPagesReadFirst()
    {
        QFETCH(QString, corpus);
        QFETCH(quint32, seed);
        QFETCH(int, jobs);
        TestHome home;
        const QString site = seed == 0 ? corpus : writeRandomSite(home, seed);
        if (site.isEmpty())
            QSKIP("TAGSMITH_CORPUS names no corpus");
        const AuditOfAllPagesFirst expected({ site });
        QVERIFY(expected.pageLines.size() > 50);

        AuditCommand::Options options;
        options.jobs = jobs;
        options.listWindow = 7;
        QByteArrayList pageLines;
        QList<QJsonObject> groups;
        for (const QByteArray &line : auditInProcess({ site }, options).toUtf8().split('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            if (!object.contains("type"))
                pageLines.append(line);
            else if (object["type"] == "sharedDescription")
                groups.append(object);
        }
        pageLines.removeAll(QByteArray());
        std::sort(pageLines.begin(), pageLines.end());
        QCOMPARE(pageLines, expected.pageLines);
        QCOMPARE(groups, expected.groups);

        options.format = AuditCommand::Format::Table;
        const QByteArrayList table = auditInProcess({ site }, options).toUtf8().split('\n');
        QCOMPARE(table.mid(1, expected.tableRows.size()), expected.tableRows);
    }

    // "N pages read", rewritten in place while the pages are read and cleared at the end,
    // only when asked for and only once an interval.
    void progressOnlyWhenAsked_data()
    {
        QTest::addColumn<Progress>("row");
        QTest::newRow("not asked") << Progress { false, 0, 3, QString() };
        QTest::newRow("one page") << Progress { true, 0, 1, u"1 page read"_s };
        QTest::newRow("three pages") << Progress { true, 0, 3, u"3 pages read"_s };
        QTest::newRow("over before the first interval") << Progress { true, 3600000, 3, QString() };
    }
    void progressOnlyWhenAsked()
    {
        QFETCH(Progress, row);
        const auto [asked, intervalMs, pages, shown] = row;
        TestHome home;
        AuditCommand::Options options;
        options.progress = asked;
        options.progressInterval = std::chrono::milliseconds(intervalMs);
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        AuditCommand::run({ writeSite(home, QByteArray(pages, 'a')) }, options, outStream, errStream);
        outStream.flush();
        errStream.flush();
        QCOMPARE(out.count(u"\"path\""_s), pages);
        QVERIFY(!out.contains(u"read\r"_s));
        if (shown.isEmpty()) {
            QCOMPARE(err, QString());
            return;
        }
        QVERIFY2(err.startsWith(u"\r"_s + shown), qPrintable(err));
        QCOMPARE(asOnTerminal(err), QStringList { QString() });
    }

    // On one terminal with the report, the progress line is cleared before each line of it.
    void progressNeverBreaksALine()
    {
        TestHome home;
        AuditCommand::Options options;
        options.jobs = 1;
        options.progress = true;
        options.progressInterval = std::chrono::milliseconds(0);
        const QString both = auditInProcess({ writeSite(home, QByteArray(300, '-')) }, options);
        QVERIFY(both.contains(u"pages read"_s));
        QStringList lines = asOnTerminal(both);
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 301);
        for (const QString &line : lines)
            QVERIFY2(!QJsonDocument::fromJson(line.toUtf8()).object().isEmpty(), qPrintable(line));
    }

    // One of anything is named in the singular, any other number in the plural.
    void countsInWordsAgreeWithTheirNumber_data()
    {
        const QByteArray wideTitle = "<title>" + QByteArray(40, 'W') + "</title>";
        const QByteArray wideDescription = "<title>T</title><meta name=\"description\" content=\"" + QByteArray(100, 'W') + "\">";
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("phrases");
        QTest::newRow("one page, one wide title") << wideTitle << 1
            << QStringList { "1 page, 0 unreadable.", "1 title wider than 580 px, 0 descriptions wider than 920 px (marked !).",
                   "1 warning of kind description-missing." };
        QTest::newRow("two pages, two wide titles") << wideTitle << 2
            << QStringList { "2 pages, 0 unreadable.", "2 titles wider than 580 px, 0 descriptions wider than 920 px (marked !).",
                   "2 warnings of kind description-missing." };
        QTest::newRow("one wide description") << wideDescription << 1
            << QStringList { "1 page, 0 unreadable.", "0 titles wider than 580 px, 1 description wider than 920 px (marked !)." };
        QTest::newRow("two wide descriptions, shared") << wideDescription << 2
            << QStringList { "0 titles wider than 580 px, 2 descriptions wider than 920 px (marked !).",
                   "2 warnings of kind description-shared.", u"2 pages share the description \"%1\":"_s.arg(QString(100, u'W')) };
    }
    void countsInWordsAgreeWithTheirNumber()
    {
        QFETCH(QByteArray, head);
        QFETCH(int, pages);
        QFETCH(QStringList, phrases);
        TestHome home;
        for (int at = 0; at < pages; ++at)
            home.write(u"site/%1.html"_s.arg(at), page(head));
        const TsmetaRun run = runTsmeta({ "audit", "--format", "table", home.path() + u"/site"_s });
        const QStringList lines = run.out.split(u'\n');
        for (const QString &phrase : phrases)
            QVERIFY2(lines.contains(phrase), qPrintable(phrase + u"\n---\n"_s + run.out));
    }

    // Each width is held to its own limit, counted only past it: a description as wide as a
    // title may not be is no description too wide. The limits are the editor's setting unless
    // --widths names others.
    void widthsAreCountedAgainstTheirOwnLimits_data()
    {
        const auto widest = [](double limit, double (*pixels)(std::string_view), bool over) {
            std::string text;
            while (pixels(text + "W") <= limit)
                text += "W";
            return QByteArray::fromStdString(over ? text + "W" : text);
        };
        const QByteArray titleAtLimit = widest(WidthLimits::desktop().title, TextWidth::titlePixels, false);
        const QByteArray titleOver = widest(WidthLimits::desktop().title, TextWidth::titlePixels, true);
        const QByteArray descriptionAtTitleLimit = widest(WidthLimits::desktop().title, TextWidth::descriptionPixels, true);
        const QByteArray descriptionAtLimit = widest(WidthLimits::desktop().description, TextWidth::descriptionPixels, false);
        const QByteArray descriptionOver = widest(WidthLimits::desktop().description, TextWidth::descriptionPixels, true);
        const QByteArray pastMobile = widest(WidthLimits::mobile().description, TextWidth::descriptionPixels, true);
        const QByteArray pastCustom = widest(300, TextWidth::titlePixels, true);
        QTest::addColumn<Widths>("row");
        const QString none;
        QTest::newRow("title at its limit") << Widths { titleAtLimit, QByteArray("Bread"), 0, 0, none, QStringList() };
        QTest::newRow("title past its limit") << Widths { titleOver, QByteArray("Bread"), 1, 0, none, QStringList() };
        QTest::newRow("description past the title's limit")
            << Widths { QByteArray("Bread"), descriptionAtTitleLimit, 0, 0, none, QStringList() };
        QTest::newRow("description at its limit") << Widths { QByteArray("Bread"), descriptionAtLimit, 0, 0, none, QStringList() };
        QTest::newRow("description past its limit") << Widths { QByteArray("Bread"), descriptionOver, 0, 1, none, QStringList() };
        QTest::newRow("both past") << Widths { titleOver, descriptionOver, 1, 1, none, QStringList() };
        QTest::newRow("past the phone's limit, within the desktop's")
            << Widths { QByteArray("Bread"), pastMobile, 0, 0, none, QStringList() };
        QTest::newRow("the setting names the phone's limits")
            << Widths { QByteArray("Bread"), pastMobile, 0, 1, "mobile", QStringList() };
        QTest::newRow("--widths mobile") << Widths { QByteArray("Bread"), pastMobile, 0, 1, none,
                                            QStringList { "--widths", "mobile" } };
        QTest::newRow("--widths wins over the setting") << Widths { QByteArray("Bread"), pastMobile, 0, 0, "mobile",
                                                           QStringList { "--widths", "DESKTOP" } };
        QTest::newRow("two numbers") << Widths { pastCustom, pastCustom, 1, 0, none,
                                        QStringList { "--widths=300,1000" } };
    }
    void widthsAreCountedAgainstTheirOwnLimits()
    {
        QFETCH(Widths, row);
        const auto [title, description, titlesTooLong, descriptionsTooLong, setting, options] = row;
        TestHome home;
        if (!setting.isEmpty())
            SettingsStore().setValue(u"Width Limits"_s, setting);
        const QString path = home.write(u"page.html"_s,
            page("<title>" + title + "</title><meta name=\"description\" content=\"" + description + "\">"));
        const TsmetaRun run = runTsmeta(QStringList { "audit" } + options + QStringList { path });
        QCOMPARE(run.status, 0);
        const QJsonObject summary = run.lines.last();
        QCOMPARE(summary["type"].toString(), u"summary"_s);
        QCOMPARE(summary["titlesTooLong"].toInt(), titlesTooLong);
        QCOMPARE(summary["descriptionsTooLong"].toInt(), descriptionsTooLong);
    }

    // --check fails a build on any warning, a shared description found only at the end
    // included; a page that cannot be read still gives 1.
    void checkExitsByWhatItFinds_data()
    {
        QTest::addColumn<QByteArray>("kinds");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::newRow("no warning, checked") << QByteArray("ab") << QStringList { "--check" } << 0;
        QTest::newRow("a warning, not checked") << QByteArray("a-") << QStringList() << 0;
        QTest::newRow("a page without a description, checked") << QByteArray("a-") << QStringList { "--check" } << 3;
        QTest::newRow("a description shared, checked") << QByteArray("ba") << QStringList { "--check" } << 0;
        QTest::newRow("shared with the last page, checked") << QByteArray("abA") << QStringList { "--check" } << 3;
        QTest::newRow("a table, checked") << QByteArray("a-") << QStringList { "--check", "--format", "table" } << 3;
        QTest::newRow("unreadable wins over warnings") << QByteArray("-!") << QStringList { "--check" } << 1;
        QTest::newRow("unreadable, not checked") << QByteArray("a!") << QStringList() << 1;
    }
    void checkExitsByWhatItFinds()
    {
        QFETCH(QByteArray, kinds);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        TestHome home;
        const TsmetaRun run = runTsmeta(QStringList { "audit" } + options + QStringList { writeSite(home, kinds) });
        QCOMPARE(run.status, status);
        QCOMPARE(run.out.count(u"p00"_s) >= kinds.size(), true);
    }

    // Output that the device refuses or cannot hold marks the stream, for the caller to see.
    void lostOutputMarksTheStream_data()
    {
        QTest::addColumn<AuditCommand::Format>("format");
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("lines, refused") << AuditCommand::Format::JsonLines << false;
        QTest::newRow("table, refused") << AuditCommand::Format::Table << false;
        QTest::newRow("lines, disk full") << AuditCommand::Format::JsonLines << true;
        QTest::newRow("table, disk full") << AuditCommand::Format::Table << true;
    }
    void lostOutputMarksTheStream()
    {
        QFETCH(AuditCommand::Format, format);
        QFETCH(bool, diskFull);
        const Site site;
        ScriptedDevice refusing([] { return false; });
        QFile full(u"/dev/full"_s);
        QVERIFY(!diskFull || full.open(QIODevice::WriteOnly));
        QTextStream out(diskFull ? static_cast<QIODevice *>(&full) : &refusing);
        QString errors;
        QTextStream err(&errors);
        AuditCommand::Options options;
        options.format = format;
        AuditCommand::run({ site.root }, options, out, err);
        QCOMPARE(out.status(), QTextStream::WriteFailed);
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
