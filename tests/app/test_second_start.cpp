// The program as a user starts it: real processes, the first copy on the offscreen
// platform, later copies handing their command lines over.

#include "TestHome.h"

#include "ProgramVersion.h"
#include "RegistryKey.h"
#include "SettingsStore.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = QStringLiteral(TAGSMITH_EXECUTABLE);

class Copy
{
public:
    explicit Copy(const QStringList &arguments, const QString &workingFolder = QString())
    {
        m_process.setProgram(kProgram);
        m_process.setArguments(arguments);
        m_process.setWorkingDirectory(workingFolder);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }
    ~Copy()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    bool endsWithin(int milliseconds) { return m_process.waitForFinished(milliseconds); }
    int exitCode() const { return m_process.exitCode(); }
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    // Asks the copy to close the way a logout does.
    bool terminate(int milliseconds)
    {
        ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
        return endsWithin(milliseconds) && m_process.exitStatus() == QProcess::NormalExit;
    }

private:
    QProcess m_process;
};

QString serverPath(const TestHome &home)
{
    return home.path() + QStringLiteral("/runtime/Tagsmith LITE_APPLICATION");
}

bool waitForListening(const TestHome &home)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        if (QFileInfo::exists(serverPath(home)))
            return true;
        QTest::qWait(50);
    }
    return false;
}

QStringList recentFiles()
{
    RegistryKey key = RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\Vantorel\\Tagsmith LITE"));
    QStringList paths;
    for (int i = 1; i <= 3; ++i) {
        key.setValueName(QStringLiteral("File%1").arg(i));
        if (const QString path = key.value(); !path.isEmpty())
            paths.append(path);
    }
    return paths;
}

// Every file and folder below a folder, with its size, so that anything written shows.
QStringList everythingBelow(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries.append(it.filePath() + QLatin1Char(' ') + QString::number(it.fileInfo().size()));
    }
    entries.sort();
    return entries;
}

QMap<QString, QString> allSettings()
{
    QSettings ini(SettingsStore().fileName(), QSettings::IniFormat);
    QMap<QString, QString> values;
    const QStringList keys = ini.allKeys();
    for (const QString &key : keys)
        values.insert(key, ini.value(key).toString());
    return values;
}

} // namespace

class TestSecondStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TestHome>();
        QDir().mkpath(m_home->path() + QStringLiteral("/runtime"));
        QFile::setPermissions(m_home->path() + QStringLiteral("/runtime"), QFileDevice::ReadOwner
                                  | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home->path() + QStringLiteral("/runtime")));
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_first = m_home->write(QStringLiteral("first page.html"), "<html><head><title>One</title></head></html>");
        m_second = m_home->write(QStringLiteral("second page.html"), "<html><head><title>Two</title></head></html>");
    }
    void cleanup() { m_home.reset(); }

    // What a later copy, started in a folder of its own, hands over, and what the running
    // copy, started with a relative path in the home folder, then has opened. A later copy
    // opens no window, so it hands over where no display can be reached (a shell over ssh
    // beside the desktop session).
    void handOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<bool>("display");
        const QString second = QStringLiteral("%home/second page.html");
        QTest::newRow("absolute path with a space") << QStringList { second } << QStringList { second } << true;
        QTest::newRow("no display reachable") << QStringList { second } << QStringList { second } << false;
        QTest::newRow("relative: from the later copy's folder")
            << QStringList { "page.html" } << QStringList { "%later/page.html" } << true;
        QTest::newRow("several, each its own")
            << QStringList { second, "page.html" } << QStringList { "%later/page.html", second } << true;
        QTest::newRow("empty argument") << QStringList { "" } << QStringList {} << true;
        const QStringList withQtOptions { "-style", "fusion", "--qwindowtitle", "Not a page", second,
            "-reverse", "-display", ":0" };
        QTest::newRow("Qt's options and their values are no pages")
            << withQtOptions << QStringList { second } << true;
        QTest::newRow("a name that begins with a dash is a page")
            << QStringList { "-x.html" } << QStringList { "%later/-x.html" } << true;
        QTest::newRow("a lone -- is passed over")
            << QStringList { "--", "page.html" } << QStringList { "%later/page.html" } << true;
        QTest::newRow("a page named like an option, by its path")
            << QStringList { "./--help" } << QStringList { "%later/./--help" } << true;
        QTest::newRow("a site is no page")
            << QStringList { "--site", "%home", second } << QStringList { second } << true;
        QTest::newRow("nothing") << QStringList {} << QStringList {} << true;
    }
    void handOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, opened);
        QFETCH(bool, display);
        const QString later = m_home->path() + QStringLiteral("/later folder");
        // The same name in the running copy's folder must not be the one opened.
        m_home->write(QStringLiteral("page.html"), "<html><head><title>Decoy</title></head></html>");
        m_home->write(QStringLiteral("later folder/page.html"), "<html><head><title>Three</title></head></html>");
        Copy first({ QStringLiteral("first page.html") }, m_home->path());
        QVERIFY(waitForListening(*m_home));
        const QMap<QString, QString> settingsBefore = allSettings();

        if (!display) {
            qputenv("QT_QPA_PLATFORM", "xcb");
            qputenv("DISPLAY", ":9999");
        }
        Copy copy(arguments.replaceInStrings(QStringLiteral("%home"), m_home->path()), later);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QVERIFY(copy.endsWithin(10000));
        QCOMPARE(copy.exitCode(), 0);
        QVERIFY(first.isRunning());
        // A later copy writes nothing beyond the start-up values, which it finds unchanged.
        QCOMPARE(allSettings(), settingsBefore);

        QVERIFY(first.terminate(20000));
        const QStringList expected = opened.replaceInStrings(QStringLiteral("%later"), later)
                                         .replaceInStrings(QStringLiteral("%home"), m_home->path())
            << m_first;
        QCOMPARE(recentFiles(), expected);
    }

    // A later copy's --site reaches the running copy, which opens the site as Open Site does
    // and so lists it among the recent sites it keeps at exit.
    void siteHandedOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("site"); // null: none opened
        QTest::newRow("a site") << QStringList { "--site", "%home/site" } << u"%home/site"_s;
        QTest::newRow("relative: from the later copy's folder") << QStringList { "--site", "." } << u"%later"_s;
        QTest::newRow("beside a page") << QStringList { "second page.html", "--site", "%home/site" } << u"%home/site"_s;
        QTest::newRow("not a folder") << QStringList { "--site", "%home/second page.html" } << QString();
        QTest::newRow("without its folder") << QStringList { "--site" } << QString();
    }
    void siteHandedOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, site);
        const QString later = m_home->path() + u"/later folder"_s;
        m_home->write(u"site/index.html"_s, "<html><head><title>Site</title></head></html>");
        m_home->write(u"later folder/index.html"_s, "<html><head><title>Later</title></head></html>");
        Copy first({}, m_home->path());
        QVERIFY(waitForListening(*m_home));
        Copy copy(arguments.replaceInStrings(u"%home"_s, m_home->path()), later);
        QVERIFY(copy.endsWithin(10000));
        QCOMPARE(copy.exitCode(), 0);
        QVERIFY(first.terminate(20000));
        const QString expected = site.replace(u"%home"_s, m_home->path()).replace(u"%later"_s, later);
        QCOMPARE(SettingsStore().value(u"Site1"_s, u"Recent Sites"_s), expected);
    }

    // The first copy, where QApplication acts on Qt's options, opens only the pages too.
    void firstStartOpensOnlyPages_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("Qt's options and their values") << QStringList { "-style", "fusion", "--qwindowtitle",
            "Not a page", "first page.html", "-reverse" };
        // Offscreen, Qt itself leaves these; they are Qt's all the same.
        QTest::newRow("X11 options") << QStringList { "-display", ":0", "-nograb", "first page.html" };
        QTest::newRow("platform") << QStringList { "-platform", "offscreen", "first page.html" };
        QTest::newRow("a Qt option's value is no information option")
            << QStringList { "-qwindowtitle", "--help", "first page.html" };
        QTest::newRow("a lone -- is passed over") << QStringList { "--", "first page.html" };
        QTest::newRow("a site and its folder") << QStringList { "--site", ".", "first page.html" };
    }
    void firstStartOpensOnlyPages()
    {
        QFETCH(QStringList, arguments);
        Copy first(arguments, m_home->path());
        QVERIFY(waitForListening(*m_home));
        QVERIFY(first.terminate(20000));
        QCOMPARE(recentFiles(), QStringList { m_first });
    }

    // Help and version answer on standard output wherever they stand and whatever else is
    // given, where no display can be reached, and the first one given answers. Nothing is
    // written: no settings, no lock, not even the folder for a lock where the runtime folder
    // is missing.
    void informationOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("answer");
        QTest::newRow("-h") << QStringList { "-h" } << "help";
        QTest::newRow("--help") << QStringList { "--help" } << "help";
        QTest::newRow("--help-all") << QStringList { "--help-all" } << "help-all";
        QTest::newRow("-v") << QStringList { "-v" } << "version";
        QTest::newRow("--version") << QStringList { "--version" } << "version";
        QTest::newRow("version before help") << QStringList { "--version", "--help" } << "version";
        QTest::newRow("help before version") << QStringList { "-h", "-v" } << "help";
        QTest::newRow("all of Qt's options before help") << QStringList { "--help-all", "-h" } << "help-all";
        QTest::newRow("after a page") << QStringList { "page.html", "-h" } << "help";
        QTest::newRow("before a page") << QStringList { "-v", "second page.html" } << "version";
        QTest::newRow("among Qt's options")
            << QStringList { "-style", "fusion", "--version", "-reverse", "-display", ":0" } << "version";
        QTest::newRow("after --") << QStringList { "--", "--help" } << "help";
        QTest::newRow("beside a page named like an option") << QStringList { "./--help", "-v" } << "version";
    }
    void informationOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        const QString tmp = m_home->path() + QStringLiteral("/tmp");
        QDir().mkpath(tmp);
        const QStringList before = everythingBelow(m_home->path());

        QProcess copy;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->path() + QStringLiteral("/no runtime"));
        environment.insert(QStringLiteral("TMPDIR"), tmp);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9999"));
        copy.setProcessEnvironment(environment);
        copy.setWorkingDirectory(m_home->path());
        copy.start(kProgram, arguments);
        QVERIFY(copy.waitForFinished(10000));
        const QString error = QString::fromLocal8Bit(copy.readAllStandardError());
        QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy.exitCode(), 0);
        QCOMPARE(error, QString());

        const QString out = QString::fromLocal8Bit(copy.readAllStandardOutput());
        if (answer == QLatin1String("version")) {
            QCOMPARE(out,
                QStringLiteral("tagsmith %1.%2\n").arg(ProgramVersion::version(), ProgramVersion::build()));
        } else {
            QVERIFY2(out.startsWith(QLatin1String("Usage: tagsmith [--site FOLDER] [FILE...]\n")), qPrintable(out));
            // Only the help for all lists Qt's options, one a line.
            QCOMPARE(out.contains(QLatin1String("\n  -widgetcount\n")), answer == QLatin1String("help-all"));
        }
        QCOMPARE(everythingBelow(m_home->path()), before);
    }

    void lockWithoutARunningWindowEndsSilently()
    {
        QLockFile held(m_home->path() + QStringLiteral("/runtime/Tagsmith LITE_APPLICATION_MUTEX.lock"));
        QVERIFY(held.tryLock(0));
        Copy copy({m_second});
        QVERIFY(copy.endsWithin(15000));
        QCOMPARE(copy.exitCode(), 0);
        QVERIFY(recentFiles().isEmpty());
        QVERIFY(!QFileInfo::exists(serverPath(*m_home)));
    }

private:
    std::unique_ptr<TestHome> m_home;
    QString m_first;
    QString m_second;
};

QTEST_GUILESS_MAIN(TestSecondStart)
#include "test_second_start.moc"
