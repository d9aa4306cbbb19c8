#pragma once

#include <QObject>

class cTbarMenu;

// Feeds the keys and mouse events of an open menu-bar menu to its tracking object, so
// that the arrow keys and the mouse can move on to the neighbouring menu.
class MenuInputFilter : public QObject
{
    Q_OBJECT

public:
    // Starts serving tracker; nullptr stops.
    static void Serve(cTbarMenu *tracker);
    static cTbarMenu *Served();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MenuInputFilter() = default;
    static MenuInputFilter &instance();

    cTbarMenu *m_tracker = nullptr;
};
