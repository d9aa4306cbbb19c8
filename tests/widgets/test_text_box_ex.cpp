#include "CaretPicture.h"
#include "KeyboardState.h"
#include "OleColor.h"
#include "TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>

using BoxCall = std::function<void(TextBox &)>;
Q_DECLARE_METATYPE(BoxCall)

namespace {

// Generous for a loaded machine: the delayed events are due after 25 ms.
constexpr int kSettle = 300;

void select(TextBox &box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

void key(TextBox &box, Qt::Key k, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(box.hwnd(), k, modifiers);
}

void type(TextBox &box, const QString &text)
{
    QTest::keyClicks(box.hwnd(), text);
}

struct TabPress
{
    bool trap;
    QString text;
    int selStart, selLength;
    QKeyCombination keys;
    QString expected;
    bool handlerTakesTab = false; // a keyDown handler cancels the Tab key
};

// The contrast of two colours as readers of text perceive it (1 to 21).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The mouse and click events of a box, one line each, in the order raised.
struct MouseLog
{
    explicit MouseLog(TextBox &box)
    {
        const auto at = [this](const char *name) {
            return [this, name](int button, int shift, int, int) {
                lines << QStringLiteral("%1 %2 %3").arg(QLatin1String(name)).arg(button).arg(shift);
            };
        };
        QObject::connect(&box, &TextBox::mouseDown, &box, at("down"));
        QObject::connect(&box, &TextBox::mouseUp, &box, at("up"));
        QObject::connect(&box, &TextBox::mouseMove, &box, at("move"));
        QObject::connect(&box, &TextBox::clicked, &box, [this](int b) { lines << QStringLiteral("click %1").arg(b); });
        QObject::connect(&box, &TextBox::doubleClicked, &box, [this](int b) {
            lines << QStringLiteral("dblclick %1").arg(b);
        });
    }
    QStringList lines;
};

// Thirty lines of 200 characters: more than a small box shows either way.
QString wideAndLongText()
{
    QStringList lines;
    for (int i = 0; i < 30; ++i)
        lines << QString(200, QLatin1Char('a' + i % 26));
    return lines.join(QLatin1Char('\n'));
}

// The popup menu open while the call runs (the editor's own menu runs modally), closed again.
QWidget *popupDuring(const std::function<void()> &call)
{
    QWidget *popup = nullptr;
    QTimer::singleShot(0, [&popup] {
        popup = QApplication::activePopupWidget();
        if (popup)
            popup->close();
    });
    call();
    QTest::qWait(20);
    if (QWidget *left = QApplication::activePopupWidget()) {
        popup = left;
        left->close();
    }
    return popup;
}

} // namespace

struct MenuCase { bool locked; bool password; int selection; QString offered; };
Q_DECLARE_METATYPE(MenuCase)

struct EditCase { int function; int selection; bool possible; QString expected; };
Q_DECLARE_METATYPE(EditCase)

struct ScrollCase { bool multiLine; int scrollBars; bool autoScrollH; bool horizontal; bool vertical; bool wraps; };
Q_DECLARE_METATYPE(ScrollCase)

struct SizeCase { int appearance; int borderStyle; QString text; int border; bool framed; };
Q_DECLARE_METATYPE(SizeCase)

struct ColourCase { BoxCall setUp; int group; int role; QColor expected; };
Q_DECLARE_METATYPE(ColourCase)

struct KeyCase { int keyAscii; bool cancelArrows; QString expected; int changes; };
Q_DECLARE_METATYPE(KeyCase)

class TestTextBoxEx : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // A steady caret, so that a picture of a box shows it.
        QGuiApplication::styleHints()->setCursorFlashTime(0);
    }
    // Every case begins inserting, whatever the one before left.
    void init()
    {
        QApplication::clipboard()->clear();
        KeyboardState::setOverwrite(false);
    }

    void changeIsDebounced()
    {
        TextBox box;
        QSignalSpy changes(&box, &TextBox::changed);
        type(box, QStringLiteral("hello"));
        QCOMPARE(changes.count(), 0);
        QVERIFY(changes.wait(5000));
        QTest::qWait(kSettle);
        QCOMPARE(changes.count(), 1);
        QVERIFY(box.isDirty());

        box.setIgnoreChangeEvent(true);
        type(box, QStringLiteral("abc"));
        box.setText(QStringLiteral("<META NAME=\"Author\">"));
        QTest::qWait(kSettle);
        QCOMPARE(changes.count(), 1);
        QVERIFY(!box.isDirty());
    }

    void lockedBoxRefusesChanges_data()
    {
        QTest::addColumn<BoxCall>("attempt");
        const auto row = [](const char *name, BoxCall attempt) { QTest::newRow(name) << attempt; };
        row("typing", [](TextBox &b) { type(b, QStringLiteral("xyz")); });
        row("ctrl+v", [](TextBox &b) { key(b, Qt::Key_V, Qt::ControlModifier); });
        row("EditPerform paste", [](TextBox &b) { b.editPerform(TextBox::EditPaste); });
        row("EditPerform clear", [](TextBox &b) { b.editPerform(TextBox::EditClear); });
        row("tab indent with the trap on", [](TextBox &b) {
            b.setTrapTabKey(true);
            key(b, Qt::Key_Tab);
        });
    }
    void lockedBoxRefusesChanges()
    {
        QFETCH(BoxCall, attempt);
        const QString text = QStringLiteral("<META NAME=\"Keywords\">\n<META NAME=\"Author\">");
        TextBox box;
        box.setMultiLine(true);
        box.setText(text);
        box.setLocked(true);
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        select(box, 1, 4);
        QSignalSpy changes(&box, &TextBox::changed);
        attempt(box);
        QTest::qWait(kSettle);
        QCOMPARE(box.text(), text);
        QVERIFY(!box.isDirty());
        QCOMPARE(changes.count(), 0);
    }

    // The edit menu offers only what the box would do: a locked box lets text be copied and
    // nothing else, a password box lets nothing out.
    void editMenuOffersWhatTheBoxAllows_data()
    {
        QTest::addColumn<MenuCase>("row");
        QTest::newRow("plain, selected") << MenuCase { false, false, 2, "Undo Cut Copy Paste Delete Select All" };
        QTest::newRow("plain, nothing selected") << MenuCase { false, false, 0, "Undo Paste Select All" };
        QTest::newRow("locked, selected") << MenuCase { true, false, 2, "Copy Select All" };
        QTest::newRow("locked, nothing selected") << MenuCase { true, false, 0, "Select All" };
        QTest::newRow("password, selected") << MenuCase { false, true, 2, "Paste Delete Select All" };
        QTest::newRow("locked password, selected") << MenuCase { true, true, 2, "Select All" };
    }
    void editMenuOffersWhatTheBoxAllows()
    {
        QFETCH(MenuCase, row);
        const auto [locked, password, selection, offered] = row;
        TextBox box;
        type(box, QStringLiteral("two"));
        if (password)
            box.setPasswordChar(QStringLiteral("*"));
        box.setLocked(locked);
        QApplication::clipboard()->setText(QStringLiteral("PASTED"));
        select(box, 0, selection);
        Q_EMIT box.editMenu()->aboutToShow();
        QStringList enabled;
        for (const QAction *action : box.editMenu()->actions()) {
            if (!action->isSeparator() && action->isEnabled())
                enabled << action->text().remove(QLatin1Char('&'));
        }
        QCOMPARE(enabled.join(QLatin1Char(' ')), offered);
    }

    void editPerformOnAnUnlockedBox_data()
    {
        QTest::addColumn<EditCase>("row");
        QTest::newRow("cut") << EditCase { int(TextBox::EditCut), 2, true, QStringLiteral("o") };
        QTest::newRow("cut without a selection") << EditCase { int(TextBox::EditCut), 0, false, "two" };
        QTest::newRow("paste") << EditCase { int(TextBox::EditPaste), 2, true, QStringLiteral("PASTEDo") };
        QTest::newRow("undo") << EditCase { int(TextBox::EditUndo), 0, true, QString() };
        QTest::newRow("delete") << EditCase { int(TextBox::EditClear), 2, true, QStringLiteral("o") };
        QTest::newRow("delete without a selection") << EditCase { int(TextBox::EditClear), 0, false, "two" };
        QTest::newRow("copy") << EditCase { int(TextBox::EditCopy), 2, true, QStringLiteral("two") };
        QTest::newRow("copy without a selection") << EditCase { int(TextBox::EditCopy), 0, false, "two" };
        QTest::newRow("not an edit function") << EditCase { 773, 2, false, "two" };
    }
    void editPerformOnAnUnlockedBox()
    {
        QFETCH(EditCase, row);
        const auto [function, selection, possible, expected] = row;
        TextBox box;
        type(box, QStringLiteral("two"));
        QApplication::clipboard()->setText(QStringLiteral("PASTED"));
        select(box, 0, selection);
        QCOMPARE(box.canEditPerform(function), possible);
        box.editPerform(function);
        QCOMPARE(box.text(), expected);
    }

    void tabKey_data()
    {
        QTest::addColumn<TabPress>("press");
        const QKeyCombination tab = Qt::Key_Tab;
        const QKeyCombination backtab = Qt::ShiftModifier | Qt::Key_Backtab;
        QTest::newRow("column 6 pads to the next stop") << TabPress { true, "abcdef", 6, 0, tab, "abcdef  " };
        QTest::newRow("columns count from the line start")
            << TabPress { true, "x\nabcde", 7, 0, tab, "x\nabcde   " };
        QTest::newRow("replaces a selection in one line") << TabPress { true, "abcdef", 1, 2, tab, "a   def" };
        QTest::newRow("indents every selected line")
            << TabPress { true, "a\nb\nc", 0, 3, tab, "    a\n    b\nc" };
        QTest::newRow("shift+tab removes one indent")
            << TabPress { true, "        a\n    b", 0, 15, backtab, "    a\nb" };
        QTest::newRow("shift+tab keeps a short indent")
            << TabPress { true, "  a\n  b", 0, 7, backtab, "  a\n  b" };
        QTest::newRow("tab with shift held unindents")
            << TabPress { true, "    a\n    b", 0, 11, Qt::ShiftModifier | Qt::Key_Tab, "a\nb" };
        QTest::newRow("without the trap nothing is inserted") << TabPress { false, "ab", 1, 0, tab, "ab" };
        QTest::newRow("a key handler takes the Tab back") << TabPress { true, "ab", 1, 0, tab, "ab", true };
    }
    void tabKey()
    {
        QFETCH(TabPress, press);
        TextBox box;
        box.setMultiLine(true);
        box.setTrapTabKey(press.trap);
        box.setText(press.text);
        select(box, press.selStart, press.selLength);
        connect(&box, &TextBox::keyDown, &box, [&press](int &keyCode, int) {
            if (press.handlerTakesTab && keyCode == Qt::Key_Tab)
                keyCode = 0;
        });
        key(box, press.keys.key(), press.keys.keyboardModifiers());
        QCOMPARE(box.text(), press.expected);
        QCOMPARE(box.isDirty(), press.text != press.expected);
    }

    void caretEvents()
    {
        TextBox box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("abc\ndef"));
        box.setSelStart(0);
        QList<QList<int>> lines;
        QList<QList<int>> columns;
        connect(&box, &TextBox::lineChanged, &box, [&](int l, int c, int n) { lines.append({ l, c, n }); });
        connect(&box, &TextBox::columnChanged, &box, [&](int l, int c, int n) {
            columns.append({ l, c, n });
        });
        key(box, Qt::Key_Down);
        QTRY_COMPARE(lines, (QList<QList<int>> { { 1, 0, 2 } }));
        key(box, Qt::Key_Right);
        QTRY_COMPARE(columns, (QList<QList<int>> { { 1, 1, 2 } }));
        key(box, Qt::Key_Return);
        QTRY_COMPARE(lines.size(), 2);
        QCOMPARE(lines.last(), (QList<int> { 2, 0, 3 }));

        box.setDisableColumnChangeEvent(true);
        key(box, Qt::Key_Up);
        QTRY_COMPARE(lines.size(), 3);
        key(box, Qt::Key_Right);
        QTest::qWait(kSettle);
        QCOMPARE(columns.size(), 1);
    }

    void passwordCharMasks_data()
    {
        QTest::addColumn<BoxCall>("action");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char *name, BoxCall action, const QString &text, const QString &shown) {
            QTest::newRow(name) << action << text << shown;
        };
        row("set as Text", [](TextBox &b) { b.setText(QStringLiteral("abc")); }, "abc", "***");
        row("backspace in the middle", [](TextBox &b) {
            type(b, QStringLiteral("abcd"));
            key(b, Qt::Key_Left);
            key(b, Qt::Key_Backspace);
        }, "abd", "***");
        row("typed over a selection", [](TextBox &b) {
            type(b, QStringLiteral("abcd"));
            select(b, 1, 2);
            type(b, QStringLiteral("X"));
        }, "aXd", "***");
        row("pasted", [](TextBox &b) {
            QApplication::clipboard()->setText(QStringLiteral("xy"));
            type(b, QStringLiteral("a"));
            b.editPerform(TextBox::EditPaste);
        }, "axy", "***");
        row("copy and cut give nothing away", [](TextBox &b) {
            type(b, QStringLiteral("ab"));
            select(b, 0, 2);
            key(b, Qt::Key_C, Qt::ControlModifier);
            key(b, Qt::Key_X, Qt::ControlModifier);
            b.editPerform(TextBox::EditCopy);
        }, "ab", "**");
        row("mask taken away", [](TextBox &b) {
            type(b, QStringLiteral("ab"));
            b.setPasswordChar({});
        }, "ab", "ab");
    }
    void passwordCharMasks()
    {
        QFETCH(BoxCall, action);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        TextBox box;
        box.setPasswordChar(QStringLiteral("*x"));
        action(box);
        QCOMPARE(box.text(), text);
        QCOMPARE(box.hwnd()->toPlainText(), shown);
        QVERIFY(!QApplication::clipboard()->text().contains(QLatin1Char('b')));
    }

    void lockedTextIsReadable_data()
    {
        QTest::addColumn<quint32>("fore");
        QTest::addColumn<quint32>("back");
        QTest::addColumn<bool>("keptAsGiven");
        QTest::newRow("grey text on a button face") << quint32(OleColor::GrayText) << quint32(OleColor::ButtonFace)
                                                    << false;
        QTest::newRow("light grey on white") << 0xC0C0C0u << 0xFFFFFFu << false;
        QTest::newRow("pale grey on near black") << 0x303030u << 0x101010u << false;
        QTest::newRow("window text on a window") << quint32(OleColor::WindowText) << quint32(OleColor::Window)
                                                 << true;
    }
    void lockedTextIsReadable()
    {
        QFETCH(quint32, fore);
        QFETCH(quint32, back);
        QFETCH(bool, keptAsGiven);
        TextBox box;
        box.setLockedForeColor(fore);
        box.setLockedBackColor(back);
        box.setLocked(true);
        const QPalette shown = box.hwnd()->palette();
        QCOMPARE(shown.color(QPalette::Base), OleColor::translate(back));
        QVERIFY2(contrast(shown.color(QPalette::Text), shown.color(QPalette::Base)) >= 4.5, "reads at 4.5:1");
        QCOMPARE(shown.color(QPalette::Text) == OleColor::translate(fore), keptAsGiven);
    }

    void insertTogglesOverwrite()
    {
        TextBox box;
        type(box, QStringLiteral("abc"));
        key(box, Qt::Key_Home);
        key(box, Qt::Key_Insert);
        QVERIFY(KeyboardState::isOn(KeyboardState::Insert));
        type(box, QStringLiteral("X"));
        QCOMPARE(box.text(), QStringLiteral("Xbc"));
        TextBox other;
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(other.hwnd(), &focusIn);
        QVERIFY2(other.hwnd()->overwriteMode(), "one toggle for every box");
        key(box, Qt::Key_Insert);
        QVERIFY(!KeyboardState::isOn(KeyboardState::Insert));
        type(box, QStringLiteral("Y"));
        QCOMPARE(box.text(), QStringLiteral("XYbc"));
        key(box, Qt::Key_Insert, Qt::ShiftModifier);
        QVERIFY2(!KeyboardState::isOn(KeyboardState::Insert), "Shift+Insert pastes, it does not toggle");
    }

    // Overwriting shows as in a field: the caret becomes a block over the character the next
    // one typed replaces, or an average character wide at the end of a line, as soon as
    // Insert is pressed.
    void caretShowsOverwriting_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("insertPresses");
        QTest::addColumn<QString>("under"); // the characters the block covers
        QTest::newRow("inserting: a thin line") << 0 << 0 << QString();
        QTest::newRow("over a wide letter") << 0 << 1 << "W";
        QTest::newRow("over a narrow letter") << 1 << 1 << "i";
        QTest::newRow("at the end of a line") << 2 << 1 << QString();
        QTest::newRow("at the end of the text") << 5 << 1 << QString();
        QTest::newRow("Insert again: a thin line") << 0 << 2 << QString();
    }
    void caretShowsOverwriting()
    {
        QFETCH(int, caret);
        QFETCH(int, insertPresses);
        QFETCH(QString, under);
        TextBox box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("Wi\nab"));
        box.resize(200, 100);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.hwnd()->setFocus();
        QTRY_VERIFY(box.hwnd()->hasFocus());
        box.setSelStart(caret);
        QVERIFY2(insertRedrawsCaret(box.hwnd(), box.hwnd()->viewport(), insertPresses),
            "the caret's new shape was not drawn at once");
        const QRect block = caretArea(box.hwnd());
        const int width = overwriteCaretWidth(box.hwnd(), insertPresses % 2 == 1, under);
        QVERIFY2(qAbs(block.width() - width) <= 1,
            qPrintable(QStringLiteral("a caret %1 pixels wide, not %2").arg(block.width()).arg(width)));
    }

    // A copy leaves the selection on the clipboard; the menu's Select All takes in every line.
    void copyAndSelectAll()
    {
        TextBox box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("<META>\n<TITLE>"));
        select(box, 3, 5);
        QCOMPARE(box.selText(), QStringLiteral("TA>\n<"));
        box.editPerform(TextBox::EditCopy);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("TA>\n<"));
        box.editMenu()->actions().at(TextBox::MenuSelectAll)->trigger();
        QCOMPARE(box.selStart(), 0);
        QCOMPARE(box.selLength(), 14);
    }

    void textInRange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("expected");
        QTest::newRow("from start up to end") << 1 << 3 << QStringLiteral("bc");
        QTest::newRow("end omitted: to the end") << 2 << -1 << QStringLiteral("cdef");
        QTest::newRow("end below start: to the end") << 4 << 2 << QStringLiteral("ef");
        QTest::newRow("end equal to start: nothing") << 3 << 3 << QString();
        QTest::newRow("end past the text") << 4 << 99 << QStringLiteral("ef");
        QTest::newRow("the last character") << 5 << 6 << QStringLiteral("f");
        QTest::newRow("start at the end: nothing") << 6 << 8 << QString();
        QTest::newRow("negative start: nothing") << -1 << 3 << QString();
    }
    void textInRange()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, expected);
        TextBox box;
        box.setText(QStringLiteral("abcdef"));
        QCOMPARE(end == -1 ? box.textInRange(start) : box.textInRange(start, end), expected);
    }

    // SelText replaces the selection; TextAppend adds at the end, wherever the caret was, and
    // leaves the caret there.
    void selTextAndTextAppend()
    {
        TextBox box;
        box.setText(QStringLiteral("<META NAME>"));
        select(box, 1, 4);
        box.setSelText(QStringLiteral("LINK"));
        QCOMPARE(box.text(), QStringLiteral("<LINK NAME>"));
        box.setSelStart(2);
        box.setTextAppend(QStringLiteral("</LINK>"));
        QCOMPARE(box.text(), QStringLiteral("<LINK NAME></LINK>"));
        QCOMPARE(box.selStart(), 18);
        QCOMPARE(box.selLength(), 0);
        QVERIFY(box.isDirty());
        box.setSelStart(-4);
        QCOMPARE(box.selStart(), 0);
        box.setSelLength(99);
        QCOMPARE(box.selLength(), 18);
    }

    // ScrollToLine makes a line (counted from 1) the first one shown and gives it the caret.
    void scrollToLine_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("caretLine");
        QTest::newRow("line 10") << 10 << 9;
        QTest::newRow("line 1") << 1 << 0;
        QTest::newRow("line 0 is line 1") << 0 << 0;
        QTest::newRow("past the last line: the last") << 99 << 29;
    }
    void scrollToLine()
    {
        QFETCH(int, line);
        QFETCH(int, caretLine);
        TextBox box;
        box.setMultiLine(true);
        box.setScrollBars(TextBox::ScrollVertical);
        box.setText(wideAndLongText());
        box.resize(200, 120);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.scrollToLine(line);
        QCOMPARE(box.currentLine(), caretLine);
        QCOMPARE(box.currentColumn(), 0);
        QCOMPARE(box.selStart(), caretLine * 201);
        if (caretLine < 20)
            QCOMPARE(box.firstVisibleLine(), caretLine);
        QVERIFY(box.firstVisibleLine() <= caretLine);
        QVERIFY2(box.hwnd()->viewport()->rect().contains(box.hwnd()->cursorRect()), "the caret is in sight");
        QCOMPARE(box.lineForCharacterIndex(box.selStart()), caretLine);
    }

    // Where a character shows, in the editor's coordinates: after the left margin, further
    // right for later characters and lower for later lines.
    void posFromChar()
    {
        TextBox box;
        box.setMultiLine(true);
        box.setText(QStringLiteral("abc\ndef"));
        box.resize(200, 100);
        box.show();
        const QPoint first = box.posFromChar(0);
        QVERIFY(box.posFromChar(1).x() > first.x());
        QCOMPARE(box.posFromChar(4).x(), first.x());
        QVERIFY(box.posFromChar(4).y() > first.y());
        QCOMPARE(box.posFromChar(-5), first);
        QCOMPARE(box.lineForCharacterIndex(99), 1);
        QCOMPARE(box.lineForCharacterIndex(-1), 0);
        box.setLeftMargin(20);
        QCOMPARE(box.leftMargin(), 20);
        QCOMPARE(box.posFromChar(0).x(), first.x() + 20);
        box.setRightMargin(7);
        QCOMPARE(box.rightMargin(), 7);
        QCOMPARE(box.posFromChar(0).x(), first.x() + 20);
    }

    // Alignment places the text on the left, on the right or in the middle of the box.
    void alignment_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("fromLeft");
        QTest::addColumn<int>("toLeft");
        QTest::newRow("left") << int(TextBox::AlignLeft) << 0 << 20;
        QTest::newRow("centre") << int(TextBox::AlignCenter) << 120 << 180;
        QTest::newRow("right") << int(TextBox::AlignRight) << 250 << 300;
    }
    void alignment()
    {
        QFETCH(int, alignment);
        QFETCH(int, fromLeft);
        QFETCH(int, toLeft);
        TextBox box;
        box.setText(QStringLiteral("ab"));
        box.setAlignment(alignment);
        box.resize(300, 30);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const int x = box.posFromChar(0).x();
        QVERIFY2(x >= fromLeft && x <= toLeft, qPrintable(QString::number(x)));
    }

    // The scroll bars show as ScrollBars asks, on multi-line boxes only; a multi-line box that
    // does not scroll sideways wraps its lines instead.
    void scrollBars_data()
    {
        QTest::addColumn<ScrollCase>("row");
        QTest::newRow("single line: none") << ScrollCase { false, 3, true, false, false, false };
        QTest::newRow("multi-line without") << ScrollCase { true, 0, true, false, false, false };
        QTest::newRow("horizontal") << ScrollCase { true, 1, true, true, false, false };
        QTest::newRow("vertical") << ScrollCase { true, 2, true, false, true, false };
        QTest::newRow("both") << ScrollCase { true, 3, true, true, true, false };
        QTest::newRow("no sideways scrolling: lines wrap") << ScrollCase { true, 3, false, false, true, true };
        QTest::newRow("sideways scrolling again") << ScrollCase { true, 3, true, true, true, false };
    }
    void scrollBars()
    {
        QFETCH(ScrollCase, row);
        const auto [multiLine, scrollBars, autoScrollH, horizontal, vertical, wraps] = row;
        TextBox box;
        box.setMultiLine(multiLine);
        box.setScrollBars(scrollBars);
        box.setAutoScrollH(!autoScrollH);
        box.setAutoScrollH(autoScrollH);
        box.setText(wideAndLongText());
        box.resize(150, 100);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.hwnd()->horizontalScrollBar()->isVisible(), horizontal);
        QCOMPARE(box.hwnd()->verticalScrollBar()->isVisible(), vertical);
        const QTextBlock first = box.hwnd()->document()->firstBlock();
        QCOMPARE(first.layout()->lineCount() > 1, wraps);
    }

    // A box is at least one line of its text (or of "HHHHWWWW") high and wide, plus its border:
    // 6 pixels sunken or with a static edge, 4 flat with a border, 2 flat without.
    void sizeHint_data()
    {
        QTest::addColumn<SizeCase>("row");
        QTest::newRow("sunken") << SizeCase { int(TextBox::Sunken3D), 0, QString(), 6, true };
        QTest::newRow("static edge") << SizeCase { int(TextBox::StaticEdge), 1, QString(), 6, true };
        QTest::newRow("flat with a border") << SizeCase { int(TextBox::Flat), 1, QString(), 4, true };
        QTest::newRow("flat without") << SizeCase { int(TextBox::Flat), 0, QString(), 2, false };
        QTest::newRow("a short text: as wide as HHHHWWWW") << SizeCase { int(TextBox::Flat), 0, QStringLiteral("ab"), 2,
                                                              false };
        QTest::newRow("a long first line") << SizeCase { int(TextBox::Flat), 0,
                                              QStringLiteral("<META NAME=\"Description\">\nab"), 2, false };
    }
    void sizeHint()
    {
        QFETCH(SizeCase, row);
        const auto [appearance, borderStyle, text, border, framed] = row;
        TextBox box;
        box.setMultiLine(true);
        box.setAppearance(appearance);
        box.setBorderStyle(borderStyle);
        box.setText(text);
        box.setMultiLine(false);
        const QFontMetrics metrics = box.fontMetrics();
        const QString widest = metrics.horizontalAdvance(text.section(QLatin1Char('\n'), 0, 0))
                > metrics.horizontalAdvance(QStringLiteral("HHHHWWWW"))
            ? text.section(QLatin1Char('\n'), 0, 0)
            : QStringLiteral("HHHHWWWW");
        QCOMPARE(box.sizeHint(), QSize(metrics.horizontalAdvance(widest) + border, metrics.lineSpacing() + border));
        QCOMPARE(box.hwnd()->frameWidth() > 0, framed);
    }

    // The colours the editor is given in each state.
    void colours_data()
    {
        QTest::addColumn<ColourCase>("row");
        const QPalette desktop = QApplication::palette();
        const auto row = [](const char *name, BoxCall setUp, QPalette::ColorGroup group, QPalette::ColorRole role,
                             const QColor &expected) { QTest::newRow(name) << ColourCase { setUp, int(group), int(role), expected }; };
        row("back colour", [](TextBox &b) { b.setBackColor(0x00FFEEDDu); }, QPalette::Active, QPalette::Base,
            QColor(0xDD, 0xEE, 0xFF));
        row("fore colour", [](TextBox &b) { b.setForeColor(0x00000080u); }, QPalette::Active, QPalette::Text,
            QColor(0x80, 0, 0));
        row("disabled: the disabled fore colour", [](TextBox &b) {
            b.setDisabledForeColor(0x00112233u);
            b.setEnabled(false);
        }, QPalette::Disabled, QPalette::Text, QColor(0x33, 0x22, 0x11));
        row("enabled again: the fore colour", [](TextBox &b) {
            b.setForeColor(0x00000080u);
            b.setEnabled(false);
            b.setEnabled(true);
        }, QPalette::Active, QPalette::Text, QColor(0x80, 0, 0));
        row("disabled while locked: the back colour, not the locked one", [](TextBox &b) {
            b.setBackColor(0x00FFEEDDu);
            b.setLockedBackColor(0x00C0C0C0u);
            b.setLocked(true);
            b.setEnabled(false);
        }, QPalette::Disabled, QPalette::Base, QColor(0xDD, 0xEE, 0xFF));
        row("unlocked again: the back colour", [](TextBox &b) {
            b.setBackColor(0x00FFEEDDu);
            b.setLocked(true);
            b.setLocked(false);
        }, QPalette::Active, QPalette::Base, QColor(0xDD, 0xEE, 0xFF));
        row("a back colour without a translation: the desktop's", [](TextBox &b) { b.setBackColor(0x80000019u); },
            QPalette::Active, QPalette::Base, desktop.color(QPalette::Active, QPalette::Base));
        row("selection hidden without the focus", [](TextBox &b) { b.setBackColor(0x00FFEEDDu); }, QPalette::Inactive,
            QPalette::Highlight, QColor(0xDD, 0xEE, 0xFF));
        row("selection kept without the focus", [](TextBox &b) { b.setHideSelection(false); }, QPalette::Inactive,
            QPalette::Highlight, desktop.color(QPalette::Inactive, QPalette::Highlight));
    }
    void colours()
    {
        QFETCH(ColourCase, row);
        const auto [setUp, group, role, expected] = row;
        TextBox box;
        setUp(box);
        QCOMPARE(box.hwnd()->palette().color(QPalette::ColorGroup(group), QPalette::ColorRole(role)), expected);
    }

    // Mouse events carry the button (1 left, 2 right, 4 middle) and the Shift, Ctrl and Alt keys
    // (1, 2, 4); a release after a press in the box is also a click.
    void mouseEvents_data()
    {
        QTest::addColumn<BoxCall>("action");
        QTest::addColumn<QStringList>("events");
        const auto click = [](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
            return BoxCall([button, modifiers](TextBox &b) {
                QTest::mouseClick(b.hwnd()->viewport(), button, modifiers, QPoint(10, 8));
            });
        };
        QTest::newRow("left click") << click(Qt::LeftButton, {}) << QStringList { "down 1 0", "up 1 0", "click 1" };
        QTest::newRow("right click with shift")
            << click(Qt::RightButton, Qt::ShiftModifier) << QStringList { "down 2 1", "up 2 1", "click 2" };
        QTest::newRow("middle click with ctrl and alt") << click(Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier)
                                                        << QStringList { "down 4 6", "up 4 6", "click 4" };
        QTest::newRow("release without a press: no click") << BoxCall([](TextBox &b) {
            QTest::mouseRelease(b.hwnd()->viewport(), Qt::LeftButton, {}, QPoint(10, 8));
        }) << QStringList { "up 1 0" };
        QTest::newRow("drag with the left button") << BoxCall([](TextBox &b) {
            QTest::mousePress(b.hwnd()->viewport(), Qt::LeftButton, {}, QPoint(10, 8));
            QMouseEvent move(QEvent::MouseMove, QPointF(30, 8), b.hwnd()->viewport()->mapToGlobal(QPointF(30, 8)),
                Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
            QApplication::sendEvent(b.hwnd()->viewport(), &move);
        }) << QStringList { "down 1 0", "move 1 1" };
        QTest::newRow("double click") << BoxCall([](TextBox &b) {
            QTest::mouseDClick(b.hwnd()->viewport(), Qt::LeftButton, {}, QPoint(10, 8));
        }) << QStringList { "dblclick 1" };
    }
    void mouseEvents()
    {
        QFETCH(BoxCall, action);
        QFETCH(QStringList, events);
        TextBox box;
        box.setText(QStringLiteral("<META NAME>"));
        box.resize(200, 30);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        MouseLog log(box);
        action(box);
        QCOMPARE(log.lines, events);
    }

    // The right button's menu: none when disabled, the box's own edit menu when locked, the
    // editor's usual menu otherwise.
    void contextMenu_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("disabled");
        QTest::addColumn<QString>("menu");
        QTest::newRow("unlocked: the editor's menu") << false << false << QStringLiteral("editor");
        QTest::newRow("locked: the edit menu") << true << false << QStringLiteral("edit");
        QTest::newRow("menu disabled") << false << true << QString();
        QTest::newRow("locked, menu disabled") << true << true << QString();
    }
    void contextMenu()
    {
        QFETCH(bool, locked);
        QFETCH(bool, disabled);
        QFETCH(QString, menu);
        TextBox box;
        box.setText(QStringLiteral("<META NAME>"));
        box.setLocked(locked);
        box.setDisableContextMenu(disabled);
        box.resize(200, 30);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QWidget *viewport = box.hwnd()->viewport();
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(10, 8), viewport->mapToGlobal(QPoint(10, 8)));
        QWidget *popup = popupDuring([&] { QApplication::sendEvent(viewport, &request); });
        const QString shown = !popup ? QString() : popup == box.editMenu() ? QStringLiteral("edit") : QStringLiteral("editor");
        QCOMPARE(shown, menu);
    }

    // KeyPress may change the typed character or, set to 0, swallow it; KeyDown set to 0 on an
    // arrow key keeps the caret where it is.
    void keyHandlers_data()
    {
        QTest::addColumn<KeyCase>("row");
        QTest::newRow("as typed") << KeyCase { -1, false, QStringLiteral("a|b"), 1 };
        QTest::newRow("replaced") << KeyCase { int('x'), false, QStringLiteral("x|x"), 1 };
        QTest::newRow("swallowed") << KeyCase { 0, false, QStringLiteral("|"), 0 };
        QTest::newRow("arrow keys kept from the editor") << KeyCase { -1, true, QStringLiteral("ab|"), 1 };
    }
    void keyHandlers()
    {
        QFETCH(KeyCase, row);
        const auto [keyAscii, cancelArrows, expected, changes] = row;
        TextBox box;
        connect(&box, &TextBox::keyPress, &box, [keyAscii](int &typed) {
            if (keyAscii >= 0)
                typed = keyAscii;
        });
        connect(&box, &TextBox::keyDown, &box, [cancelArrows](int &keyCode, int) {
            if (cancelArrows && keyCode == Qt::Key_Left)
                keyCode = 0;
        });
        QSignalSpy changed(&box, &TextBox::changed);
        type(box, QStringLiteral("ab"));
        key(box, Qt::Key_Left);
        box.setSelText(QStringLiteral("|"));
        QCOMPARE(box.text(), expected);
        QTest::qWait(kSettle);
        QCOMPARE(changed.count(), changes);
    }

    // Return in a single-line box goes to the dialog's default button; a multi-line box takes it.
    void returnKey_data()
    {
        QTest::addColumn<bool>("multiLine");
        QTest::addColumn<int>("defaultClicks");
        QTest::newRow("single line") << false << 1;
        QTest::newRow("multi-line") << true << 0;
    }
    void returnKey()
    {
        QFETCH(bool, multiLine);
        QFETCH(int, defaultClicks);
        QDialog dialog;
        auto *layout = new QHBoxLayout(&dialog);
        auto *box = new TextBox(&dialog);
        auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
        layout->addWidget(box);
        layout->addWidget(ok);
        ok->setDefault(true);
        box->setMultiLine(multiLine);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        box->setFocus();
        QSignalSpy clicks(ok, &QPushButton::clicked);
        type(*box, QStringLiteral("ab"));
        key(*box, Qt::Key_Return);
        QCOMPARE(clicks.count(), defaultClicks);
        QCOMPARE(box->lineCount(), multiLine ? 2 : 1);
    }

    // AutoHighLight selects the whole text when the focus arrives from the keyboard, not when a
    // click brings it.
    void autoHighLight_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("selected");
        QTest::newRow("tabbed into") << true << int(Qt::TabFocusReason) << 11;
        QTest::newRow("clicked into") << true << int(Qt::MouseFocusReason) << 0;
        QTest::newRow("off") << false << int(Qt::TabFocusReason) << 0;
    }
    void autoHighLight()
    {
        QFETCH(bool, on);
        QFETCH(int, reason);
        QFETCH(int, selected);
        TextBox box;
        box.setText(QStringLiteral("<META NAME>"));
        box.setAutoHighLight(on);
        QFocusEvent focusIn(QEvent::FocusIn, Qt::FocusReason(reason));
        QApplication::sendEvent(box.hwnd(), &focusIn);
        QCOMPARE(box.selLength(), selected);
    }

    void userInputIsLimited()
    {
        TextBox box;
        box.setMaxLength(4);
        type(box, QStringLiteral("ab"));
        key(box, Qt::Key_Return);
        QApplication::clipboard()->setText(QStringLiteral("cd\nef"));
        box.editPerform(TextBox::EditPaste);
        QCOMPARE(box.text(), QStringLiteral("abcd"));
        type(box, QStringLiteral("g"));
        QCOMPARE(box.text(), QStringLiteral("abcd"));
        box.setText(QStringLiteral("longer than four"));
        QCOMPARE(box.text(), QStringLiteral("longer than four"));
    }
};

QTEST_MAIN(TestTextBoxEx)
#include "test_text_box_ex.moc"
