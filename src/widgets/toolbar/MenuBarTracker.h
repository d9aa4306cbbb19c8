#pragma once

#include <QPoint>
#include <QPointer>

class QMenu;
class QObject;
class QWidget;
class Toolbar;

// Menu tracking for a menu-bar toolbar: drops the submenu of a button below it, moves to
// the neighbouring menu on Left and Right or when the mouse goes over another button,
// and returns the command chosen.
class MenuBarTracker
{
public:
    enum TrackingState { Idle = 0, Hot = 1, MenuOpen = 2 };

    MenuBarTracker() = default;
    ~MenuBarTracker();
    MenuBarTracker(const MenuBarTracker &) = delete;
    MenuBarTracker &operator=(const MenuBarTracker &) = delete;

    void init(QWidget *owner, Toolbar *toolbar);
    // Returns the command identifier chosen, 0 for none.
    int track(int start);
    void done();

    TrackingState state() const { return m_state; }
    int currentIndex() const { return m_current; }
    // The next visible button in that direction (+1 or -1), cycling, with the system menu
    // of a maximized child between the last button and the first; -1 when back at start.
    int neighbourIndex(int from, int direction) const;

    // From MenuInputFilter while a menu is open; true when the event is used up.
    bool ownsMenu(const QObject *object) const;
    bool handleKey(QMenu *menu, int key);
    bool handleMouseMove(const QPoint &globalPos);
    bool handleMousePress(const QPoint &globalPos);

private:
    QMenu *menuFor(int index) const;
    QPoint dropPosition(int index) const;
    void switchTo(int index);
    void closeOpenMenus();

    QPointer<QWidget> m_owner;
    Toolbar *m_toolbar = nullptr;
    TrackingState m_state = Idle;
    int m_current = -1;
    int m_next = -1;
    bool m_escapePressed = false;
    QPointer<QMenu> m_open;
    QPoint m_lastMouse;
};
