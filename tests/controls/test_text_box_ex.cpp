#include "controls/OleColor.h"
#include "controls/PropertyBag.h"
#include "controls/TextBoxEx.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using BoxCall = std::function<void(TextBoxEx &)>;
Q_DECLARE_METATYPE(BoxCall)

namespace {

// Generous for a loaded machine: the delayed events are due after 25 ms.
constexpr int kSettle = 300;

void select(TextBoxEx &box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

QWidget *editor(const TextBoxEx &box)
{
    return box.hwnd();
}

struct CaretEvents
{
    explicit CaretEvents(TextBoxEx &box)
    {
        QObject::connect(&box, &TextBoxEx::LineChange, &box, [this](int line, int column, int count) {
            lines.append({ line, column, count });
        });
        QObject::connect(&box, &TextBoxEx::ColumnChange, &box, [this](int line, int column, int count) {
            columns.append({ line, column, count });
        });
    }
    QList<QList<int>> lines;
    QList<QList<int>> columns;
};

} // namespace

class TestTextBoxEx : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QApplication::clipboard()->clear(); }

    void fiveQuickKeysRaiseOneChange()
    {
        TextBoxEx box;
        QSignalSpy changes(&box, &TextBoxEx::Change);
        QTest::keyClicks(editor(box), QStringLiteral("hello"));
        QCOMPARE(box.Text(), QStringLiteral("hello"));
        QCOMPARE(changes.count(), 0);
        QVERIFY(changes.wait(5000));
        QTest::qWait(kSettle);
        QCOMPARE(changes.count(), 1);
        QVERIFY(box.IsDirty());
    }

    void separateKeysRaiseSeparateChanges()
    {
        TextBoxEx box;
        QSignalSpy changes(&box, &TextBoxEx::Change);
        QTest::keyClick(editor(box), Qt::Key_A);
        QVERIFY(changes.wait(5000));
        QTest::keyClick(editor(box), Qt::Key_Backspace);
        QVERIFY(changes.wait(5000));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(box.Text(), QString());
    }

    void ignoreChangeEventSuppressesChange()
    {
        TextBoxEx box;
        box.setIgnoreChangeEvent(true);
        QSignalSpy changes(&box, &TextBoxEx::Change);
        QTest::keyClicks(editor(box), QStringLiteral("abc"));
        QTest::qWait(kSettle);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(box.Text(), QStringLiteral("abc"));
    }

    void settingTextRaisesNoChangeAndLeavesTheBoxClean()
    {
        TextBoxEx box;
        QSignalSpy changes(&box, &TextBoxEx::Change);
        box.setText(QStringLiteral("<META NAME=\"Author\" CONTENT=\"me\">"));
        QTest::qWait(kSettle);
        QCOMPARE(changes.count(), 0);
        QVERIFY(!box.IsDirty());
        QTest::keyClick(editor(box), Qt::Key_X);
        QVERIFY(box.IsDirty());
        box.setText(QStringLiteral("again"));
        QVERIFY(!box.IsDirty());
    }

    void keyPressCanReplaceOrEatTheCharacter_data()
    {
        QTest::addColumn<int>("replacement");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("changes");
        QTest::newRow("unchanged") << int('a') << QStringLiteral("a") << 1;
        QTest::newRow("replaced") << int('Z') << QStringLiteral("Z") << 1;
        QTest::newRow("eaten") << 0 << QString() << 0;
    }
    void keyPressCanReplaceOrEatTheCharacter()
    {
        QFETCH(int, replacement);
        QFETCH(QString, expected);
        QFETCH(int, changes);
        TextBoxEx box;
        QList<int> seen;
        connect(&box, &TextBoxEx::KeyPress, &box, [&](int &keyAscii) {
            seen.append(keyAscii);
            keyAscii = replacement;
        });
        QSignalSpy changed(&box, &TextBoxEx::Change);
        QTest::keyClick(editor(box), Qt::Key_A);
        QTest::qWait(kSettle);
        QCOMPARE(seen, QList<int> { 'a' });
        QCOMPARE(box.Text(), expected);
        QCOMPARE(changed.count(), changes);
    }

    void lockedBoxRefusesChanges_data()
    {
        QTest::addColumn<BoxCall>("attempt");
        const auto row = [](const char *name, BoxCall attempt) { QTest::newRow(name) << attempt; };
        row("typing", [](TextBoxEx &b) { QTest::keyClicks(editor(b), QStringLiteral("xyz")); });
        row("return", [](TextBoxEx &b) { QTest::keyClick(editor(b), Qt::Key_Return); });
        row("backspace", [](TextBoxEx &b) { QTest::keyClick(editor(b), Qt::Key_Backspace); });
        row("delete key", [](TextBoxEx &b) { QTest::keyClick(editor(b), Qt::Key_Delete); });
        row("ctrl+v", [](TextBoxEx &b) { QTest::keyClick(editor(b), Qt::Key_V, Qt::ControlModifier); });
        row("shift+insert",
            [](TextBoxEx &b) { QTest::keyClick(editor(b), Qt::Key_Insert, Qt::ShiftModifier); });
        row("ctrl+x", [](TextBoxEx &b) { QTest::keyClick(editor(b), Qt::Key_X, Qt::ControlModifier); });
        row("EditPerform paste", [](TextBoxEx &b) { b.EditPerform(TextBoxEx::EditPaste); });
        row("EditPerform cut", [](TextBoxEx &b) { b.EditPerform(TextBoxEx::EditCut); });
        row("EditPerform clear", [](TextBoxEx &b) { b.EditPerform(TextBoxEx::EditClear); });
        row("tab indent with the trap on", [](TextBoxEx &b) {
            b.setTrapTabKey(true);
            QTest::keyClick(editor(b), Qt::Key_Tab);
        });
    }
    void lockedBoxRefusesChanges()
    {
        QFETCH(BoxCall, attempt);
        const QString text = QStringLiteral("<META NAME=\"Keywords\">\n<META NAME=\"Author\">");
        TextBoxEx box;
        box.setMultiLine(true);
        box.setText(text);
        box.setLocked(true);
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        select(box, 1, 4);
        QSignalSpy changes(&box, &TextBoxEx::Change);
        attempt(box);
        QTest::qWait(kSettle);
        QCOMPARE(box.Text(), text);
        QVERIFY(!box.IsDirty());
        QCOMPARE(changes.count(), 0);
    }

    void lockedBoxStillSelectsAndCopies_data()
    {
        QTest::addColumn<BoxCall>("copy");
        QTest::newRow("ctrl+c") << BoxCall(
            [](TextBoxEx &b) { QTest::keyClick(editor(b), Qt::Key_C, Qt::ControlModifier); });
        QTest::newRow("EditPerform copy")
            << BoxCall([](TextBoxEx &b) { b.EditPerform(TextBoxEx::EditCopy); });
    }
    void lockedBoxStillSelectsAndCopies()
    {
        QFETCH(BoxCall, copy);
        TextBoxEx box;
        box.setText(QStringLiteral("<META NAME=\"robots\">"));
        box.setLocked(true);
        box.setSelStart(1);
        QTest::keyClick(editor(box), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(editor(box), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(editor(box), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(editor(box), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(box.SelText(), QStringLiteral("META"));
        copy(box);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("META"));
    }

    void lockedMenu_data()
    {
        QTest::addColumn<int>("selectionLength");
        QTest::addColumn<QList<bool>>("enabled"); // Undo, Cut, Copy, Paste, Delete, Select All
        QTest::newRow("with a selection") << 3 << QList<bool> { false, false, true, false, false, true };
        QTest::newRow("without a selection") << 0 << QList<bool> { false, false, false, false, false, true };
    }
    void lockedMenu()
    {
        QFETCH(int, selectionLength);
        QFETCH(QList<bool>, enabled);
        TextBoxEx box;
        box.resize(200, 60);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::keyClicks(editor(box), QStringLiteral("typed"));
        box.setLocked(true);
        QApplication::clipboard()->setText(QStringLiteral("on the clipboard"));
        select(box, 0, selectionLength);

        QContextMenuEvent request(
            QContextMenuEvent::Mouse, QPoint(5, 5), box.hwnd()->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box.hwnd()->viewport(), &request);
        QTRY_VERIFY(box.mnuEdit()->isVisible());
        const QList<QAction *> items = box.mnuEdit()->actions();
        QCOMPARE(items.size(), 8);
        QVERIFY(items.at(1)->isSeparator());
        QVERIFY(items.at(6)->isSeparator());
        const QList<int> positions { TextBoxEx::MenuUndo, TextBoxEx::MenuCut, TextBoxEx::MenuCopy,
            TextBoxEx::MenuPaste, TextBoxEx::MenuDelete, TextBoxEx::MenuSelectAll };
        for (int i = 0; i < positions.size(); ++i)
            QCOMPARE(items.at(positions.at(i))->isEnabled(), enabled.at(i));

        items.at(TextBoxEx::MenuSelectAll)->trigger();
        QCOMPARE(box.SelLength(), 5);
        box.mnuEdit()->close();
    }

    void contextMenuChoice_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("disabled");
        QTest::addColumn<bool>("editorMenu");
        QTest::addColumn<bool>("boxMenu");
        QTest::newRow("unlocked box keeps the editor's menu") << false << false << true << false;
        QTest::newRow("locked box shows mnuEdit") << true << false << false << true;
        QTest::newRow("DisableContextMenu shows none when locked") << true << true << false << false;
        QTest::newRow("DisableContextMenu shows none when unlocked") << false << true << false << false;
    }
    void contextMenuChoice()
    {
        QFETCH(bool, locked);
        QFETCH(bool, disabled);
        QFETCH(bool, editorMenu);
        QFETCH(bool, boxMenu);
        TextBoxEx box;
        box.setLocked(locked);
        box.setDisableContextMenu(disabled);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        // Stands in for the editor's own (modal) menu, which would block the test.
        box.hwnd()->setContextMenuPolicy(Qt::CustomContextMenu);
        QSignalSpy editorMenuRequests(box.hwnd(), &QWidget::customContextMenuRequested);
        QContextMenuEvent request(
            QContextMenuEvent::Keyboard, QPoint(5, 5), box.hwnd()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box.hwnd(), &request);
        QCOMPARE(editorMenuRequests.count() == 1, editorMenu);
        QCOMPARE(box.mnuEdit()->isVisible(), boxMenu);
        box.mnuEdit()->close();
    }

    void canEditPerformOnAnUnlockedBox_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<bool>("withSelection");
        QTest::addColumn<bool>("expected");
        QTest::newRow("cut with a selection") << int(TextBoxEx::EditCut) << true << true;
        QTest::newRow("cut without") << int(TextBoxEx::EditCut) << false << false;
        QTest::newRow("clear with a selection") << int(TextBoxEx::EditClear) << true << true;
        QTest::newRow("copy without") << int(TextBoxEx::EditCopy) << false << false;
        QTest::newRow("paste with clipboard text") << int(TextBoxEx::EditPaste) << false << true;
        QTest::newRow("undo after typing") << int(TextBoxEx::EditUndo) << false << true;
        QTest::newRow("not an edit function") << 773 << true << false;
    }
    void canEditPerformOnAnUnlockedBox()
    {
        QFETCH(int, function);
        QFETCH(bool, withSelection);
        QFETCH(bool, expected);
        TextBoxEx box;
        QTest::keyClicks(editor(box), QStringLiteral("typed"));
        QApplication::clipboard()->setText(QStringLiteral("x"));
        select(box, 0, withSelection ? 2 : 0);
        QCOMPARE(box.CanEditPerform(function), expected);
    }

    void editPerformOnAnUnlockedBox_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cut") << int(TextBoxEx::EditCut) << QStringLiteral("o");
        QTest::newRow("paste") << int(TextBoxEx::EditPaste) << QStringLiteral("PASTEDo");
        QTest::newRow("clear") << int(TextBoxEx::EditClear) << QStringLiteral("o");
        QTest::newRow("undo") << int(TextBoxEx::EditUndo) << QString();
    }
    void editPerformOnAnUnlockedBox()
    {
        QFETCH(int, function);
        QFETCH(QString, expected);
        TextBoxEx box;
        QTest::keyClicks(editor(box), QStringLiteral("two"));
        QApplication::clipboard()->setText(QStringLiteral("PASTED"));
        select(box, 0, 2);
        box.EditPerform(function);
        QCOMPARE(box.Text(), expected);
    }

    void blockIndent_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        const int tab = Qt::Key_Tab;
        const int backtab = Qt::Key_Backtab;
        QTest::newRow("tab at column 6 inserts 2 spaces") << "abcdef" << 6 << 0 << tab << "abcdef  ";
        QTest::newRow("tab at column 8 inserts 4 spaces") << "abcdefgh" << 8 << 0 << tab << "abcdefgh    ";
        QTest::newRow("tab at column 0 inserts 4 spaces") << "" << 0 << 0 << tab << "    ";
        QTest::newRow("tab at column 5 inserts 3 spaces") << "x\nabcde" << 7 << 0 << tab << "x\nabcde   ";
        QTest::newRow("tab replaces a selection in one line") << "abcdef" << 1 << 2 << tab << "a   def";
        QTest::newRow("tab over two lines indents both") << "a\nb\nc" << 0 << 3 << tab << "    a\n    b\nc";
        QTest::newRow("selection from mid-line takes whole lines")
            << "abc\ndef" << 2 << 3 << tab << "    abc\n    def";
        QTest::newRow("shift+tab removes one indent")
            << "        a\n    b" << 0 << 15 << backtab << "    a\nb";
        QTest::newRow("shift+tab on one indented line") << "    abc" << 6 << 0 << backtab << "abc";
        QTest::newRow("shift+tab without leading spaces changes nothing")
            << "a\nb" << 0 << 3 << backtab << "a\nb";
        QTest::newRow("shift+tab leaves a short indent") << "  a\n  b" << 0 << 7 << backtab << "  a\n  b";
    }
    void blockIndent()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(int, key);
        QFETCH(QString, expected);
        TextBoxEx box;
        box.setMultiLine(true);
        box.setTrapTabKey(true);
        box.setText(text);
        select(box, selStart, selLength);
        const Qt::KeyboardModifiers modifiers = key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
        QTest::keyClick(editor(box), Qt::Key(key), modifiers);
        QCOMPARE(box.Text(), expected);
        QCOMPARE(box.IsDirty(), text != expected);
    }

    void shiftHeldWithTabUnindents()
    {
        TextBoxEx box;
        box.setMultiLine(true);
        box.setTrapTabKey(true);
        box.setText(QStringLiteral("    a\n    b"));
        select(box, 0, 11);
        QTest::keyClick(editor(box), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(box.Text(), QStringLiteral("a\nb"));
    }

    void cancelledTabKeyDownIndentsNothing()
    {
        TextBoxEx box;
        box.setTrapTabKey(true);
        connect(&box, &TextBoxEx::KeyDown, &box, [](int &keyCode, int) { keyCode = 0; });
        QTest::keyClick(editor(box), Qt::Key_Tab);
        QCOMPARE(box.Text(), QString());
    }

    void withoutTheTrapTabInsertsNothing()
    {
        TextBoxEx box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("ab"));
        box.setSelStart(1);
        QTest::keyClick(editor(box), Qt::Key_Tab);
        QCOMPARE(box.Text(), QStringLiteral("ab"));
    }

    void caretEvents()
    {
        TextBoxEx box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("abc\ndef"));
        box.setSelStart(0);
        CaretEvents events(box);

        QTest::keyClick(editor(box), Qt::Key_Down);
        QTRY_COMPARE(events.lines.size(), 1);
        QCOMPARE(events.lines.last(), (QList<int> { 1, 0, 2 }));
        QTest::keyClick(editor(box), Qt::Key_Right);
        QTRY_COMPARE(events.columns.size(), 1);
        QCOMPARE(events.columns.last(), (QList<int> { 1, 1, 2 }));
        QTest::keyClick(editor(box), Qt::Key_Return);
        QTRY_COMPARE(events.lines.size(), 2);
        QCOMPARE(events.lines.last(), (QList<int> { 2, 0, 3 }));
        QCOMPARE(events.columns.size(), 1);
    }

    void disableColumnChangeEvent()
    {
        TextBoxEx box;
        box.setText(QStringLiteral("abc"));
        box.setSelStart(0);
        box.setDisableColumnChangeEvent(true);
        CaretEvents events(box);
        QTest::keyClick(editor(box), Qt::Key_Right);
        QTRY_COMPARE(events.lines.size(), 1); // the first report always counts as a line change
        QTest::keyClick(editor(box), Qt::Key_Right);
        QTest::qWait(kSettle);
        QVERIFY(events.columns.isEmpty());
        QCOMPARE(box.CurrentColumn(), 2);
    }

    void navigationKeysRaiseKeyDownAndKeyUp()
    {
        TextBoxEx box;
        box.setText(QStringLiteral("abc"));
        box.setSelStart(0);
        QList<int> downs;
        QList<int> ups;
        connect(&box, &TextBoxEx::KeyDown, &box, [&](int &keyCode, int) { downs.append(keyCode); });
        connect(&box, &TextBoxEx::KeyUp, &box, [&](int &keyCode, int) { ups.append(keyCode); });
        QTest::keyClick(editor(box), Qt::Key_End);
        QCOMPARE(downs, QList<int> { Qt::Key_End });
        QVERIFY(ups.contains(Qt::Key_End));
        QCOMPARE(box.SelStart(), 3);
    }

    void cancelledNavigationKeyDoesNotMove()
    {
        TextBoxEx box;
        box.setText(QStringLiteral("abc"));
        box.setSelStart(0);
        connect(&box, &TextBoxEx::KeyDown, &box, [](int &keyCode, int) { keyCode = 0; });
        QTest::keyClick(editor(box), Qt::Key_End);
        QCOMPARE(box.SelStart(), 0);
    }

    void mouseEvents_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("left click") << Qt::LeftButton << false << QStringList { "down 1", "up 1", "click 1" };
        QTest::newRow("middle click")
            << Qt::MiddleButton << false << QStringList { "down 4", "up 4", "click 4" };
        QTest::newRow("left double click") << Qt::LeftButton << true << QStringList { "double 1" };
        QTest::newRow("right double click") << Qt::RightButton << true << QStringList { "double 2" };
    }
    void mouseEvents()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, doubleClick);
        QFETCH(QStringList, expected);
        TextBoxEx box;
        box.setText(QStringLiteral("click here"));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QStringList seen;
        const auto note = [&seen](const char *what, int value) {
            seen.append(QString::fromLatin1(what) + QLatin1Char(' ') + QString::number(value));
        };
        connect(&box, &TextBoxEx::MouseDown, &box, [&](int b, int, int, int) { note("down", b); });
        connect(&box, &TextBoxEx::MouseUp, &box, [&](int b, int, int, int) { note("up", b); });
        connect(&box, &TextBoxEx::Click, &box, [&](int b) { note("click", b); });
        connect(&box, &TextBoxEx::DblClick, &box, [&](int b) { note("double", b); });
        QWidget *viewport = box.hwnd()->viewport();
        if (doubleClick)
            QTest::mouseDClick(viewport, button, {}, QPoint(10, 5));
        else
            QTest::mouseClick(viewport, button, {}, QPoint(10, 5));
        QCOMPARE(seen, expected);
    }

    void autoHighLight_data()
    {
        QTest::addColumn<bool>("autoHighLight");
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<int>("selected");
        QTest::newRow("tab into the box selects all") << true << Qt::TabFocusReason << 4;
        QTest::newRow("a click keeps the caret") << true << Qt::MouseFocusReason << 0;
        QTest::newRow("off") << false << Qt::TabFocusReason << 0;
    }
    void autoHighLight()
    {
        QFETCH(bool, autoHighLight);
        QFETCH(Qt::FocusReason, reason);
        QFETCH(int, selected);
        TextBoxEx box;
        box.setText(QStringLiteral("meta"));
        box.setAutoHighLight(autoHighLight);
        QFocusEvent focusIn(QEvent::FocusIn, reason);
        QApplication::sendEvent(editor(box), &focusIn);
        QCOMPARE(box.SelLength(), selected);
    }

    void lineQueries_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::newRow("start") << 0 << 0 << 0;
        QTest::newRow("end of the first line") << 3 << 0 << 3;
        QTest::newRow("start of the second line") << 4 << 1 << 0;
        QTest::newRow("inside the last line") << 10 << 2 << 2;
        QTest::newRow("past the end is the end") << 99 << 2 << 3;
    }
    void lineQueries()
    {
        QFETCH(int, caret);
        QFETCH(int, line);
        QFETCH(int, column);
        TextBoxEx box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("abc\ndef\nghi"));
        box.setSelStart(caret);
        QCOMPARE(box.LineCount(), 3);
        QCOMPARE(box.CurrentLine(), line);
        QCOMPARE(box.CurrentColumn(), column);
        QCOMPARE(box.LineForCharacterIndex(caret), line);
    }

    void textInRange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("expected");
        QTest::newRow("up to end") << 0 << 3 << "abc";
        QTest::newRow("end omitted") << 4 << -1 << "def";
        QTest::newRow("end below start") << 5 << 2 << "ef";
        QTest::newRow("empty range") << 2 << 2 << "";
        QTest::newRow("end past the text") << 6 << 50 << "f";
        QTest::newRow("negative start") << -1 << 3 << "";
        QTest::newRow("start past the end") << 7 << 9 << "";
    }
    void textInRange()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, expected);
        TextBoxEx box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("abc\ndef"));
        QCOMPARE(box.TextInRange(start, end), expected);
    }

    void selectionProperties()
    {
        TextBoxEx box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("one\ntwo"));
        select(box, 2, 3);
        QCOMPARE(box.SelText(), QStringLiteral("e\nt"));
        box.setSelText(QStringLiteral("-"));
        QCOMPARE(box.Text(), QStringLiteral("on-wo"));
        box.setTextAppend(QStringLiteral("!"));
        QCOMPARE(box.Text(), QStringLiteral("on-wo!"));
        QCOMPARE(box.SelStart(), 6);
        QVERIFY(box.IsDirty());
    }

    void firstVisibleLineFollowsScrollToLine()
    {
        TextBoxEx box;
        box.setMultiLine(true);
        box.setScrollBars(TextBoxEx::ScrollVertical);
        QStringList lines;
        for (int i = 1; i <= 200; ++i)
            lines.append(QString::number(i));
        box.setText(lines.join(QLatin1Char('\n')));
        box.resize(200, 100);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.FirstVisibleLine(), 0);
        box.ScrollToLine(50);
        QCOMPARE(box.FirstVisibleLine(), 49);
        QCOMPARE(box.CurrentLine(), 49);
    }

    void marginsMoveTheText_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::newRow("left margin") << 12 << 0;
        QTest::newRow("right margin keeps the left") << 0 << 12;
        QTest::newRow("both") << 7 << 5;
    }
    void marginsMoveTheText()
    {
        QFETCH(int, left);
        QFETCH(int, right);
        TextBoxEx box;
        box.setText(QStringLiteral("abc"));
        box.resize(200, 40);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QPoint before = box.GetPosFromChar(0);
        const int viewportWidth = box.hwnd()->viewport()->width();
        box.setLeftMargin(left);
        box.setRightMargin(right);
        QCOMPARE(box.LeftMargin(), left);
        QCOMPARE(box.RightMargin(), right);
        QTRY_COMPARE(box.GetPosFromChar(0).x(), before.x() + left);
        QCOMPARE(box.hwnd()->viewport()->width(), viewportWidth - left - right);
    }

    void maxLengthLimitsTyping()
    {
        TextBoxEx box;
        box.setMaxLength(4);
        QTest::keyClicks(editor(box), QStringLiteral("abcdef"));
        QCOMPARE(box.Text(), QStringLiteral("abcd"));
        box.setText(QStringLiteral("longer than four"));
        QCOMPARE(box.Text(), QStringLiteral("longer than four"));
    }

    void singleLineBoxKeepsOneLine()
    {
        TextBoxEx box;
        QTest::keyClicks(editor(box), QStringLiteral("ab"));
        QTest::keyClick(editor(box), Qt::Key_Return);
        QApplication::clipboard()->setText(QStringLiteral("cd\nef"));
        box.EditPerform(TextBoxEx::EditPaste);
        QCOMPARE(box.Text(), QStringLiteral("abcd"));
        QCOMPARE(box.LineCount(), 1);
    }

    void colours_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("base");
        QTest::newRow("normal") << false << true << QColor(Qt::red) << QColor(Qt::white);
        QTest::newRow("locked") << true << true << QColor(Qt::blue) << QColor(Qt::gray);
        QTest::newRow("disabled") << false << false << QColor(Qt::green) << QColor(Qt::white);
    }
    void colours()
    {
        QFETCH(bool, locked);
        QFETCH(bool, enabled);
        QFETCH(QColor, text);
        QFETCH(QColor, base);
        TextBoxEx box;
        box.setForeColor(OleColor::fromRgb(255, 0, 0));
        box.setBackColor(OleColor::fromRgb(255, 255, 255));
        box.setLockedForeColor(OleColor::fromRgb(0, 0, 255));
        box.setLockedBackColor(OleColor::fromRgb(160, 160, 164));
        box.setDisabledForeColor(OleColor::fromRgb(0, 255, 0));
        box.setLocked(locked);
        box.setEnabled(enabled);
        const QPalette palette = box.hwnd()->palette();
        const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
        QCOMPARE(palette.color(group, QPalette::Text), text);
        QCOMPARE(palette.color(group, QPalette::Base), base);
    }

    void emptyBagGivesDefaults()
    {
        TextBoxEx box;
        box.setLocked(true);
        box.setMultiLine(true);
        box.setText(QStringLiteral("x"));
        box.ReadProperties(PropertyBag());
        QCOMPARE(box.Locked(), false);
        QCOMPARE(box.MultiLine(), false);
        QCOMPARE(box.Text(), QString());
        QCOMPARE(box.AutoScrollH(), true);
        QCOMPARE(box.HideSelection(), true);
        QCOMPARE(box.BackColor(), quint32(0x80000005u));
        QCOMPARE(box.ForeColor(), quint32(0x80000008u));
        QCOMPARE(box.LockedBackColor(), quint32(0x8000000Fu));
        QCOMPARE(box.LockedForeColor(), quint32(0x80000011u));
        QCOMPARE(box.DisabledForeColor(), quint32(0x80000011u));
        QCOMPARE(box.TrapTabKey(), false);
        QCOMPARE(box.version(), QStringLiteral("1.05"));
        PropertyBag written;
        box.WriteProperties(written);
        QCOMPARE(written.count(), 0);
    }

    void metaPaneSettingsSurviveTheBag()
    {
        TextBoxEx stored;
        stored.setMultiLine(true);
        stored.setLocked(true);
        stored.setScrollBars(3);
        stored.setTrapTabKey(true);
        stored.setText(QStringLiteral("<META>"));
        PropertyBag bag;
        stored.WriteProperties(bag);
        QVERIFY(bag.contains(QStringLiteral("TrapTab")));
        QVERIFY(!bag.contains(QStringLiteral("Version")));
        TextBoxEx loaded;
        loaded.ReadProperties(bag);
        QCOMPARE(loaded.MultiLine(), true);
        QCOMPARE(loaded.Locked(), true);
        QCOMPARE(loaded.ScrollBars(), 3);
        QCOMPARE(loaded.TrapTabKey(), true);
        QCOMPARE(loaded.Text(), QStringLiteral("<META>"));
        QVERIFY(!loaded.IsDirty());
    }
};

QTEST_MAIN(TestTextBoxEx)
#include "test_text_box_ex.moc"
