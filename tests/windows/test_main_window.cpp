#include "MainWindowScenario.h"
#include "TypedText.h"
#include "TextBox.h"
#include "toolbar/Rebar.h"
#include "CommandLinePaths.h"
#include "CommandTables.h"
#include "LineNumberGutter.h"
#include "WidthCounter.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <optional>

namespace {

const QByteArray kPage = "<html>\r\n<head>\r\n<title>Kite Shop</title>\r\n"
                         "<meta name=\"description\" content=\"Hand-made kites\">\r\n"
                         "<meta name=\"keywords\" content=\"kites, lines\">\r\n"
                         "<meta name=\"robots\" content=\"noimageclick, nofollow\">\r\n"
                         "</head>\r\n<body>Kites</body>\r\n</html>\r\n";

} // namespace

struct CloseCase { bool fresh; int answer; bool closed; bool written; };
Q_DECLARE_METATYPE(CloseCase)

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Scenario::defaultPage = kPage; }

    // The first run shows the bare window; what the view commands show is there at the next start.
    void viewCommandsFlipAndRemember()
    {
        Scenario s;
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Tagsmith LITE 2.01a"));
        QVERIFY(!s.window->toolbarStrip().isVisible() && !s.window->metaPane().isVisible());
        QVERIFY(!s.menu().itemChecked(s.item("mnuView(2)")));
        QCOMPARE(s.fil(), QStringLiteral("No document open..."));
        // The pane first: the toolbar shown after it has its button pressed already.
        s.window->toggleMetaPane();
        s.window->toggleToolbar();
        QVERIFY(s.window->toolbarStrip().isVisible() && s.window->metaPane().isVisible());
        QVERIFY2(!s.window->rebar().bandVisible(1), "the progress band shows only while a file is read");
        QCOMPARE(s.window->metaText().hwnd()->font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
        QVERIFY(s.window->toolbar().buttonChecked(11));
        QVERIFY(s.menu().itemChecked(s.item("mnuView(2)")));
        s.restart();
        QVERIFY(s.window->toolbarStrip().isVisible() && s.window->metaPane().isVisible());
        s.window->toggleMetaPane();
        QVERIFY(!s.window->metaPane().isVisible());
        QVERIFY(!s.window->toolbar().buttonChecked(11));
        QCOMPARE(s.stored("ViewMeta"), QStringLiteral("off"));
    }

    // The window opens where it was left; each of the four numbers is its own.
    void placementAtExit_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QStringList>("placement"); // Left, Top, Width, Height stored at exit
        QTest::newRow("normal writes its geometry") << "normal" << QStringList { "90", "20", "640", "480" };
        QTest::newRow("maximized keeps the old geometry") << "maximized" << QStringList { "30", "70", "500", "400" };
        QTest::newRow("minimized writes nothing") << "" << QStringList { "30", "70", "500", "400" };
    }
    void placementAtExit()
    {
        QFETCH(QString, state);
        QFETCH(QStringList, placement);
        Scenario s({ { "Left", "30" }, { "Top", "70" }, { "Width", "500" }, { "Height", "400" } });
        QCOMPARE(QRect(s.window->pos(), s.window->size()), QRect(30, 70, 500, 400));
        s.window->move(90, 20);
        s.window->resize(640, 480);
        if (state == "maximized")
            s.window->showMaximized();
        else if (state.isEmpty())
            s.window->showMinimized();
        QVERIFY(s.window->close());
        QCOMPARE(s.stored("WindowState"), state);
        QCOMPARE((QStringList { s.stored("Left"), s.stored("Top"), s.stored("Width"), s.stored("Height") }), placement);
        // A stored geometry does not win over the stored maximized state.
        s.window.reset();
        s.start();
        QCOMPARE(s.window->isMaximized(), state == "maximized");
    }

    // Pages handed over from a later start bring a minimized window back.
    void pagesHandedOverRestoreAMinimizedWindow()
    {
        Scenario s;
        s.window->showMinimized();
        QTRY_VERIFY(s.window->isMinimized());
        s.window->openCommandLine({ s.home.write("kites.html", kPage) });
        QTRY_VERIFY(!s.window->isMinimized());
        QCOMPARE(s.windows(), 1);
    }

    // Every window opened measures against the width limits the settings name.
    void widthLimitsComeFromTheSettings()
    {
        Scenario s({ { "Width Limits", "mobile" } });
        DocumentWindow *document = s.open(s.home.write("kites.html", kPage));
        QVERIFY(document);
        QCOMPARE(document->titleWidth().limit(), 580.0);
        QCOMPARE(document->descriptionWidth().limit(), 680.0);
    }

    void openingAPageShowsItsValues()
    {
        Scenario s;
        const QString path = s.home.write("site/kites.html", kPage);
        DocumentWindow *document = s.open(path);
        QVERIFY(document);
        QMdiSubWindow *frame = s.window->mdiArea().activeSubWindow();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Kite Shop[*]"));
        QVERIFY2(!frame->isWindowModified(), "the title shows no mark before an edit");
        QCOMPARE(document->text(TextField::Description), QStringLiteral("Hand-made kites"));
        QCOMPARE(document->text(TextField::Author), QStringLiteral("No author"));
        QVERIFY(document->flag(RobotsFlag::NoImageClick) && document->flag(RobotsFlag::NoFollow));
        QVERIFY(!document->flagEnabled(RobotsFlag::NoIndex));
        QCOMPARE(s.msg(), "Document opened... (" + path + ')');
        QCOMPARE(s.fil(), path);
        QVERIFY2(!document->document().isModified(), "a page just opened has no edits");
        QVERIFY(s.window->metaText().text().contains(
            "<META name=\"robots\" content=\"nofollow, noimageclick\">"));
        // An edit shows in the pane at once.
        type(document->field(TextField::Author), "Jo", true);
        QVERIFY(s.window->metaText().text().contains("<META name=\"author\" content=\"Jo\">"));
        QCOMPARE(s.msg(), QStringLiteral("Remember to save..."));
        QVERIFY(document->document().isModified());
        QVERIFY2(frame->isWindowModified(), "an edit marks the title");
        s.save(document);
        QVERIFY2(!frame->isWindowModified(), "a save takes the mark away");
    }

    void aFailedOpenSaysWhy_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "gone.html";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("no head section") << "nohead.html";
    }
    void aFailedOpenSaysWhy()
    {
        QFETCH(QString, name);
        Scenario s;
        s.home.write("folder/inside.html", "x");
        s.home.write("nohead.html", "<html><body>x</body></html>");
        const QString path = s.home.path() + '/' + name;
        s.window->openCommandLine({ path });
        QCOMPARE(s.windows(), 0);
        if (name == "nohead.html") {
            QCOMPARE(s.prompts().size(), 1);
            QCOMPARE(s.prompts().first().kind, UserPrompts::Kind::Critical);
            QCOMPARE(s.prompts().first().text, "No HEAD section in file...\n" + path);
            QVERIFY2(!s.prompts().first().underWaitCursor, "the refusal comes once the reading is over");
            QVERIFY(!s.window->rebar().bandVisible(1));
            return;
        }
        QVERIFY(s.prompts().isEmpty());
        QVERIFY2(s.msg().endsWith(" (" + path + ')') && s.msg().size() > path.size() + 3,
            qPrintable(s.msg()));
    }

    // Each argument is one path as given, taken from the folder the program started in.
    void eachArgumentOpensItsOwnWindow_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("opened");
        const QStringList ab { "a.html", "b.html" };
        // Files, arguments and the pages opened, by default the pages the arguments name.
        const auto row = [](const char *name, const QStringList &files, const QStringList &arguments,
                             const std::optional<QStringList> &opened = {}) {
            QTest::newRow(name) << files << arguments << opened.value_or(arguments);
        };
        row("relative", ab, { "b.html" });
        row("dot segments kept", { "a.html", "site/b.html" }, { "./site/../a.html" });
        row("absolute", ab, { "%home/a.html" }, QStringList { "a.html" });
        row("a space inside is one path", { "my page.html", "my", "page.html" }, { "my page.html" });
        row("blanks at the ends are the name's", { " a.html\t", "a.html" }, { " a.html\t" });
        row("quotes are the name's", { "\"q\".html", "q.html" }, { "\"q\".html" });
        row("newline in the name", { "two\nlines.html" }, { "two\nlines.html" });
        row("colon first is no resource", { ":page.html" }, { ":page.html" });
        row("empty opens nothing", ab, { "" }, QStringList {});
        row("all blank opens nothing", ab, { " \t " }, QStringList {});
        row("blank between two", ab, { "a.html", "  ", "b.html" }, ab);
        row("no arguments", ab, {});
        const QStringList eight { "1.html", "2.html", "3.html", "4.html", "5.html", "6.html", "7.html", "8.html" };
        row("eight pages cascade inside the area", eight, eight);
    }
    void eachArgumentOpensItsOwnWindow()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, opened);
        Scenario s;
        s.window->resize(800, 600);
        for (const QString &file : files) {
            // Not TestHome::write: Qt takes a name that starts with a colon for a resource.
            QFile page(s.home.path() + '/' + file);
            QVERIFY(QDir().mkpath(QFileInfo(page).path()));
            QVERIFY(page.open(QIODevice::WriteOnly) && page.write(kPage) == kPage.size());
        }
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(s.home.path()));
        const QStringList given = arguments.replaceInStrings("%home", s.home.path());
        s.window->openCommandLine(CommandLinePaths::fromArguments(given, QDir::currentPath()));
        QDir::setCurrent(started);

        QCOMPARE(s.windows(), opened.size());
        QCOMPARE(s.window->toolbar().buttonEnabled(CommandTables::kSaveButton), !opened.isEmpty());
        const QList<QMdiSubWindow *> frames = s.window->mdiArea().subWindowList();
        for (int i = 0; i < opened.size(); ++i) {
            const auto *document = qobject_cast<DocumentWindow *>(frames.at(i)->widget());
            QCOMPARE(document->document().path(), s.home.path() + '/' + opened.at(i));
            QCOMPARE(document->text(TextField::Description), QStringLiteral("Hand-made kites"));
            QVERIFY2(s.window->mdiArea().viewport()->rect().contains(frames.at(i)->geometry()),
                "the window stands whole inside the area");
        }
        if (opened.isEmpty())
            return;
        // Saved to the very name it was opened from, whatever other files are near.
        const QMap<QString, QByteArray> before = [&] {
            QMap<QString, QByteArray> contents;
            for (const QString &file : files)
                contents.insert(file, readFile(s.home.path() + '/' + file));
            return contents;
        }();
        DocumentWindow *last = s.window->activeDocument();
        type(last->field(TextField::Author), "Saved here", true);
        QVERIFY(s.window->commands().saveActive());
        QVERIFY(!last->document().isModified());
        QVERIFY(readFile(last->document().path()).contains("content=\"Saved here\""));
        for (const QString &file : files) {
            if (QFileInfo(s.home.path() + '/' + file) != QFileInfo(last->document().path()))
                QCOMPARE(readFile(s.home.path() + '/' + file), before.value(file));
        }
    }

    void aNarrowWindowKeepsEveryCommandInReach_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("maximizedPage");
        QTest::addColumn<bool>("narrow");
        QTest::newRow("wide") << 900 << false << false;
        QTest::newRow("330 px with a maximized page") << 330 << true << true;
    }
    void aNarrowWindowKeepsEveryCommandInReach()
    {
        QFETCH(int, width);
        QFETCH(bool, maximizedPage);
        QFETCH(bool, narrow);
        Scenario s;
        s.window->toggleToolbar();
        if (maximizedPage)
            s.open(s.page("a.html"))->parentWidget()->showMaximized();
        s.window->resize(width, 500);
        QTest::qWait(50);
        const Toolbar &menuBar = s.window->menuBarToolbar();
        const QWidget *bar = menuBar.hwnd();
        QVERIFY2(bar->geometry().right() < bar->parentWidget()->width(), "the menu bar ends inside the window");
        for (int i = 0; i < menuBar.buttonCount(); ++i) {
            if (menuBar.buttonVisible(i))
                QVERIFY2(bar->rect().contains(menuBar.buttonRect(i)), qPrintable(menuBar.buttonCaption(i)));
        }
        QCOMPARE(menuBar.toolbarHeight() > menuBar.maxButtonHeight(), narrow);
        QCOMPARE(bar->y(), bar->parentWidget()->contentsRect().top());
        const Rebar &rebar = s.window->rebar();
        const int band = rebar.bandIndexForData(QStringLiteral("Toolbar"));
        QCOMPARE(!rebar.bandChevronRectangle(band).isEmpty(), narrow);
        QCOMPARE(!s.window->toolbar().buttonsBeyond(s.window->toolbar().hwnd()->width()).isEmpty(), narrow);
        // Qt hands a maximized page's caption buttons to the window's menu bar; the window's own
        // menu bar shows them, so they go to a hidden one and the page keeps none of its own.
        const auto *sink = qobject_cast<QMenuBar *>(s.window->menuWidget());
        QCOMPARE(sink && !sink->isVisible() && sink->cornerWidget(Qt::TopRightCorner), maximizedPage);
    }

    // Wherever the user dragged the toolbar's band, a read shows the progress band and
    // leaves the toolbar showing; the strip under the menu bar is as tall as the rebar.
    void theProgressBandShowsWhereverTheToolbarWent_data()
    {
        QTest::addColumn<bool>("dragged");
        QTest::newRow("bands as built") << false;
        QTest::newRow("toolbar dragged down onto a row of its own") << true;
    }
    void theProgressBandShowsWhereverTheToolbarWent()
    {
        QFETCH(bool, dragged);
        Scenario s;
        s.window->toggleToolbar();
        Rebar &rebar = s.window->rebar();
        const int toolbarId = rebar.bandIdForIndex(rebar.bandIndexForData(QStringLiteral("Toolbar")));
        const int oneRow = rebar.rebarHeight();
        if (dragged) {
            const QRect band = rebar.bandRectangle(rebar.bandIndexForId(toolbarId));
            const QPoint gripper = band.topLeft() + QPoint(3, band.height() / 2);
            const QPoint below = gripper + QPoint(0, band.height());
            QTest::mousePress(rebar.hwnd(), Qt::LeftButton, {}, gripper);
            QTest::mouseMove(rebar.hwnd(), below);
            QTest::mouseRelease(rebar.hwnd(), Qt::LeftButton, {}, below);
        }
        QCOMPARE(rebar.rebarHeight() > oneRow, dragged);
        QTRY_COMPARE(s.window->toolbarStrip().height(), rebar.rebarHeight());
        QList<bool> progressShown;
        QList<bool> toolbarShown;
        connect(&s.window->commands(), &DocumentCommands::busyChanged, s.window.get(), [&](bool) {
            progressShown.append(rebar.bandVisible(rebar.bandIndexForData(QStringLiteral("ProgressBar"))));
            toolbarShown.append(rebar.bandVisible(rebar.bandIndexForId(toolbarId)));
        });
        s.open(s.page("a.html"));
        QCOMPARE(progressShown, QList<bool>({ true, false }));
        QCOMPARE(toolbarShown, QList<bool>({ true, true }));
    }

    void thePaneShowsAndNumbersEveryLine_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<int>("lines");
        QTest::newRow("description, keywords, robots") << kPage << 5;
        QTest::newRow("every tag, the charset flag included")
            << QByteArray("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">"
                          "<meta name=\"description\" content=\"d\"><meta name=\"keywords\" content=\"k\">"
                          "<meta name=\"author\" content=\"a\"><meta name=\"robots\" content=\"noindex\">"
                          "</head></html>")
            << 7;
    }
    void thePaneShowsAndNumbersEveryLine()
    {
        QFETCH(QByteArray, page);
        QFETCH(int, lines);
        Scenario s;
        s.window->toggleMetaPane();
        s.open(s.home.write("a.html", page));
        QCOMPARE(s.window->metaText().lineCount(), lines);
        const QPlainTextEdit *edit = s.window->metaText().hwnd();
        const QTextBlock last = edit->document()->lastBlock();
        QVERIFY2(edit->cursorRect(QTextCursor(last)).bottom() < edit->viewport()->height(),
            "the FORMATTER line shows whole");
        const QList<LineNumberGutter::Number> numbers = s.window->gutter().visibleNumbers();
        QCOMPARE(static_cast<int>(numbers.size()), lines);
        QCOMPARE(numbers.first().line, 1);
        for (qsizetype i = 1; i < numbers.size(); ++i) {
            QCOMPARE(numbers.at(i).line, numbers.at(i - 1).line + 1);
            QVERIFY(numbers.at(i).top > numbers.at(i - 1).top);
        }
        QVERIFY2(s.window->gutter().geometry().right() < s.window->metaText().leftMargin() + 1,
            "the text starts right of the numbers");
    }

    void closePrompt_data()
    {
        QTest::addColumn<CloseCase>("row");
        QTest::newRow("yes saves and closes") << CloseCase { false, int(QMessageBox::Yes), true, true };
        QTest::newRow("no discards and closes") << CloseCase { false, int(QMessageBox::No), true, false };
        QTest::newRow("cancel keeps the window") << CloseCase { false, int(QMessageBox::Cancel), false, false };
        QTest::newRow("yes on a new page, save as cancelled, keeps it")
            << CloseCase { true, int(QMessageBox::Yes), false, false };
    }
    void closePrompt()
    {
        QFETCH(CloseCase, row);
        const auto [fresh, answer, closed, written] = row;
        Scenario s({ { "Backup Files", "off" } });
        const QString path = fresh ? QStringLiteral("NONE") : s.page("a.html");
        DocumentWindow *document = fresh ? s.window->commands().newDocument() : s.open(path);
        type(document->field(TextField::Keywords), "!");
        s.window->prompts().answerNext(QMessageBox::StandardButton(answer));
        s.window->commands().close();
        QCOMPARE(s.windows(), closed ? 0 : 1);
        QCOMPARE(s.prompts().first().kind, UserPrompts::Kind::SaveChanges);
        QCOMPARE(s.prompts().first().text, "Save changes before closing this file?\n" + path);
        QCOMPARE(s.prompts().size(), fresh ? 2 : 1);
        if (fresh) {
            QCOMPARE(s.prompts().last().kind, UserPrompts::Kind::SaveFile);
            QVERIFY(document->document().isNew());
            return;
        }
        QCOMPARE(readFile(path).contains("kites, lines!"), written);
        QCOMPARE(readFile(path) == kPage, !written);
        if (answer == QMessageBox::Yes)
            QVERIFY2(s.window->metaText().text().isEmpty(), "the pane empties after Yes");
    }

    // The status bar speaks of the page in front: the reminder to save comes and goes with
    // its edits, and "No document open..." waits until none is.
    void statusFollowsThePageInFront()
    {
        Scenario s({ { "Backup Files", "off" } });
        s.open(s.page("a.html"));
        DocumentWindow *edited = s.open(s.page("b.html"));
        type(edited->field(TextField::Author), "Jo", true);
        QCOMPARE(s.msg(), QStringLiteral("Remember to save..."));
        s.activate(0);
        QCOMPARE(s.msg(), QString());
        s.activate(1);
        QCOMPARE(s.msg(), QStringLiteral("Remember to save..."));
        s.window->prompts().answerNext(QMessageBox::Yes);
        s.window->commands().close();
        QCOMPARE(s.windows(), 1);
        QCOMPARE(s.msg(), "Document saved... (" + s.home.path() + "/b.html)");
        type(s.window->activeDocument()->field(TextField::Author), "Al", true);
        s.window->prompts().answerNext(QMessageBox::Yes);
        s.window->commands().close();
        QCOMPARE(s.windows(), 0);
        QCOMPARE(s.msg(), QStringLiteral("No document open..."));
    }

    void saveAsOfASavedPageLeavesTheOldFile()
    {
        Scenario s;
        const QString oldPath = s.home.write("site/old.html", kPage);
        DocumentWindow *document = s.open(oldPath);
        type(document->field(TextField::Description), " now");
        const QString newPath = s.home.path() + "/site/new.html";
        s.window->prompts().chooseFileNext(newPath);
        s.window->commands().saveActiveAs();
        QCOMPARE(readFile(oldPath), kPage);
        QCOMPARE(readFile(s.home.path() + "/site/old.bak"), kPage);
        QVERIFY(readFile(newPath).contains("content=\"Hand-made kites now\""));
        QCOMPARE(document->document().path(), newPath);
        QCOMPARE(s.fil(), newPath);
        QVERIFY2(s.caption("mnuFile(6)").endsWith("  " + oldPath) && s.item("mnuFile(7)") == 0,
            "only a new document's first name joins the recent files");
    }

    void aFailedSaveReportsAndChangesNothing_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("page and its folder gone since it was opened") << false;
        QTest::newRow("save as onto a folder") << true;
    }
    void aFailedSaveReportsAndChangesNothing()
    {
        QFETCH(bool, saveAs);
        Scenario s;
        const QString path = s.home.write("site/a.html", kPage);
        DocumentWindow *document = s.open(path);
        type(document->field(TextField::Author), "Kept", true);
        const QString msgBefore = s.msg();
        QString target = path;
        if (saveAs) {
            target = s.home.path() + "/folder";
            s.home.write("folder/x", "x");
            s.window->prompts().chooseFileNext(target);
            s.window->commands().saveActiveAs();
            QCOMPARE(readFile(path), kPage);
        } else {
            QVERIFY(QDir(s.home.path() + "/site").removeRecursively());
            s.window->commands().saveActive();
        }
        const UserPrompts::Shown reported = s.prompts().last();
        QCOMPARE(reported.kind, UserPrompts::Kind::Critical);
        QVERIFY2(!reported.underWaitCursor, "the failure is told once the writing is over");
        QVERIFY2(reported.text.contains(target), qPrintable(reported.text));
        QVERIFY2(!reported.text.section('\n', 1).isEmpty(), "the reason follows the path");
        QCOMPARE(document->text(TextField::Author), QStringLiteral("Kept"));
        QCOMPARE(document->document().path(), path);
        QCOMPARE(document->document().caption(), QStringLiteral("Kite Shop"));
        QVERIFY(document->document().isModified());
        QCOMPARE(s.msg(), msgBefore);
        QVERIFY(!s.window->rebar().bandVisible(1));
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
        for (const char *name : { "a.html", "b.html", "c.html" })
            type(s.open(s.page(name))->field(TextField::Author), "z");
        // Saved and closed, the middle one asks nothing: each window's edits are its own.
        s.activate(1);
        QVERIFY2(s.fil() == s.home.path() + "/b.html", "the window brought forward shows its own path");
        s.window->commands().saveActive();
        QVERIFY2(s.fil() == s.home.path() + "/b.html", "the saved document shows its own path");
        s.window->commands().close();
        QCOMPARE(s.windows(), 2);
        QVERIFY(s.prompts().isEmpty());
        s.window->mdiArea().activeSubWindow()->showMaximized();
        for (const int answer : answers)
            s.window->prompts().answerNext(QMessageBox::StandardButton(answer));
        // Which page was active and on top when each prompt came.
        QStringList inFront;
        connect(&s.window->mdiArea(), &QMdiArea::subWindowActivated, this, [&](QMdiSubWindow *frame) {
            if (!frame || s.window->mdiArea().subWindowList(QMdiArea::StackingOrder).constLast() != frame)
                return;
            inFront.resize(s.prompts().size() + 1);
            inFront.last() = s.window->activeDocument()->document().path();
        });
        QCOMPARE(s.window->close(), exited);
        QCOMPARE(s.prompts().size(), asked);
        for (int i = 0; i < asked; ++i)
            QVERIFY2(i < inFront.size() && s.prompts().at(i).text.endsWith(inFront.at(i)),
                "each prompt asks about the page in front");
        QCOMPARE(s.stored("WindowState").isEmpty(), !exited);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
