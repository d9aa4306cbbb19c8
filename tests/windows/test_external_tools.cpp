// Full Code and the help start real programs: stand-ins that write down the arguments they
// were given, found where the real ones would be.

#include "MainWindowScenario.h"
#include "DefaultTextEditor.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kPage = "<html>\n<head>\n<title>Home</title>\n</head>\n<body></body>\n</html>\n";

// A program that writes its arguments, each ended by a NUL, next to itself.
QString standIn(const TestHome &home, const QString &name)
{
    const QString path = home.write(name,
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.part\" && mv \"$0.part\" "
        "\"$0.args\"\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
}

QStringList argumentsOf(const QString &standInPath)
{
    QFile file(standInPath + QStringLiteral(".args"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList arguments = QString::fromUtf8(file.readAll()).split(QChar(0));
    arguments.removeLast();
    return arguments;
}

bool wasStarted(const QString &standInPath) { return QFile::exists(standInPath + ".args"); }

// The real launcher, with the stand-ins found first on PATH and no desktop of the
// machine's own to ask. Every variable the launcher reads is set afresh, so none comes
// from the machine or from the row before.
struct ToolsScenario : Scenario
{
    ToolsScenario()
    {
        static const QString machinePath = qEnvironmentVariable("PATH");
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home.path() + QStringLiteral("/no-system-config")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(home.path() + QStringLiteral("/no-system-data")));
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("VISUAL");
        qputenv("PATH", QFile::encodeName(home.path() + QStringLiteral("/bin:") + machinePath));
        window->tools().setLauncher(std::make_unique<ProgramLauncher>());
        window->tools().setProgramFolder(home.path() + QStringLiteral("/install/bin"));
    }
};

} // namespace

class TestExternalTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void execLines_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("arguments");
        const QString p = QStringLiteral("/home/me/my site/a page.html");
        QTest::newRow("file code alone") << "edit %f" << QStringList { "edit", p };
        QTest::newRow("url code takes the path") << "edit --tab %U" << QStringList { "edit", "--tab", p };
        QTest::newRow("no file code: the path goes last")
            << "edit --new" << QStringList { "edit", "--new", p };
        QTest::newRow("icon, caption and entry codes dropped")
            << "edit %i %c %k %f" << QStringList { "edit", p };
        QTest::newRow("quoted program")
            << "\"/opt/my editor/edit\" %f" << QStringList { "/opt/my editor/edit", p };
        QTest::newRow("escaped quote")
            << "edit \"say \\\"hi\\\"\" %f" << QStringList { "edit", "say \"hi\"", p };
        QTest::newRow("code inside an argument") << "edit --file=%f" << QStringList { "edit", "--file=" + p };
        QTest::newRow("percent sign kept")
            << "edit --zoom=100%% %f" << QStringList { "edit", "--zoom=100%", p };
        QTest::newRow("value escapes") << "edit\\s--wait %f" << QStringList { "edit", "--wait", p };
        QTest::newRow("empty") << "" << QStringList {};
    }

    void execLines()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, arguments);
        QCOMPARE(
            DefaultTextEditor::expandExec(exec, QStringLiteral("/home/me/my site/a page.html")), arguments);
    }

    // Which editor shows the full code, and that the path reaches it whole.
    void fullCode_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("leading");
        QTest::newRow("sibling editor")
            << "Scrivan Editor/Scriv.exe" << "visual" << "Scrivan Editor/Scriv.exe" << QStringList {};
        QTest::newRow("another letter case is not the sibling, VISUAL with an option")
            << "Scrivan Editor/scriv.exe" << "visual" << "bin/visual-editor" << QStringList { "-f" };
        QTest::newRow("a VISUAL that names no program is passed over")
            << "" << "missing" << "bin/xdg-open" << QStringList {};
        QTest::newRow("a blank VISUAL is passed over") << "" << "blank" << "bin/xdg-open" << QStringList {};
        QTest::newRow("the desktop's plain-text application")
            << "" << "desktop" << "bin/desk-editor" << QStringList { "--new-window" };
        QTest::newRow("a terminal application is passed over")
            << "" << "terminal desktop" << "bin/xdg-open" << QStringList {};
        QTest::newRow("nothing set up: xdg-open") << "" << "" << "bin/xdg-open" << QStringList {};
    }

    void fullCode()
    {
        QFETCH(QString, location);
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        QFETCH(QStringList, leading);
        ToolsScenario s;
        const QString root = s.home.path() + QLatin1Char('/');
        QStringList standIns = { "bin/visual-editor", "bin/desk-editor", "bin/xdg-open" };
        if (!location.isEmpty()) {
            standIns.append(location);
            SettingsStore().setValue(QStringLiteral("Location"), root + location, QStringLiteral("Scrivan"));
        }
        for (const QString &name : standIns)
            standIn(s.home, name);
        const QMap<QString, QString> visual { { "visual", root + "bin/visual-editor -f" },
            { "missing", "no-such-editor-anywhere" }, { "blank", "  " } };
        if (visual.contains(setup))
            qputenv("VISUAL", QFile::encodeName(visual.value(setup)));
        if (setup.endsWith(QStringLiteral("desktop"))) {
            s.home.write(QStringLiteral("config/mimeapps.list"),
                "[Added Associations]\ntext/plain=other.desktop;\n"
                "[Default Applications]\ntext/html=browser.desktop\ntext/plain=gone.desktop;desk.desktop;\n");
            const QByteArray terminal = setup.startsWith(QStringLiteral("terminal")) ? "Terminal=true\n" : "";
            s.home.write(QStringLiteral("data/applications/desk.desktop"),
                "[Desktop Entry]\nType=Application\nName=Desk\n" + terminal + "Exec=\""
                    + QFile::encodeName(root)
                    + "bin/desk-editor\" --new-window %F\n[Desktop Action New]\nExec=wrong %f\n");
        }
        const QString path = s.home.write(QStringLiteral("my site/home page.html"), kPage);
        s.window->openCommandLine({ path });
        DocumentWindow *document = s.window->activeDocument();
        QVERIFY(document);
        document->field(TextField::Author)->setText(QStringLiteral("Saved first"));
        s.click(QStringLiteral("mnuView(1)"));
        QTRY_VERIFY_WITH_TIMEOUT(wasStarted(root + expected), 10000);
        QCOMPARE(argumentsOf(root + expected), leading + QStringList { path });
        QFile saved(path);
        QVERIFY2(saved.open(QIODevice::ReadOnly) && saved.readAll().contains("content=\"Saved first\""),
            "the edits were saved before the editor");
        QTest::qWait(200);
        for (const QString &name : standIns) {
            if (name != expected)
                QVERIFY2(!wasStarted(root + name), qPrintable(name));
        }
    }

    // Nothing starts for a page never saved; a start that fails names the program.
    void fullCodeWhenNothingCanStart()
    {
        ToolsScenario s;
        auto launcher = std::make_unique<RecordingLauncher>();
        launcher->succeeds = false;
        RecordingLauncher *observed = launcher.get();
        s.window->tools().setLauncher(std::move(launcher));
        s.click("mnuFile(0)");
        s.click("mnuView(1)");
        QCOMPARE(s.window->prompts().shown().size(), 1);
        QCOMPARE(s.window->prompts().shown().first().kind, UserPrompts::Kind::SaveFile);
        QVERIFY(observed->started.isEmpty());
        s.window->openCommandLine({ s.home.write("a.html", kPage) });
        s.click("mnuView(1)");
        QVERIFY2(s.msg().contains("xdg-open"), qPrintable(s.msg()));
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
        const QString installed = u"install/share/doc/tagsmith/index.html"_s;
        const QString sources = u"sources/docs/guide/index.html"_s;
        const QString notInstalled = u"The user guide is not installed (looked for %1install/share/doc/tagsmith/index.html)."_s;
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
            << u"The user guide is not installed (looked for %1build/src/share/doc/tagsmith/index.html)."_s;
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
        const QString viewer = standIn(s.home, QStringLiteral("bin/xdg-open"));
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
            QVERIFY(!wasStarted(viewer));
            QVERIFY2(s.msg().contains(message.arg(root)), qPrintable(s.msg()));
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(wasStarted(viewer), 10000);
        QCOMPARE(argumentsOf(viewer), QStringList { root + shown });
    }
};

QTEST_MAIN(TestExternalTools)
#include "test_external_tools.moc"
