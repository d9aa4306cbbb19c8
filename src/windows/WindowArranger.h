#pragma once

#include <QList>

class QMdiArea;
class QMdiSubWindow;

// The Window menu's arrangements of the document windows inside the main window.
class WindowArranger
{
public:
    enum class Mode { Cascade, TileHorizontally, TileVertically, ArrangeIcons };

    static void arrange(QMdiArea &area, Mode mode);

private:
    // Windows shown at their normal size; minimized ones keep their place in the icon row.
    static QList<QMdiSubWindow *> openWindows(const QMdiArea &area);
    static void tile(QMdiArea &area, bool horizontally);
    static void arrangeIcons(QMdiArea &area);
};
