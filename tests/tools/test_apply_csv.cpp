#include "TestHome.h"
#include "JsonLines.h"
#include "TsmetaRun.h"
#include "Unprivileged.h"

#include <QDirIterator>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kPage = "<html>\r\n<head>\r\n<title>Bakery</title>\r\n<meta name=\"description\" content=\"old\">\r\n"
                         "<meta name=\"keywords\" content=\"bread\">\r\n<meta name=\"robots\" content=\"noindex\">\r\n"
                         "</head>\r\n<body>caf\xc3\xa9</body>\r\n</html>\r\n"_ba;

// Every file below a folder with its bytes and mode: two equal listings mean nothing was
// written, made or removed.
QStringList listing(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status { };
        ::lstat(QFile::encodeName(path).constData(), &status);
        entries << u"%1 %2 %3"_s.arg(path).arg(status.st_mode, 0, 8).arg(QString::fromLatin1(readFile(path).toBase64()));
    }
    entries.sort();
    return entries;
}

QStringList fromCsv(const QString &table, const QStringList &options = { u"--no-backup"_s })
{
    return QStringList { u"apply"_s } + options + QStringList { u"--from-csv"_s, table };
}

} // namespace

class TestApplyCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A row of the table saves its page to the very bytes "tsmeta apply" writes with the
    // same values given as options.
    void savesAsApplyWithTheSameValues_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("texts with commas, quotes and markup") << "path,description,author\r\npage.html,\"Fresh, \"\"hot\"\" <bread> & rolls\",Zoë Ærø\r\n"_ba
            << QStringList { "--description", u"Fresh, \"hot\" <bread> & rolls"_s, "--author", u"Zoë Ærø"_s };
        QTest::newRow("empty cells as empty values") << "path,description,keywords,robots\npage.html,,,\n"_ba
            << QStringList { "--description", "", "--keywords", "", "--robots", "" };
        QTest::newRow("missing columns as options not given") << "path,author\npage.html,Ann\n"_ba << QStringList { "--author", "Ann" };
        QTest::newRow("path alone as no option") << "path\npage.html\n"_ba << QStringList {};
        QTest::newRow("robots and charset words") << "Path;ROBOTS;Charset\npage.html;NoFollow, noimageclick;Yes\n"_ba
            << QStringList { "--robots", "nofollow,noimageclick", "--charset", "on" };
        QTest::newRow("charset off") << "path,charset\npage.html,0\n"_ba << QStringList { "--charset", "off" };
        QTest::newRow("an export as it is") << "\xEF\xBB\xBFpath,title,title width,description,description width,keywords,author,robots,charset,warnings\r\n"
                                               "page.html,Bakery,80.5,\"two\r\nlines\",301,bread,,noindex,off,outside-head\r\n"_ba
            << QStringList { "--description", "two\r\nlines", "--keywords", "bread", "--author", "", "--robots", "noindex", "--charset", "off" };
    }
    void savesAsApplyWithTheSameValues()
    {
        QFETCH(QByteArray, table);
        QFETCH(QStringList, options);
        TestHome home;
        const QString byTable = home.write(u"table/page.html"_s, kPage);
        const QString byOptions = home.write(u"options/page.html"_s, kPage);
        const QString csv = home.write(u"table/site.csv"_s, table);
        const TsmetaRun run = runTsmeta(fromCsv(csv));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines, (QList<QJsonObject> { { { "path", byTable }, { "ok", true } } }));
        QCOMPARE(runTsmeta(QStringList { "apply", "--no-backup" } + options + QStringList { byOptions }).status, 0);
        QCOMPARE(readFile(byTable), readFile(byOptions));
    }

    // Relative paths are taken from the table's folder, wherever the command runs, or from
    // --site; absolute ones stand for themselves.
    void findsThePages_data()
    {
        QTest::addColumn<QString>("tableName");
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QStringList>("site");
        QTest::addColumn<QStringList>("changed");
        QTest::newRow("beside the table") << u"site/t.csv"_s << "path,author\na.html,X\nsub/b.html,X\n"_ba << QStringList {} << QStringList { "site/a.html", "site/sub/b.html" };
        QTest::newRow("table in a subfolder") << u"site/sub/t.csv"_s << "path,author\nb.html,X\n"_ba << QStringList {} << QStringList { "site/sub/b.html" };
        QTest::newRow("table elsewhere, --site") << u"exports/t.csv"_s << "path,author\na.html,X\n"_ba << QStringList { "--site", "site" } << QStringList { "site/a.html" };
        QTest::newRow("--site with a slash") << u"t.csv"_s << "path,author\nsub/b.html,X\n"_ba << QStringList { "--site", "site/" } << QStringList { "site/sub/b.html" };
    }
    void findsThePages()
    {
        QFETCH(QString, tableName);
        QFETCH(QByteArray, table);
        QFETCH(QStringList, site);
        QFETCH(QStringList, changed);
        TestHome home;
        QDir().mkpath(home.path() + u"/elsewhere"_s);
        for (const QString &name : { u"site/a.html"_s, u"site/sub/b.html"_s, u"exports/a.html"_s, u"a.html"_s })
            QVERIFY(!home.write(name, kPage).isEmpty());
        QVERIFY(!home.write(tableName, table).isEmpty());
        if (!site.isEmpty())
            site[1] = home.path() + u'/' + site[1];
        const TsmetaRun run = runTsmeta(fromCsv(home.path() + u'/' + tableName, site + QStringList { "--no-backup" }), home.path() + u"/elsewhere"_s);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        QCOMPARE(run.status, 0);
        QStringList saved;
        for (const QString &name : { u"site/a.html"_s, u"site/sub/b.html"_s, u"exports/a.html"_s, u"a.html"_s }) {
            if (readFile(home.path() + u'/' + name) != kPage)
                saved.append(name);
        }
        QCOMPARE(saved, changed);
    }

    // Each page gets the values of its own row, in the table's order.
    void eachPageItsOwnRow()
    {
        TestHome home;
        const QString a = home.write(u"a.html"_s, kPage);
        const QString b = home.write(u"b.html"_s, kPage);
        const QString csv = home.write(u"t.csv"_s, "path,author,robots\nb.html,Bea,nofollow\na.html,Ann,\n");
        const TsmetaRun run = runTsmeta(fromCsv(csv));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines, (QList<QJsonObject> { { { "path", b }, { "ok", true } }, { { "path", a }, { "ok", true } } }));
        const TsmetaRun read = runTsmeta({ "read", a, b });
        QCOMPARE(read.lines.at(0)["author"], u"Ann"_s);
        QCOMPARE(read.lines.at(0)["robots"], QString());
        QCOMPARE(read.lines.at(1)["author"], u"Bea"_s);
        QCOMPARE(read.lines.at(1)["robots"], u"nofollow"_s);
    }

    // Backups as apply makes them; a page that cannot be written is reported and left as
    // it was, and the others are saved.
    void savesEachPageAsApplyDoes()
    {
        TestHome home;
        const QString a = home.write(u"site/a.html"_s, kPage);
        const QString locked = home.write(u"site/locked.html"_s, kPage);
        const QString c = home.write(u"site/c.html"_s, kPage);
        const QString csv = home.write(u"site/t.csv"_s, "path,author\r\na.html,Ann\r\nlocked.html,Ann\r\nc.html,Ann\r\n");
        QVERIFY(QFile::setPermissions(home.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ExeOther));
        for (const QString &page : { a, c, csv })
            QVERIFY(QFile::setPermissions(page, QFileDevice::ReadOwner | QFileDevice::ReadOther | QFileDevice::WriteOther));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        QVERIFY(QFile::setPermissions(home.path() + u"/site"_s, QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther | QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        const QString result = runUnprivileged([&] {
            const TsmetaRun run = runTsmeta(fromCsv(csv, { u"--backup"_s }));
            return u"%1\n%2%3"_s.arg(run.status).arg(run.out, run.err);
        });
        const QString aLine = JsonLines::lineOf(QJsonObject { { "path", a }, { "ok", true }, { "backup", QString(home.path() + u"/site/a.bak"_s) } });
        const QString cLine = JsonLines::lineOf(QJsonObject { { "path", c }, { "ok", true }, { "backup", QString(home.path() + u"/site/c.bak"_s) } });
        QVERIFY2(result.startsWith(u"1\n"_s + aLine + u"{\"error\":"_s), qPrintable(result));
        QVERIFY2(result.contains(u"\"ok\":false,\"path\":\"%1\"}\n"_s.arg(locked) + cLine + u"tsmeta: "_s + locked + u": "_s), qPrintable(result));
        QCOMPARE(readFile(locked), kPage);
        QVERIFY(!QFile::exists(home.path() + u"/site/locked.bak"_s));
        for (const QString &name : { u"a"_s, u"c"_s }) {
            QCOMPARE(readFile(home.path() + u"/site/"_s + name + u".bak"_s), kPage);
            QVERIFY(readFile(home.path() + u"/site/"_s + name + u".html"_s).contains("<META name=\"author\" content=\"Ann\">"));
        }
    }

    // A dry run writes nothing; --check says by its status whether a page would change,
    // and --diff shows how.
    void dryRuns_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("savedBefore");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed");
        QTest::newRow("check, would change") << QStringList { "--check" } << false << 3 << u"\"changed\":true"_s;
        QTest::newRow("check, saved already") << QStringList { "--check" } << true << 0 << u"\"changed\":false"_s;
        QTest::newRow("dry run") << QStringList { "--dry-run" } << false << 0 << u"\"dryRun\":true"_s;
        QTest::newRow("diff") << QStringList { "--dry-run", "--diff" } << false << 0 << u"+<META name=\"author\" content=\"Ann\">"_s;
        QTest::newRow("check with a diff") << QStringList { "--check", "--diff" } << false << 3 << u"-<meta name=\"robots\" content=\"noindex\">"_s;
    }
    void dryRuns()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, savedBefore);
        QFETCH(int, status);
        QFETCH(QString, printed);
        TestHome home;
        QVERIFY(!home.write(u"a.html"_s, kPage).isEmpty());
        const QString csv = home.write(u"t.csv"_s, "path,author,robots\na.html,Ann,\n");
        if (savedBefore)
            QCOMPARE(runTsmeta(fromCsv(csv)).status, 0);
        const QStringList before = listing(home.path());
        const TsmetaRun run = runTsmeta(fromCsv(csv, options << u"--backup"_s));
        QCOMPARE(run.status, status);
        QVERIFY2(run.out.contains(printed), qPrintable(run.out));
        QCOMPARE(listing(home.path()), before);
    }

    // Pages are named from the table's folder as given, so that a diff made from the
    // folder above patches there.
    void diffNamesPagesAsTheFolderWasNamed()
    {
        TestHome home;
        QVERIFY(!home.write(u"site/sub/b.html"_s, kPage).isEmpty());
        QVERIFY(!home.write(u"site/t.csv"_s, "path,author\n./sub/b.html,Bea\n").isEmpty());
        const TsmetaRun run = runTsmeta(fromCsv(u"site/t.csv"_s, { u"--dry-run"_s, u"--diff"_s }), home.path());
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(u"--- site/sub/b.html\n+++ site/sub/b.html\n"_s), qPrintable(run.out));
    }

    // A table with any bad row changes no page, and says which rows are bad.
    void badTablesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("message");
        QTest::newRow("bad robots word in the last row") << "path,robots\na.html,noindex\nb.html,noarchive\n"_ba << u"t.csv:3: unknown robots word 'noarchive'"_s;
        QTest::newRow("a page outside the folder") << "path,author\na.html,x\n../a.html,x\n"_ba << u"t.csv:3: '../a.html' is not a page inside"_s;
        QTest::newRow("a page twice") << "path,author\na.html,x\nb.html,y\na.html,z\n"_ba << u"t.csv:4: the page of line 2 again"_s;
        QTest::newRow("unknown column") << "path,autor\na.html,x\n"_ba << u"t.csv:1: unknown column 'autor'"_s;
        QTest::newRow("quote never closed") << "path,author\na.html,\"x\nb.html,y\n"_ba << u"t.csv:2: a quoted cell starts here and never ends"_s;
        QTest::newRow("not UTF-8") << "path,author\na.html,Zo\xeb\n"_ba << u"t.csv:2: not UTF-8"_s;
    }
    void badTablesChangeNothing()
    {
        QFETCH(QByteArray, table);
        QFETCH(QString, message);
        TestHome home;
        QVERIFY(!home.write(u"site/a.html"_s, kPage).isEmpty());
        QVERIFY(!home.write(u"site/b.html"_s, kPage).isEmpty());
        QVERIFY(!home.write(u"a.html"_s, kPage).isEmpty());
        const QString csv = home.write(u"site/t.csv"_s, table);
        const QStringList before = listing(home.path());
        const TsmetaRun run = runTsmeta(fromCsv(u"t.csv"_s, { u"--backup"_s }), home.path() + u"/site"_s);
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith(u"tsmeta: "_s + message), qPrintable(run.err));
        QCOMPARE(listing(home.path()), before);
    }

    void missingTable()
    {
        TestHome home;
        const TsmetaRun run = runTsmeta(fromCsv(home.path() + u"/none.csv"_s));
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, u"tsmeta: %1/none.csv: No such file or directory\n"_s.arg(home.path()));
    }

    // The table names the pages and their values: options that would too are refused.
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("a value too") << QStringList { "apply", "--author", "Ann", "--from-csv", "t.csv" } << u"--from-csv takes the values from the table"_s;
        QTest::newRow("an empty value too") << QStringList { "apply", "--from-csv", "t.csv", "--robots", "" } << u"--from-csv takes the values from the table"_s;
        QTest::newRow("a charset too") << QStringList { "apply", "--from-csv", "t.csv", "--charset", "off" } << u"--from-csv takes the values from the table"_s;
        QTest::newRow("a file too") << QStringList { "apply", "--from-csv", "t.csv", "a.html" } << u"--from-csv takes the pages from the table"_s;
        QTest::newRow("standard input too") << QStringList { "apply", "--from-csv", "t.csv", "-" } << u"--from-csv takes the pages from the table"_s;
        QTest::newRow("for read") << QStringList { "read", "--from-csv", "t.csv", "a.html" } << u"--from-csv is for apply only"_s;
        QTest::newRow("for block") << QStringList { "block", "--from-csv", "t.csv" } << u"--from-csv is for apply only"_s;
        QTest::newRow("for audit") << QStringList { "audit", "--from-csv", "t.csv", "." } << u"--from-csv is for apply only"_s;
        QTest::newRow("site without a table") << QStringList { "apply", "--site", ".", "a.html" } << u"--site is for apply --from-csv only"_s;
        QTest::newRow("site not a folder") << QStringList { "apply", "--from-csv", "t.csv", "--site", "a.html" } << u"--site: 'a.html' is not a folder"_s;
        QTest::newRow("no table named") << QStringList { "apply", "--from-csv" } << u"Missing value after '--from-csv'"_s;
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        TestHome home;
        QVERIFY(!home.write(u"a.html"_s, kPage).isEmpty());
        QVERIFY(!home.write(u"t.csv"_s, "path,author\na.html,Ann\n").isEmpty());
        const QStringList before = listing(home.path());
        const TsmetaRun run = runTsmeta(arguments, home.path());
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.startsWith(u"tsmeta: "_s + message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(listing(home.path()), before);
    }
};

QTEST_GUILESS_MAIN(TestApplyCsv)
#include "test_apply_csv.moc"
