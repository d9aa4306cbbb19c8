#include "TestHome.h"
#include "Unprivileged.h"

#include "TsmetaRun.h"

#include "services/SettingsStore.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QTextStream>

namespace {

using Run = TsmetaRun;

Run tsmeta(const QStringList &arguments)
{
    return runTsmeta(arguments);
}

QString corpusFolder()
{
    return QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS"));
}

} // namespace

class TestTsmeta : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsOnePageIntoOneLine()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("index.html"),
            "<html>\n<head>\n<title>Home</title>\n"
            "<meta name=\"description\" content=\"Our shop\">\n"
            "<meta name=\"robots\" content=\"NOINDEX, nofollow\">\n"
            "</head>\n<body></body>\n</html>\n");
        const Run run = tsmeta({ QStringLiteral("read"), path });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.size(), 1);
        const QJsonObject line = run.lines.first();
        const QJsonObject expected {
            { QStringLiteral("path"), path },
            { QStringLiteral("ok"), true },
            { QStringLiteral("title"), QStringLiteral("Home") },
            { QStringLiteral("description"), QStringLiteral("Our shop") },
            { QStringLiteral("keywords"), QStringLiteral("No, keywords") },
            { QStringLiteral("author"), QStringLiteral("No author") },
            { QStringLiteral("noindex"), true },
            { QStringLiteral("nofollow"), true },
            { QStringLiteral("noimageindex"), false },
            { QStringLiteral("noimageclick"), false },
            { QStringLiteral("charset"), false },
            { QStringLiteral("robots"), QStringLiteral("noindex, nofollow") },
            { QStringLiteral("lineEnd"), QStringLiteral("LF") },
            { QStringLiteral("encoding"), QStringLiteral("UTF-8") },
        };
        QCOMPARE(line, expected);
    }

    void failuresAreLinesToo_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        QTest::newRow("no head") << QByteArray("<p>fragment</p>")
                                 << QStringLiteral("No HEAD section in file...");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("No such file or directory");
    }
    void failuresAreLinesToo()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        TestHome home;
        const QString good = home.write(QStringLiteral("good.html"), "<head>");
        const QString bad = content.isEmpty() ? home.path() + QStringLiteral("/gone.html")
                                              : home.write(QStringLiteral("bad.html"), content);
        const Run run = tsmeta({ QStringLiteral("read"), bad, good });
        QCOMPARE(run.status, 1);
        QCOMPARE(run.lines.size(), 2);
        const QJsonObject failed = run.lines.at(0);
        QCOMPARE(failed.value(QStringLiteral("ok")).toBool(true), false);
        QCOMPARE(failed.value(QStringLiteral("error")).toString(), error);
        QCOMPARE(failed.value(QStringLiteral("path")).toString(), bad);
        QVERIFY(!failed.contains(QStringLiteral("description")));
        QVERIFY(run.lines.at(1).value(QStringLiteral("ok")).toBool());
        QVERIFY(!run.lines.at(1).contains(QStringLiteral("error")));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("outContains");
        QTest::addColumn<QString>("errContains");
        QTest::newRow("nothing") << QStringList() << 2 << QString() << QStringLiteral("no command");
        QTest::newRow("unknown command") << QStringList { QStringLiteral("write"), QStringLiteral("x") } << 2
                                         << QString() << QStringLiteral("unknown command 'write'");
        QTest::newRow("read without files") << QStringList { QStringLiteral("read") } << 2 << QString()
                                            << QStringLiteral("at least one FILE");
        QTest::newRow("unknown option") << QStringList { QStringLiteral("--frobnicate") } << 2 << QString()
                                        << QStringLiteral("frobnicate");
        QTest::newRow("help") << QStringList { QStringLiteral("--help") } << 0
                              << QStringLiteral("read FILE...") << QString();
        QTest::newRow("version") << QStringList { QStringLiteral("--version") } << 0
                                 << QStringLiteral("2.01a.0521") << QString();
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, outContains);
        QFETCH(QString, errContains);
        const Run run = tsmeta(arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.out.contains(outContains), qPrintable(run.out));
        QVERIFY2(run.err.contains(errContains), qPrintable(run.err));
    }

    void fileNamedLikeAnOptionAfterDoubleDash()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("--help"), "<head><title>t</title>");
        QDir::setCurrent(home.path());
        const Run run = tsmeta({ QStringLiteral("read"), QStringLiteral("--"), QStringLiteral("--help") });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.value(0).value(QStringLiteral("title")).toString(), QStringLiteral("t"));
    }

    void unreadableFileGivesTheSystemsReason()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("private.html"), "<head>");
        const QString error = runUnprivileged([&] {
            return tsmeta({ QStringLiteral("read"), path })
                .lines.value(0)
                .value(QStringLiteral("error"))
                .toString();
        });
        QCOMPARE(error, QStringLiteral("Permission denied"));
    }

    void block_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("printed");
        const QString tail = QStringLiteral("<META name=\"distribution\" content=\"global\">\r\n"
                                            "<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">");
        QTest::newRow("no values") << QStringList() << tail;
        QTest::newRow("description and author")
            << QStringList { QStringLiteral("--description"), QStringLiteral("Fresh bread"),
                   QStringLiteral("--author"), QStringLiteral("Ada") }
            << QStringLiteral("<META name=\"description\" content=\"Fresh bread\">\r\n<META name=\"author\" "
                              "content=\"Ada\">\r\n")
                + tail;
        QTest::newRow("robots in order with the exclusion")
            << QStringList { QStringLiteral("--robots"), QStringLiteral("noindex, NOFOLLOW,noimageclick") }
            << QStringLiteral("<META name=\"robots\" content=\"nofollow, noimageclick\">\r\n") + tail;
        QTest::newRow("charset and lf")
            << QStringList { QStringLiteral("--charset"), QStringLiteral("on"), QStringLiteral("--line-end"),
                   QStringLiteral("lf") }
            << QStringLiteral(
                   "<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\n")
                + QString(tail).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QTest::newRow("placeholder is no value")
            << QStringList { QStringLiteral("--keywords"), QStringLiteral("No, keywords") } << tail;
    }
    void block()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, printed);
        const Run run = tsmeta(QStringList { QStringLiteral("block") } + arguments);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, printed);
    }

    void applySetsOnlyTheValuesGiven()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("shop/index.html"),
            "<html>\n<head>\n<meta name=\"description\" content=\"Old\">\n"
            "<meta name=\"author\" content=\"Kept\">\n<meta name=\"robots\" content=\"noindex\">\n"
            "</head>\n</html>\n");
        const Run run
            = tsmeta({ QStringLiteral("apply"), QStringLiteral("--description"), QStringLiteral("New"),
                QStringLiteral("--robots"), QStringLiteral(""), QStringLiteral("--backup"), path });
        QCOMPARE(run.status, 0);
        const QJsonObject expected { { QStringLiteral("path"), path }, { QStringLiteral("ok"), true },
            { QStringLiteral("backup"), QString(home.path() + QStringLiteral("/shop/index.bak")) } };
        QCOMPARE(run.lines.value(0), expected);

        const QJsonObject after = tsmeta({ QStringLiteral("read"), path }).lines.value(0);
        QCOMPARE(after.value(QStringLiteral("description")).toString(), QStringLiteral("New"));
        QCOMPARE(after.value(QStringLiteral("author")).toString(), QStringLiteral("Kept"));
        QCOMPARE(after.value(QStringLiteral("robots")).toString(), QString());
        QCOMPARE(after.value(QStringLiteral("lineEnd")).toString(), QStringLiteral("LF"));
    }

    void applyBackupsFollowTheSetting_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("backup");
        QTest::newRow("unset means on") << QString() << QString() << true;
        QTest::newRow("off") << QStringLiteral("off") << QString() << false;
        QTest::newRow("Off in capitals is on") << QStringLiteral("Off") << QString() << true;
        QTest::newRow("flag overrides off") << QStringLiteral("off") << QStringLiteral("--backup") << true;
        QTest::newRow("flag overrides on") << QStringLiteral("on") << QStringLiteral("--no-backup") << false;
    }
    void applyBackupsFollowTheSetting()
    {
        QFETCH(QString, setting);
        QFETCH(QString, flag);
        QFETCH(bool, backup);
        TestHome home;
        if (!setting.isEmpty())
            SettingsStore().SetValue(QStringLiteral("Backup Files"), setting);
        const QString path = home.write(QStringLiteral("page.html"), "<head></head>");
        QStringList arguments { QStringLiteral("apply"), QStringLiteral("--author"), QStringLiteral("X") };
        if (!flag.isEmpty())
            arguments << flag;
        const Run run = tsmeta(arguments << path);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.value(0).contains(QStringLiteral("backup")), backup);
        QCOMPARE(QFile::exists(home.path() + QStringLiteral("/page.bak")), backup);
    }

    void applyFailuresAreReported()
    {
        TestHome home;
        const QString good = home.write(QStringLiteral("good.html"), "<head></head>");
        const QString fragment = home.write(QStringLiteral("fragment.html"), "<p>no head</p>");
        const Run run = tsmeta({ QStringLiteral("apply"), QStringLiteral("--no-backup"), fragment,
            home.path() + QStringLiteral("/gone.html"), good });
        QCOMPARE(run.status, 1);
        QCOMPARE(run.lines.size(), 3);
        QCOMPARE(run.lines.at(0).value(QStringLiteral("error")).toString(),
            QStringLiteral("No HEAD section in file..."));
        QCOMPARE(run.lines.at(1).value(QStringLiteral("error")).toString(),
            QStringLiteral("No such file or directory"));
        QVERIFY(run.lines.at(2).value(QStringLiteral("ok")).toBool());
    }

    void valueErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown robots word") << QStringList { QStringLiteral("apply"),
            QStringLiteral("--robots"), QStringLiteral("noarchive"), QStringLiteral("x.html") }
                                             << QStringLiteral("unknown robots word 'noarchive'");
        QTest::newRow("charset yes") << QStringList { QStringLiteral("block"), QStringLiteral("--charset"),
            QStringLiteral("yes") } << QStringLiteral("--charset takes on or off");
        QTest::newRow("both backup flags") << QStringList { QStringLiteral("apply"),
            QStringLiteral("--backup"), QStringLiteral("--no-backup"), QStringLiteral("x.html") }
                                           << QStringLiteral("exclude each other");
        QTest::newRow("block with a file") << QStringList { QStringLiteral("block"),
            QStringLiteral("x.html") } << QStringLiteral("block takes no FILE");
        QTest::newRow("line end for apply") << QStringList { QStringLiteral("apply"),
            QStringLiteral("--line-end"), QStringLiteral("lf"), QStringLiteral("x.html") }
                                            << QStringLiteral("for block only");
        QTest::newRow("bad line end") << QStringList { QStringLiteral("block"), QStringLiteral("--line-end"),
            QStringLiteral("nl") } << QStringLiteral("crlf, lf or cr");
        QTest::newRow("read with values") << QStringList { QStringLiteral("read"), QStringLiteral("--author"),
            QStringLiteral("x"), QStringLiteral("x.html") }
                                          << QStringLiteral("read takes no options");
    }
    void valueErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = tsmeta(arguments);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    // Pages whose values a careful reader can check against the page's own source.
    void corpusPages_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::newRow("author of a news page")
            << QStringLiteral("readability/test__test-pages__medium-2__source.html")
            << QStringLiteral("author") << QJsonValue(QStringLiteral("Courtney Kirchoff"));
        QTest::newRow("robots noindex")
            << QStringLiteral("readability/test__test-pages__mozilla-2__source.html")
            << QStringLiteral("robots") << QJsonValue(QStringLiteral("noindex"));
        QTest::newRow("iso-8859-1 content type") << QStringLiteral("xmlpull/doc__README_DOWNLOAD.html")
                                                 << QStringLiteral("charset") << QJsonValue(true);
        QTest::newRow("upper-case head, crlf")
            << QStringLiteral("xmlpull/doc__README_DOWNLOAD.html") << QStringLiteral("author")
            << QJsonValue(QStringLiteral("Aleksander Slominski"));
        QTest::newRow("accents in utf-8")
            << QStringLiteral("readability/test__test-pages__la-nacion__source.html")
            << QStringLiteral("encoding") << QJsonValue(QStringLiteral("UTF-8"));
        QTest::newRow("big5 bytes read as windows-1252")
            << QStringLiteral("wpt/encoding__legacy-mb-tchinese__big5__big5_chars_extra.html")
            << QStringLiteral("encoding") << QJsonValue(QStringLiteral("windows-1252"));
        QTest::newRow("entities are not decoded")
            << QStringLiteral("tidy-html5/regression_testing__cases__legacy-cases__case-978947@0.html")
            << QStringLiteral("author") << QJsonValue(QStringLiteral("Christian Engstr&ouml;m"));
        QTest::newRow("minified page without quotes reads nothing")
            << QStringLiteral("html-minifier/benchmarks__abc.min.html") << QStringLiteral("description")
            << QJsonValue(QStringLiteral("No description"));
    }
    void corpusPages()
    {
        QFETCH(QString, file);
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        const QString path = corpusFolder() + QLatin1Char('/') + file;
        if (!QFile::exists(path))
            QSKIP("the shared page corpus is not beside this checkout");
        const Run run = tsmeta({ QStringLiteral("read"), path });
        QCOMPARE(run.lines.value(0).value(key), value);
    }

    // Every page gives exactly one line; it is refused exactly when "<head" is nowhere in it.
    void wholeCorpusInOneRun()
    {
        QStringList pages;
        QDirIterator it(
            corpusFolder(), { QStringLiteral("*.htm*") }, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            pages.append(it.next());
        if (pages.isEmpty())
            QSKIP("the shared page corpus is not beside this checkout");
        pages.sort();

        QProcess process;
        process.start(QStringLiteral(TSMETA_EXECUTABLE), QStringList { QStringLiteral("read") } + pages);
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const QList<QByteArray> rows = process.readAllStandardOutput().split('\n');
        QCOMPARE(rows.size() - 1, pages.size());
        bool anyRefused = false;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            const QJsonObject line = QJsonDocument::fromJson(rows.at(i)).object();
            QCOMPARE(line.value(QStringLiteral("path")).toString(), pages.at(i));
            QFile page(pages.at(i));
            QVERIFY(page.open(QIODevice::ReadOnly));
            const bool hasHead = page.readAll().toLower().contains("<head");
            QCOMPARE(line.value(QStringLiteral("ok")).toBool(), hasHead);
            anyRefused = anyRefused || !hasHead;
        }
        QCOMPARE(process.exitCode(), anyRefused ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestTsmeta)
#include "test_tsmeta.moc"
