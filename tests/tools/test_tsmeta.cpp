#include "TestHome.h"

#include "TsmetaRun.h"

#include "SettingsStore.h"

#include <QDirIterator>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString corpusFolder() { return QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS")); }

} // namespace

class TestTsmeta : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsOnePageIntoOneLine()
    {
        TestHome home;
        const QString path = home.write(u"index.html"_s,
            "<html>\n<head>\n<title>Home</title>\n<meta name=\"description\" content=\"Our shop\">\n"
            "<meta name=\"robots\" content=\"NOINDEX, nofollow\">\n</head>\n<body></body>\n</html>\n");
        const TsmetaRun run = runTsmeta({ "read", path });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.size(), 1);
        const QJsonObject expected { { "path", path }, { "ok", true }, { "title", "Home" }, { "description", "Our shop" },
            { "keywords", "No, keywords" }, { "author", "No author" }, { "noindex", true }, { "nofollow", true },
            { "noimageindex", false }, { "noimageclick", false }, { "charset", false },
            { "robots", "noindex, nofollow" }, { "lineEnd", "LF" }, { "encoding", "UTF-8" } };
        QCOMPARE(run.lines.first(), expected);
    }

    // Each flag read alone shows as itself and as no other.
    void readsEachRobotsFlagAlone_data()
    {
        QTest::addColumn<QString>("word");
        for (const char *word : { "noindex", "nofollow", "noimageindex", "noimageclick" })
            QTest::newRow(word) << QString::fromLatin1(word);
    }
    void readsEachRobotsFlagAlone()
    {
        QFETCH(QString, word);
        TestHome home;
        const QString path = home.write(u"page.html"_s, "<head><meta name=\"robots\" content=\"" + word.toLatin1() + "\"></head>");
        const QJsonObject line = runTsmeta({ "read", path }).lines.value(0);
        for (const char *flag : { "noindex", "nofollow", "noimageindex", "noimageclick" })
            QCOMPARE(line[QLatin1String(flag)].toBool(), word == QLatin1String(flag));
        QCOMPARE(line["robots"].toString(), word);
    }

    // A page that cannot be read or saved gives its own line; the other pages go on.
    void failuresAreLinesToo_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::newRow("read") << QStringList { "read" };
        QTest::newRow("apply") << QStringList { "apply", "--no-backup" };
    }
    void failuresAreLinesToo()
    {
        QFETCH(QStringList, command);
        TestHome home;
        const QString good = home.write(u"good.html"_s, "<head></head>");
        const QString fragment = home.write(u"fragment.html"_s, "<p>no head</p>");
        const QString gone = home.path() + u"/gone.html"_s;
        const TsmetaRun plain = runTsmeta(command + QStringList { fragment, gone, good });
        QCOMPARE(plain.status, 1);
        QCOMPARE(plain.lines.size(), 3);
        QCOMPARE(plain.lines.at(0), (QJsonObject { { "path", fragment }, { "ok", false }, { "error", "No HEAD section in file..." } }));
        QCOMPARE(plain.lines.at(1), (QJsonObject { { "path", gone }, { "ok", false }, { "error", "No such file or directory" } }));
        QVERIFY(plain.lines.at(2)["ok"].toBool() && !plain.lines.at(2).contains("error"));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << QStringList() << 2 << u"no command"_s;
        QTest::newRow("unknown command") << QStringList { "write", "x" } << 2 << u"unknown command 'write'"_s;
        QTest::newRow("read without files") << QStringList { "read" } << 2 << u"at least one FILE"_s;
        QTest::newRow("unknown option") << QStringList { "--frobnicate" } << 2 << u"frobnicate"_s;
        QTest::newRow("unknown robots word") << QStringList { "apply", "--robots", "noarchive", "x.html" } << 2 << u"unknown robots word 'noarchive'"_s;
        QTest::newRow("charset yes") << QStringList { "block", "--charset", "yes" } << 2 << u"--charset takes on or off"_s;
        QTest::newRow("both backup flags") << QStringList { "apply", "--backup", "--no-backup", "x.html" } << 2 << u"exclude each other"_s;
        QTest::newRow("block with a file") << QStringList { "block", "x.html" } << 2 << u"block takes no FILE"_s;
        QTest::newRow("line end for apply") << QStringList { "apply", "--line-end", "lf", "x.html" } << 2 << u"for block only"_s;
        QTest::newRow("bad line end") << QStringList { "block", "--line-end", "nl" } << 2 << u"crlf, lf or cr"_s;
        QTest::newRow("diff without dry run") << QStringList { "apply", "--diff", "x.html" } << 2 << u"needs --dry-run"_s;
        QTest::newRow("dry run for read") << QStringList { "read", "--dry-run", "x.html" } << 2 << u"for apply only"_s;
        QTest::newRow("audit without a path") << QStringList { "audit" } << 2 << u"audit needs at least one FILE"_s;
        QTest::newRow("unknown format") << QStringList { "audit", "--format", "xml", "x.html" } << 2 << u"not 'xml'"_s;
        QTest::newRow("values for audit") << QStringList { "audit", "--author", "Ann", "x" } << 2 << u"but --format, --jobs, --widths and --check"_s;
        QTest::newRow("format for read") << QStringList { "read", "--format", "table", "x.html" } << 2 << u"for audit only"_s;
        QTest::newRow("no threads") << QStringList { "audit", "--jobs", "0", "x.html" } << 2 << u"from 1 to"_s;
        QTest::newRow("threads not a number") << QStringList { "audit", "--jobs", "two", "x.html" } << 2 << u"not 'two'"_s;
        QTest::newRow("widths of a tablet") << QStringList { "audit", "--widths", "tablet", "x.html" } << 2 << u"not 'tablet'"_s;
        QTest::newRow("one width") << QStringList { "audit", "--widths", "600", "x.html" } << 2 << u"two numbers of pixels"_s;
        QTest::newRow("widths for apply") << QStringList { "apply", "--widths", "mobile", "x.html" } << 2 << u"--widths is for audit only"_s;
        QTest::newRow("threads for read") << QStringList { "read", "--jobs", "2", "x.html" } << 2 << u"--jobs is for audit"_s;
        QTest::newRow("no threads, short form") << QStringList { "audit", "-j0", "x.html" } << 2 << u"from 1 to"_s;
        QTest::newRow("check for read") << QStringList { "read", "--check", "x.html" } << 2 << u"--check is for apply and audit only"_s;
        QTest::newRow("values for read") << QStringList { "read", "-q", "--author", "Ann", "x.html" } << 2 << u"read takes no options but --quiet"_s;
        QTest::newRow("standard input among files") << QStringList { "apply", "--author", "Ann", "-", "x.html" } << 2 << u"- must be its only FILE"_s;
        QTest::newRow("backup of standard input") << QStringList { "apply", "--backup", "-" } << 2 << u"no file to back up"_s;
        QTest::newRow("help on an unknown command") << QStringList { "help", "write" } << 2 << u"unknown command 'write'"_s;
        QTest::newRow("unknown command's help") << QStringList { "write", "--help" } << 2 << u"unknown command 'write'"_s;
        QTest::newRow("help") << QStringList { "--help" } << 0 << u"read FILE..."_s;
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const TsmetaRun run = runTsmeta(arguments);
        QCOMPARE(run.status, status);
        QVERIFY2((status ? run.err : run.out).contains(message), qPrintable(run.out + run.err));
        QVERIFY(status ? run.out.isEmpty() : run.err.isEmpty());
    }

    void block_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("printed");
        const QString tail = u"<META name=\"distribution\" content=\"global\">\r\n<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">"_s;
        QTest::newRow("placeholder is no value") << QStringList { "--keywords", "No, keywords" } << tail;
        QTest::newRow("robots in order with the exclusion") << QStringList { "--robots", "noindex, NOFOLLOW,noimageclick" }
            << u"<META name=\"robots\" content=\"nofollow, noimageclick\">\r\n"_s + tail;
        QTest::newRow("charset and lf") << QStringList { "--charset", "on", "--line-end", "lf" }
            << u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\n"_s + QString(tail).replace(u"\r\n"_s, u"\n"_s);
    }
    void block()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, printed);
        const TsmetaRun run = runTsmeta(QStringList { "block" } + arguments);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, printed);
    }

    void applySetsOnlyTheValuesGiven()
    {
        TestHome home;
        const QString path = home.write(u"shop/index.html"_s,
            "<html>\n<head>\n<meta name=\"description\" content=\"Old\">\n<meta name=\"author\" content=\"Kept\">\n"
            "<meta name=\"robots\" content=\"noindex\">\n</head>\n</html>\n");
        const TsmetaRun run = runTsmeta({ "apply", "--description", "New", "--robots", "", "--backup", path });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.value(0), (QJsonObject { { "path", path }, { "ok", true }, { "backup", QString(home.path() + u"/shop/index.bak"_s) } }));
        const QJsonObject after = runTsmeta({ "read", path }).lines.value(0);
        QCOMPARE(after["description"].toString(), u"New"_s);
        QCOMPARE(after["author"].toString(), u"Kept"_s);
        QCOMPARE(after["robots"].toString(), QString());
        QCOMPARE(after["lineEnd"].toString(), u"LF"_s);
    }

    // The page named is the page written, byte for byte, from the arguments of a real
    // start; a file whose name differs only in blanks is left alone.
    void applyWritesTheFileNamed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("backup");
        QTest::newRow("ending in a blank") << u"sp.html "_s << u"sp.bak"_s;
        QTest::newRow("beginning with a blank") << u" sp.html"_s << u" sp.bak"_s;
        QTest::newRow("not ASCII") << u"café sp.html"_s << u"café sp.bak"_s;
    }
    void applyWritesTheFileNamed()
    {
        QFETCH(QString, name);
        QFETCH(QString, backup);
        TestHome home;
        const QByteArray page = "<html><head></head></html>";
        const QString lookalike = home.write(u"sp.html"_s, page);
        const QString named = home.write(name, page);
        QProcess process;
        process.setWorkingDirectory(home.path());
        process.start(QStringLiteral(TSMETA_EXECUTABLE), { "apply", "--author", "Ada", "--backup", name });
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QJsonDocument::fromJson(process.readAllStandardOutput()).object(),
            (QJsonObject { { "path", name }, { "ok", true }, { "backup", backup } }));
        QVERIFY(readFile(named).contains("content=\"Ada\""));
        QCOMPARE(readFile(lookalike), page);
        QVERIFY(QFile::exists(home.path() + u'/' + backup));
    }

    void applyBackupsFollowTheSetting_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("backup");
        QTest::newRow("unset means on") << QString() << QString() << true;
        QTest::newRow("off") << u"off"_s << QString() << false;
        QTest::newRow("flag overrides off") << u"off"_s << u"--backup"_s << true;
        QTest::newRow("flag overrides on") << u"on"_s << u"--no-backup"_s << false;
    }
    void applyBackupsFollowTheSetting()
    {
        QFETCH(QString, setting);
        QFETCH(QString, flag);
        QFETCH(bool, backup);
        TestHome home;
        if (!setting.isEmpty())
            SettingsStore().setValue(u"Backup Files"_s, setting);
        const QString path = home.write(u"page.html"_s, "<head></head>");
        QStringList arguments { "apply", "--author", "X" };
        if (!flag.isEmpty())
            arguments << flag;
        const TsmetaRun run = runTsmeta(arguments << path);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.value(0).contains("backup"), backup);
        QCOMPARE(QFile::exists(home.path() + u"/page.bak"_s), backup);
    }

    // Every page gives exactly one line; it is refused exactly when "<head" is nowhere in it.
    void wholeCorpusInOneRun()
    {
        QStringList pages;
        for (QDirIterator it(corpusFolder(), { u"*.htm*"_s }, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            pages.append(it.next());
        if (corpusFolder().isEmpty() || pages.isEmpty())
            QSKIP("the shared page corpus is not beside this checkout");
        pages.sort();
        QProcess process;
        process.start(QStringLiteral(TSMETA_EXECUTABLE), QStringList { "read" } + pages);
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const QList<QByteArray> rows = process.readAllStandardOutput().split('\n');
        QCOMPARE(rows.size() - 1, pages.size());
        bool anyRefused = false;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            const QJsonObject line = QJsonDocument::fromJson(rows.at(i)).object();
            QCOMPARE(line["path"].toString(), pages.at(i));
            const bool hasHead = readFile(pages.at(i)).toLower().contains("<head");
            QCOMPARE(line["ok"].toBool(), hasHead);
            anyRefused = anyRefused || !hasHead;
        }
        QCOMPARE(process.exitCode(), anyRefused ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestTsmeta)
#include "test_tsmeta.moc"
