// Full Code and the help start real programs: stand-ins that write down the arguments they
// were given, found where the real ones would be.

#include "MainWindowScenario.h"
#include "RowProcess.h"
#include "StandInDesktop.h"

#include <QLineEdit>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kPage = "<html>\n<head>\n<title>Home</title>\n</head>\n<body></body>\n</html>\n";

// The real launcher, with the stand-ins found first on PATH and a desktop of the test's
// own to ask. Every variable the launcher reads is set afresh, so none comes from the machine
// or from the row before.
struct ToolsScenario : Scenario
{
    ToolsScenario()
    {
        static const QString machinePath = qEnvironmentVariable("PATH");
        qunsetenv("VISUAL");
        qputenv("PATH", QFile::encodeName(home.path() + QStringLiteral("/bin:") + machinePath));
        window->tools().setLauncher(std::make_unique<ProgramLauncher>());
        window->tools().setProgramFolder(home.path() + QStringLiteral("/install/bin"));
    }

    StandInDesktop desktop { home };
};

} // namespace

class TestExternalTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Which editor shows the full code, and that the path reaches it whole. The desktop knows
    // a web browser for web pages, never the one to show their code.
    void fullCode_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("visual");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("expected"); // the stand-in started; none: the message
        QTest::addColumn<QStringList>("leading");
        QTest::newRow("sibling editor")
            << "Scrivan Editor/Scriv.exe" << "visual" << "mime types" << "Scrivan Editor/Scriv.exe" << QStringList {};
        QTest::newRow("another letter case is not the sibling, VISUAL with an option")
            << "Scrivan Editor/scriv.exe" << "visual" << "mime types" << "bin/visual-editor" << QStringList { "-f" };
        QTest::newRow("an editor whose entry lists plain text")
            << "" << "" << "mime types" << "bin/desk-editor" << QStringList { "--new-window" };
        QTest::newRow("a VISUAL that names no program is passed over")
            << "" << "missing" << "mime types" << "bin/desk-editor" << QStringList { "--new-window" };
        QTest::newRow("a blank VISUAL is passed over")
            << "" << "blank" << "mime types" << "bin/desk-editor" << QStringList { "--new-window" };
        QTest::newRow("the user's default for plain text, in no MIME cache")
            << "" << "" << "default line" << "bin/desk-editor" << QStringList { "--new-window" };
        QTest::newRow("no editor: not the browser, not xdg-open")
            << "" << "" << "browser only" << "" << QStringList {};
        QTest::newRow("nothing at all") << "" << "" << "" << "" << QStringList {};
    }

    void fullCode()
    {
        TAGSMITH_ROW_IN_OWN_PROCESS();
        QFETCH(QString, location);
        QFETCH(QString, visual);
        QFETCH(QString, desktop);
        QFETCH(QString, expected);
        QFETCH(QStringList, leading);
        if (QStandardPaths::findExecutable(u"update-desktop-database"_s).isEmpty())
            QSKIP("update-desktop-database (desktop-file-utils) is not installed");
        ToolsScenario s;
        const QString root = s.home.path() + QLatin1Char('/');
        QStringList standIns = { "bin/visual-editor", "bin/desk-editor", "bin/web-browser", "bin/xdg-open" };
        if (!location.isEmpty()) {
            standIns.append(location);
            SettingsStore().setValue(QStringLiteral("Location"), root + location, QStringLiteral("Scrivan"));
        }
        for (const QString &name : standIns)
            s.desktop.standIn(name);
        const QMap<QString, QString> visuals { { "visual", root + "bin/visual-editor -f" },
            { "missing", "no-such-editor-anywhere" }, { "blank", "  " } };
        if (visuals.contains(visual))
            qputenv("VISUAL", QFile::encodeName(visuals.value(visual)));
        if (!desktop.isEmpty()) {
            QVERIFY(s.desktop.install(u"browser.desktop"_s, "bin/web-browser\" %U", "text/html;"));
            if (desktop != "browser only") {
                const QByteArray types = desktop == "mime types" ? "text/plain;" : "";
                QVERIFY(s.desktop.install(u"desk.desktop"_s, "bin/desk-editor\" --new-window %F", types));
            }
            QVERIFY(s.desktop.renewMimeCache());
            if (desktop == "default line")
                s.home.write(u"config/mimeapps.list"_s,
                    "[Default Applications]\ntext/html=browser.desktop\ntext/plain=gone.desktop;desk.desktop;\n");
        }
        const QString path = s.home.write(QStringLiteral("my site/home page.html"), kPage);
        s.window->openCommandLine({ path });
        DocumentWindow *document = s.window->activeDocument();
        QVERIFY(document);
        document->field(TextField::Author)->setText(QStringLiteral("Saved first"));
        s.click(QStringLiteral("mnuView(1)"));
        if (expected.isEmpty()) {
            QCOMPARE(s.msg(), u"No text editor found for plain text."_s);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(StandInDesktop::wasStarted(root + expected), 10000);
            QCOMPARE(StandInDesktop::argumentsOf(root + expected), leading + QStringList { path });
        }
        QFile saved(path);
        QVERIFY2(saved.open(QIODevice::ReadOnly) && saved.readAll().contains("content=\"Saved first\""),
            "the edits were saved before the editor");
        QTest::qWait(200);
        for (const QString &name : standIns) {
            if (name != expected)
                QVERIFY2(!StandInDesktop::wasStarted(root + name), qPrintable(name));
        }
    }

    // Nothing starts for a page never saved; a start that fails says which program and why.
    void fullCodeWhenNothingCanStart_data()
    {
        QTest::addColumn<QString>("visual");
        QTest::addColumn<QString>("message");
        QTest::newRow("VISUAL") << "sh" << "sh could not be started.";
        QTest::newRow("the desktop's editor")
            << "" << "desk.desktop could not be started: told to fail";
    }
    void fullCodeWhenNothingCanStart()
    {
        TAGSMITH_ROW_IN_OWN_PROCESS();
        QFETCH(QString, visual);
        QFETCH(QString, message);
        if (QStandardPaths::findExecutable(u"update-desktop-database"_s).isEmpty())
            QSKIP("update-desktop-database (desktop-file-utils) is not installed");
        ToolsScenario s;
        s.desktop.standIn(u"bin/desk-editor"_s);
        QVERIFY(s.desktop.install(u"desk.desktop"_s, "bin/desk-editor\" %F", "text/plain;"));
        QVERIFY(s.desktop.renewMimeCache());
        if (!visual.isEmpty())
            qputenv("VISUAL", visual.toUtf8());
        auto launcher = std::make_unique<RecordingLauncher>();
        launcher->succeeds = false;
        RecordingLauncher *observed = launcher.get();
        s.window->tools().setLauncher(std::move(launcher));
        s.click("mnuFile(0)");
        s.click("mnuView(1)");
        QCOMPARE(s.window->prompts().shown().size(), 1);
        QCOMPARE(s.window->prompts().shown().first().kind, UserPrompts::Kind::SaveFile);
        QVERIFY(observed->started.isEmpty());
        const QString page = s.home.write("a.html", kPage);
        s.window->openCommandLine({ page });
        s.click("mnuView(1)");
        QCOMPARE(observed->started.size(), 1);
        QCOMPARE(observed->started.first().last(), page);
        QCOMPARE(s.msg(), message);
    }

    // A program that does not start is named; the help falls back on the desktop's viewer
    // for a file before it gives up.
    void whenAProgramCannotStart_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("opensUrls");
        QTest::addColumn<QString>("url"); // asked of the desktop; %1 is the home
        QTest::addColumn<QString>("message"); // %1 is the home
        const QString guide = u"file://%1help.html"_s;
        QTest::newRow("the sibling editor") << "mnuView(1)" << true << "" << "%1Scrivan Editor/Scriv.exe could not be started.";
        QTest::newRow("help: the desktop shows the guide instead")
            << "mnuHelp(0)" << true << guide << "Document opened... (%1a.html)";
        QTest::newRow("help: nothing shows the guide") << "mnuHelp(0)" << false << guide << "xdg-open could not be started.";
        QTest::newRow("a link with no browser") << "mnuHelp(4)" << false << "https://www.vantorel.com/"
                                                << "No web browser could be started for https://www.vantorel.com/.";
    }
    void whenAProgramCannotStart()
    {
        QFETCH(QString, command);
        QFETCH(bool, opensUrls);
        QFETCH(QString, url);
        QFETCH(QString, message);
        Scenario s;
        const QString root = s.home.path() + u'/';
        SettingsStore().setValue(u"Help"_s, s.home.write(u"help.html"_s, "<html></html>"));
        SettingsStore().setValue(u"Location"_s, root + u"Scrivan Editor/Scriv.exe"_s, u"Scrivan"_s);
        s.open(s.page(u"a.html"_s, kPage));
        s.launcher->succeeds = false;
        s.launcher->opensUrls = opensUrls;
        s.click(command);
        const auto inHome = [&root](QString text) { return text.replace(u"%1"_s, root); };
        QCOMPARE(s.launcher->urls, url.isEmpty() ? QList<QUrl> {} : QList<QUrl> { QUrl(inHome(url)) });
        QCOMPARE(s.msg(), inHome(message));
    }

    // Help > Index by the program's folder: an installed copy opens the guide installed with
    // it; one in its build tree, the guide of the sources its build notes beside it; a guide
    // anywhere else is not the program's.
    void helpIndex_data()
    {
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("guide"); // written when not empty
        QTest::addColumn<QString>("note"); // the build's note: a guide's path below the home
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        const QString installed = u"install/share/tagsmith/guide/index.html"_s;
        const QString sources = u"sources/docs/guide/index.html"_s;
        const QString notInstalled = u"The user guide is not installed (looked for %1install/share/tagsmith/guide/index.html)."_s;
        QTest::newRow("the help setting") << u"help files/tagsmith help.html"_s << u"install/bin"_s << QString()
                                          << QString() << u"help files/tagsmith help.html"_s << QString();
        QTest::newRow("installed prefix") << QString() << u"install/bin"_s << installed << QString() << installed
                                          << QString();
        QTest::newRow("build tree: the guide of its sources")
            << QString() << u"build/src/app"_s << sources << sources << sources << QString();
        QTest::newRow("installed prefix with a note: the installed guide first")
            << QString() << u"install/bin"_s << installed << sources << installed << QString();
        QTest::newRow("build tree whose sources are gone")
            << QString() << u"build/src/app"_s << QString() << sources << QString()
            << u"The user guide is not installed (looked for %1build/src/share/tagsmith/guide/index.html)."_s;
        QTest::newRow("neither: a guide two folders up is not the program's")
            << QString() << u"install/bin"_s << u"docs/guide/index.html"_s << QString() << QString() << notInstalled;
        QTest::newRow("neither: a guide one folder up is not the program's")
            << QString() << u"install/bin"_s << u"install/docs/guide/index.html"_s << QString() << QString()
            << notInstalled;
        QTest::newRow("a help file that is gone") << u"gone/help.html"_s << u"install/bin"_s << QString() << QString()
                                                  << QString() << u"The help file %1gone/help.html does not exist."_s;
    }

    void helpIndex()
    {
        QFETCH(QString, help);
        QFETCH(QString, folder);
        QFETCH(QString, guide);
        QFETCH(QString, note);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        ToolsScenario s;
        const QString root = s.home.path() + QLatin1Char('/');
        const QString viewer = s.desktop.standIn(QStringLiteral("bin/xdg-open"));
        if (!help.isEmpty())
            SettingsStore().setValue(QStringLiteral("Help"), root + help);
        for (const QString &page : { guide, shown }) {
            if (!page.isEmpty())
                s.home.write(page, "<html></html>");
        }
        QDir().mkpath(root + folder);
        if (!note.isEmpty())
            s.home.write(folder + u'/' + ExternalTools::kSourceGuideNote, QFile::encodeName(root + note));
        s.window->tools().setProgramFolder(root + folder);
        s.click(QStringLiteral("mnuHelp(0)"));
        if (shown.isEmpty()) {
            QTest::qWait(200);
            QVERIFY(!StandInDesktop::wasStarted(viewer));
            QVERIFY2(s.msg().contains(message.arg(root)), qPrintable(s.msg()));
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(StandInDesktop::wasStarted(viewer), 10000);
        QCOMPARE(StandInDesktop::argumentsOf(viewer), QStringList { root + shown });
    }
};

QTEST_MAIN(TestExternalTools)
#include "test_external_tools.moc"
