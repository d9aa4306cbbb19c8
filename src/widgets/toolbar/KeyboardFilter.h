#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;
class Toolbar;

// The keyboard side of the menu-bar toolbars, for the whole application while at least one
// toolbar is registered:
// - Alt+letter (neither Ctrl nor Shift held) clicks the button with that accelerator
//   letter; an Alt+letter that no button takes is dropped, never typed;
// - Alt pressed and released alone, or F10, highlights the first menu of the active
//   window's menu bar (menu-bar mode): Left and Right move the highlight, Down, Up, Enter
//   or Space open that menu, a letter opens the menu it marks, and Escape, Alt, F10 or a
//   mouse click anywhere leave the mode and clear the highlight. A shortcut leaves the mode
//   before its command runs; any other key is the bar's alone. While the mode lasts the
//   widget with the focus keeps it but shows no caret, as under an open menu.
class KeyboardFilter : public QObject
{
    Q_OBJECT

public:
    static void registerToolbar(Toolbar *toolbar);
    static void unregisterToolbar(Toolbar *toolbar);
    static bool isInstalled();

    // Menu-bar mode on that button of a menu-bar toolbar; also where an Escape out of an
    // open menu leaves the user.
    static void enterMenuBarMode(Toolbar *toolbar, int index);
    static void leaveMenuBarMode();
    static Toolbar *menuBarModeToolbar();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyboardFilter() = default;
    static KeyboardFilter &instance();

    bool keyPressed(const QKeyEvent &key);
    bool keyReleased(const QKeyEvent &key);
    bool altLetterPressed(const QKeyEvent &key);
    bool clickAccelerator(QChar letter);
    bool menuBarModeKey(const QKeyEvent &key);
    bool toggleMenuBarMode();
    void moveHighlight(int direction);
    void hideCaret();
    void showCaret();

    QList<Toolbar *> m_toolbars;
    bool m_installed = false;
    // Alt went down and nothing else happened since: its release enters menu-bar mode.
    bool m_altAlone = false;
    QPointer<Toolbar> m_modeToolbar;
    int m_modeIndex = -1;
    // The focus widget whose caret the mode hides.
    QPointer<QWidget> m_caretOwner;
};
