#pragma once

#include <QList>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;

// Where the document windows stand inside the main window: the Window menu's arrangements,
// and the place and size of each window as it opens or its page grows.
class WindowArranger
{
public:
    enum class Mode { Cascade, TileHorizontally, TileVertically, ArrangeIcons };

    static constexpr QSize kLeastWindowSize { 520, 300 };

    static void arrange(QMdiArea &area, Mode mode);
    // Grown to hold the fields, the search result and the warnings of the page, as far as the
    // area has room from where the window stands; moved back in should it still pass an edge.
    static void fitToContents(QMdiSubWindow &frame, const QMdiArea &area);
    // Cascaded, so that every new window's caption stays in sight, and whole inside the area
    // at the size its page needs: the cascade starts over at the top left where a window would
    // have to give up room for its place. Only an area too small for the page makes it scroll.
    static void placeNew(QMdiSubWindow &frame, const QMdiArea &area, int earlier);

private:
    // Windows shown at their normal size; minimized ones keep their place in the icon row.
    static QList<QMdiSubWindow *> openWindows(const QMdiArea &area);
    static void tile(QMdiArea &area, bool horizontally);
    static void arrangeIcons(QMdiArea &area);
};
