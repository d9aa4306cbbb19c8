#include "TestHome.h"

#include "TsmetaRun.h"

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// Characters Windows-1252 holds and Latin-1 does not, an accent, and every kind of member.
const QStringList kValues { u"--description"_s, u"Fresh – bread, daily"_s, u"--keywords"_s, u"bread, rolls"_s,
    u"--author"_s, u"Zoë Ærø"_s, u"--robots"_s, u"noindex,nofollow"_s, u"--charset"_s, u"on"_s };

QStringList dryRunDiff(const QStringList &files) { return QStringList { "apply", "--dry-run", "--diff" } + kValues + files; }
QStringList realApply(const QStringList &files) { return QStringList { "apply", "--no-backup" } + kValues + files; }

// Every entry below a folder with its size, time to the nanosecond and bytes: two equal
// listings mean nothing was written, renamed or left behind.
QStringList listing(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status { };
        ::lstat(QFile::encodeName(path).constData(), &status);
        entries << u"%1 %2 %3.%4 %5"_s.arg(path).arg(status.st_size).arg(status.st_mtim.tv_sec)
                       .arg(status.st_mtim.tv_nsec).arg(QString::fromLatin1(readFile(path).toBase64()));
    }
    entries.sort();
    return entries;
}

// GNU patch, the way a user applies the output: patch -p0 < diff.
QString patchIn(const QString &folder, const QByteArray &diff)
{
    QProcess patch;
    patch.setWorkingDirectory(folder);
    patch.start(u"patch"_s, { "-p0", "--fuzz=0", "--batch", "--no-backup-if-mismatch" });
    patch.write(diff);
    patch.closeWriteChannel();
    if (!patch.waitForFinished(60000) || patch.exitStatus() != QProcess::NormalExit || patch.exitCode() != 0)
        return u"patch failed: "_s + QString::fromLocal8Bit(patch.readAllStandardOutput() + patch.readAllStandardError());
    return {};
}

// Every byte value but NUL, in lines of random length ended by LF, CR or nothing, around a HEAD.
QByteArray binaryJunk()
{
    QRandomGenerator random(20261206);
    QByteArray junk;
    for (int i = 0; i < 6000; ++i)
        junk += char(random.bounded(1, 256));
    return junk.insert(4000, "</head>").insert(1200, "<meta name=\"author\" content=\"gone\">\n").insert(500, "<head>");
}

} // namespace

class TestApplyDiff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The dry-run diff leaves the folder as it was, and patch turns a copy of the pages into
    // exactly the bytes a real apply writes into another copy.
    void diffPatchesToTheSavedBytes_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("page");
        const QStringList one { u"page.html"_s };
        QTest::newRow("lf") << one << "<html>\n<head>\n<title>T</title>\n<meta name=\"description\" content=\"old\">\n</head>\n</html>\n"_ba;
        QTest::newRow("cr only") << one << "<html>\r<head>\r<meta name=\"author\" content=\"old\">\r</head>\r</html>\r"_ba;
        QTest::newRow("crlf, no final line end") << one << "<head>\r\n<meta name=\"robots\" content=\"noindex\">\r\n</head>"_ba;
        QTest::newRow("head on the last line") << one << "<html><head><title>T</title></head>"_ba;
        QTest::newRow("windows-1252 page") << one << "<head>\n<title>Caf\xe9 \x96 menu</title>\n</head>\n<body>\xa9</body>\n"_ba;
        QTest::newRow("tags the editor does not read are still removed") << one
            << "<head>\n  <META NAME=\"DISTRIBUTION\" CONTENT=\"global\">\n<meta name=\"FORMATTER\" content=\"Old 1.0\">\n"
               "<title>T</title><meta http-equiv=\"Content-Type\" content=\"text/html\">\n"
               "<meta name=description content=unquoted>\n<meta name=\"generator\" content=\"kept\">\n</head>\n"
               "<body><meta name=\"author\" content=\"body, kept\"></body>\n"_ba;
        QTest::newRow("nul-free binary junk") << one << binaryJunk();
        QTest::newRow("name with blanks in a folder") << QStringList { "my site/home page.html" } << "<head>\n</head>\n"_ba;
        // One of the pages already holds these values: its diff is left out.
        QTest::newRow("a folder in one diff") << QStringList { "site/a.html", "site/b.html", "site/old/c.html" }
                                              << "<HEAD>\r\n</HEAD>"_ba;
    }
    void diffPatchesToTheSavedBytes()
    {
        QFETCH(QStringList, names);
        QFETCH(QByteArray, page);
        TestHome home;
        const QString dry = home.path() + u"/dry"_s, patched = home.path() + u"/patched"_s, saved = home.path() + u"/saved"_s;
        for (const QString &folder : { u"dry/"_s, u"patched/"_s, u"saved/"_s }) {
            for (const QString &name : names)
                QVERIFY(!home.write(folder + name, page).isEmpty());
            if (names.size() > 1)
                QCOMPARE(runTsmeta(realApply({ names.at(1) }), home.path() + u'/' + folder).status, 0);
        }
        const QStringList before = listing(dry);
        const TsmetaRun diff = runTsmeta(dryRunDiff(names), dry);
        QCOMPARE(diff.status, 0);
        QVERIFY2(diff.err.isEmpty(), qPrintable(diff.err));
        QCOMPARE(listing(dry), before);
        QCOMPARE(diff.out.count(u"\n+++ "_s), names.size() > 1 ? 2 : 1);

        const QString patchFailure = patchIn(patched, diff.out.toLatin1());
        QVERIFY2(patchFailure.isEmpty(), qPrintable(patchFailure));
        QCOMPARE(runTsmeta(realApply(names), saved).status, 0);
        for (const QString &name : names) {
            QVERIFY(readFile(saved + u'/' + name) != page);
            QCOMPARE(readFile(patched + u'/' + name), readFile(saved + u'/' + name));
        }
        QCOMPARE(listing(patched).size(), listing(saved).size());
    }

    // The program itself writes the diff to standard output: the page's bytes must come
    // through it unchanged, whatever their encoding.
    void programPrintsTheSameBytes()
    {
        TestHome home;
        QVERIFY(!home.write(u"junk.html"_s, binaryJunk()).isEmpty());
        QVERIFY(!home.write(u"cafe.html"_s, "<head>\n<title>Caf\xe9</title>\n</head>").isEmpty());
        const QStringList arguments = dryRunDiff({ "junk.html", "cafe.html" });
        const TsmetaRun inProcess = runTsmeta(arguments, home.path());
        QCOMPARE(inProcess.status, 0);
        QProcess process;
        process.setWorkingDirectory(home.path());
        process.start(QStringLiteral(TSMETA_EXECUTABLE), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(), inProcess.out.toLatin1());
    }

    // Files that cannot be saved give one line each on standard error; the others still get
    // their diff, and a page already saved with these values gets none.
    void diffErrorsGoToStandardError()
    {
        TestHome home;
        QVERIFY(!home.write(u"good.html"_s, "<head>\n</head>\n").isEmpty());
        QVERIFY(!home.write(u"same.html"_s, "<head>\n</head>\n").isEmpty());
        QVERIFY(!home.write(u"fragment.html"_s, "<p>no head</p>\n").isEmpty());
        QVERIFY(!home.write(u"closed.html"_s, "<head/>\n").isEmpty()); // read, but refused by the save
        QDir().mkpath(home.path() + u"/folder.html"_s);
        QCOMPARE(runTsmeta(realApply({ "same.html" }), home.path()).status, 0);
        const QStringList before = listing(home.path());
        const TsmetaRun run = runTsmeta(dryRunDiff({ "fragment.html", "gone.html", "good.html", "same.html", "folder.html", "closed.html" }), home.path());
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.startsWith(u"--- good.html\n+++ good.html\n@@ "_s));
        QVERIFY(!run.out.contains(u"same.html"_s));
        const QStringList errors = run.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(errors.size(), 4);
        QCOMPARE(errors.at(0), u"tsmeta: fragment.html: No HEAD section in file..."_s);
        QCOMPARE(errors.at(1), u"tsmeta: gone.html: No such file or directory"_s);
        QVERIFY2(errors.at(2).startsWith(u"tsmeta: folder.html: "_s), qPrintable(errors.at(2)));
        QCOMPARE(errors.at(3), u"tsmeta: closed.html: No HEAD section in file..."_s);
        QCOMPARE(listing(home.path()), before);
    }

    // Without --diff a dry run still writes one JSON line per file, saying what the save
    // would do, and nothing on disk.
    void dryRunLines_data()
    {
        QTest::addColumn<bool>("savedBefore");
        QTest::addColumn<QString>("backupFlag");
        QTest::newRow("would change, with backup") << false << u"--backup"_s;
        QTest::newRow("would change, no backup") << false << u"--no-backup"_s;
        QTest::newRow("already saved, backup still written") << true << u"--backup"_s;
        QTest::newRow("missing file") << false << QString();
    }
    void dryRunLines()
    {
        QFETCH(bool, savedBefore);
        QFETCH(QString, backupFlag);
        TestHome home;
        const QString path = home.path() + u"/site/index.html"_s;
        if (!backupFlag.isEmpty())
            QVERIFY(!home.write(u"site/index.html"_s, "<head>\n</head>\n").isEmpty());
        if (savedBefore)
            QCOMPARE(runTsmeta(realApply({ path })).status, 0);
        const QStringList before = listing(home.path());
        const TsmetaRun run
            = runTsmeta(QStringList { "apply", "--dry-run", backupFlag.isEmpty() ? "--backup" : backupFlag } + kValues << path);
        QJsonObject expected { { "path", path }, { "ok", !backupFlag.isEmpty() }, { "dryRun", true } };
        if (backupFlag.isEmpty())
            expected["error"] = u"No such file or directory"_s;
        else
            expected["changed"] = !savedBefore;
        if (backupFlag == u"--backup"_s)
            expected["backup"] = QString(home.path() + u"/site/index.bak"_s);
        QCOMPARE(QJsonDocument::fromJson(run.out.toUtf8()).object(), expected);
        QCOMPARE(run.status, backupFlag.isEmpty() ? 1 : 0);
        QCOMPARE(listing(home.path()), before);
    }
};

QTEST_GUILESS_MAIN(TestApplyDiff)
#include "test_apply_diff.moc"
