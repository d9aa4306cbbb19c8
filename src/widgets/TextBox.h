#pragma once

#include "OleColor.h"
#include "TextBoxEditor.h"
#include "IntervalTimer.h"
#include "KeyPreviewHandler.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QWidget>

class PropertyBag;
class QMenu;

// A text box over a plain-text editor with a Locked mode that still selects and copies,
// colours for the locked and disabled states, a debounced Change, line and column events,
// block indent with Tab / Shift+Tab and the edit operations by their message numbers.
// Lines, columns and character indexes are counted from 0.
class TextBox : public QWidget, public KeyPreviewHandler
{
    Q_OBJECT

public:
    enum EditFunction { EditCut = 768, EditCopy = 769, EditPaste = 770, EditClear = 771, EditUndo = 772 };
    enum Appearances { Sunken3D = 0, Flat = 1, StaticEdge = 2 };
    enum ScrollBarFlags { ScrollHorizontal = 1, ScrollVertical = 2 };
    enum Alignments { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
    // Positions in mnuEdit; 1 and 6 are separators.
    enum EditMenuItems {
        MenuUndo = 0,
        MenuCut = 2,
        MenuCopy = 3,
        MenuPaste = 4,
        MenuDelete = 5,
        MenuSelectAll = 7
    };
    static constexpr int ChangeDelay = 25;
    static constexpr int IndentWidth = 4;

    explicit TextBox(QWidget *parent = nullptr);

    int appearance() const { return m_appearance; }
    void setAppearance(int appearance);
    int borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    bool multiLine() const { return m_multiLine; }
    void setMultiLine(bool multiLine);
    int scrollBars() const { return m_scrollBars; }
    void setScrollBars(int scrollBars);
    bool autoScrollH() const { return m_autoScrollH; }
    void setAutoScrollH(bool on);
    // Stored and persisted; the editor always scrolls vertically as text grows.
    bool autoScrollV() const { return m_autoScrollV; }
    void setAutoScrollV(bool on) { m_autoScrollV = on; }
    int alignment() const { return m_alignment; }
    void setAlignment(int alignment);
    bool hideSelection() const { return m_hideSelection; }
    void setHideSelection(bool hide);

    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 oleColor);
    quint32 foreColor() const { return m_foreColor; }
    void setForeColor(quint32 oleColor);
    quint32 disabledForeColor() const { return m_disabledForeColor; }
    void setDisabledForeColor(quint32 oleColor);
    quint32 lockedBackColor() const { return m_lockedBackColor; }
    void setLockedBackColor(quint32 oleColor);
    quint32 lockedForeColor() const { return m_lockedForeColor; }
    void setLockedForeColor(quint32 oleColor);

    bool isLocked() const { return m_locked; }
    void setLocked(bool locked);
    bool disableColumnChangeEvent() const { return m_disableColumnChange; }
    void setDisableColumnChangeEvent(bool off) { m_disableColumnChange = off; }
    bool disableContextMenu() const { return m_disableContextMenu; }
    void setDisableContextMenu(bool off) { m_disableContextMenu = off; }
    bool autoHighLight() const { return m_autoHighLight; }
    void setAutoHighLight(bool on) { m_autoHighLight = on; }
    bool ignoreChangeEvent() const { return m_ignoreChangeEvent; }
    void setIgnoreChangeEvent(bool ignore) { m_ignoreChangeEvent = ignore; }
    // With the trap on, Tab and Shift+Tab indent and unindent instead of moving the focus.
    bool trapTabKey() const { return m_trapTab; }
    void setTrapTabKey(bool trap) { m_trapTab = trap; }
    // 0 for no limit. Limits what the user enters, not what Text sets.
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length);
    // Shown for every character while set; Text still gives what was typed, and nothing
    // masked can be copied or cut.
    QString passwordChar() const { return m_passwordChar; }
    void setPasswordChar(const QString &passwordChar);
    int leftMargin() const { return m_leftMargin; }
    void setLeftMargin(int pixels);
    int rightMargin() const { return m_rightMargin; }
    void setRightMargin(int pixels);

    QString text() const;
    // Raises no Change and leaves the box clean.
    void setText(const QString &text);
    int selStart() const;
    void setSelStart(int start);
    int selLength() const;
    void setSelLength(int length);
    QString selText() const;
    void setSelText(const QString &text);
    void setTextAppend(const QString &text);
    bool isDirty() const;
    void setDirty(bool dirty);
    QString version() const { return QStringLiteral("1.05"); }
    QPlainTextEdit *hwnd() const { return m_edit; }

    int lineCount() const;
    int currentLine() const;
    int currentColumn() const;
    int firstVisibleLine() const;
    int lineForCharacterIndex(int index) const;
    // From start up to end, or to the end of the text when end is omitted or below start.
    QString textInRange(int start, int end = -1) const;
    bool canEditPerform(int editFunction) const;

    QPoint posFromChar(int index) const;
    // line counts from 1: that line becomes the first visible one and takes the caret.
    void scrollToLine(int line);
    void scrollCaret();
    void refresh();
    void editPerform(int editFunction);

    QMenu *editMenu() const { return m_editMenu; }

    int translateAccelerator(QKeyEvent *event) override;

    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void changed();
    void clicked(int button);
    void columnChanged(int line, int column, int lineCount);
    void doubleClicked(int button);
    void keyDown(int &keyCode, int shift);
    void keyPress(int &keyAscii);
    void keyUp(int &keyCode, int shift);
    void lineChanged(int line, int column, int lineCount);
    void mouseDown(int button, int shift, int x, int y);
    void mouseMove(int button, int shift, int x, int y);
    void mouseUp(int button, int shift, int x, int y);
    void hScroll();
    void vScroll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum PendingEvent { TextChanged = 1, CaretMoved = 2 };

    bool editKeyPressed(QKeyEvent *event);
    void editKeyReleased(QKeyEvent *event);
    void editFocused(QFocusEvent *event);
    bool contextMenuRequested(QContextMenuEvent *event);
    void viewportMouse(QEvent *event);
    void passToEdit(QEvent *event);
    void schedule(PendingEvent pending);
    void raiseDelayedEvents();
    void reportCaret();
    void blockIndent(bool unindent);
    void indentLines(const QTextBlock &first, const QTextBlock &last, bool unindent);
    void enforceLimits(int position, int charsAdded);
    void followMaskedText(int position, int charsRemoved, int charsAdded);
    void toggleOverwrite();
    void showOverwrite();
    void buildEditMenu();
    void enableEditMenu();
    void applyFrame();
    void applyLayoutMode();
    void applyAlignment();
    void applyColours();
    void applyMargins();
    int borderAllowance() const;

    TextBoxEditor *const m_edit;
    QMenu *m_editMenu = nullptr;
    IntervalTimer m_delayedEvent;
    int m_pending = 0;
    int m_lastLine = 0;
    int m_lastLineCount = 0;
    int m_lastColumn = 0;
    bool m_mouseDown = false;
    bool m_settingText = false;
    bool m_enforcing = false;

    int m_appearance = Sunken3D;
    int m_borderStyle = 0;
    bool m_multiLine = false;
    int m_scrollBars = 0;
    bool m_autoScrollH = true;
    bool m_autoScrollV = true;
    int m_alignment = AlignLeft;
    bool m_hideSelection = true;
    quint32 m_backColor = OleColor::Window;
    quint32 m_foreColor = OleColor::WindowText;
    quint32 m_disabledForeColor = OleColor::GrayText;
    quint32 m_lockedBackColor = OleColor::ButtonFace;
    quint32 m_lockedForeColor = OleColor::GrayText;
    bool m_locked = false;
    bool m_disableColumnChange = false;
    bool m_disableContextMenu = false;
    bool m_autoHighLight = false;
    bool m_ignoreChangeEvent = false;
    bool m_trapTab = false;
    int m_maxLength = 0;
    QString m_passwordChar;
    // What was typed into a masked box; the editor holds only the mask characters.
    QString m_secret;
    bool m_masking = false;
    int m_leftMargin = 0;
    int m_rightMargin = 0;
};
