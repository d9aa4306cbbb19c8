#include "CaretPicture.h"
#include "KeyboardState.h"
#include "OleColor.h"
#include "TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>

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

} // namespace

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
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("password");
        QTest::addColumn<int>("selection");
        QTest::addColumn<QString>("offered");
        QTest::newRow("plain, selected") << false << false << 2 << "Undo Cut Copy Paste Delete Select All";
        QTest::newRow("plain, nothing selected") << false << false << 0 << "Undo Paste Select All";
        QTest::newRow("locked, selected") << true << false << 2 << "Copy Select All";
        QTest::newRow("locked, nothing selected") << true << false << 0 << "Select All";
        QTest::newRow("password, selected") << false << true << 2 << "Paste Delete Select All";
        QTest::newRow("locked password, selected") << true << true << 2 << "Select All";
    }
    void editMenuOffersWhatTheBoxAllows()
    {
        QFETCH(bool, locked);
        QFETCH(bool, password);
        QFETCH(int, selection);
        QFETCH(QString, offered);
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
        QTest::addColumn<int>("function");
        QTest::addColumn<int>("selection");
        QTest::addColumn<bool>("possible");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cut") << int(TextBox::EditCut) << 2 << true << QStringLiteral("o");
        QTest::newRow("cut without a selection") << int(TextBox::EditCut) << 0 << false << "two";
        QTest::newRow("paste") << int(TextBox::EditPaste) << 2 << true << QStringLiteral("PASTEDo");
        QTest::newRow("undo") << int(TextBox::EditUndo) << 0 << true << QString();
        QTest::newRow("not an edit function") << 773 << 2 << false << "two";
    }
    void editPerformOnAnUnlockedBox()
    {
        QFETCH(int, function);
        QFETCH(int, selection);
        QFETCH(bool, possible);
        QFETCH(QString, expected);
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
    }
    void tabKey()
    {
        QFETCH(TabPress, press);
        TextBox box;
        box.setMultiLine(true);
        box.setTrapTabKey(press.trap);
        box.setText(press.text);
        select(box, press.selStart, press.selLength);
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
