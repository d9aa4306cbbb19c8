#include "TestHome.h"

#include "TsmetaRun.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QTextStream>

#include <sys/stat.h>

namespace {

// A diff is Latin-1 bytes, one per page byte, so a run keeps them as bytes.
struct Run
{
    int status = -1;
    QByteArray out;
    QString err;
};

// Runs tsmeta in-process from the given folder, so the paths it prints are relative to it.
Run tsmetaIn(const QString &folder, const QStringList &arguments)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    const TsmetaRun run = runTsmeta(arguments);
    QDir::setCurrent(before);
    return { run.status, run.out.toLatin1(), run.err };
}

// The values every page in the tables gets: characters Windows-1252 holds and Latin-1
// does not, an accent, and every kind of member.
const QStringList kValues { QStringLiteral("--description"), QStringLiteral(u"Fresh – bread, daily"),
    QStringLiteral("--keywords"), QStringLiteral("bread, rolls"), QStringLiteral("--author"),
    QStringLiteral(u"Zoë Ærø"), QStringLiteral("--robots"), QStringLiteral("noindex,nofollow"),
    QStringLiteral("--charset"), QStringLiteral("on") };

QStringList dryRunDiff(const QStringList &files)
{
    return QStringList { QStringLiteral("apply"), QStringLiteral("--dry-run"), QStringLiteral("--diff") }
    + kValues + files;
}

QStringList realApply(const QStringList &files)
{
    return QStringList { QStringLiteral("apply"), QStringLiteral("--no-backup") } + kValues + files;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every entry below a folder, hidden ones included, with its size, time to the
// nanosecond and bytes: two equal listings mean nothing was written, renamed or left.
QStringList listing(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status
        {
        };
        ::lstat(QFile::encodeName(path).constData(), &status);
        entries.append(QDir(folder).relativeFilePath(path) + QLatin1Char(' ')
            + QString::number(status.st_size) + QLatin1Char(' ') + QString::number(status.st_mtim.tv_sec)
            + QLatin1Char('.') + QString::number(status.st_mtim.tv_nsec) + QLatin1Char(' ')
            + QString::fromLatin1(contents(path).toBase64()));
    }
    entries.sort();
    return entries;
}

// GNU patch, run in folder the way a user applies the output: patch -p0 < diff.
QString patchIn(const QString &folder, const QByteArray &diff)
{
    QProcess patch;
    patch.setWorkingDirectory(folder);
    patch.start(QStringLiteral("patch"),
        { QStringLiteral("-p0"), QStringLiteral("--fuzz=0"), QStringLiteral("--batch"),
            QStringLiteral("--no-backup-if-mismatch") });
    if (!patch.waitForStarted())
        return QStringLiteral("patch did not start");
    patch.write(diff);
    patch.closeWriteChannel();
    if (!patch.waitForFinished(60000) || patch.exitStatus() != QProcess::NormalExit || patch.exitCode() != 0)
        return QString::fromLocal8Bit(patch.readAllStandardOutput() + patch.readAllStandardError());
    return {};
}

// Bytes in every value but NUL, in lines of random length ended by LF, CR or nothing,
// around a HEAD the save can find.
QByteArray binaryJunk()
{
    QRandomGenerator random(20261206);
    QByteArray junk;
    for (int i = 0; i < 6000; ++i)
        junk += char(random.bounded(1, 256));
    junk.insert(4000, "</head>");
    junk.insert(1200, "<meta name=\"author\" content=\"gone\">\n");
    junk.insert(500, "<head>");
    return junk;
}

QString corpusFolder()
{
    return QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS"));
}

} // namespace

class TestApplyDiff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // For each page: the dry-run diff leaves the folder as it was, and patch turns a copy
    // of the page into exactly the bytes a real apply writes into another copy.
    void diffPatchesToTheSavedBytes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("corpusFile");

        const QString page = QStringLiteral("page.html");
        QTest::newRow("lf") << page
                            << QByteArray("<html>\n<head>\n<title>T</title>\n"
                                          "<meta name=\"description\" content=\"old\">\n</head>\n"
                                          "<body>\n<p>x</p>\n</body>\n</html>\n")
                            << QString();
        QTest::newRow("crlf") << page
                              << QByteArray("<html>\r\n<head>\r\n<title>T</title>\r\n"
                                            "<meta name=\"keywords\" content=\"old\">\r\n</head>\r\n"
                                            "<body>\r\n</body>\r\n</html>\r\n")
                              << QString();
        QTest::newRow("cr only") << page
                                 << QByteArray("<html>\r<head>\r<meta name=\"author\" content=\"old\">\r"
                                               "<title>T</title>\r</head>\r<body></body>\r</html>\r")
                                 << QString();
        QTest::newRow("lf, no final line end")
            << page << QByteArray("<html>\n<head>\n<title>T</title>\n</head>\n<body></body>\n</html>")
            << QString();
        QTest::newRow("crlf, no final line end")
            << page << QByteArray("<head>\r\n<meta name=\"robots\" content=\"noindex\">\r\n</head>")
            << QString();
        QTest::newRow("head on the last line")
            << page << QByteArray("<html><head><title>T</title></head>") << QString();
        QTest::newRow("windows-1252 page")
            << page
            << QByteArray("<html>\n<head>\n<title>Caf\xe9 \x96 menu</title>\n"
                          "<meta name=\"author\" content=\"Ren\xe9\">\n</head>\n<body>\xa9</body>\n</html>\n")
            << QString();
        QTest::newRow("tags the editor does not read are still removed")
            << page
            << QByteArray("<html>\n<head>\n  <META NAME=\"DISTRIBUTION\" CONTENT=\"global\">\n"
                          "<meta name=\"FORMATTER\" content=\"Old Tool 1.0\">\n"
                          "<title>T</title><meta http-equiv=\"Content-Type\" content=\"text/html\">\n"
                          "<meta name=description content=unquoted>\n"
                          "<meta name=\"generator\" content=\"kept\">\n</head>\n"
                          "<body><meta name=\"author\" content=\"body, kept\"></body>\n</html>\n")
            << QString();
        QTest::newRow("nul-free binary junk") << page << binaryJunk() << QString();
        QTest::newRow("name with blanks in a folder")
            << QStringLiteral("my site/home page.html") << QByteArray("<head>\n</head>\n") << QString();

        const QStringList corpus { QStringLiteral("xmlpull/doc__README_DOWNLOAD.html"),
            QStringLiteral("readability/test__test-pages__medium-2__source.html"),
            QStringLiteral("readability/test__test-pages__mozilla-2__source.html"),
            QStringLiteral("readability/test__test-pages__la-nacion__source.html"),
            QStringLiteral("wpt/encoding__legacy-mb-tchinese__big5__big5_chars_extra.html"),
            QStringLiteral("tidy-html5/regression_testing__cases__legacy-cases__case-978947@0.html"),
            QStringLiteral("html-minifier/benchmarks__amazon.html"),
            QStringLiteral("html-minifier/benchmarks__abc.min.html"),
            QStringLiteral("html5-boilerplate/v0.9__index.html") };
        for (const QString &file : corpus)
            QTest::newRow(qPrintable(QStringLiteral("corpus ") + file)) << file << QByteArray() << file;
    }
    void diffPatchesToTheSavedBytes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, page);
        QFETCH(QString, corpusFile);
        if (!corpusFile.isEmpty()) {
            const QString source = corpusFolder() + QLatin1Char('/') + corpusFile;
            if (!QFile::exists(source))
                QSKIP("the shared page corpus is not beside this checkout");
            page = contents(source);
        }
        TestHome home;
        const QString dry = home.path() + QStringLiteral("/dry");
        const QString patched = home.path() + QStringLiteral("/patched");
        const QString saved = home.path() + QStringLiteral("/saved");
        for (const QString &folder : { dry, patched, saved })
            QVERIFY(writeFile(folder + QLatin1Char('/') + name, page));

        const QStringList before = listing(dry);
        const Run diff = tsmetaIn(dry, dryRunDiff({ name }));
        QCOMPARE(diff.status, 0);
        QVERIFY2(diff.err.isEmpty(), qPrintable(diff.err));
        QCOMPARE(listing(dry), before);
        QVERIFY(diff.out.startsWith("--- "));

        const QString patchFailure = patchIn(patched, diff.out);
        QVERIFY2(patchFailure.isEmpty(), qPrintable(patchFailure));
        const Run apply = tsmetaIn(saved, realApply({ name }));
        QCOMPARE(apply.status, 0);
        const QByteArray written = contents(saved + QLatin1Char('/') + name);
        QVERIFY(written != page);
        QCOMPARE(contents(patched + QLatin1Char('/') + name), written);
        QCOMPARE(listing(patched).size(), listing(saved).size());
    }

    // Several pages in one run, one of them already saved with these values: one patch
    // over the whole folder gives what applying to all of them gives.
    void oneDiffForAFolder()
    {
        TestHome home;
        const QString dry = home.path() + QStringLiteral("/dry");
        const QString patched = home.path() + QStringLiteral("/patched");
        const QString saved = home.path() + QStringLiteral("/saved");
        const QStringList names { QStringLiteral("site/a.html"), QStringLiteral("site/b.html"),
            QStringLiteral("site/old/c.html") };
        for (const QString &folder : { dry, patched, saved }) {
            QVERIFY(writeFile(folder + QStringLiteral("/site/a.html"), "<head>\n</head>\n"));
            QVERIFY(writeFile(folder + QStringLiteral("/site/b.html"), "<HEAD>\r\n</HEAD>"));
            QVERIFY(writeFile(folder + QStringLiteral("/site/old/c.html"), "<head>\r</head>\r"));
            QCOMPARE(tsmetaIn(folder, realApply({ QStringLiteral("site/b.html") })).status, 0);
        }
        const QStringList before = listing(dry);
        const Run diff = tsmetaIn(dry, dryRunDiff(names));
        QCOMPARE(diff.status, 0);
        QCOMPARE(listing(dry), before);
        QCOMPARE(diff.out.count("\n+++ "), 2);
        QVERIFY(!diff.out.contains("b.html"));

        const QString patchFailure = patchIn(patched, diff.out);
        QVERIFY2(patchFailure.isEmpty(), qPrintable(patchFailure));
        QCOMPARE(tsmetaIn(saved, realApply(names)).status, 0);
        for (const QString &name : names)
            QCOMPARE(contents(patched + QLatin1Char('/') + name), contents(saved + QLatin1Char('/') + name));
    }

    // The program itself writes the diff to standard output: the page's bytes must come
    // through it unchanged, whatever their encoding.
    void programPrintsTheSameBytes()
    {
        TestHome home;
        QVERIFY(writeFile(home.path() + QStringLiteral("/junk.html"), binaryJunk()));
        QVERIFY(
            writeFile(home.path() + QStringLiteral("/cafe.html"), "<head>\n<title>Caf\xe9</title>\n</head>"));
        const QStringList arguments
            = dryRunDiff({ QStringLiteral("junk.html"), QStringLiteral("cafe.html") });
        const Run inProcess = tsmetaIn(home.path(), arguments);
        QCOMPARE(inProcess.status, 0);

        QProcess process;
        process.setWorkingDirectory(home.path());
        process.start(QStringLiteral(TSMETA_EXECUTABLE), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(), inProcess.out);
    }

    void unchangedPageGivesNoDiff()
    {
        TestHome home;
        QVERIFY(writeFile(home.path() + QStringLiteral("/page.html"), "<html>\n<head>\n</head>\n</html>\n"));
        QCOMPARE(tsmetaIn(home.path(), realApply({ QStringLiteral("page.html") })).status, 0);
        const QStringList before = listing(home.path());
        const Run diff = tsmetaIn(home.path(), dryRunDiff({ QStringLiteral("page.html") }));
        QCOMPARE(diff.status, 0);
        QCOMPARE(diff.out, QByteArray());
        QCOMPARE(diff.err, QString());
        QCOMPARE(listing(home.path()), before);
    }

    // Files that cannot be saved give one line each on standard error; the others still
    // get their diff.
    void diffErrorsGoToStandardError()
    {
        TestHome home;
        QVERIFY(writeFile(home.path() + QStringLiteral("/good.html"), "<head>\n</head>\n"));
        QVERIFY(writeFile(home.path() + QStringLiteral("/fragment.html"), "<p>no head</p>\n"));
        QDir().mkpath(home.path() + QStringLiteral("/folder.html"));
        const Run run = tsmetaIn(home.path(),
            dryRunDiff({ QStringLiteral("fragment.html"), QStringLiteral("gone.html"),
                QStringLiteral("good.html"), QStringLiteral("folder.html") }));
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.startsWith("--- good.html\n+++ good.html\n@@ "));
        const QStringList errors = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(errors.size(), 3);
        QVERIFY2(errors.at(0).startsWith(QStringLiteral("tsmeta: fragment.html: No HEAD section")),
            qPrintable(errors.at(0)));
        QVERIFY2(errors.at(1).startsWith(QStringLiteral("tsmeta: gone.html: No such file")),
            qPrintable(errors.at(1)));
        QVERIFY2(errors.at(2).startsWith(QStringLiteral("tsmeta: folder.html: ")), qPrintable(errors.at(2)));
    }

    // Without --diff a dry run still writes one JSON line per file, saying what the save
    // would do, and nothing on disk.
    void dryRunLines_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("savedBefore");
        QTest::addColumn<QString>("backupFlag");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("backup");
        QTest::newRow("would change, with backup")
            << QByteArray("<head>\n</head>\n") << false << QStringLiteral("--backup") << true << true;
        QTest::newRow("would change, no backup")
            << QByteArray("<head>\n</head>\n") << false << QStringLiteral("--no-backup") << true << false;
        QTest::newRow("already saved with these values")
            << QByteArray("<head>\r\n</head>") << true << QStringLiteral("--no-backup") << false << false;
        QTest::newRow("already saved, backup still written")
            << QByteArray("<head>\r\n</head>") << true << QStringLiteral("--backup") << false << true;
    }
    void dryRunLines()
    {
        QFETCH(QByteArray, page);
        QFETCH(bool, savedBefore);
        QFETCH(QString, backupFlag);
        QFETCH(bool, changed);
        QFETCH(bool, backup);
        TestHome home;
        const QString path = home.path() + QStringLiteral("/site/index.html");
        QVERIFY(writeFile(path, page));
        if (savedBefore)
            QCOMPARE(tsmetaIn(home.path(), realApply({ path })).status, 0);
        const QStringList before = listing(home.path() + QStringLiteral("/site"));

        const Run run = tsmetaIn(home.path(),
            QStringList { QStringLiteral("apply"), QStringLiteral("--dry-run"), backupFlag } + kValues
                + QStringList { path });
        QCOMPARE(run.status, 0);
        QJsonObject expected { { QStringLiteral("path"), path }, { QStringLiteral("ok"), true },
            { QStringLiteral("dryRun"), true }, { QStringLiteral("changed"), changed } };
        if (backup)
            expected[QStringLiteral("backup")] = QString(home.path() + QStringLiteral("/site/index.bak"));
        QCOMPARE(QJsonDocument::fromJson(run.out).object(), expected);
        QCOMPARE(listing(home.path() + QStringLiteral("/site")), before);
    }

    void dryRunFailureIsALine()
    {
        TestHome home;
        const QString path = home.path() + QStringLiteral("/gone.html");
        const Run run = tsmetaIn(home.path(), { QStringLiteral("apply"), QStringLiteral("--dry-run"), path });
        QCOMPARE(run.status, 1);
        const QJsonObject line = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(line.value(QStringLiteral("ok")).toBool(true), false);
        QCOMPARE(line.value(QStringLiteral("dryRun")).toBool(), true);
        QVERIFY(!line.contains(QStringLiteral("changed")));
        QVERIFY(line.value(QStringLiteral("error")).toString().contains(QStringLiteral("No such file")));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("diff without dry run")
            << QStringList { QStringLiteral("apply"), QStringLiteral("--diff"), QStringLiteral("page.html") }
            << QStringLiteral("--diff shows a dry run and needs --dry-run");
        QTest::newRow("dry run for read") << QStringList { QStringLiteral("read"),
            QStringLiteral("--dry-run"), QStringLiteral("page.html") }
                                          << QStringLiteral("--dry-run is for apply only");
        QTest::newRow("dry run for block") << QStringList { QStringLiteral("block"),
            QStringLiteral("--dry-run") } << QStringLiteral("--dry-run is for apply only");
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        TestHome home;
        QVERIFY(writeFile(home.path() + QStringLiteral("/page.html"), "<head>\n</head>\n"));
        const QStringList before = listing(home.path());
        const Run run = tsmetaIn(home.path(), arguments);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(listing(home.path()), before);
    }
};

QTEST_GUILESS_MAIN(TestApplyDiff)
#include "test_apply_diff.moc"
