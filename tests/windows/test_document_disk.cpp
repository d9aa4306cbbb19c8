// Nothing typed is lost to the disk: a page deleted, changed by another program or opened
// twice while its window holds edits.

#include "MainWindowScenario.h"
#include "Document.h"
#include "TypedText.h"

#include <QLineEdit>

namespace {

const QByteArray kPage = "<html>\n<head>\n<title>Kites</title>\n"
                         "<meta name=\"description\" content=\"Hand-made kites\">\n"
                         "</head>\n<body>Flying since 1980</body>\n</html>\n";
// What another program made of it: its own description, and a new line in the body.
const QByteArray kEditedElsewhere = "<html>\n<head>\n<title>Kites</title>\n"
                                    "<meta name=\"description\" content=\"Kites from elsewhere\">\n"
                                    "</head>\n<body>Flying since 1980, now with boxes</body>\n</html>\n";

bool describedAs(const QString &path, const QString &description)
{
    const QByteArray tag = "<META name=\"description\" content=\"" + description.toUtf8() + "\">";
    return readFile(path).contains(tag);
}

// What another program does to the page meanwhile.
bool happen(const QString &event, const TestHome &home, const QString &path)
{
    if (event == "deleted")
        return QFile::remove(path);
    if (event == "changed")
        return !home.write(QFileInfo(path).fileName(), kEditedElsewhere).isEmpty();
    return event == "left alone";
}

QList<UserPrompts::Kind> kinds(const QList<UserPrompts::Shown> &shown)
{
    QList<UserPrompts::Kind> result;
    for (const UserPrompts::Shown &prompt : shown)
        result.append(prompt.kind);
    return result;
}

} // namespace

class TestDocumentDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Scenario::defaultPage = kPage; }

    // Opened again by any name, the page's window comes forward with the edits it holds.
    void aPageOpenedTwiceHasOneWindow_data()
    {
        QTest::addColumn<QString>("again");
        QTest::addColumn<bool>("minimized");
        QTest::newRow("the same path") << "site/a.html" << false;
        QTest::newRow("with dot segments") << "site/../site/./a.html" << false;
        QTest::newRow("through a symbolic link") << "link.html" << false;
        QTest::newRow("its window minimized: shown again") << "site/a.html" << true;
    }
    void aPageOpenedTwiceHasOneWindow()
    {
        QFETCH(QString, again);
        QFETCH(bool, minimized);
        Scenario s;
        const QString path = s.page("site/a.html");
        QVERIFY(QFile::link(path, s.home.path() + "/link.html"));
        DocumentWindow *first = s.open(path);
        type(first->field(TextField::Keywords), "typed first", true);
        if (minimized)
            first->parentWidget()->showMinimized();
        s.open(s.page("b.html", QByteArray(kPage).replace("Hand-made", "Box")));
        QCOMPARE(s.windows(), 2);
        DocumentWindow *brought = s.open(s.home.path() + '/' + again);
        QVERIFY(!first->parentWidget()->isMinimized());
        QCOMPARE(s.windows(), 2);
        QCOMPARE(brought, first);
        QCOMPARE(s.window->activeDocument(), first);
        QCOMPARE(first->text(TextField::Keywords), QStringLiteral("typed first"));
        QVERIFY(first->document().isModified());
        QVERIFY2(!first->document().descriptionShared(), "a page shares nothing with itself");
        QCOMPARE(s.msg(), "Already open... (" + s.home.path() + '/' + again + ')');
        s.save(first);
        QVERIFY(readFile(path).contains("content=\"typed first\""));
    }

    // Save writes the values typed whatever happened to the page; where another program
    // changed it, the user chooses.
    void saveKeepsTheEditsWhateverHappened_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<int>("answer"); // to the changed-on-disk prompt; 0 when none comes
        QTest::addColumn<QString>("onDisk"); // the description the page then holds
        QTest::addColumn<QString>("shown"); // the description the window then shows
        QTest::newRow("left alone") << "left alone" << false << 0 << "Typed" << "Typed";
        QTest::newRow("deleted, saved again") << "deleted" << false << 0 << "Typed" << "Typed";
        QTest::newRow("deleted, saved as") << "deleted" << true << 0 << "Typed" << "Typed";
        QTest::newRow("changed, saved over") << "changed" << false << int(QMessageBox::Save) << "Typed" << "Typed";
        QTest::newRow("changed, reloaded") << "changed" << false << int(QMessageBox::Discard)
                                           << "Kites from elsewhere" << "Kites from elsewhere";
        QTest::newRow("changed, cancelled") << "changed" << false << int(QMessageBox::Cancel)
                                            << "Kites from elsewhere" << "Typed";
        QTest::newRow("changed, saved as elsewhere") << "changed" << true << 0 << "Typed" << "Typed";
    }
    void saveKeepsTheEditsWhateverHappened()
    {
        QFETCH(QString, event);
        QFETCH(bool, saveAs);
        QFETCH(int, answer);
        QFETCH(QString, onDisk);
        QFETCH(QString, shown);
        Scenario s({ { "Backup Files", "off" } });
        const QString path = s.page("a.html");
        DocumentWindow *document = s.open(path);
        type(document->field(TextField::Description), "Typed", true);
        QVERIFY(happen(event, s.home, path));
        const QString target = saveAs ? s.home.path() + "/b.html" : path;
        if (answer)
            s.window->prompts().answerNext(QMessageBox::StandardButton(answer));
        if (saveAs) {
            s.window->prompts().chooseFileNext(target);
            s.window->commands().saveActiveAs();
        } else {
            s.window->commands().saveActive();
        }
        QList<UserPrompts::Kind> asked;
        if (answer)
            asked.append(UserPrompts::Kind::ChangedOnDisk);
        if (saveAs)
            asked.append(UserPrompts::Kind::SaveFile);
        QCOMPARE(kinds(s.prompts()), asked);
        QVERIFY2(describedAs(target, onDisk) || (onDisk != "Typed" && readFile(target) == kEditedElsewhere),
            readFile(target).constData());
        QCOMPARE(document->text(TextField::Description), shown);
        QCOMPARE(document->document().isModified(), shown != onDisk);
        QCOMPARE(document->document().path(), target);
        // What the other program wrote outside the tags stays, once its page is saved over.
        if (event == "changed" && onDisk == "Typed")
            QVERIFY(readFile(target).contains("now with boxes"));
        if (event == "deleted" && saveAs)
            QVERIFY2(!QFile::exists(path), "Save As writes the new page only");
    }

    // Coming back to a page looks at its file: without edits the window shows what the disk
    // holds now; with edits the user chooses, once for each change.
    void activationLooksAtTheDisk_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("onDisk");
        QTest::newRow("unedited, changed: reloaded unasked")
            << false << "changed" << 0 << "Kites from elsewhere" << "Kites from elsewhere";
        QTest::newRow("edited, changed, saved over") << true << "changed" << int(QMessageBox::Save) << "Typed" << "Typed";
        QTest::newRow("edited, changed, reloaded")
            << true << "changed" << int(QMessageBox::Discard) << "Kites from elsewhere" << "Kites from elsewhere";
        QTest::newRow("edited, changed, left for now")
            << true << "changed" << int(QMessageBox::Cancel) << "Typed" << "Kites from elsewhere";
        QTest::newRow("edited, deleted") << true << "deleted" << 0 << "Typed" << "";
        QTest::newRow("edited, left alone") << true << "left alone" << 0 << "Typed" << "Hand-made kites";
    }
    void activationLooksAtTheDisk()
    {
        QFETCH(bool, edited);
        QFETCH(QString, event);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        QFETCH(QString, onDisk);
        Scenario s({ { "Backup Files", "off" } });
        const QString path = s.page("a.html");
        DocumentWindow *document = s.open(path);
        if (edited)
            type(document->field(TextField::Description), "Typed", true);
        s.open(s.page("b.html"));
        QVERIFY(happen(event, s.home, path));
        if (answer)
            s.window->prompts().answerNext(QMessageBox::StandardButton(answer));
        s.activate(0);
        QCOMPARE(s.window->activeDocument(), document);
        QCOMPARE(kinds(s.prompts()),
            answer ? QList<UserPrompts::Kind> { UserPrompts::Kind::ChangedOnDisk } : QList<UserPrompts::Kind> {});
        QCOMPARE(document->text(TextField::Description), shown);
        QVERIFY(onDisk.isEmpty() ? !QFile::exists(path) : describedAs(path, onDisk) || readFile(path).contains(onDisk.toUtf8()));
        if (event == "deleted")
            QVERIFY2(s.msg().contains(path), qPrintable(s.msg()));
        // The same change is not asked about at every visit.
        s.activate(1);
        s.activate(0);
        QCOMPARE(s.prompts().size(), answer ? 1 : 0);
    }

    // The status bar speaks of the page in front: a page behind it that changes says nothing.
    void aPageChangingBehindTheActiveOneLeavesTheStatusAlone()
    {
        Scenario s;
        DocumentWindow *behind = s.open(s.page("a.html"));
        const QString front = s.page("b.html");
        s.open(front);
        const QString shown = s.msg();
        QCOMPARE(shown, "Document opened... (" + front + ')');
        behind->document().setText(TextField::Keywords, QStringLiteral("changed behind"));
        QCOMPARE(s.msg(), shown);
        s.activate(0);
        type(behind->field(TextField::Author), "Jo", true);
        QCOMPARE(s.msg(), QStringLiteral("Remember to save..."));
    }

    // A reload of a page that can no longer be read keeps what was typed and says why.
    void aFailedReloadKeepsTheEdits()
    {
        Scenario s;
        const QString path = s.page("a.html");
        DocumentWindow *document = s.open(path);
        type(document->field(TextField::Description), "Typed", true);
        s.open(s.page("b.html"));
        QVERIFY(!s.home.write("a.html", "<p>No HEAD any more</p>").isEmpty());
        s.window->prompts().answerNext(QMessageBox::Discard);
        s.activate(0);
        QCOMPARE(document->text(TextField::Description), QStringLiteral("Typed"));
        QVERIFY(document->document().isModified());
        QCOMPARE(s.prompts().size(), 2);
        QCOMPARE(s.prompts().last().text, "No HEAD section in file...\n" + path);
    }

    // Back from another program, the page in front is looked at, as when its window comes
    // forward; in the background the program does not look.
    void comingBackToTheProgramLooksAtThePageInFront_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("shown");
        QTest::newRow("active again") << int(Qt::ApplicationActive) << "Kites from elsewhere";
        QTest::newRow("still in the background") << int(Qt::ApplicationInactive) << "Hand-made kites";
    }
    void comingBackToTheProgramLooksAtThePageInFront()
    {
        QFETCH(int, state);
        QFETCH(QString, shown);
        Scenario s;
        DocumentWindow *document = s.open(s.page("a.html"));
        QVERIFY(!s.home.write("a.html", kEditedElsewhere).isEmpty());
        emit qGuiApp->applicationStateChanged(Qt::ApplicationState(state));
        QCOMPARE(document->text(TextField::Description), shown);
        QVERIFY(s.prompts().isEmpty());
    }

    // Two windows on one page would save over each other.
    void saveAsOntoAnOpenPageIsRefused()
    {
        Scenario s;
        const QString other = s.page("b.html");
        s.open(other);
        DocumentWindow *document = s.open(s.page("a.html"));
        type(document->field(TextField::Description), "Typed", true);
        s.window->prompts().chooseFileNext(other);
        QVERIFY(!s.window->commands().saveActiveAs());
        QCOMPARE(kinds(s.prompts()), (QList<UserPrompts::Kind> { UserPrompts::Kind::SaveFile, UserPrompts::Kind::Critical }));
        QVERIFY2(s.prompts().last().text.contains(other), qPrintable(s.prompts().last().text));
        QCOMPARE(readFile(other), kPage);
        QVERIFY(document->document().isModified());
    }

    // Yes to the close prompt of a page deleted meanwhile writes it again, then closes.
    void closingADeletedPageSavesIt()
    {
        Scenario s({ { "Backup Files", "off" } });
        const QString path = s.page("a.html");
        DocumentWindow *document = s.open(path);
        type(document->field(TextField::Description), "Typed", true);
        QVERIFY(QFile::remove(path));
        s.window->prompts().answerNext(QMessageBox::Yes);
        s.window->commands().close();
        QCOMPARE(s.windows(), 0);
        QVERIFY(describedAs(path, "Typed"));
        QVERIFY(readFile(path).contains("Flying since 1980"));
    }
};

QTEST_MAIN(TestDocumentDisk)
#include "test_document_disk.moc"
