#include "CaretPicture.h"
#include "KeyboardState.h"
#include "LineEditActions.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kUntouched = u"(clipboard before)"_s;

QString clipboard() { return QApplication::clipboard()->text(); }

// Two fields in an active window, so that the focus really moves between them. The text
// is typed, so that it can be undone.
struct Form
{
    explicit Form(const QString &typed = u"kites & lines"_s)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field = new QLineEdit(&window));
        layout->addWidget(other = new QLineEdit(&window));
        edit.setTextBox(field);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the form did not become active");
        QApplication::clipboard()->setText(kUntouched);
        field->setFocus();
        QTest::keyClicks(field, typed);
    }
    QWidget window;
    QLineEdit *field;
    QLineEdit *other;
    LineEditActions edit;
};

} // namespace

class TestTextBoxEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // A steady caret, so that a picture of a field shows it.
        QGuiApplication::styleHints()->setCursorFlashTime(0);
    }
    // Every case begins inserting, whatever the one before left.
    void init() { KeyboardState::setOverwrite(false); }

    void insertSwitchesToOverwriting_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("text");
        QTest::newRow("over the next character") << 0 << false << "XYtes & lines";
        QTest::newRow("at the end it adds") << 13 << false << "kites & linesXY";
        QTest::newRow("a locked field stays") << 0 << true << "kites & lines";
    }
    void insertSwitchesToOverwriting()
    {
        QFETCH(int, caret);
        QFETCH(bool, locked);
        QFETCH(QString, text);
        Form form;
        form.field->setReadOnly(locked);
        form.field->setCursorPosition(caret);
        QTest::keyClick(form.field, Qt::Key_Insert);
        QVERIFY(KeyboardState::isOn(KeyboardState::Insert));
        QTest::keyClicks(form.field, u"XY"_s);
        QTest::keyClick(form.field, Qt::Key_Insert);
        QVERIFY(!KeyboardState::isOn(KeyboardState::Insert));
        QTest::keyClicks(form.field, u"Z"_s);
        QCOMPARE(form.field->text(), locked ? text : QString(text).insert(caret + 2, u'Z'));
    }

    // Overwriting replaces only what a typed character would: keys with Ctrl or Alt, keys
    // that type nothing, and typing over a selection behave as when inserting.
    void overwritingLeavesOtherKeysAlone_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("selected"); // "kites" selected before the key
        QTest::addColumn<QString>("text");
        QTest::newRow("a typed space takes a letter's place")
            << int(Qt::Key_Space) << Qt::KeyboardModifiers() << false << " ites & lines";
        QTest::newRow("typing over a selection replaces just the selection")
            << int(Qt::Key_X) << Qt::KeyboardModifiers() << true << "x & lines";
        QTest::newRow("Ctrl+K types nothing") << int(Qt::Key_K) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                              << false << "kites & lines";
        QTest::newRow("Alt+K inserts, overwriting nothing")
            << int(Qt::Key_K) << Qt::KeyboardModifiers(Qt::AltModifier) << false << "kkites & lines";
        QTest::newRow("Escape, a control character, selects nothing")
            << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << false << "kites & lines";
        QTest::newRow("Delete deletes as ever") << int(Qt::Key_Delete) << Qt::KeyboardModifiers() << false
                                                << "ites & lines";
        QTest::newRow("Shift+Insert pastes and does not switch") << int(Qt::Key_Insert)
                                                                 << Qt::KeyboardModifiers(Qt::ShiftModifier) << false
                                                                 << kUntouched + "kites & lines";
    }
    void overwritingLeavesOtherKeysAlone()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, selected);
        QFETCH(QString, text);
        Form form;
        KeyboardState::setOverwrite(true);
        form.field->setCursorPosition(0);
        if (selected)
            form.field->setSelection(0, 5);
        QTest::keyClick(form.field, Qt::Key(key), modifiers);
        QCOMPARE(form.field->text(), text);
        QCOMPARE(form.field->selectedText(), QString());
        QVERIFY2(KeyboardState::isOn(KeyboardState::Insert), "none of these keys switches overwriting off");
    }

    // Overwriting shows as soon as Insert is pressed, not in part at the caret's next blink.
    void caretShowsOverwriting_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("insertPresses");
        QTest::addColumn<QString>("under"); // the characters the block covers
        QTest::newRow("Insert: a block over the letter") << 1 << 1 << "i";
        QTest::newRow("Insert again: a thin line") << 0 << 2 << QString();
    }
    void caretShowsOverwriting()
    {
        QFETCH(int, caret);
        QFETCH(int, insertPresses);
        QFETCH(QString, under);
        Form form { QString() };
        form.field->setText(u"Wi\U0001D456x"_s);
        form.field->setCursorPosition(caret);
        QVERIFY2(insertRedrawsCaret(form.field, form.field, insertPresses),
            "the caret's new shape was not drawn at once");
        const QRect block = caretArea(form.field);
        const int width = overwriteCaretWidth(form.field, insertPresses % 2 == 1, under);
        QVERIFY2(qAbs(block.width() - width) <= 1,
            qPrintable(u"a caret %1 pixels wide, not %2"_s.arg(block.width()).arg(width)));
    }

    void nothingToDoMeansNotAble()
    {
        Form form { QString() };
        form.field->setText(u"set by the program"_s);
        QVERIFY(!form.edit.canCut() && !form.edit.canCopy() && !form.edit.canUndo());
        form.edit.undo();
        form.edit.deleteSelection();
        QCOMPARE(form.field->text(), u"set by the program"_s);
        QVERIFY(form.edit.canPaste());
        QApplication::clipboard()->clear();
        QVERIFY(!form.edit.canPaste());
        form.field->end(false);
        QTest::keyClicks(form.field, u"!"_s);
        QVERIFY(form.edit.canUndo());
        form.edit.undo();
        QCOMPARE(form.field->text(), u"set by the program"_s);
    }

    // Without a field, or once its field is taken away, every command does nothing and
    // none is offered; the field goes back to typing as a plain field.
    void noFieldNoCommands_data()
    {
        QTest::addColumn<bool>("hadField");
        QTest::newRow("never a field") << false;
        QTest::newRow("its field taken away") << true;
    }
    void noFieldNoCommands()
    {
        QFETCH(bool, hadField);
        Form form;
        form.field->selectAll();
        LineEditActions edit;
        if (hadField) {
            edit.setTextBox(form.field);
            edit.setTextBox(nullptr);
        }
        edit.cut();
        edit.copy();
        edit.paste();
        edit.undo();
        edit.replaceSelection(u"x"_s);
        edit.deleteSelection();
        QCOMPARE(form.field->text(), u"kites & lines"_s);
        QCOMPARE(QApplication::clipboard()->text(), kUntouched);
        QVERIFY(!edit.canCut() && !edit.canCopy() && !edit.canUndo());
        form.edit.setTextBox(nullptr);
        KeyboardState::setOverwrite(true);
        form.field->setCursorPosition(0);
        QTest::keyClicks(form.field, u"X"_s);
        QCOMPARE(form.field->text(), u"Xkites & lines"_s);
    }

    void replaceAndDelete_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("allowUndo");
        QTest::addColumn<QString>("replaced");
        QTest::addColumn<QString>("deleted");
        QTest::newRow("undoable") << 5 << true << "boxes & lines" << " & lines";
        QTest::newRow("undo history gone") << 5 << false << "boxes & lines" << " & lines";
        QTest::newRow("no selection: nothing at the caret") << 0 << true << "kites & lines" << "kites & lines";
    }
    void replaceAndDelete()
    {
        QFETCH(int, selected);
        QFETCH(bool, allowUndo);
        QFETCH(QString, replaced);
        QFETCH(QString, deleted);
        Form form;
        form.field->setSelection(0, selected);
        form.edit.replaceSelection(u"boxes"_s, allowUndo);
        QCOMPARE(form.field->text(), replaced);
        QCOMPARE(form.edit.canUndo(), allowUndo);
        Form again;
        again.field->setSelection(0, selected);
        again.edit.deleteSelection(allowUndo);
        QCOMPARE(again.field->text(), deleted);
        QCOMPARE(again.edit.canUndo(), allowUndo);
    }

    // The user selects, then gives the command from somewhere else; the selection is forgotten
    // when the text changed or the focus came back meanwhile. A locked field only copies; its
    // cut and paste through the commands are driven from the main window.
    void commandsOnTheSelection_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clip");
        const QString typed = u"kites & lines"_s;
        QTest::newRow("locked: cut does nothing") << "locked" << "cut" << typed << kUntouched;
        QTest::newRow("locked: copy still copies") << "locked" << "copy" << typed << "& lines";
        QTest::newRow("locked: paste does nothing") << "locked" << "paste" << typed << kUntouched;
        QTest::newRow("selected backwards") << "backwards" << "cut" << "kites  lines" << "&";
        QTest::newRow("the text changed meanwhile") << "text" << "copy" << "boxes & lines" << kUntouched;
        QTest::newRow("the focus came back") << "focus" << "copy" << typed << kUntouched;
    }
    void commandsOnTheSelection()
    {
        QFETCH(QString, setup);
        QFETCH(QString, operation);
        QFETCH(QString, text);
        QFETCH(QString, clip);
        const bool locked = setup == u"locked"_s;
        const bool backwards = setup == u"backwards"_s;
        Form form;
        form.field->setReadOnly(locked);
        form.field->setSelection(backwards ? 7 : 6, backwards ? -1 : locked ? 7 : 1);
        if (!locked) {
            form.other->setFocus();
            QVERIFY(!form.field->hasFocus());
        }
        if (setup == u"text"_s)
            form.field->setText(u"boxes & lines"_s);
        if (setup == u"focus"_s) {
            form.field->setFocus();
            form.field->deselect();
        }
        QCOMPARE(form.edit.canCut(), backwards);
        QCOMPARE(form.edit.canCopy(), locked || backwards);
        if (operation == u"cut"_s)
            form.edit.cut();
        else if (operation == u"copy"_s)
            form.edit.copy();
        else
            form.edit.paste();
        QCOMPARE(form.field->text(), text);
        QCOMPARE(clipboard(), clip);
        if (backwards) {
            form.edit.undo();
            QCOMPARE(form.field->text(), u"kites & lines"_s);
        }
    }
};

QTEST_MAIN(TestTextBoxEdit)
#include "test_text_box_edit.moc"
