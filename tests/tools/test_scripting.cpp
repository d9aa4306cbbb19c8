#include "TestHome.h"

#include "TsmetaRun.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kPage = "<html>\n<head>\n<title>Bakery</title>\n<meta name=\"description\" content=\"Fresh bread and pastries baked before dawn every morning in our old stone oven\">\n"
                         "</head>\n<body></body>\n</html>\n";
const QByteArray kFragment = "<p>no head</p>\n";
const QString kWriteError = u"tsmeta: write error: No space left on device\n"_s;

// An output whose every write fails, as a full disk's does.
class FullDevice : public QIODevice
{
public:
    FullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override
    {
        setErrorString(u"No space left on device"_s);
        return -1;
    }
};

struct ProgramRun
{
    int status = -1;
    QByteArray out;
    QString err;
};

// The built tsmeta in `folder`, given `input` on standard input; its standard output goes
// to `outputFile` when one is named.
ProgramRun runProgram(const QStringList &arguments, const QString &folder, const QByteArray &input = {},
    const QString &outputFile = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(QStringLiteral(TSMETA_EXECUTABLE), arguments);
    process.write(input);
    process.closeWriteChannel();
    ProgramRun run;
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// Placeholders in a row's arguments: PAGE is a page the values given would change, SAVED one
// that apply --author Ann has saved already, GONE a file that does not exist.
struct Pages
{
    TestHome home;
    QString page = home.write(u"page.html"_s, kPage);
    QString saved = home.write(u"saved.html"_s, kPage);
    QString gone = home.path() + u"/gone.html"_s;

    Pages() { runTsmeta({ "apply", "--no-backup", "--author", "Ann", saved }); }

    QStringList arguments(QStringList row) const
    {
        return row.replaceInStrings(u"PAGE"_s, page).replaceInStrings(u"SAVED"_s, saved).replaceInStrings(u"GONE"_s, gone);
    }
    QString text(QString row) const
    {
        return row.replace(u"PAGE"_s, page).replace(u"GONE"_s, gone);
    }
};

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

struct LostOutput { QStringList arguments; QByteArray input; int status; QString err; };
Q_DECLARE_METATYPE(LostOutput)

struct Filter { QStringList values; QByteArray page; int status; QString err; };
Q_DECLARE_METATYPE(Filter)

class TestScripting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Output that did not reach standard output fails the run, whatever the command.
    void lostOutputFails_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("written");
        QTest::newRow("read") << QStringList { "read", "PAGE" } << 0;
        QTest::newRow("audit") << QStringList { "audit", "PAGE" } << 0;
        QTest::newRow("audit check") << QStringList { "audit", "--check", "PAGE" } << 0;
        QTest::newRow("audit table") << QStringList { "audit", "--format", "table", "PAGE" } << 0;
        QTest::newRow("apply") << QStringList { "apply", "--no-backup", "--author", "Ann", "PAGE" } << 0;
        QTest::newRow("apply dry run") << QStringList { "apply", "--dry-run", "--author", "Ann", "PAGE" } << 0;
        QTest::newRow("apply diff") << QStringList { "apply", "--dry-run", "--diff", "--author", "Ann", "PAGE" } << 0;
        QTest::newRow("apply check") << QStringList { "apply", "--check", "--author", "Ann", "PAGE" } << 3;
        QTest::newRow("block") << QStringList { "block" } << 0;
        QTest::newRow("help") << QStringList { "--help" } << 0;
        QTest::newRow("command help") << QStringList { "help", "apply" } << 0;
        QTest::newRow("version") << QStringList { "--version" } << 0;
    }
    void lostOutputFails()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, written);
        const Pages pages;
        QCOMPARE(runTsmeta(pages.arguments(arguments)).status, written);
        FullDevice full;
        QTextStream out(&full);
        QString errors;
        QTextStream err(&errors);
        const int status = TsmetaCommand::run(QStringList { "tsmeta" } + pages.arguments(arguments), out, err);
        err.flush();
        QCOMPARE(status, 1);
        QCOMPARE(errors, kWriteError);
    }

    // The same from the program itself, its standard output a full device: no buffer is
    // left to fail unnoticed at exit. Quiet, it writes nothing, so nothing fails.
    void lostOutputFailsTheProgram_data()
    {
        QTest::addColumn<LostOutput>("row");
        QTest::newRow("read") << LostOutput { QStringList { "read", "PAGE" }, QByteArray(), 1, kWriteError };
        QTest::newRow("read standard input") << LostOutput { QStringList { "read", "-" }, kPage, 1, kWriteError };
        QTest::newRow("audit") << LostOutput { QStringList { "audit", "PAGE" }, QByteArray(), 1, kWriteError };
        QTest::newRow("audit table") << LostOutput { QStringList { "audit", "--format", "table", "PAGE" }, QByteArray(), 1, kWriteError };
        QTest::newRow("apply") << LostOutput { QStringList { "apply", "--no-backup", "--author", "Ann", "PAGE" }, QByteArray(), 1, kWriteError };
        QTest::newRow("apply diff") << LostOutput { QStringList { "apply", "--dry-run", "--diff", "--author", "Ann", "PAGE" }, QByteArray(), 1, kWriteError };
        QTest::newRow("apply filter") << LostOutput { QStringList { "apply", "--author", "Ann", "-" }, kPage, 1, kWriteError };
        QTest::newRow("block") << LostOutput { QStringList { "block" }, QByteArray(), 1, kWriteError };
        QTest::newRow("help") << LostOutput { QStringList { "--help" }, QByteArray(), 1, kWriteError };
        QTest::newRow("command help") << LostOutput { QStringList { "read", "--help" }, QByteArray(), 1, kWriteError };
        QTest::newRow("version") << LostOutput { QStringList { "--version" }, QByteArray(), 1, kWriteError };
        QTest::newRow("quiet") << LostOutput { QStringList { "read", "-q", "PAGE" }, QByteArray(), 0, QString() };
    }
    void lostOutputFailsTheProgram()
    {
        QFETCH(LostOutput, row);
        const auto [arguments, input, status, err] = row;
        if (!QFileInfo(u"/dev/full"_s).isWritable())
            QSKIP("no /dev/full here");
        const Pages pages;
        const ProgramRun run = runProgram(pages.arguments(arguments), pages.home.path(), input, u"/dev/full"_s);
        QCOMPARE(run.err, err);
        QCOMPARE(run.status, status);
    }

    // Quiet: nothing on standard output, the same exit status, errors still told.
    void quietPrintsNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::newRow("read") << QStringList { "-q", "read", "PAGE" } << 0 << QString();
        QTest::newRow("read of a missing file") << QStringList { "read", "--quiet", "GONE" } << 1
                                                << u"tsmeta: GONE: No such file or directory\n"_s;
        QTest::newRow("apply of a missing file") << QStringList { "apply", "-q", "--author", "Ann", "GONE" } << 1
                                                 << u"tsmeta: GONE: No such file or directory\n"_s;
        QTest::newRow("apply check, a page would change") << QStringList { "apply", "--check", "-q", "--author", "Ann", "PAGE" } << 3 << QString();
        QTest::newRow("apply diff") << QStringList { "apply", "-q", "--dry-run", "--diff", "--author", "Ann", "PAGE" } << 0 << QString();
        QTest::newRow("audit") << QStringList { "audit", "-q", "PAGE" } << 0 << QString();
        QTest::newRow("block") << QStringList { "block", "-q" } << 0 << QString();
        QTest::newRow("help") << QStringList { "--help", "-q" } << 0 << QString();
        QTest::newRow("usage error") << QStringList { "-q", "read" } << 2
                                     << u"tsmeta: read needs at least one FILE\nTry 'tsmeta --help'.\n"_s;
    }
    void quietPrintsNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, err);
        const Pages pages;
        const TsmetaRun run = runTsmeta(pages.arguments(arguments));
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err, pages.text(err));
        QCOMPARE(run.status, status);
    }

    // "-" reads standard input exactly as a file with its bytes is read, and is named "-".
    void standardInputReadsAsAFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("read") << QStringList { "read" } << kPage;
        QTest::newRow("read without a HEAD") << QStringList { "read" } << kFragment;
        QTest::newRow("audit") << QStringList { "audit" } << kPage;
        QTest::newRow("audit without a HEAD") << QStringList { "audit" } << kFragment;
        QTest::newRow("apply dry run") << QStringList { "apply", "--no-backup", "--dry-run", "--author", "Ann" } << kPage;
        QTest::newRow("apply dry run without a HEAD") << QStringList { "apply", "--no-backup", "--dry-run", "--author", "Ann" } << kFragment;
        QTest::newRow("apply diff") << QStringList { "apply", "--dry-run", "--diff", "--robots", "noindex" } << kPage;
        QTest::newRow("apply check") << QStringList { "apply", "--no-backup", "--check", "--author", "Ann" } << kPage;
    }
    void standardInputReadsAsAFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, page);
        TestHome home;
        QVERIFY(!home.write(u"page.html"_s, page).isEmpty());
        const TsmetaRun file = runTsmeta(arguments + QStringList { "page.html" }, home.path());
        const ProgramRun input = runProgram(arguments + QStringList { "-" }, home.path(), page);
        QCOMPARE(QString::fromLatin1(input.out), QString(file.out).replace(u"page.html"_s, u"-"_s));
        QCOMPARE(input.err, QString(file.err).replace(u"page.html"_s, u"-"_s));
        QCOMPARE(input.status, file.status);
    }

    // Saving "-" is a filter: the page a save of the file would write goes to standard
    // output, and nothing is written beside it, not even the backup the settings ask for.
    void applyFiltersStandardInput_data()
    {
        QTest::addColumn<Filter>("row");
        QTest::newRow("values set") << Filter { QStringList { "--author", "Zoë", "--robots", "noindex" }, kPage, 0, QString() };
        QTest::newRow("nothing to change") << Filter { QStringList(), kPage, 0, QString() };
        QTest::newRow("without a HEAD") << Filter { QStringList { "--author", "Ann" }, kFragment, 1,
                                           u"tsmeta: -: No HEAD section in file...\n"_s };
    }
    void applyFiltersStandardInput()
    {
        QFETCH(Filter, row);
        const auto [values, page, status, err] = row;
        TestHome home;
        const QString file = home.write(u"saved/page.html"_s, page);
        QCOMPARE(runTsmeta(QStringList { "apply", "--no-backup" } + values << file).status, status);
        const QStringList before = entriesOf(home.path());
        const ProgramRun run = runProgram(QStringList { "apply" } + values << u"-"_s, home.path(), page);
        QCOMPARE(run.err, err);
        QCOMPARE(run.status, status);
        QCOMPARE(run.out, status == 0 ? readFile(file) : QByteArray());
        QCOMPARE(entriesOf(home.path()), before);
    }

    // --check gates a script: 3 when a page would change, 0 when none would, 1 when a page
    // cannot be handled, whatever the others would do. Nothing is written.
    void checkSaysWhetherAnyPageWouldChange_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed");
        QTest::newRow("a page would change") << QStringList { "apply", "--check", "--no-backup", "--author", "Ann", "SAVED", "PAGE" } << 3
                                             << u"{\"changed\":false,"_s;
        QTest::newRow("no page would change") << QStringList { "apply", "--check", "--no-backup", "--author", "Ann", "SAVED" } << 0
                                              << u"{\"changed\":false,"_s;
        QTest::newRow("a page cannot be handled") << QStringList { "apply", "--check", "--no-backup", "--author", "Ann", "PAGE", "GONE" } << 1
                                                  << u"{\"changed\":true,"_s;
        QTest::newRow("with its diff") << QStringList { "apply", "--check", "--diff", "--author", "Ann", "PAGE" } << 3 << u"--- "_s;
        QTest::newRow("no diff, nothing to change") << QStringList { "apply", "--check", "--diff", "--author", "Ann", "SAVED" } << 0 << QString();
        QTest::newRow("with a dry run") << QStringList { "apply", "--dry-run", "--check", "--no-backup", "--author", "Ann", "PAGE" } << 3
                                        << u"{\"changed\":true,"_s;
        QTest::newRow("a dry run alone") << QStringList { "apply", "--dry-run", "--no-backup", "--author", "Ann", "PAGE" } << 0
                                         << u"{\"changed\":true,"_s;
    }
    void checkSaysWhetherAnyPageWouldChange()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, printed);
        const Pages pages;
        const QByteArray saved = readFile(pages.saved);
        const TsmetaRun run = runTsmeta(pages.arguments(arguments));
        QCOMPARE(run.status, status);
        QVERIFY2(run.out.startsWith(printed), qPrintable(run.out));
        QCOMPARE(readFile(pages.page), kPage);
        QCOMPARE(readFile(pages.saved), saved);
        QCOMPARE(entriesOf(pages.home.path()), QStringList({ "page.html", "saved.html" }));
    }

    // "tsmeta help COMMAND" and "tsmeta COMMAND --help" print the command's own help: its
    // usage line, its options and what its exit status means.
    void commandHelp_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("named");
        QTest::newRow("read") << u"read"_s << u"A FILE of - is standard\ninput"_s;
        QTest::newRow("audit") << u"audit"_s << u"-j, --jobs N"_s;
        QTest::newRow("apply") << u"apply"_s << u"  3  with --check: a page would change\n"_s;
        QTest::newRow("block") << u"block"_s << u"--line-end crlf|lf|cr"_s;
    }
    void commandHelp()
    {
        QFETCH(QString, command);
        QFETCH(QString, named);
        const TsmetaRun asked = runTsmeta({ "help", command });
        const TsmetaRun option = runTsmeta({ command, "--help" });
        QCOMPARE(asked.status, 0);
        QCOMPARE(option.status, 0);
        QCOMPARE(option.out, asked.out);
        QVERIFY2(asked.out.startsWith(u"Usage: tsmeta "_s + command + u' '), qPrintable(asked.out));
        QVERIFY2(asked.out.contains(named), qPrintable(asked.out));
        QVERIFY(asked.out.contains(u"Exit status:\n  0  "_s));
        QVERIFY(asked.out.contains(u"  2  a usage error\n"_s));
        QVERIFY(asked.err.isEmpty() && option.err.isEmpty());
    }

    void generalHelp_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("help") << QStringList { "help" };
        QTest::newRow("--help") << QStringList { "--help" };
        QTest::newRow("-h") << QStringList { "-h" };
    }
    void generalHelp()
    {
        QFETCH(QStringList, arguments);
        const TsmetaRun run = runTsmeta(arguments);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(u"Usage: tsmeta <command>"_s), qPrintable(run.out));
        for (const QString &command : { u"read"_s, u"audit"_s, u"apply"_s, u"block"_s, u"help"_s })
            QVERIFY2(run.out.contains(u"\n  "_s + command + u' '), qPrintable(command));
        QVERIFY(run.out.contains(u"  3  with --check: "_s));
    }

    // -j is --jobs, in every form a short option with a value takes.
    void jobsHasAShortForm_data()
    {
        QTest::addColumn<QStringList>("jobs");
        QTest::newRow("apart") << QStringList { "-j", "2" };
        QTest::newRow("joined") << QStringList { "-j2" };
        QTest::newRow("after =") << QStringList { "-j=2" };
    }
    void jobsHasAShortForm()
    {
        QFETCH(QStringList, jobs);
        const Pages pages;
        const TsmetaRun longForm = runTsmeta({ "audit", "--jobs", "2", pages.home.path() });
        const TsmetaRun shortForm = runTsmeta(QStringList { "audit" } + jobs << pages.home.path());
        QCOMPARE(shortForm.status, 0);
        QCOMPARE(shortForm.out, longForm.out);
        // The two pages, the description they share, the summary.
        QCOMPARE(shortForm.lines.size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestScripting)
#include "test_scripting.moc"
