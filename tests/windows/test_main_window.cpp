#include "TestHome.h"
#include "TypedText.h"
#include "TextBox.h"
#include "toolbar/Rebar.h"
#include "toolbar/Toolbar.h"
#include "StatusBar.h"
#include "DocumentWindow.h"
#include "PopupMenu.h"
#include "SettingsStore.h"
#include "CommandLinePaths.h"
#include "CommandTables.h"
#include "DocumentCommands.h"
#include "LineNumberGutter.h"
#include "UserPrompts.h"
#include "MainWindow.h"
#include "ProgramServices.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QFontDatabase>
#include <QPlainTextEdit>
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
        store.setValue("Version", "2.01a");
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            store.setValue(it.key(), it.value());
        services = std::make_unique<ProgramServices>();
        window = std::make_unique<MainWindow>(*services);
        window->prompts().setScripted(true);
        window->show();
        window->activateWindow();
        // Focus, and with it the active field, needs the window active.
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window did not become active");
    }

    DocumentWindow *open(const QString &path)
    {
        window->openCommandLine({ path });
        return window->activeDocument();
    }
    QString page(const QString &name) const { return home.write(name, kPage); }
    void activate(int index) const
    {
        window->mdiArea().setActiveSubWindow(window->mdiArea().subWindowList().at(index));
    }

    QString fil() const { return window->status().panelText("fil"); }
    QString msg() const { return window->status().panelText("msg"); }
    int windows() const { return static_cast<int>(window->mdiArea().subWindowList().size()); }
    const QList<UserPrompts::Shown> &prompts() const { return window->prompts().shown(); }
    static QString stored(const QString &name) { return SettingsStore().value(name); }

    TestHome home;
    std::unique_ptr<ProgramServices> services;
    std::unique_ptr<MainWindow> window;
};


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
        QVERIFY(!s.window->menu().itemChecked(s.window->menu().findItemByKey("mnuView(2)")));
        QCOMPARE(s.fil(), QStringLiteral("No document open..."));
        QVERIFY2(!s.window->rebar().bandVisible(1), "the progress band shows only while a file is read");
    }

    void viewCommandsFlipAndRemember()
    {
        Scenario s;
        s.window->toggleToolbar();
        s.window->toggleMetaPane();
        QVERIFY(s.window->toolbarStrip().isVisible() && s.window->metaPane().isVisible());
        QCOMPARE(s.window->metaText().hwnd()->font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
        QVERIFY(s.window->toolbar().buttonChecked(11));
        QVERIFY(s.window->menu().itemChecked(s.window->menu().findItemByKey("mnuView(2)")));
        s.window->close();
        ProgramServices restarted;
        MainWindow again(restarted);
        again.show();
        QVERIFY(again.toolbarStrip().isVisible() && again.metaPane().isVisible());
        QCOMPARE(again.metaText().hwnd()->font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
        again.toggleMetaPane();
        QVERIFY(!again.metaPane().isVisible());
        QVERIFY(!again.toolbar().buttonChecked(11));
        QCOMPARE(s.stored("ViewMeta"), QStringLiteral("off"));
    }

    void placementAtExit_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("width");
        QTest::newRow("normal writes its geometry") << "normal" << "640";
        QTest::newRow("maximized keeps the old geometry") << "maximized" << "500";
        QTest::newRow("minimized writes nothing") << "" << "500";
    }

    void placementAtExit()
    {
        QFETCH(QString, state);
        QFETCH(QString, width);
        Scenario s({ { "Width", "500" }, { "Height", "400" } });
        QCOMPARE(s.window->width(), 500);
        s.window->resize(640, 480);
        if (state == "maximized")
            s.window->showMaximized();
        else if (state.isEmpty())
            s.window->showMinimized();
        QVERIFY(s.window->close());
        QCOMPARE(s.stored("WindowState"), state);
        QCOMPARE(s.stored("Width"), width);
    }

    void maximizedWindowReopensMaximized()
    {
        Scenario s({ { "WindowState", "maximized" }, { "Width", "300" } });
        QVERIFY(s.window->isMaximized());
    }

    void openingAPageShowsItsValues()
    {
        Scenario s;
        const QString path = s.home.write("site/kites.html", kPage);
        DocumentWindow *document = s.open(path);
        QVERIFY(document);
        QCOMPARE(s.window->mdiArea().activeSubWindow()->windowTitle(), QStringLiteral("Kite Shop"));
        QCOMPARE(document->text(TextField::Description), QStringLiteral("Hand-made kites"));
        QCOMPARE(document->text(TextField::Author), QStringLiteral("No author"));
        QVERIFY(document->flag(RobotsFlag::NoImageClick) && document->flag(RobotsFlag::NoFollow));
        QVERIFY(!document->flagEnabled(RobotsFlag::NoIndex));
        QCOMPARE(s.msg(), "Document opened... (" + path + ')');
        QCOMPARE(s.fil(), path);
        QVERIFY2(!document->isModified(), "a page just opened has no edits");
        QVERIFY(s.window->metaText().text().contains(
            "<META name=\"robots\" content=\"nofollow, noimageclick\">"));
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
        QTest::newRow("relative") << ab << QStringList { "b.html" } << QStringList { "b.html" };
        QTest::newRow("relative in a subfolder") << QStringList { "site/a.html" } << QStringList { "site/a.html" }
                                                 << QStringList { "site/a.html" };
        QTest::newRow("dot segments kept") << QStringList { "a.html", "site/b.html" } << QStringList { "./site/../a.html" }
                                           << QStringList { "./site/../a.html" };
        QTest::newRow("absolute") << ab << QStringList { "%home/a.html" } << QStringList { "a.html" };
        QTest::newRow("a space inside is one path") << QStringList { "my page.html", "my", "page.html" }
                                                    << QStringList { "my page.html" } << QStringList { "my page.html" };
        QTest::newRow("blanks at the ends are the name's") << QStringList { " a.html\t", "a.html" }
                                                           << QStringList { " a.html\t" } << QStringList { " a.html\t" };
        QTest::newRow("quotes are the name's") << QStringList { "\"q\".html", "q.html" }
                                               << QStringList { "\"q\".html" } << QStringList { "\"q\".html" };
        QTest::newRow("newline in the name") << QStringList { "two\nlines.html" } << QStringList { "two\nlines.html" }
                                             << QStringList { "two\nlines.html" };
        QTest::newRow("colon first is no resource") << QStringList { ":page.html" } << QStringList { ":page.html" }
                                                    << QStringList { ":page.html" };
        QTest::newRow("several, in order") << ab << QStringList { "b.html", "%home/a.html" } << QStringList { "b.html", "a.html" };
        QTest::newRow("empty opens nothing") << ab << QStringList { "" } << QStringList {};
        QTest::newRow("all blank opens nothing") << ab << QStringList { " \t " } << QStringList {};
        QTest::newRow("blank between two") << ab << QStringList { "a.html", "  ", "b.html" } << ab;
        QTest::newRow("no arguments") << ab << QStringList {} << QStringList {};
    }
    void eachArgumentOpensItsOwnWindow()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, opened);
        Scenario s;
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
            QCOMPARE(document->filePath(), s.home.path() + '/' + opened.at(i));
            QCOMPARE(document->text(TextField::Description), QStringLiteral("Hand-made kites"));
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
        s.window->commands().save();
        QCOMPARE(s.window->documentState().targetPath, last->filePath());
        QVERIFY(!last->isModified());
        QVERIFY(readFile(last->filePath()).contains("content=\"Saved here\""));
        for (const QString &file : files) {
            if (QFileInfo(s.home.path() + '/' + file) != QFileInfo(last->filePath()))
                QCOMPARE(readFile(s.home.path() + '/' + file), before.value(file));
        }
    }

    void editingUpdatesThePaneAtOnce()
    {
        Scenario s;
        DocumentWindow *document = s.open(s.page("a.html"));
        type(document->field(TextField::Author), "Jo", true);
        QVERIFY(s.window->metaText().text().contains("<META name=\"author\" content=\"Jo\">"));
        QCOMPARE(s.msg(), QStringLiteral("Remember to save..."));
        QVERIFY(document->isModified());
        QCOMPARE(s.window->documentState().activeField, QStringLiteral("Author"));
    }

    void gutterNumbersEveryLine()
    {
        Scenario s;
        s.window->toggleMetaPane();
        s.open(s.page("a.html"));
        const QList<LineNumberGutter::Number> numbers = s.window->gutter().visibleNumbers();
        QCOMPARE(static_cast<int>(numbers.size()), s.window->metaText().lineCount());
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
        Scenario s({ { "Backup Files", "off" } });
        const QString path = s.page("a.html");
        type(s.open(path)->field(TextField::Keywords), "!");
        s.window->prompts().answerNext(QMessageBox::StandardButton(answer));
        s.window->commands().close();
        QCOMPARE(s.windows(), closed ? 0 : 1);
        QCOMPARE(s.prompts().last().kind, UserPrompts::Kind::SaveChanges);
        QCOMPARE(s.prompts().last().text, "Save changes before closing this file?\n" + path);
        QCOMPARE(readFile(path).contains("kites, lines!"), written);
        QCOMPARE(readFile(path) == kPage, !written);
        if (answer == QMessageBox::Yes)
            QVERIFY2(s.window->metaText().text().isEmpty(), "the pane empties after Yes");
    }

    void closingAnUneditedWindowAsksNothing()
    {
        Scenario s;
        s.open(s.page("a.html"));
        type(s.open(s.page("b.html"))->field(TextField::Author), "x");
        s.activate(0);
        s.window->commands().close();
        QCOMPARE(s.windows(), 1);
        QVERIFY2(s.prompts().isEmpty(), "another window's edits are its own");
    }

    void yesOnANewDocumentWithSaveAsCancelledKeepsIt()
    {
        Scenario s;
        DocumentWindow *document = s.window->commands().newDocument();
        type(document->field(TextField::Author), "Me");
        s.window->prompts().answerNext(QMessageBox::Yes);
        s.window->commands().close();
        QCOMPARE(s.windows(), 1);
        QCOMPARE(document->filePath(), QStringLiteral("NONE"));
        QCOMPARE(s.prompts().last().kind, UserPrompts::Kind::SaveFile);
    }

    void saveAsOfASavedPageLeavesTheOldFile()
    {
        Scenario s;
        const QString oldPath = s.home.write("site/old.html", kPage);
        DocumentWindow *document = s.open(oldPath);
        type(document->field(TextField::Description), " now");
        const QString newPath = s.home.path() + "/site/new.html";
        s.window->prompts().chooseFileNext(newPath);
        s.window->commands().saveAs();
        QCOMPARE(readFile(oldPath), kPage);
        QCOMPARE(readFile(s.home.path() + "/site/old.bak"), kPage);
        QVERIFY(readFile(newPath).contains("content=\"Hand-made kites now\""));
        QCOMPARE(document->filePath(), newPath);
        QCOMPARE(s.fil(), newPath);
    }

    void savingOneDocumentLeavesTheOthersEdits()
    {
        Scenario s;
        DocumentWindow *first = s.open(s.page("a.html"));
        const QString secondPath = s.page("b.html");
        DocumentWindow *second = s.open(secondPath);
        s.activate(0);
        QVERIFY2(s.fil() == first->filePath(), "the window brought forward shows its own path");
        type(first->field(TextField::Author), "A");
        s.activate(1);
        type(second->field(TextField::Author), "B");
        s.window->commands().save();
        QVERIFY(!second->isModified());
        QVERIFY(first->isModified());
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
        const QString path = s.page("a.html");
        DocumentWindow *document = s.open(path);
        type(document->field(TextField::Author), "Kept", true);
        const QString msgBefore = s.msg();
        QString target = path;
        if (saveAs) {
            target = s.home.path() + "/folder";
            s.home.write("folder/x", "x");
            s.window->prompts().chooseFileNext(target);
            s.window->commands().saveAs();
            QCOMPARE(readFile(path), kPage);
        } else {
            QFile::remove(path);
            s.window->commands().save();
        }
        const UserPrompts::Shown reported = s.prompts().last();
        QCOMPARE(reported.kind, UserPrompts::Kind::Critical);
        QVERIFY2(reported.text.contains(target), qPrintable(reported.text));
        QVERIFY2(!reported.text.section('\n', 1).isEmpty(), "the reason follows the path");
        QCOMPARE(document->text(TextField::Author), QStringLiteral("Kept"));
        QCOMPARE(document->filePath(), path);
        QCOMPARE(document->caption(), QStringLiteral("Kite Shop"));
        QVERIFY(document->isModified());
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
        for (const char *name : { "a.html", "b.html", "c.html" }) {
            DocumentWindow *document = s.open(s.page(name));
            if (qstrcmp(name, "b.html") != 0)
                type(document->field(TextField::Author), "z");
        }
        for (const int answer : answers)
            s.window->prompts().answerNext(QMessageBox::StandardButton(answer));
        QCOMPARE(s.window->close(), exited);
        QCOMPARE(s.prompts().size(), asked);
        QCOMPARE(s.stored("WindowState").isEmpty(), !exited);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
