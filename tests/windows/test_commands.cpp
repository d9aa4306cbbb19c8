// Every command as the user gives it: through the menu object, the toolbar and the keys.

#include "MainWindowScenario.h"
#include "ProgramCommands.h"
#include "SettingsDialog.h"
#include "SiteCommands.h"
#include "SiteModel.h"
#include "SiteWindow.h"
#include "WidthCounter.h"
#include "TextBox.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>
#include <QDialog>
#include <QLineEdit>

namespace {

const QByteArray kPage = "<html>\n<head>\n<title>Kites</title>\n"
                         "<meta name=\"keywords\" content=\"kites, lines\">\n"
                         "</head>\n<body></body>\n</html>\n";

QString recentCaption(int place, const QString &path)
{
    return QStringLiteral("&%1  %2").arg(place).arg(path);
}

} // namespace

struct EditCommand { QString how; QString what; QString keywords; QString clip; };
Q_DECLARE_METATYPE(EditCommand)

// clicked: place of the entry clicked after the restart; 0 for none
struct RecentCase { QStringList opened; QStringList recent; int clicked; bool gone; };
Q_DECLARE_METATYPE(RecentCase)

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Scenario::defaultPage = kPage;
        // Full Code takes $VISUAL before it asks the desktop, whose editors differ from
        // machine to machine.
        qputenv("VISUAL", "true");
    }

    // Keys are given with the focus in a text field, which must not swallow them.
    void commandsReachTheirRoutines_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("effect");
        QTest::newRow("ctrl+n") << "key" << "Ctrl+N" << "new";
        QTest::newRow("new from the toolbar") << "toolbar" << "0" << "new";
        QTest::newRow("ctrl+o") << "key" << "Ctrl+O" << "open";
        QTest::newRow("alt+q") << "key" << "Alt+Q" << "closed";
        QTest::newRow("f8") << "key" << "F8" << "pane";
        QTest::newRow("meta pane from the toolbar") << "toolbar" << "11" << "pane";
        QTest::newRow("ctrl+f") << "key" << "Ctrl+F" << "editor";
        QTest::newRow("f1") << "key" << "F1" << "help";
        QTest::newRow("settings from the menu") << "menu" << "mnuTool(0)" << "SettingsDialog";
        QTest::newRow("about from the menu") << "menu" << "mnuHelp(5)" << "AboutDialog";
        QTest::newRow("standard author from the toolbar") << "toolbar" << "10" << "author";
        QTest::newRow("program home from the toolbar") << "toolbar" << "15" << "link1";
        QTest::newRow("maker") << "menu" << "mnuHelp(4)" << "link4";
        // The copy keeps the page's own line ends, and works with the pane hidden.
        QTest::newRow("ctrl+m") << "key" << "Ctrl+M" << "copy";
        QTest::newRow("copy meta tags from the toolbar") << "toolbar" << "7" << "copy, CRLF page";
    }
    void commandsReachTheirRoutines()
    {
        QFETCH(QString, how);
        QFETCH(QString, what);
        QFETCH(QString, effect);
        Scenario s({ { "Help", "/" }, { "Author", "Vera Vantorel" } });
        const QString lineEnd = effect.endsWith("CRLF page") ? "\r\n" : "\n";
        const QByteArray page = QByteArray(kPage).replace("\n", lineEnd.toLatin1());
        DocumentWindow *document = s.open(s.page("a.html", page));
        document->field(TextField::Description)->setFocus();
        QApplication::clipboard()->setText("old");
        QVERIFY(document->field(TextField::Description)->hasFocus());
        s.give(how, what);
        QCOMPARE(s.windows(), effect == "new" ? 2 : effect == "closed" ? 0 : 1);
        QCOMPARE(s.window->isVisible(), effect != "closed");
        QCOMPARE(s.prompts().size(), effect == "open" ? 1 : 0);
        QCOMPARE(s.window->metaPane().isVisible(), effect == "pane");
        const QString copied = QApplication::clipboard()->text();
        const bool copies = effect.startsWith("copy");
        QCOMPARE(copied, copies ? s.window->metaText().text().replace('\n', lineEnd) : "old");
        if (copies)
            QVERIFY2(copied.contains("<META name=\"keywords\" content=\"kites, lines\">" + lineEnd),
                qPrintable(copied));
        const QList<QDialog *> dialogs = s.window->findChildren<QDialog *>();
        QCOMPARE(dialogs.isEmpty() ? QString()
                                   : QString::fromLatin1(dialogs.first()->metaObject()->className()),
            effect.endsWith("Dialog") ? effect : QString());
        for (QDialog *dialog : dialogs)
            dialog->close();
        const QString started
            = s.launcher->started.isEmpty() ? QString() : s.launcher->started.first().last();
        QCOMPARE(started,
            effect == "editor" ? document->document().path() : effect == "help" ? QStringLiteral("/") : QString());
        const QList<QUrl> link { ExternalTools::linkAddress(ExternalTools::Link(effect.mid(4).toInt() - 1)) };
        QCOMPARE(s.launcher->urls, effect.startsWith("link") ? link : QList<QUrl> {});
        QCOMPARE(document->text(TextField::Description), QStringLiteral("No description"));
        QCOMPARE(document->text(TextField::Author) == "Vera Vantorel", effect == "author");
        if (effect == "author")
            QCOMPARE(s.msg(), QStringLiteral("Remember to save..."));
    }

    // One row per command, in the order of their ids, each with a key of its own that the menu
    // holds; the recent files' keys join the menu with the recent files.
    void everyCommandHasItsRow()
    {
        Scenario s;
        QStringList keys;
        for (int i = 0; i < kCommandCount; ++i) {
            const auto id = CommandId(i);
            QCOMPARE(ProgramCommands::row(id).id, id);
            const QString key = ProgramCommands::menuKey(id);
            QVERIFY2(!keys.contains(key), qPrintable(key));
            keys.append(key);
            QCOMPARE(ProgramCommands::forMenuKey(key), std::optional<CommandId>(id));
            const bool recent = id >= CommandId::RecentFile1 && id <= CommandId::RecentSite3;
            QVERIFY2((s.item(key) != 0) != recent, qPrintable(key));
            QVERIFY(s.window->programCommands().action(id));
        }
    }

    void saveAsksForANameWhenItHasNone_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("opened");
        QTest::newRow("new, toolbar") << "toolbar" << "2" << false;
        QTest::newRow("new, ctrl+s") << "key" << "Ctrl+S" << false;
        QTest::newRow("save as of a saved page, cancelled") << "menu" << "mnuFile(9)" << true;
    }
    void saveAsksForANameWhenItHasNone()
    {
        QFETCH(QString, how);
        QFETCH(QString, what);
        QFETCH(bool, opened);
        Scenario s({ { "Author", "Ann" } });
        const QString existing = s.page("a.html");
        const QString chosen = s.home.path() + "/named.html";
        DocumentWindow *document = opened ? s.open(existing) : s.window->commands().newDocument();
        if (!opened)
            s.window->prompts().chooseFileNext(chosen);
        s.give(how, what);
        QCOMPARE(s.prompts().size(), 1);
        QCOMPARE(s.prompts().first().kind, UserPrompts::Kind::SaveFile);
        QCOMPARE(document->document().path(), opened ? existing : chosen);
        QCOMPARE(readFile(existing), kPage);
        QCOMPARE(s.caption("mnuFile(6)"), recentCaption(1, opened ? existing : chosen));
        QCOMPARE(s.item("mnuFile(7)"), 0);
        // A cancelled Save As puts back the message shown before the last Open command: none
        // was given, as the page came from the command line.
        if (opened)
            QCOMPARE(s.msg(), QString());
        if (!opened) {
            QVERIFY(readFile(chosen).contains("<META name=\"author\" content=\"Ann\">"));
            QVERIFY(!document->document().isModified());
            QVERIFY2(!QFile::exists(s.home.path() + "/named.bak"), "no backup of the page just made");
        }
    }

    // The user selects in a field, moves the focus to a check box, then gives the command.
    void editCommandsFollowTheLastFocusedField_data()
    {
        QTest::addColumn<EditCommand>("row");
        QTest::newRow("copy from the toolbar") << EditCommand { "toolbar", "5", "kites, lines", "kites" };
        QTest::newRow("ctrl+x") << EditCommand { "key", "Ctrl+X", ", lines", "kites" };
        QTest::newRow("paste from the menu") << EditCommand { "menu", "mnuEdit(3)", "pasted, lines", "pasted" };
        QTest::newRow("undo from the toolbar") << EditCommand { "toolbar", "8", "kites, lines", "pasted" };
        QTest::newRow("ctrl+z") << EditCommand { "key", "Ctrl+Z", "kites, lines", "pasted" };
    }
    void editCommandsFollowTheLastFocusedField()
    {
        QFETCH(EditCommand, row);
        const auto [how, what, keywords, clip] = row;
        Scenario s;
        DocumentWindow *document = s.open(s.page("a.html"));
        QLineEdit *author = document->field(TextField::Author);
        author->setFocus();
        author->selectAll();
        QTest::keyClicks(author, "Ann");
        QLineEdit *field = document->field(TextField::Keywords);
        field->setFocus();
        if (what == "8" || what == "Ctrl+Z") {
            field->end(false);
            QTest::keyClicks(field, "!");
        }
        field->setSelection(0, 5);
        QApplication::clipboard()->setText("pasted");
        document->flagBox(RobotsFlag::NoFollow)->setFocus();
        QCOMPARE(document->activeField(), TextField::Keywords);
        s.give(how, what);
        QCOMPARE(field->text(), keywords);
        QCOMPARE(author->text(), QStringLiteral("Ann"));
        QCOMPARE(QApplication::clipboard()->text(), clip);
    }

    // With the focus in a field its own editing keys are its own: each acts once.
    void aFieldKeepsItsOwnEditingKeys()
    {
        Scenario s;
        DocumentWindow *document = s.open(s.page("a.html"));
        QLineEdit *author = document->field(TextField::Author);
        document->field(TextField::Keywords)->setFocus();
        author->setFocus();
        author->selectAll();
        QTest::keyClicks(author, "Bo");
        author->selectAll();
        s.give("key", "Ctrl+C");
        author->end(false);
        s.give("key", "Ctrl+V");
        QCOMPARE(author->text(), QStringLiteral("BoBo"));
        s.give("key", "Ctrl+Z");
        QCOMPARE(author->text(), QStringLiteral("Bo"));
        QCOMPARE(document->text(TextField::Keywords), QStringLiteral("kites, lines"));
    }

    // Without a document Save is off; once one was open the commands stay on after it and do
    // nothing, the edit commands too, though the last field used is still remembered.
    void documentCommandStates()
    {
        Scenario s;
        s.window->openCommandLine({});
        const auto check = [&](bool withDocument) {
            QCOMPARE(s.menu().isEnabled(s.item("mnuFile(3)")), withDocument);
            QCOMPARE(s.window->toolbar().buttonEnabled(2), withDocument);
            QVERIFY(s.menu().isEnabled(s.item("mnuFile(1)")));
        };
        check(false);
        s.window->commands().newDocument();
        check(true);
        s.click("mnuFile(2)");
        QCOMPARE(s.windows(), 0);
        check(true);
        const QString msg = s.msg();
        QApplication::clipboard()->setText("kept");
        const QStringList edits = { "mnuEdit(0)", "mnuEdit(1)", "mnuEdit(2)", "mnuEdit(3)", "mnuInsert(0)" };
        for (const QString &key : QStringList { "mnuFile(2)", "mnuFile(3)", "mnuView(1)" } + edits)
            s.click(key);
        s.give("toolbar", "2");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
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
        QTest::newRow("properties") << "mnuFile(4)" << -1;
        QTest::newRow("recent item not in use") << "mnuFile(8)" << -1;
        QTest::newRow("help beyond about") << "mnuHelp(6)" << -1;
        QTest::newRow("window beyond arrange icons") << "mnuWindow(4)" << -1;
        QTest::newRow("no digit in the place") << "mnuFileX" << -1;
        QTest::newRow("unknown group") << "mnuFormat(0)" << -1;
        QTest::newRow("separator button") << "" << 3;
        QTest::newRow("past the last button") << "" << 17;
    }
    void unknownCommandsDoNothing()
    {
        QFETCH(QString, key);
        QFETCH(int, button);
        Scenario s;
        const QString path = s.page("a.html");
        DocumentWindow *document = s.open(path);
        const QString msg = s.msg();
        const QString fil = s.fil();
        QApplication::clipboard()->setText("kept");
        if (button >= 0)
            s.window->toolbar().raiseButtonClick(button);
        else // an item of its own carries the key to the dispatch
            emit s.menu().clicked(s.menu().appendItem("Stray", s.item("mnuFileTOP"), key));
        QCOMPARE(s.windows(), 1);
        QCOMPARE(s.msg(), msg);
        QCOMPARE(s.fil(), fil);
        QVERIFY(s.prompts().isEmpty());
        QVERIFY(s.launcher->started.isEmpty() && s.launcher->urls.isEmpty());
        QVERIFY(!s.window->metaPane().isVisible() && !s.window->toolbarStrip().isVisible());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
        QVERIFY(!document->document().isModified());
        QCOMPARE(readFile(path), kPage);
    }

    // The recent files sit above Exit, newest first, at most three, and outlive a restart. The
    // last of the three entries opens without the dialog; one whose page is gone says why.
    void recentFiles_data()
    {
        QTest::addColumn<RecentCase>("row");
        const QStringList four { "a.html", "b.html", "c.html", "d.html", "b.html" };
        const QStringList newest { "b.html", "d.html", "c.html" };
        QTest::newRow("first run") << RecentCase { QStringList {}, QStringList {}, 0, false };
        QTest::newRow("one page")
            << RecentCase { QStringList { "my site/index.html" }, QStringList { "my site/index.html" }, 0, false };
        QTest::newRow("four pages, the second again, the last entry clicked") << RecentCase { four, newest, 3, false };
        QTest::newRow("page gone since") << RecentCase { four, newest, 2, true };
    }
    void recentFiles()
    {
        QFETCH(RecentCase, row);
        const auto [opened, recent, clicked, gone] = row;
        Scenario s;
        // Through File > Open, as a user picks a page.
        for (const QString &name : opened) {
            s.window->prompts().chooseFileNext(s.page(name));
            s.click("mnuFile(1)");
        }
        QCOMPARE(s.windows(), QSet<QString>(opened.cbegin(), opened.cend()).size());
        const auto checkMenu = [&] {
            QStringList keys;
            for (int i = 0; i < recent.size(); ++i) {
                keys.append(QStringLiteral("mnuFile(%1)").arg(6 + i));
                QCOMPARE(s.caption(keys.last()), recentCaption(i + 1, s.home.path() + '/' + recent.at(i)));
            }
            if (!recent.isEmpty())
                keys.append("mnuFileMRU");
            const QStringList menu = s.fileMenu();
            QCOMPARE(menu.mid(menu.indexOf("mnuFileInsert") + 1), keys << "mnuFile(5)");
        };
        checkMenu();
        s.restart();
        checkMenu();
        if (!clicked)
            return;
        const QString path = s.home.path() + '/' + recent.at(clicked - 1);
        if (gone)
            QFile::remove(path);
        s.click(QStringLiteral("mnuFile(%1)").arg(5 + clicked));
        QVERIFY(s.prompts().isEmpty());
        QCOMPARE(s.windows(), gone ? 0 : 1);
        if (gone) {
            QVERIFY2(s.msg().endsWith(" (" + path + ')') && s.msg().size() > path.size() + 3,
                qPrintable(s.msg()));
            QCOMPARE(s.fil(), QStringLiteral("Opening document..."));
            return;
        }
        QCOMPARE(s.window->activeDocument()->document().path(), path);
        QCOMPARE(s.msg(), "Document opened... (" + path + ')');
        QCOMPARE(s.caption("mnuFile(6)"), recentCaption(1, path));
    }

    // Limits applied in Program Settings reach the pages and sites already open, and the pages
    // opened later.
    void appliedWidthLimitsReachOpenPages_data()
    {
        QTest::addColumn<int>("preset"); // 0 Desktop, 1 Mobile, 2 Custom
        QTest::addColumn<int>("typedDescription"); // for Custom
        QTest::addColumn<double>("title");
        QTest::addColumn<double>("description");
        QTest::newRow("mobile") << 1 << 0 << 580.0 << 680.0;
        QTest::newRow("custom") << 2 << 750 << 580.0 << 750.0;
        QTest::newRow("desktop, as before") << 0 << 0 << 580.0 << 920.0;
    }
    void appliedWidthLimitsReachOpenPages()
    {
        QFETCH(int, preset);
        QFETCH(int, typedDescription);
        QFETCH(double, title);
        QFETCH(double, description);
        Scenario s;
        SiteWindow *site = s.window->siteCommands().open(QFileInfo(s.page("site/index.html")).path());
        QVERIFY(site);
        QVERIFY(QTest::qWaitFor([site] { return !site->isLoading(); }, 10000));
        DocumentWindow *before = s.open(s.page("a.html"));
        QVERIFY(before);
        s.click("mnuTool(0)");
        auto *dialog = s.window->findChild<SettingsDialog *>();
        QVERIFY(dialog);
        dialog->widthPresetBox()->setCurrentIndex(preset);
        if (typedDescription)
            dialog->descriptionWidthBox()->setValue(typedDescription);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        DocumentWindow *after = s.open(s.page("b.html"));
        QVERIFY(after && after != before);
        for (DocumentWindow *document : { before, after }) {
            QCOMPARE(document->titleWidth().limit(), title);
            QCOMPARE(document->descriptionWidth().limit(), description);
        }
        QCOMPARE(site->model().page(0).limits, (WidthLimits { title, description }));
    }

    // The sites opened last sit below the recent pages and above Exit, newest first, at most
    // three, and outlive a restart; an entry opens its site, or, when its folder is gone, says
    // so and leaves the menu.
    void recentSites_data()
    {
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QStringList>("sites");
        QTest::addColumn<QStringList>("menu"); // after mnuFileInsert, Exit left out; "site:two" the entry of folder two
        QTest::addColumn<int>("clicked"); // place of the entry clicked after the restart; 0 for none
        QTest::addColumn<bool>("gone");
        QTest::addColumn<bool>("sitesFirst"); // the sites opened before the pages
        QTest::newRow("none") << QStringList {} << QStringList {} << QStringList {} << 0 << false << false;
        QTest::newRow("a site, no page") << QStringList {} << QStringList { "one" }
                                         << QStringList { "site:one", "mnuFileSites" } << 1 << false << false;
        QTest::newRow("a page, then a site")
            << QStringList { "one/a.html" } << QStringList { "one" }
            << QStringList { "mnuFile(6)", "mnuFileMRU", "site:one", "mnuFileSites" } << 0 << false << false;
        QTest::newRow("a site, then a page")
            << QStringList { "one/a.html" } << QStringList { "one" }
            << QStringList { "mnuFile(6)", "mnuFileMRU", "site:one", "mnuFileSites" } << 0 << false << true;
        QTest::newRow("four sites, the second again")
            << QStringList {} << QStringList { "one", "two", "three", "four", "two" }
            << QStringList { "site:two", "site:four", "site:three", "mnuFileSites" } << 3 << false << false;
        QTest::newRow("the only site gone since") << QStringList {} << QStringList { "one" }
                                                  << QStringList { "site:one", "mnuFileSites" } << 1 << true << false;
        QTest::newRow("a site gone since") << QStringList {} << QStringList { "one", "two" }
                                           << QStringList { "site:two", "site:one", "mnuFileSites" } << 2 << true << false;
    }
    void recentSites()
    {
        QFETCH(QStringList, pages);
        QFETCH(QStringList, sites);
        QFETCH(QStringList, menu);
        QFETCH(int, clicked);
        QFETCH(bool, gone);
        QFETCH(bool, sitesFirst);
        Scenario s;
        for (const char *name : { "one", "two", "three", "four" })
            s.page(QString(name) + "/index.html");
        const auto folder = [&](const QString &name) -> QString { return s.home.path() + '/' + name; };
        const auto showMenu = [&](QStringList shown) {
            int place = 0;
            for (QString &entry : shown) {
                if (!entry.startsWith("site:"))
                    continue;
                const QString key = QStringLiteral("mnuFile(%1)").arg(10 + ++place);
                QCOMPARE(s.caption(key), recentCaption(place, folder(entry.mid(5))));
                entry = key;
            }
            const QStringList file = s.fileMenu();
            QCOMPARE(file.mid(file.indexOf("mnuFileInsert") + 1), shown << "mnuFile(5)");
        };
        const auto openPages = [&] {
            for (const QString &name : pages) {
                s.window->prompts().chooseFileNext(s.page(name));
                s.click("mnuFile(1)");
            }
        };
        if (!sitesFirst)
            openPages();
        for (const QString &name : sites) {
            s.window->prompts().chooseFileNext(folder(name));
            s.click("mnuFile(10)");
        }
        if (sitesFirst)
            openPages();
        showMenu(menu);
        s.restart();
        showMenu(menu);
        if (!clicked)
            return;
        const QString path = folder(menu.at(clicked - 1).mid(5));
        if (gone)
            QDir(path).removeRecursively();
        s.click(QStringLiteral("mnuFile(%1)").arg(10 + clicked));
        QVERIFY(s.prompts().isEmpty());
        SiteWindow *site = s.window->siteCommands().activeWindow();
        if (gone) {
            QVERIFY(!site);
            QCOMPARE(s.msg(), "No such folder any more, taken off Recent Sites... (" + path + ')');
            QStringList left = menu;
            left.removeAt(clicked - 1);
            if (left.size() == 1)
                left.clear();
            showMenu(left);
            s.restart();
            showMenu(left);
            return;
        }
        QVERIFY(site);
        QCOMPARE(site->model().folder(), path);
        QCOMPARE(s.caption("mnuFile(11)"), recentCaption(1, path));
    }

    void windowArrangements_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("tile horizontally") << "mnuWindow(1)";
        QTest::newRow("tile vertically") << "mnuWindow(2)";
        QTest::newRow("arrange icons lines up minimized windows") << "mnuWindow(3)";
    }
    void windowArrangements()
    {
        QFETCH(QString, key);
        Scenario s;
        for (const char *name : { "a.html", "b.html", "c.html" })
            s.open(s.page(name));
        const QList<QMdiSubWindow *> frames = s.window->mdiArea().subWindowList(QMdiArea::CreationOrder);
        for (QMdiSubWindow *frame : frames) {
            frame->setGeometry(5, 5, 200, 120);
            if (key == "mnuWindow(3)") {
                frame->showMinimized();
                frame->move(40, 30);
            }
        }
        s.click(key);
        const QRect area = s.window->mdiArea().viewport()->rect();
        QList<QRect> placed;
        for (QMdiSubWindow *frame : frames)
            placed.append(frame->geometry());
        const bool horizontally = key == "mnuWindow(1)";
        for (int i = 0; i < 3; ++i) {
            if (key == "mnuWindow(3)") {
                QCOMPARE(placed.at(i).bottom(), area.bottom());
                QCOMPARE(placed.at(i).left(), i ? placed.at(i - 1).right() + 1 : 0);
                continue;
            }
            QVERIFY(area.contains(placed.at(i)));
            QCOMPARE(horizontally ? placed.at(i).width() : placed.at(i).height(),
                horizontally ? area.width() : area.height());
            for (int j = i + 1; j < 3; ++j)
                QVERIFY2(!placed.at(i).intersects(placed.at(j)), "tiled windows do not overlap");
        }
    }

    void openFiltersBecomeNameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("one pair") << "Pages|*.htm;*.html" << QStringList { "Pages (*.htm *.html)" };
        QTest::newRow("all files match names without a dot")
            << "Active Server Pages|*.asp|All Files (*.*)|*.*"
            << QStringList { "Active Server Pages (*.asp)", "All Files (*)" };
        QTest::newRow("a description without patterns is dropped")
            << "Pages|*.htm|Orphan" << QStringList { "Pages (*.htm)" };
        QTest::newRow("empty") << "" << QStringList {};
    }
    void openFiltersBecomeNameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(UserPrompts::nameFilters(filter), nameFilters);
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
