#include "TestHome.h"
#include "controls/ProgressBar.h"
#include "controls/TextBoxEx.h"
#include "controls/toolbar/cReBar.h"
#include "controls/toolbar/cToolbar.h"
#include "controls/zebStatusBar.h"
#include "document/frmDocument.h"
#include "services/PopupMenu.h"
#include "services/SettingsStore.h"
#include "settings/SettingsCatalogue.h"
#include "shell/DocumentCommands.h"
#include "shell/LineNumberGutter.h"
#include "shell/UserPrompts.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <memory>

namespace {

const QByteArray kPage = "<html>\r\n<head>\r\n<title>Kite Shop</title>\r\n"
                         "<meta name=\"description\" content=\"Hand-made kites\">\r\n"
                         "<meta name=\"keywords\" content=\"kites, lines\">\r\n"
                         "<meta name=\"robots\" content=\"noimageclick, nofollow\">\r\n"
                         "</head>\r\n<body>Kites</body>\r\n</html>\r\n";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A home of its own for each scenario, with the version the start-up records.
struct Scenario
{
    explicit Scenario(const QMap<QString, QString> &stored = {})
    {
        SettingsStore store;
        store.SetValue(QStringLiteral("Version"), QStringLiteral("2.01a"));
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            store.SetValue(it.key(), it.value());
        window = std::make_unique<frmMain>();
        window->prompts().setScripted(true);
        window->show();
        window->activateWindow();
        // Focus, and with it the active field, needs the window active.
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window did not become active");
    }

    frmDocument *open(const QString &path)
    {
        window->OpenCommandLine(path);
        return window->activeDocument();
    }

    QString fil() const { return window->status().PanelText(QStringLiteral("fil")); }
    QString msg() const { return window->status().PanelText(QStringLiteral("msg")); }
    int windows() const { return static_cast<int>(window->mdiArea().subWindowList().size()); }
    QString stored(const QString &name) const { return SettingsStore().GetValue(name); }

    TestHome home;
    std::unique_ptr<frmMain> window;
};

// Typed at the end of what the field holds.
void type(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->end(false);
    QTest::keyClicks(field, text);
}

void retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstRunShowsTheBareWindow()
    {
        Scenario s;
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Tagsmith LITE 2.01a"));
        QVERIFY(!s.window->toolbarStrip().isVisible());
        QVERIFY(!s.window->metaPane().isVisible());
        PopupMenu &menu = s.window->menu();
        const int toolbarItem = menu.FindItemByKey(QStringLiteral("mnuView(2)"));
        QVERIFY(!menu.ItemChecked(toolbarItem));
        QCOMPARE(menu.ItemImage(toolbarItem), -1);
        QVERIFY(!menu.ItemChecked(menu.FindItemByKey(QStringLiteral("mnuView(0)"))));
        QCOMPARE(s.fil(), QStringLiteral("No document open..."));
        QCOMPARE(s.window->status().PanelIcon(QStringLiteral("fil")), 9);
        QCOMPARE(s.msg(), QString());
        QVERIFY2(!s.window->rebar().BandVisible(1), "the progress band shows only while a file is read");
        s.window->OpenCommandLine(QString());
        QVERIFY(!menu.Enabled(menu.FindItemByKey(QStringLiteral("mnuFile(3)"))));
        QVERIFY(!s.window->toolbar().ButtonEnabled(2));
    }

    void viewCommandsFlipAndRemember()
    {
        Scenario s;
        s.window->ToggleToolbar();
        s.window->ToggleMetaPane();
        QVERIFY(s.window->toolbarStrip().isVisible());
        QVERIFY(s.window->metaPane().isVisible());
        QVERIFY(s.window->toolbar().ButtonChecked(11));
        PopupMenu &menu = s.window->menu();
        const int toolbarItem = menu.FindItemByKey(QStringLiteral("mnuView(2)"));
        QVERIFY(menu.ItemChecked(toolbarItem));
        QCOMPARE(menu.ItemImage(toolbarItem), 5);
        QCOMPARE(s.stored(QStringLiteral("Toolbar")), QStringLiteral("on"));
        QCOMPARE(s.stored(QStringLiteral("ViewMeta")), QStringLiteral("on"));
        s.window->close();
        frmMain again;
        again.show();
        QVERIFY(again.toolbarStrip().isVisible());
        QVERIFY(again.metaPane().isVisible());
        again.ToggleMetaPane();
        QVERIFY(!again.metaPane().isVisible());
        QVERIFY(!again.toolbar().ButtonChecked(11));
        QCOMPARE(s.stored(QStringLiteral("ViewMeta")), QStringLiteral("off"));
    }

    void placementAtExit_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("windowState");
        QTest::addColumn<QString>("width");
        QTest::newRow("normal writes its geometry") << "normal"
                                                    << "normal"
                                                    << "640";
        QTest::newRow("maximized keeps the old geometry") << "maximized"
                                                          << "maximized"
                                                          << "500";
        QTest::newRow("minimized writes nothing") << "minimized"
                                                  << ""
                                                  << "500";
    }

    void placementAtExit()
    {
        QFETCH(QString, state);
        QFETCH(QString, windowState);
        QFETCH(QString, width);
        Scenario s({ { QStringLiteral("Width"), QStringLiteral("500") },
            { QStringLiteral("Height"), QStringLiteral("400") } });
        QCOMPARE(s.window->width(), 500);
        s.window->resize(640, 480);
        if (state == QStringLiteral("maximized"))
            s.window->showMaximized();
        else if (state == QStringLiteral("minimized"))
            s.window->showMinimized();
        QVERIFY(s.window->close());
        QCOMPARE(s.stored(QStringLiteral("WindowState")), windowState);
        QCOMPARE(s.stored(QStringLiteral("Width")), width);
    }

    void maximizedWindowReopensMaximized()
    {
        Scenario s({ { QStringLiteral("WindowState"), QStringLiteral("maximized") },
            { QStringLiteral("Width"), QStringLiteral("300") } });
        QVERIFY(s.window->isMaximized());
    }

    void openingAPageShowsItsValues()
    {
        Scenario s;
        const QString path = s.home.write(QStringLiteral("site/kites.html"), kPage);
        frmDocument *document = s.open(QLatin1Char('"') + path + QLatin1Char('"'));
        QVERIFY(document);
        QCOMPARE(document->caption(), QStringLiteral("Kite Shop"));
        QCOMPARE(s.window->mdiArea().activeSubWindow()->windowTitle(), QStringLiteral("Kite Shop"));
        QCOMPARE(document->text(TextField::Description), QStringLiteral("Hand-made kites"));
        QCOMPARE(document->text(TextField::Author), QStringLiteral("No author"));
        QVERIFY(document->flag(RobotsFlag::NoImageClick));
        QVERIFY(document->flag(RobotsFlag::NoFollow));
        QVERIFY(!document->flagEnabled(RobotsFlag::NoIndex));
        QCOMPARE(s.msg(), QStringLiteral("Document opened... (") + path + QLatin1Char(')'));
        QCOMPARE(s.fil(), path);
        QCOMPARE(document->filePath(), path);
        QVERIFY2(!document->isModified(), "a page just opened has no edits");
        QVERIFY(s.window->metaText().Text().contains(
            QStringLiteral("<META name=\"robots\" content=\"nofollow, noimageclick\">")));
        QVERIFY(!s.window->rebar().BandVisible(1));
    }

    void aPageWithoutHeadIsRefused()
    {
        Scenario s;
        const QString path = s.home.write(QStringLiteral("nohead.html"), "<html><body>x</body></html>");
        s.open(path);
        QCOMPARE(s.windows(), 0);
        QCOMPARE(s.window->prompts().shown().size(), 1);
        QCOMPARE(s.window->prompts().shown().first().kind, UserPrompts::Kind::Critical);
        QCOMPARE(
            s.window->prompts().shown().first().text, QStringLiteral("No HEAD section in file...\n") + path);
    }

    void aFailedOpenSaysWhyInTheStatusBar_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << QStringLiteral("gone.html");
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("two quotes: no name at all") << QString();
    }

    void aFailedOpenSaysWhyInTheStatusBar()
    {
        QFETCH(QString, name);
        Scenario s;
        s.home.write(QStringLiteral("folder/inside.html"), "x");
        const QString path = name.isEmpty() ? QString() : s.home.path() + QLatin1Char('/') + name;
        s.window->OpenCommandLine(QLatin1Char('"') + path + QLatin1Char('"'));
        QCOMPARE(s.windows(), 0);
        QVERIFY(s.window->prompts().shown().isEmpty());
        QVERIFY2(s.msg().endsWith(QStringLiteral(" (") + path + QLatin1Char(')')), qPrintable(s.msg()));
        QVERIFY(s.msg().size() > path.size() + 3);
    }

    void editingUpdatesThePaneAtOnce()
    {
        Scenario s;
        frmDocument *document = s.open(s.home.write(QStringLiteral("a.html"), kPage));
        retype(document->field(TextField::Author), QStringLiteral("Jo"));
        QVERIFY(
            s.window->metaText().Text().contains(QStringLiteral("<META name=\"author\" content=\"Jo\">")));
        QCOMPARE(s.msg(), QStringLiteral("Remember to save..."));
        QCOMPARE(s.window->status().PanelIcon(QStringLiteral("fil")), 8);
        QVERIFY(document->isModified());
        QCOMPARE(s.window->documentState().ActiveField, QStringLiteral("Author"));
    }

    void copyPutsThePaneOnTheClipboard()
    {
        Scenario s;
        s.open(s.home.write(QStringLiteral("a.html"), kPage));
        s.window->CopyMetaElementTags();
        const QString pane = s.window->metaText().Text();
        QCOMPARE(pane.count(QLatin1Char('\n')), 4);
        QString expected = pane;
        expected.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        QCOMPARE(QApplication::clipboard()->text(), expected);
    }

    void gutterNumbersEveryLine()
    {
        Scenario s;
        s.window->ToggleMetaPane();
        s.open(s.home.write(QStringLiteral("a.html"), kPage));
        const QList<LineNumberGutter::Number> numbers = s.window->gutter().visibleNumbers();
        QVERIFY(!numbers.isEmpty());
        QCOMPARE(numbers.first().line, 1);
        for (qsizetype i = 1; i < numbers.size(); ++i) {
            QCOMPARE(numbers.at(i).line, numbers.at(i - 1).line + 1);
            QVERIFY(numbers.at(i).top > numbers.at(i - 1).top);
        }
        QVERIFY(s.window->metaText().LineCount() == 5);
        QVERIFY2(s.window->gutter().geometry().right() < s.window->metaText().LeftMargin() + 1,
            "the text starts right of the numbers");
    }

    void closePrompt_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("written");
        QTest::newRow("yes saves and closes") << int(QMessageBox::Yes) << true << true;
        QTest::newRow("no discards and closes") << int(QMessageBox::No) << true << false;
        QTest::newRow("cancel keeps the window") << int(QMessageBox::Cancel) << false << false;
    }

    void closePrompt()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(bool, written);
        Scenario s({ { QStringLiteral("Backup Files"), QStringLiteral("off") } });
        const QString path = s.home.write(QStringLiteral("a.html"), kPage);
        frmDocument *document = s.open(path);
        type(document->field(TextField::Keywords), QStringLiteral("!"));
        s.window->prompts().answerNext(QMessageBox::StandardButton(answer));
        s.window->commands().Close();
        QCOMPARE(s.windows(), closed ? 0 : 1);
        const UserPrompts::Shown asked = s.window->prompts().shown().last();
        QCOMPARE(asked.kind, UserPrompts::Kind::SaveChanges);
        QCOMPARE(asked.text, QStringLiteral("Save changes before closing this file?\n") + path);
        QCOMPARE(readFile(path).contains("kites, lines!"), written);
        QCOMPARE(readFile(path) == kPage, !written);
        if (answer == QMessageBox::Yes) {
            QVERIFY2(s.window->metaText().Text().isEmpty(), "the pane empties after Yes");
            QCOMPARE(s.msg(), QStringLiteral("No document open..."));
        }
    }

    void closingAnUneditedWindowAsksNothing()
    {
        Scenario s;
        s.open(s.home.write(QStringLiteral("a.html"), kPage));
        frmDocument *other = s.open(s.home.write(QStringLiteral("b.html"), kPage));
        type(other->field(TextField::Author), QStringLiteral("x"));
        s.window->mdiArea().setActiveSubWindow(s.window->mdiArea().subWindowList().first());
        s.window->commands().Close();
        QCOMPARE(s.windows(), 1);
        QVERIFY2(s.window->prompts().shown().isEmpty(), "another window's edits are its own");
    }

    void yesOnANewDocumentWithSaveAsCancelledKeepsIt()
    {
        Scenario s;
        frmDocument *document = s.window->commands().New();
        type(document->field(TextField::Author), QStringLiteral("Me"));
        s.window->prompts().answerNext(QMessageBox::Yes);
        s.window->commands().Close();
        QCOMPARE(s.windows(), 1);
        QVERIFY(s.window->documentState().SaveAsCancelled);
        QCOMPARE(document->filePath(), QStringLiteral("NONE"));
        QCOMPARE(s.window->prompts().shown().last().kind, UserPrompts::Kind::SaveFile);
    }

    void saveAsOfANewDocumentCreatesTheFile()
    {
        Scenario s({ { QStringLiteral("Author"), QStringLiteral("Std Author") } });
        frmDocument *document = s.window->commands().New();
        QCOMPARE(s.msg(), QStringLiteral("Unsaved HTML Document"));
        QCOMPARE(document->text(TextField::Author), QStringLiteral("Std Author"));
        const QString path = s.home.path() + QStringLiteral("/fresh.html");
        s.window->prompts().chooseFileNext(path);
        s.window->commands().Save();
        const QByteArray written = readFile(path);
        QVERIFY(written.contains("<META name=\"author\" content=\"Std Author\">"));
        QCOMPARE(document->caption(), QStringLiteral("Unsaved HTML Document"));
        QCOMPARE(document->filePath(), path);
        QCOMPARE(s.fil(), path);
        QCOMPARE(s.msg(), QStringLiteral("Document saved... (") + path + QLatin1Char(')'));
        QVERIFY(!document->isModified());
        QVERIFY2(
            !QFile::exists(s.home.path() + QStringLiteral("/fresh.bak")), "no backup of the page just made");
    }

    void saveAsOfASavedPageLeavesTheOldFile()
    {
        Scenario s;
        const QString oldPath = s.home.write(QStringLiteral("site/old.html"), kPage);
        frmDocument *document = s.open(oldPath);
        type(document->field(TextField::Description), QStringLiteral(" now"));
        const QString newPath = s.home.path() + QStringLiteral("/site/new.html");
        s.window->prompts().chooseFileNext(newPath);
        s.window->commands().SaveAs();
        QCOMPARE(readFile(oldPath), kPage);
        QCOMPARE(readFile(s.home.path() + QStringLiteral("/site/old.bak")), kPage);
        QVERIFY(readFile(newPath).contains("content=\"Hand-made kites now\""));
        QCOMPARE(document->caption(), newPath);
        QCOMPARE(document->filePath(), newPath);
        QCOMPARE(s.fil(), newPath);
    }

    void savingOneDocumentLeavesTheOthersEdits()
    {
        Scenario s;
        frmDocument *first = s.open(s.home.write(QStringLiteral("a.html"), kPage));
        const QString secondPath = s.home.write(QStringLiteral("b.html"), kPage);
        frmDocument *second = s.open(secondPath);
        QCOMPARE(s.fil(), secondPath);
        s.window->mdiArea().setActiveSubWindow(s.window->mdiArea().subWindowList().first());
        QVERIFY2(s.fil() == first->filePath(), "the window brought forward shows its own path");
        QCOMPARE(s.window->status().PanelIcon(QStringLiteral("fil")), 8);
        type(first->field(TextField::Author), QStringLiteral("A"));
        s.window->mdiArea().setActiveSubWindow(s.window->mdiArea().subWindowList().last());
        type(second->field(TextField::Author), QStringLiteral("B"));
        s.window->commands().Save();
        QVERIFY(!second->isModified());
        QVERIFY(first->isModified());
        QCOMPARE(second->displayPath(), secondPath);
        QVERIFY2(s.fil() == secondPath, "the saved document shows its own path");
    }

    void aFailedSaveReportsAndChangesNothing_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("file gone since it was opened") << false;
        QTest::newRow("save as onto a folder") << true;
    }

    void aFailedSaveReportsAndChangesNothing()
    {
        QFETCH(bool, saveAs);
        Scenario s;
        const QString path = s.home.write(QStringLiteral("a.html"), kPage);
        frmDocument *document = s.open(path);
        retype(document->field(TextField::Author), QStringLiteral("Kept"));
        const QString msgBefore = s.msg();
        QString target = path;
        if (saveAs) {
            target = s.home.path() + QStringLiteral("/folder");
            s.home.write(QStringLiteral("folder/x"), "x");
            s.window->prompts().chooseFileNext(target);
            s.window->commands().SaveAs();
            QCOMPARE(readFile(path), kPage);
        } else {
            QFile::remove(path);
            s.window->commands().Save();
        }
        const UserPrompts::Shown reported = s.window->prompts().shown().last();
        QCOMPARE(reported.kind, UserPrompts::Kind::Critical);
        QVERIFY2(reported.text.contains(target), qPrintable(reported.text));
        QVERIFY(reported.text.section(QLatin1Char('\n'), 1).size() > 0);
        QCOMPARE(document->text(TextField::Author), QStringLiteral("Kept"));
        QCOMPARE(document->filePath(), path);
        QCOMPARE(document->caption(), QStringLiteral("Kite Shop"));
        QVERIFY(document->isModified());
        QCOMPARE(s.msg(), msgBefore);
        QVERIFY(!s.window->rebar().BandVisible(1));
    }

    void exitAsksEachModifiedWindow_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("exited");
        QTest::addColumn<int>("asked");
        QTest::newRow("no to both") << QList<int> { QMessageBox::No, QMessageBox::No } << true << 2;
        QTest::newRow("cancel on the first stops") << QList<int> { QMessageBox::Cancel } << false << 1;
        QTest::newRow("cancel on the second stops")
            << QList<int> { QMessageBox::No, QMessageBox::Cancel } << false << 2;
    }

    void exitAsksEachModifiedWindow()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, exited);
        QFETCH(int, asked);
        Scenario s;
        for (const char *name : { "a.html", "b.html", "c.html" }) {
            frmDocument *document = s.open(s.home.write(QString::fromLatin1(name), kPage));
            if (qstrcmp(name, "b.html") != 0)
                type(document->field(TextField::Author), QStringLiteral("z"));
        }
        for (const int answer : answers)
            s.window->prompts().answerNext(QMessageBox::StandardButton(answer));
        QCOMPARE(s.window->close(), exited);
        QCOMPARE(s.window->prompts().shown().size(), asked);
        QCOMPARE(s.stored(QStringLiteral("WindowState")).isEmpty(), !exited);
    }

    void commandsReachTheirRoutines_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("command");
        QTest::newRow("menu new") << "menu"
                                  << "mnuFile(0)";
        QTest::newRow("toolbar new") << "toolbar"
                                     << "0";
        QTest::newRow("ctrl+n") << "key"
                                << "Ctrl+N";
        QTest::newRow("menu meta pane") << "menu"
                                        << "mnuView(0)";
        QTest::newRow("toolbar meta pane") << "toolbar"
                                           << "11";
        QTest::newRow("f8") << "key"
                            << "F8";
    }

    void commandsReachTheirRoutines()
    {
        QFETCH(QString, source);
        QFETCH(QString, command);
        Scenario s;
        if (source == QStringLiteral("menu"))
            emit s.window->menu().Click(s.window->menu().FindItemByKey(command));
        else if (source == QStringLiteral("toolbar"))
            s.window->toolbar().RaiseButtonClick(command.toInt());
        else
            QTest::keySequence(s.window.get(), QKeySequence(command));
        const bool pane = command.contains(QStringLiteral("View")) || command == QStringLiteral("11")
            || command == QStringLiteral("F8");
        QCOMPARE(s.windows(), pane ? 0 : 1);
        QCOMPARE(s.window->metaPane().isVisible(), pane);
    }

    void closingTheLastWindowKeepsTheDocumentCommands()
    {
        Scenario s;
        s.window->OpenCommandLine(QStringLiteral("   "));
        PopupMenu &menu = s.window->menu();
        const int save = menu.FindItemByKey(QStringLiteral("mnuFile(3)"));
        QVERIFY(!menu.Enabled(save));
        s.window->commands().New();
        QVERIFY(menu.Enabled(save));
        QVERIFY(s.window->toolbar().ButtonEnabled(2));
        s.window->commands().Close();
        QCOMPARE(s.windows(), 0);
        QVERIFY(menu.Enabled(save));
        s.window->commands().Save();
        QVERIFY2(s.window->prompts().shown().isEmpty(), "with no window Save does nothing");
    }

    void menuTreeAndToolbar_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("image");
        QTest::addColumn<QString>("parentKey");
        QTest::newRow("new") << "mnuFile(0)"
                             << "&New\tCtrl+N" << 1 << "mnuFileTOP";
        QTest::newRow("open") << "mnuFile(1)"
                              << "&Open...\tCtrl+O" << 2 << "mnuFileTOP";
        QTest::newRow("save as") << "mnuFile(9)"
                                 << "Save As..." << -1 << "mnuFileTOP";
        QTest::newRow("exit") << "mnuFile(5)"
                              << "E&xit\tAlt+Q" << 11 << "mnuFileTOP";
        QTest::newRow("copy meta, no access key") << "mnuEdit(4)"
                                                  << "Copy META Element Tags\tCtrl+M" << 17 << "mnuEditTOP";
        QTest::newRow("meta pane") << "mnuView(0)"
                                   << "&META Element Tags\tF8" << 5 << "mnuViewTOP";
        QTest::newRow("settings") << "mnuTool(0)"
                                  << "&Program Settings...\tF9" << 7 << "mnuToolTOP";
        QTest::newRow("tile") << "mnuWindow(2)"
                              << "Tile &Vertically" << -1 << "mnuWindowTOP";
        QTest::newRow("about") << "mnuHelp(5)"
                               << "&About Tagsmith..." << -1 << "mnuHelpTOP";
        QTest::newRow("blocking pages in a submenu") << "mnuHelp(3)"
                                                     << "AltaVista Help - &Blocking Pages" << 10 << "";
    }

    void menuTreeAndToolbar()
    {
        QFETCH(QString, key);
        QFETCH(QString, caption);
        QFETCH(int, image);
        QFETCH(QString, parentKey);
        Scenario s;
        const PopupMenu &menu = s.window->menu();
        QCOMPARE(menu.Count(), 46);
        const int index = menu.FindItemByKey(key);
        QVERIFY(index > 0);
        QCOMPARE(menu.Caption(index), caption);
        QCOMPARE(menu.ItemImage(index), image);
        QCOMPARE(menu.ItemKey(menu.ItemParent(index)), parentKey);
    }

    void toolbarButtons()
    {
        Scenario s;
        const cToolbar &toolbar = s.window->toolbar();
        QCOMPARE(toolbar.ButtonCount(), 17);
        QCOMPARE(toolbar.ButtonKey(1), QStringLiteral("tbLoad"));
        QCOMPARE(toolbar.ButtonToolTip(1), QStringLiteral("Open..."));
        QCOMPARE(toolbar.ButtonImage(7), 17);
        QCOMPARE(toolbar.ButtonToolTip(7), QStringLiteral("Copy META Element Tags"));
        QCOMPARE(toolbar.ButtonKey(16), QStringLiteral("tbHelp"));
        for (const int separator : { 3, 9, 12, 14 })
            QVERIFY(toolbar.ButtonKey(separator).isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
