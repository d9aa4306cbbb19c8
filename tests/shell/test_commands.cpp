// Every command as the user gives it: through the menu object, the toolbar and the keys.

#include "TestHome.h"

#include <QDialog>
#include "controls/TextBoxEx.h"
#include "controls/toolbar/cToolbar.h"
#include "controls/zebStatusBar.h"
#include "document/frmDocument.h"
#include "services/PopupMenu.h"
#include "services/SettingsStore.h"
#include "shell/DocumentCommands.h"
#include "shell/ExternalTools.h"
#include "shell/ProgramLauncher.h"
#include "shell/UserPrompts.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QUrl>

#include <memory>

namespace {

const QByteArray kPage = "<html>\n<head>\n<title>Kites</title>\n"
                         "<meta name=\"keywords\" content=\"kites, lines\">\n"
                         "</head>\n<body></body>\n</html>\n";

// Records what would have been started instead of starting it.
class RecordingLauncher : public ProgramLauncher
{
public:
    bool start(const QString &program, const QStringList &arguments) override
    {
        started.append(QStringList { program } + arguments);
        return true;
    }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return true;
    }
    QList<QStringList> started;
    QList<QUrl> urls;
};

struct Scenario
{
    explicit Scenario(const QMap<QString, QString> &stored = {})
    {
        SettingsStore store;
        store.SetValue(QStringLiteral("Version"), QStringLiteral("2.01a"));
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            store.SetValue(it.key(), it.value());
        start();
    }

    void start()
    {
        window = std::make_unique<frmMain>();
        window->prompts().setScripted(true);
        auto recorder = std::make_unique<RecordingLauncher>();
        launcher = recorder.get();
        window->tools().setLauncher(std::move(recorder));
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window did not become active");
    }

    void restart()
    {
        window->close();
        window.reset();
        start();
    }

    PopupMenu &menu() const { return window->menu(); }
    int item(const QString &key) const { return menu().FindItemByKey(key); }
    void click(const QString &key) const { emit menu().Click(item(key)); }
    void button(int index) const { window->toolbar().RaiseButtonClick(index); }
    void key(const QKeySequence &sequence) const
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keySequence(target, sequence);
    }
    frmDocument *open(const QString &path)
    {
        window->OpenCommandLine(path);
        return window->activeDocument();
    }
    QString page(const QString &name) const { return home.write(name, kPage); }
    int windows() const { return static_cast<int>(window->mdiArea().subWindowList().size()); }
    QString msg() const { return window->status().PanelText(QStringLiteral("msg")); }
    QString fil() const { return window->status().PanelText(QStringLiteral("fil")); }
    const QList<UserPrompts::Shown> &prompts() const { return window->prompts().shown(); }
    // Keys of the File menu's items, top to bottom.
    QStringList fileMenu() const
    {
        QStringList keys;
        const int file = item(QStringLiteral("mnuFileTOP"));
        for (int i = 1; i <= menu().Count(); ++i) {
            if (menu().ItemParent(i) == file)
                keys.append(menu().ItemKey(i).isEmpty() ? QStringLiteral("-") : menu().ItemKey(i));
        }
        return keys;
    }

    TestHome home;
    std::unique_ptr<frmMain> window;
    RecordingLauncher *launcher = nullptr;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How the user reaches a command: "menu", "toolbar" or "key".
void give(const Scenario &s, const QString &how, const QString &menuKey, int button, const QString &keys)
{
    if (how == QStringLiteral("menu"))
        s.click(menuKey);
    else if (how == QStringLiteral("toolbar"))
        s.button(button);
    else
        s.key(QKeySequence(keys));
}

const QStringList kBareFileMenu = { "mnuFile(0)", "mnuFile(1)", "mnuFile(2)", "-", "mnuFile(3)", "mnuFile(9)",
    "-", "mnuFile(4)", "mnuFileInsert", "mnuFile(5)" };

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settingsAndAboutOpenTheirDialogs_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("menuKey");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("settings from the menu") << "menu" << "mnuTool(0)" << 13 << "F9" << "frmSettings";
        QTest::newRow("settings from the toolbar") << "toolbar" << "mnuTool(0)" << 13 << "F9" << "frmSettings";
        QTest::newRow("settings by key") << "key" << "mnuTool(0)" << 13 << "F9" << "frmSettings";
        QTest::newRow("about from the menu") << "menu" << "mnuHelp(5)" << -1 << "" << "frmAbout";
    }
    void settingsAndAboutOpenTheirDialogs()
    {
        QFETCH(QString, how);
        QFETCH(QString, menuKey);
        QFETCH(int, button);
        QFETCH(QString, keys);
        QFETCH(QString, dialog);
        Scenario s;
        give(s, how, menuKey, button, keys);
        const QList<QDialog *> open = s.window->findChildren<QDialog *>();
        QCOMPARE(open.size(), 1);
        QCOMPARE(QString::fromLatin1(open.first()->metaObject()->className()), dialog);
        QVERIFY(open.first()->isVisible());
        open.first()->close();
    }

    void propertiesDoesNothing()
    {
        Scenario s;
        const QString path = s.page(QStringLiteral("a.html"));
        frmDocument *document = s.open(path);
        const QString msg = s.msg();
        const QString fil = s.fil();
        s.click(QStringLiteral("mnuFile(4)"));
        QCOMPARE(s.windows(), 1);
        QCOMPARE(s.window->activeDocument(), document);
        QCOMPARE(s.msg(), msg);
        QCOMPARE(s.fil(), fil);
        QVERIFY(s.prompts().isEmpty());
        QVERIFY(!document->isModified());
        QCOMPARE(readFile(path), kPage);
    }

    void saveOfANewDocumentAsksForAName_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu") << "menu";
        QTest::newRow("toolbar") << "toolbar";
        QTest::newRow("ctrl+s") << "key";
    }

    void saveOfANewDocumentAsksForAName()
    {
        QFETCH(QString, how);
        Scenario s({ { QStringLiteral("Author"), QStringLiteral("Ann") } });
        frmDocument *document = s.window->commands().New();
        const QString path = s.home.path() + QStringLiteral("/named.html");
        s.window->prompts().chooseFileNext(path);
        give(s, how, QStringLiteral("mnuFile(3)"), 2, QStringLiteral("Ctrl+S"));
        QCOMPARE(s.prompts().size(), 1);
        QCOMPARE(s.prompts().first().kind, UserPrompts::Kind::SaveFile);
        QCOMPARE(document->filePath(), path);
        QVERIFY(readFile(path).contains("<META name=\"author\" content=\"Ann\">"));
    }

    void saveAsOfASavedDocumentStillAsks()
    {
        Scenario s;
        const QString path = s.page(QStringLiteral("a.html"));
        frmDocument *document = s.open(path);
        s.click(QStringLiteral("mnuFile(9)"));
        QCOMPARE(s.prompts().size(), 1);
        QCOMPARE(s.prompts().first().kind, UserPrompts::Kind::SaveFile);
        QCOMPARE(document->filePath(), path);
        QVERIFY(s.window->documentState().SaveAsCancelled);
        QCOMPARE(readFile(path), kPage);
    }

    // The user selects in a field, moves the focus to a check box, then gives the command.
    void editCommandsFollowTheLastFocusedField_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("clip");
        QTest::newRow("menu copy") << "menu"
                                   << "copy"
                                   << "kites, lines"
                                   << "Ann"
                                   << "kites";
        QTest::newRow("toolbar copy") << "toolbar"
                                      << "copy"
                                      << "kites, lines"
                                      << "Ann"
                                      << "kites";
        QTest::newRow("ctrl+c from the check box") << "key"
                                                   << "copy"
                                                   << "kites, lines"
                                                   << "Ann"
                                                   << "kites";
        QTest::newRow("toolbar cut") << "toolbar"
                                     << "cut"
                                     << ", lines"
                                     << "Ann"
                                     << "kites";
        QTest::newRow("ctrl+x from the check box") << "key"
                                                   << "cut"
                                                   << ", lines"
                                                   << "Ann"
                                                   << "kites";
        QTest::newRow("menu paste") << "menu"
                                    << "paste"
                                    << "pasted, lines"
                                    << "Ann"
                                    << "pasted";
        QTest::newRow("ctrl+v from the check box") << "key"
                                                   << "paste"
                                                   << "pasted, lines"
                                                   << "Ann"
                                                   << "pasted";
        QTest::newRow("toolbar undo") << "toolbar"
                                      << "undo"
                                      << "kites, lines"
                                      << "Ann"
                                      << "pasted";
        QTest::newRow("ctrl+z from the check box") << "key"
                                                   << "undo"
                                                   << "kites, lines"
                                                   << "Ann"
                                                   << "pasted";
    }

    void editCommandsFollowTheLastFocusedField()
    {
        QFETCH(QString, how);
        QFETCH(QString, command);
        QFETCH(QString, keywords);
        QFETCH(QString, author);
        QFETCH(QString, clip);
        Scenario s;
        frmDocument *document = s.open(s.page(QStringLiteral("a.html")));
        QLineEdit *authorField = document->field(TextField::Author);
        authorField->setFocus();
        authorField->selectAll();
        QTest::keyClicks(authorField, QStringLiteral("Ann"));
        QLineEdit *keywordsField = document->field(TextField::Keywords);
        keywordsField->setFocus();
        if (command == QStringLiteral("undo")) {
            keywordsField->end(false);
            QTest::keyClicks(keywordsField, QStringLiteral("!"));
        }
        keywordsField->setSelection(0, 5);
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        document->flagBox(RobotsFlag::NoFollow)->setFocus();
        QVERIFY(!keywordsField->hasFocus());
        QCOMPARE(s.window->documentState().ActiveField, QStringLiteral("Keywords"));

        const QMap<QString, QPair<QString, int>> commands
            = { { "undo", { "mnuEdit(0)", 8 } }, { "cut", { "mnuEdit(1)", 4 } },
                  { "copy", { "mnuEdit(2)", 5 } }, { "paste", { "mnuEdit(3)", 6 } } };
        const QMap<QString, QString> keys
            = { { "undo", "Ctrl+Z" }, { "cut", "Ctrl+X" }, { "copy", "Ctrl+C" }, { "paste", "Ctrl+V" } };
        give(s, how, commands.value(command).first, commands.value(command).second, keys.value(command));
        QCOMPARE(keywordsField->text(), keywords);
        QCOMPARE(authorField->text(), author);
        QCOMPARE(QApplication::clipboard()->text(), clip);
    }

    // With the focus in a field its own editing keys are its own: each acts once.
    void aFieldKeepsItsOwnEditingKeys()
    {
        Scenario s;
        frmDocument *document = s.open(s.page(QStringLiteral("a.html")));
        QLineEdit *author = document->field(TextField::Author);
        QLineEdit *keywords = document->field(TextField::Keywords);
        keywords->setFocus();
        author->setFocus();
        author->selectAll();
        QTest::keyClicks(author, QStringLiteral("Bo"));
        author->selectAll();
        s.key(QKeySequence(QStringLiteral("Ctrl+C")));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Bo"));
        author->end(false);
        s.key(QKeySequence(QStringLiteral("Ctrl+V")));
        QCOMPARE(author->text(), QStringLiteral("BoBo"));
        s.key(QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(author->text(), QStringLiteral("Bo"));
        QCOMPARE(keywords->text(), QStringLiteral("kites, lines"));
    }

    void noDocumentNoEdit()
    {
        Scenario s;
        s.window->documentState().ActiveField = QStringLiteral("Author");
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        for (const char *key : { "mnuEdit(0)", "mnuEdit(1)", "mnuEdit(2)", "mnuEdit(3)", "mnuInsert(0)" })
            s.click(QString::fromLatin1(key));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
        QCOMPARE(s.windows(), 0);
    }

    void insertStandardAuthor_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu") << "menu";
        QTest::newRow("toolbar") << "toolbar";
        QTest::newRow("ctrl+i") << "key";
    }

    void insertStandardAuthor()
    {
        QFETCH(QString, how);
        Scenario s({ { QStringLiteral("Author"), QStringLiteral("Vera Vantorel") } });
        frmDocument *document = s.open(s.page(QStringLiteral("a.html")));
        document->flagBox(RobotsFlag::NoIndex)->setFocus();
        give(s, how, QStringLiteral("mnuInsert(0)"), 10, QStringLiteral("Ctrl+I"));
        QCOMPARE(document->text(TextField::Author), QStringLiteral("Vera Vantorel"));
        QVERIFY(document->isModified());
        QCOMPARE(s.msg(), QStringLiteral("Remember to save..."));
    }

    void copyMetaWorksWithThePaneHidden_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu") << "menu";
        QTest::newRow("toolbar") << "toolbar";
        QTest::newRow("ctrl+m") << "key";
    }

    void copyMetaWorksWithThePaneHidden()
    {
        QFETCH(QString, how);
        Scenario s;
        s.open(s.page(QStringLiteral("a.html")));
        QVERIFY(!s.window->metaPane().isVisible());
        QApplication::clipboard()->setText(QStringLiteral("old"));
        give(s, how, QStringLiteral("mnuEdit(4)"), 7, QStringLiteral("Ctrl+M"));
        const QString copied = QApplication::clipboard()->text();
        QVERIFY2(copied.contains(QStringLiteral("<META name=\"keywords\" content=\"kites, lines\">\n")),
            qPrintable(copied));
        QCOMPARE(copied, s.window->metaText().Text());
    }

    // Every item and button not tabled stays enabled in both states.
    void documentCommandStates()
    {
        Scenario s;
        s.window->OpenCommandLine(QString());
        const QStringList switched = { "mnuFile(2)", "mnuFile(3)", "mnuFile(4)", "mnuView(1)" };
        const auto check = [&](bool documentState) {
            for (int i = 1; i <= s.menu().Count(); ++i) {
                const QString key = s.menu().ItemKey(i);
                if (key.isEmpty() || s.menu().IsSeparator(i))
                    continue;
                const bool expected = documentState || !switched.contains(key);
                QVERIFY2(s.menu().Enabled(i) == expected, qPrintable(key));
            }
            for (int b = 0; b < s.window->toolbar().ButtonCount(); ++b) {
                if (!s.window->toolbar().ButtonKey(b).isEmpty())
                    QVERIFY2(s.window->toolbar().ButtonEnabled(b) == (documentState || b != 2),
                        qPrintable(QString::number(b)));
            }
        };
        check(false);
        s.window->commands().New();
        check(true);
    }

    void afterTheLastDocumentTheCommandsStayAndDoNothing()
    {
        Scenario s;
        s.window->OpenCommandLine(QString());
        frmDocument *document = s.open(s.page(QStringLiteral("a.html")));
        QVERIFY(document);
        s.click(QStringLiteral("mnuFile(2)"));
        QCOMPARE(s.windows(), 0);
        const QString msg = s.msg();
        for (const char *key : { "mnuFile(2)", "mnuFile(3)", "mnuFile(4)", "mnuView(1)" }) {
            QVERIFY2(s.menu().Enabled(s.item(QString::fromLatin1(key))), key);
            s.click(QString::fromLatin1(key));
        }
        QVERIFY(s.window->toolbar().ButtonEnabled(2));
        s.button(2);
        QVERIFY(s.prompts().isEmpty());
        QVERIFY(s.launcher->started.isEmpty());
        QCOMPARE(s.windows(), 0);
        QCOMPARE(s.msg(), msg);
    }

    // Keys and buttons that name no command change nothing.
    void unknownCommandsDoNothing_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("button");
        QTest::newRow("recent item not in use") << "mnuFile(8)" << -1;
        QTest::newRow("tools beyond settings") << "mnuTool(1)" << -1;
        QTest::newRow("help beyond about") << "mnuHelp(6)" << -1;
        QTest::newRow("edit beyond copy meta") << "mnuEdit(5)" << -1;
        QTest::newRow("no digit in the place") << "mnuFileX" << -1;
        QTest::newRow("unknown group") << "mnuFormat(0)" << -1;
        QTest::newRow("window beyond arrange icons") << "mnuWindow(4)" << -1;
        QTest::newRow("separator button") << "" << 3;
        QTest::newRow("past the last button") << "" << 17;
    }

    void unknownCommandsDoNothing()
    {
        QFETCH(QString, key);
        QFETCH(int, button);
        Scenario s;
        s.open(s.page(QStringLiteral("a.html")));
        const QString msg = s.msg();
        const QString fil = s.fil();
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        if (button >= 0) {
            s.button(button);
        } else {
            // An item of its own in the File menu carries the key to the dispatch.
            const int added
                = s.menu().AppendItem(QStringLiteral("Stray"), s.item(QStringLiteral("mnuFileTOP")), key);
            emit s.menu().Click(added);
        }
        QCOMPARE(s.windows(), 1);
        QCOMPARE(s.msg(), msg);
        QCOMPARE(s.fil(), fil);
        QVERIFY(s.prompts().isEmpty());
        QVERIFY(s.launcher->started.isEmpty());
        QVERIFY(s.launcher->urls.isEmpty());
        QVERIFY(!s.window->metaPane().isVisible());
        QVERIFY(!s.window->toolbarStrip().isVisible());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
    }

    void firstRunHasNoRecentFiles()
    {
        Scenario s;
        QCOMPARE(s.fileMenu(), kBareFileMenu);
    }

    void oneOpenAddsOneItemAboveExit()
    {
        Scenario s;
        const QString path = s.page(QStringLiteral("my site/index.html"));
        s.open(path);
        QStringList expected = kBareFileMenu;
        expected.insert(expected.size() - 1, QStringLiteral("mnuFile(6)"));
        expected.insert(expected.size() - 1, QStringLiteral("mnuFileMRU"));
        QCOMPARE(s.fileMenu(), expected);
        QVERIFY(s.menu().IsSeparator(s.item(QStringLiteral("mnuFileMRU"))));
        QCOMPARE(s.menu().Caption(s.item(QStringLiteral("mnuFile(6)"))), QStringLiteral("&1  ") + path);
    }

    void theListHoldsThreeNewestFirst()
    {
        Scenario s;
        QStringList paths;
        for (const char *name : { "a.html", "b.html", "c.html", "d.html" })
            paths.append(s.page(QString::fromLatin1(name)));
        for (const QString &path : paths)
            s.open(path);
        s.open(paths.at(1));
        QStringList expected = kBareFileMenu;
        expected.insert(expected.size() - 1, QStringLiteral("mnuFile(6)"));
        expected.insert(expected.size() - 1, QStringLiteral("mnuFile(7)"));
        expected.insert(expected.size() - 1, QStringLiteral("mnuFile(8)"));
        expected.insert(expected.size() - 1, QStringLiteral("mnuFileMRU"));
        QCOMPARE(s.fileMenu(), expected);
        QCOMPARE(
            s.menu().Caption(s.item(QStringLiteral("mnuFile(6)"))), QStringLiteral("&1  ") + paths.at(1));
        QCOMPARE(
            s.menu().Caption(s.item(QStringLiteral("mnuFile(7)"))), QStringLiteral("&2  ") + paths.at(3));
        QCOMPARE(
            s.menu().Caption(s.item(QStringLiteral("mnuFile(8)"))), QStringLiteral("&3  ") + paths.at(2));
    }

    void saveAsAddsOnlyANewDocument()
    {
        Scenario s;
        const QString opened = s.page(QStringLiteral("a.html"));
        s.open(opened);
        const QString copy = s.home.path() + QStringLiteral("/copy.html");
        s.window->prompts().chooseFileNext(copy);
        s.click(QStringLiteral("mnuFile(9)"));
        QCOMPARE(s.menu().Caption(s.item(QStringLiteral("mnuFile(6)"))), QStringLiteral("&1  ") + opened);
        QCOMPARE(s.item(QStringLiteral("mnuFile(7)")), 0);
        s.window->commands().New();
        const QString fresh = s.home.path() + QStringLiteral("/fresh.html");
        s.window->prompts().chooseFileNext(fresh);
        s.click(QStringLiteral("mnuFile(9)"));
        QCOMPARE(s.menu().Caption(s.item(QStringLiteral("mnuFile(6)"))), QStringLiteral("&1  ") + fresh);
        QCOMPARE(s.menu().Caption(s.item(QStringLiteral("mnuFile(7)"))), QStringLiteral("&2  ") + opened);
    }

    void theListSurvivesARestart()
    {
        Scenario s;
        const QString first = s.page(QStringLiteral("a.html"));
        const QString second = s.page(QStringLiteral("b.html"));
        s.open(first);
        s.open(second);
        s.restart();
        QCOMPARE(s.menu().Caption(s.item(QStringLiteral("mnuFile(6)"))), QStringLiteral("&1  ") + second);
        QCOMPARE(s.menu().Caption(s.item(QStringLiteral("mnuFile(7)"))), QStringLiteral("&2  ") + first);
        QCOMPARE(s.fileMenu().count(QStringLiteral("mnuFileMRU")), 1);
    }

    void aRecentItemOpensWithoutTheDialog()
    {
        Scenario s;
        const QString first = s.page(QStringLiteral("a.html"));
        const QString second = s.page(QStringLiteral("b.html"));
        s.open(first);
        s.open(second);
        s.restart();
        s.click(QStringLiteral("mnuFile(7)"));
        QVERIFY(s.prompts().isEmpty());
        QCOMPARE(s.windows(), 1);
        QCOMPARE(s.window->activeDocument()->filePath(), first);
        QCOMPARE(s.msg(), QStringLiteral("Document opened... (") + first + QLatin1Char(')'));
        QCOMPARE(s.menu().Caption(s.item(QStringLiteral("mnuFile(6)"))), QStringLiteral("&1  ") + first);
    }

    void aVanishedRecentFileSaysWhy()
    {
        Scenario s;
        const QString path = s.page(QStringLiteral("gone.html"));
        s.open(path);
        s.click(QStringLiteral("mnuFile(2)"));
        QFile::remove(path);
        s.click(QStringLiteral("mnuFile(6)"));
        QCOMPARE(s.windows(), 0);
        QVERIFY(s.prompts().isEmpty());
        QVERIFY2(s.msg().endsWith(QStringLiteral(" (") + path + QLatin1Char(')')), qPrintable(s.msg()));
        QVERIFY(s.msg().size() > path.size() + 3);
        QCOMPARE(s.fil(), QStringLiteral("Opening document..."));
    }

    void windowArrangements_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("cascade") << "mnuWindow(0)";
        QTest::newRow("tile horizontally") << "mnuWindow(1)";
        QTest::newRow("tile vertically") << "mnuWindow(2)";
    }

    void windowArrangements()
    {
        QFETCH(QString, key);
        Scenario s;
        for (const char *name : { "a.html", "b.html", "c.html" })
            s.open(s.page(QString::fromLatin1(name)));
        const QList<QMdiSubWindow *> frames = s.window->mdiArea().subWindowList(QMdiArea::CreationOrder);
        for (QMdiSubWindow *frame : frames)
            frame->setGeometry(5, 5, 200, 120);
        s.click(key);
        const QRect area = s.window->mdiArea().viewport()->rect();
        QList<QRect> placed;
        for (QMdiSubWindow *frame : frames)
            placed.append(frame->geometry());
        if (key == QStringLiteral("mnuWindow(0)")) {
            QVERIFY(placed.at(1).left() > placed.at(0).left() || placed.at(1).top() > placed.at(0).top());
            QVERIFY(placed.at(2).top() > placed.at(1).top());
            return;
        }
        const bool horizontally = key == QStringLiteral("mnuWindow(1)");
        for (int i = 0; i < 3; ++i) {
            QVERIFY(area.contains(placed.at(i)));
            QCOMPARE(horizontally ? placed.at(i).width() : placed.at(i).height(),
                horizontally ? area.width() : area.height());
            for (int j = i + 1; j < 3; ++j)
                QVERIFY2(!placed.at(i).intersects(placed.at(j)), "tiled windows do not overlap");
        }
    }

    void arrangeIconsLinesUpMinimizedWindows()
    {
        Scenario s;
        for (const char *name : { "a.html", "b.html" })
            s.open(s.page(QString::fromLatin1(name)));
        const QList<QMdiSubWindow *> frames = s.window->mdiArea().subWindowList(QMdiArea::CreationOrder);
        for (QMdiSubWindow *frame : frames) {
            frame->showMinimized();
            frame->move(40, 30);
        }
        s.click(QStringLiteral("mnuWindow(3)"));
        const int bottom = s.window->mdiArea().viewport()->rect().bottom();
        QCOMPARE(frames.at(0)->geometry().bottom(), bottom);
        QCOMPARE(frames.at(1)->geometry().bottom(), bottom);
        QCOMPARE(frames.at(0)->x(), 0);
        QCOMPARE(frames.at(1)->x(), frames.at(0)->geometry().right() + 1);
    }

    void webLinks_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("link");
        QTest::newRow("program home from the menu") << "menu"
                                                    << "mnuHelp(1)" << 1;
        QTest::newRow("program home from the toolbar") << "toolbar"
                                                       << "" << 1;
        QTest::newRow("message board") << "menu"
                                       << "mnuHelp(2)" << 2;
        QTest::newRow("robots help") << "menu"
                                     << "mnuHelp(3)" << 3;
        QTest::newRow("maker") << "menu"
                               << "mnuHelp(4)" << 4;
    }

    void webLinks()
    {
        QFETCH(QString, how);
        QFETCH(QString, key);
        QFETCH(int, link);
        Scenario s;
        give(s, how, key, 15, {});
        QCOMPARE(s.launcher->urls.size(), 1);
        QCOMPARE(s.launcher->urls.first(), ExternalTools::linkAddress(link));
        QVERIFY(s.launcher->started.isEmpty());
    }

    void theLinksAreDistinctSecurePages()
    {
        QSet<QString> seen;
        for (int link = ExternalTools::kFirstLink; link <= ExternalTools::kLastLink; ++link) {
            const QUrl url = ExternalTools::linkAddress(link);
            QVERIFY(url.isValid());
            QCOMPARE(url.scheme(), QStringLiteral("https"));
            seen.insert(url.toString());
        }
        QCOMPARE(seen.size(), 4);
        QVERIFY(ExternalTools::linkAddress(1).host().contains(QStringLiteral("vantorel")));
        QVERIFY(ExternalTools::linkAddress(3).path().contains(QStringLiteral("robots-meta")));
        QVERIFY(ExternalTools::linkAddress(5).isEmpty());
    }

    void keysReachTheirCommands_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("effect");
        QTest::newRow("ctrl+n") << "Ctrl+N"
                                << "two windows";
        QTest::newRow("ctrl+o") << "Ctrl+O"
                                << "open dialog";
        QTest::newRow("alt+q") << "Alt+Q"
                               << "closed";
        QTest::newRow("f8") << "F8"
                            << "pane";
        QTest::newRow("ctrl+f") << "Ctrl+F"
                                << "editor";
        QTest::newRow("f1") << "F1"
                            << "help";
        QTest::newRow("f9") << "F9"
                            << "settings";
    }

    // With the focus in a text field: the field does not swallow the program's keys.
    void keysReachTheirCommands()
    {
        QFETCH(QString, keys);
        QFETCH(QString, effect);
        Scenario s({ { QStringLiteral("Help"), QStringLiteral("/") } });
        frmDocument *document = s.open(s.page(QStringLiteral("a.html")));
        document->field(TextField::Description)->setFocus();
        QVERIFY(document->field(TextField::Description)->hasFocus());
        s.key(QKeySequence(keys));
        QCOMPARE(s.windows(),
            effect == QStringLiteral("two windows")  ? 2
                : effect == QStringLiteral("closed") ? 0
                                                     : 1);
        QCOMPARE(s.window->isVisible(), effect != QStringLiteral("closed"));
        QCOMPARE(s.prompts().size(), effect == QStringLiteral("open dialog") ? 1 : 0);
        QCOMPARE(s.window->metaPane().isVisible(), effect == QStringLiteral("pane"));
        QCOMPARE(s.window->findChildren<QDialog *>().size(), effect == QStringLiteral("settings") ? 1 : 0);
        const QString started
            = s.launcher->started.isEmpty() ? QString() : s.launcher->started.first().last();
        QCOMPARE(started,
            effect == QStringLiteral("editor")     ? document->filePath()
                : effect == QStringLiteral("help") ? QStringLiteral("/")
                                                   : QString());
        QCOMPARE(document->text(TextField::Description), QStringLiteral("No description"));
    }

    void theWindowMenuStaysHidden()
    {
        Scenario s;
        const int header = s.item(QStringLiteral("mnuWindowTOP"));
        QCOMPARE(s.menu().ItemParent(s.item(QStringLiteral("mnuWindow(3)"))), header);
        const cToolbar &bar = s.window->menuBarToolbar();
        int shown = 0;
        for (int b = 0; b < bar.ButtonCount(); ++b) {
            if (bar.ButtonSubMenu(b) == s.menu().SubMenu(header))
                QVERIFY(!bar.ButtonVisible(b));
            else
                shown += bar.ButtonVisible(b) ? 1 : 0;
        }
        QCOMPARE(shown, 6);
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
