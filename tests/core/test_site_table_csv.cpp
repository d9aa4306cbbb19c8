#include "SiteTableCsv.h"

#include "CsvReader.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kSite = u"/srv/site"_s;

// What a page holds before the import: every member set, every flag that can be on, on.
MetaElementSet pageValues()
{
    MetaElementSet values;
    values.setText(TextField::Description, "old description");
    values.setText(TextField::Keywords, "old keywords");
    values.setText(TextField::Author, "Old Author");
    values.setFlag(RobotsFlag::NoIndex, true);
    values.setFlag(RobotsFlag::NoFollow, true);
    values.setCharset(true);
    return values;
}

// The members after an edit, in one line that a failed comparison shows whole.
QString summary(const MetaElementSet &values)
{
    return u"description=%1|keywords=%2|author=%3|robots=%4|charset=%5"_s.arg(
        QString::fromStdString(values.text(TextField::Description)),
        QString::fromStdString(values.text(TextField::Keywords)), QString::fromStdString(values.text(TextField::Author)),
        QString::fromStdString(values.robotsValue()), values.charset() ? u"on"_s : u"off"_s);
}

QStringList errorTexts(const SiteTableCsv::Import &import)
{
    QStringList texts;
    for (const SiteTableCsv::RowError &error : import.errors)
        texts.append(SiteTableCsv::describe(u"t.csv"_s, error));
    return texts;
}

SitePageRow sampleRow()
{
    SitePageRow row;
    row.path = u"news/a, b.html"_s;
    row.title = u"Bread \"daily\""_s;
    row.titlePixels = 312.5;
    row.description = u"Fresh bread,\r\nbaked at night; sold at dawn "_s;
    row.descriptionPixels = 1024;
    row.keywords = u" bread, rolls"_s;
    row.author = u"Zoë Ærø"_s;
    row.robots = u"noindex, nofollow"_s;
    row.charset = true;
    row.warnings = { WarningKind::DescriptionShared, WarningKind::OutsideHead };
    return row;
}

} // namespace

class TestSiteTableCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A spreadsheet shows the export as the site table shows it: one column per value, in
    // the table's order, warnings by their names, numbers as numbers.
    void exportHasTheTablesColumns()
    {
        SitePageRow bare;
        bare.path = u"index.html"_s;
        const CsvReader::Result table = CsvReader::parse(SiteTableCsv::exportTable({ sampleRow(), bare }));
        QVERIFY2(table.ok, qPrintable(table.error));
        QCOMPARE(table.rows.size(), 3);
        QCOMPARE(table.rows.at(0).cells,
            (QStringList { "path", "title", "title width", "description", "description width", "keywords", "author",
                "robots", "charset", "warnings" }));
        QCOMPARE(table.rows.at(1).cells,
            (QStringList { u"news/a, b.html"_s, u"Bread \"daily\""_s, "312.5",
                u"Fresh bread,\r\nbaked at night; sold at dawn "_s, "1024", " bread, rolls", u"Zoë Ærø"_s,
                "noindex, nofollow", "on", "description-shared outside-head" }));
        QCOMPARE(table.rows.at(2).cells, (QStringList { "index.html", "", "0", "", "0", "", "", "", "off", "" }));
    }

    // An exported table imported as it is sets each page to what the table showed.
    void exportImportsAsItIs()
    {
        QTemporaryDir folder;
        const QString csv = folder.filePath(u"site.csv"_s);
        SitePageRow cleared;
        cleared.path = u"empty.html"_s;
        QString error;
        QVERIFY2(SiteTableCsv::writeExport(csv, { sampleRow(), cleared }, error), qPrintable(error));
        const SiteTableCsv::Import import = SiteTableCsv::readImport(csv, kSite);
        QCOMPARE(errorTexts(import), QStringList());
        QCOMPARE(import.edits.size(), 2);
        QCOMPARE(import.edits.at(0).path, u"/srv/site/news/a, b.html"_s);
        QCOMPARE(import.edits.at(0).line, 2);
        QCOMPARE(import.edits.at(1).path, u"/srv/site/empty.html"_s);
        QCOMPARE(import.edits.at(1).line, 4); // the description above spans two lines
        MetaElementSet values = pageValues();
        import.edits.at(0).edit.applyTo(values);
        QCOMPARE(summary(values),
            u"description=Fresh bread,\r\nbaked at night; sold at dawn |keywords= bread, rolls|author=Zoë Ærø|"
            "robots=noindex, nofollow|charset=on"_s);
        values = pageValues();
        import.edits.at(1).edit.applyTo(values);
        QCOMPARE(summary(values), u"description=|keywords=|author=|robots=|charset=off"_s);
    }

    void exportFailsWithTheReason()
    {
        QTemporaryDir folder;
        QString error;
        QVERIFY(!SiteTableCsv::writeExport(folder.filePath(u"missing/site.csv"_s), { sampleRow() }, error));
        QVERIFY(!error.isEmpty());
    }

    // A column that is not there leaves its value alone; an empty cell empties it.
    void importSetsWhatTheTableSays_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("values");
        const QString untouched = u"description=old description|keywords=old keywords|author=Old Author|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("path alone changes nothing") << "path\na.html\n"_ba << untouched;
        QTest::newRow("one column, the others kept") << "path,keywords\na.html,rye\n"_ba
            << u"description=old description|keywords=rye|author=Old Author|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("empty cells empty") << "path,description,keywords,author,robots,charset\na.html,,,,,\n"_ba
            << u"description=|keywords=|author=|robots=|charset=off"_s;
        QTest::newRow("quoted empty cells empty") << "path,description,author\na.html,\"\",\"\"\n"_ba
            << u"description=|keywords=old keywords|author=|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("columns in any order") << "author,path,description\nAnn,a.html,Rolls\n"_ba
            << u"description=Rolls|keywords=old keywords|author=Ann|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("header in any letter case, blanks around") << " PATH ,Description\t,AUTHOR\na.html,d,a\n"_ba
            << u"description=d|keywords=old keywords|author=a|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("export's other columns ignored") << "title,path,title width,description width,warnings\nT,a.html,1,2,outside-head\n"_ba << untouched;
        QTest::newRow("byte order mark") << "\xEF\xBB\xBFpath,description\r\na.html,Brot\r\n"_ba
            << u"description=Brot|keywords=old keywords|author=Old Author|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("semicolons") << "path;description;keywords\r\na.html;one, two;x\r\n"_ba
            << u"description=one, two|keywords=x|author=Old Author|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("texts kept exactly") << "path,description\na.html,\" \"\"Q\"\" & <b> \"\n"_ba
            << u"description= \"Q\" & <b> |keywords=old keywords|author=Old Author|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("placeholder text kept as typed") << "path,description\na.html,No description\n"_ba
            << u"description=No description|keywords=old keywords|author=Old Author|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("robots words, any case and blanks") << "path,robots\na.html,\" NoImageIndex ,NOFOLLOW\"\n"_ba
            << u"description=old description|keywords=old keywords|author=Old Author|robots=nofollow, noimageindex|charset=on"_s;
        QTest::newRow("robots blank items skipped") << "path,robots\na.html,\"noindex, , nofollow, \"\n"_ba
            << u"description=old description|keywords=old keywords|author=Old Author|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("robots in order, last exclusive one stays") << "path,robots\na.html,\"noindex,noimageclick\"\n"_ba
            << u"description=old description|keywords=old keywords|author=Old Author|robots=noimageclick|charset=on"_s;
        QTest::newRow("robots as the export writes them") << "path,robots\na.html,\"nofollow, noindex\"\n"_ba
            << u"description=old description|keywords=old keywords|author=Old Author|robots=noindex, nofollow|charset=on"_s;
        QTest::newRow("robots one word turns nofollow off") << "path,robots\na.html,noindex\n"_ba
            << u"description=old description|keywords=old keywords|author=Old Author|robots=noindex|charset=on"_s;
        const char *const offWords[] = { "off", "no", "false", "0", "OFF", " No " };
        for (const char *word : offWords)
            QTest::addRow("charset %s", word) << "path,charset\na.html,"_ba + word + '\n'
                << u"description=old description|keywords=old keywords|author=Old Author|robots=noindex, nofollow|charset=off"_s;
        const char *const onWords[] = { "on", "yes", "true", "1", "Yes" };
        for (const char *word : onWords)
            QTest::addRow("charset %s after off", word) << "path,charset\na.html,off\nb.html,"_ba + word + '\n'
                << u"description=old description|keywords=old keywords|author=Old Author|robots=noindex, nofollow|charset=on"_s;
    }
    void importSetsWhatTheTableSays()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, values);
        const SiteTableCsv::Import import = SiteTableCsv::importTable(csv, kSite);
        QCOMPARE(errorTexts(import), QStringList());
        QVERIFY(!import.edits.isEmpty());
        MetaElementSet page = pageValues();
        import.edits.constLast().edit.applyTo(page);
        QCOMPARE(summary(page), values);
    }

    // Each row names its page, relative to the site's folder or absolute inside it; blank
    // rows, as spreadsheets leave them, name none.
    void importFindsThePages_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QList<qsizetype>>("lines");
        using Lines = QList<qsizetype>;
        QTest::newRow("relative") << "path\na.html\nsub/b.html\n"_ba << QStringList { "/srv/site/a.html", "/srv/site/sub/b.html" } << Lines { 2, 3 };
        QTest::newRow("absolute inside") << "path\n/srv/site/x/y.html\n"_ba << QStringList { "/srv/site/x/y.html" } << Lines { 2 };
        QTest::newRow("dots cleaned") << "path\n./a.html\nsub/../b.html\n"_ba << QStringList { "/srv/site/a.html", "/srv/site/b.html" } << Lines { 2, 3 };
        QTest::newRow("blanks in names kept") << "path\n\" a .html\"\n"_ba << QStringList { "/srv/site/ a .html" } << Lines { 2 };
        QTest::newRow("blank rows skipped") << "path,description\n\na.html,x\n,\n\"\",\"\"\nb.html,y\n"_ba << QStringList { "/srv/site/a.html", "/srv/site/b.html" } << Lines { 3, 6 };
        QTest::newRow("header only") << "path,description\r\n"_ba << QStringList {} << Lines {};
    }
    void importFindsThePages()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, paths);
        QFETCH(QList<qsizetype>, lines);
        const SiteTableCsv::Import import = SiteTableCsv::importTable(csv, kSite + u"/"_s);
        QCOMPARE(errorTexts(import), QStringList());
        QStringList found;
        QList<qsizetype> foundLines;
        for (const SiteTableCsv::PageEdit &edit : import.edits) {
            found.append(edit.path);
            foundLines.append(edit.line);
        }
        QCOMPARE(found, paths);
        QCOMPARE(foundLines, lines);
    }

    // Every bad row is named with its line, and then no row is imported, good ones neither.
    void importRefusesBadTables_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QString>("site");
        QTest::newRow("unknown column") << "path,descripton\na.html,x\n"_ba << QStringList { "t.csv:1: unknown column 'descripton' (path, description, keywords, author, robots, charset)" } << kSite;
        QTest::newRow("column without a name") << "path,description, \na.html,x,\n"_ba << QStringList { "t.csv:1: column 3 has no name" } << kSite;
        QTest::newRow("column twice") << "path,Author,author\na.html,x,y\n"_ba << QStringList { "t.csv:1: the column 'author' is named twice" } << kSite;
        QTest::newRow("no path column") << "description\nx\n"_ba << QStringList { "t.csv:1: no path column: it names the page of each row" } << kSite;
        QTest::newRow("empty table") << "\xEF\xBB\xBF\r\n"_ba << QStringList { "t.csv: the table is empty: its first line must name the columns" } << kSite;
        QTest::newRow("too few cells") << "path,description,author\na.html,x,y\nb.html,x\n"_ba << QStringList { "t.csv:3: 2 cells, but the header has 3" } << kSite;
        QTest::newRow("too many cells") << "path\na.html,x\n"_ba << QStringList { "t.csv:2: 2 cells, but the header has 1" } << kSite;
        QTest::newRow("unknown robots word") << "path,robots\na.html,noindex\nb.html,\"noindex,noarchive\"\n"_ba << QStringList { "t.csv:3: unknown robots word 'noarchive' (use noindex, nofollow, noimageindex, noimageclick)" } << kSite;
        QTest::newRow("charset not understood") << "path,charset\na.html,maybe\n"_ba << QStringList { "t.csv:2: charset takes on or off, not 'maybe'" } << kSite;
        QTest::newRow("no path") << "path,author\n,x\n"_ba << QStringList { "t.csv:2: no path" } << kSite;
        QTest::newRow("above the folder") << "path\n../x.html\n"_ba << QStringList { "t.csv:2: '../x.html' is not a page inside /srv/site" } << kSite;
        QTest::newRow("up and out again") << "path\nsub/../../site2/x.html\n"_ba << QStringList { "t.csv:2: 'sub/../../site2/x.html' is not a page inside /srv/site" } << kSite;
        QTest::newRow("absolute outside") << "path\n/etc/passwd\n"_ba << QStringList { "t.csv:2: '/etc/passwd' is not a page inside /srv/site" } << kSite;
        QTest::newRow("a folder with the same start") << "path\n/srv/site2/a.html\n"_ba << QStringList { "t.csv:2: '/srv/site2/a.html' is not a page inside /srv/site" } << kSite;
        QTest::newRow("the folder itself") << "path\n.\n"_ba << QStringList { "t.csv:2: '.' is not a page inside /srv/site" } << kSite;
        QTest::newRow("the root folder itself") << "path\n/\n"_ba << QStringList { "t.csv:2: '/' is not a page inside /" } << u"/"_s;
        QTest::newRow("page named twice") << "path,author\na.html,x\nb.html,y\n./a.html,z\n"_ba << QStringList { "t.csv:4: the page of line 2 again" } << kSite;
        QTest::newRow("page twice, relative and absolute") << "path\n/srv/site/a.html\na.html\n"_ba << QStringList { "t.csv:3: the page of line 2 again" } << kSite;
        QTest::newRow("not a table") << "path\n\"a.html\n"_ba << QStringList { "t.csv:2: a quoted cell starts here and never ends" } << kSite;
        QTest::newRow("every bad row") << "path,robots,charset\na.html,noindex,on\nb.html,nope,on\nc.html,,off\n,,\nd.html,,perhaps\n../e.html,nope,no\n"_ba
                                       << QStringList { "t.csv:3: unknown robots word 'nope' (use noindex, nofollow, noimageindex, noimageclick)",
                                              "t.csv:6: charset takes on or off, not 'perhaps'", "t.csv:7: '../e.html' is not a page inside /srv/site",
                                              "t.csv:7: unknown robots word 'nope' (use noindex, nofollow, noimageindex, noimageclick)" } << kSite;
    }
    void importRefusesBadTables()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, errors);
        QFETCH(QString, site);
        const SiteTableCsv::Import import = SiteTableCsv::importTable(csv, site);
        QCOMPARE(errorTexts(import), errors);
        QVERIFY(import.edits.isEmpty());
    }

    void importReadsFiles()
    {
        QTemporaryDir folder;
        const SiteTableCsv::Import missing = SiteTableCsv::readImport(folder.filePath(u"none.csv"_s), folder.path());
        QCOMPARE(missing.errors.size(), 1);
        QCOMPARE(missing.errors.first().line, 0);
        QVERIFY(missing.edits.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSiteTableCsv)
#include "test_site_table_csv.moc"
