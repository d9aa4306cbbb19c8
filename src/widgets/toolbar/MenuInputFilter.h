#pragma once

#include <QObject>

class MenuBarTracker;

// Feeds the keys and mouse events of an open menu-bar menu to its tracking object, so
// that the arrow keys and the mouse can move on to the neighbouring menu.
class MenuInputFilter : public QObject
{
    Q_OBJECT

public:
    // Starts serving tracker; nullptr stops.
    static void serve(MenuBarTracker *tracker);
    static MenuBarTracker *served();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MenuInputFilter() = default;
    static MenuInputFilter &instance();

    MenuBarTracker *m_tracker = nullptr;
};
