#include "WindowArranger.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cmath>

void WindowArranger::arrange(QMdiArea &area, Mode mode)
{
    switch (mode) {
    case Mode::Cascade:
        area.cascadeSubWindows();
        break;
    case Mode::TileHorizontally:
        tile(area, true);
        break;
    case Mode::TileVertically:
        tile(area, false);
        break;
    case Mode::ArrangeIcons:
        arrangeIcons(area);
        break;
    }
}

QList<QMdiSubWindow *> WindowArranger::openWindows(const QMdiArea &area)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && !window->isMinimized())
            windows.append(window);
    }
    return windows;
}

// Horizontally the windows lie one above the other, as wide as the area; vertically side
// by side, as tall as it. Many windows share rows (or columns) so that none gets too thin.
void WindowArranger::tile(QMdiArea &area, bool horizontally)
{
    const QList<QMdiSubWindow *> windows = openWindows(area);
    const int count = static_cast<int>(windows.size());
    if (count == 0)
        return;
    const int across = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(count))));
    const int along = (count + across - 1) / across;
    const int columns = horizontally ? across : along;
    const int rows = horizontally ? along : across;
    const QRect space = area.viewport()->rect();
    for (int i = 0; i < count; ++i) {
        const int column = horizontally ? i / rows : i % columns;
        const int row = horizontally ? i % rows : i / columns;
        const int left = space.width() * column / columns;
        const int top = space.height() * row / rows;
        const int right = space.width() * (column + 1) / columns;
        const int bottom = space.height() * (row + 1) / rows;
        QMdiSubWindow *window = windows.at(i);
        if (window->isMaximized())
            window->showNormal();
        window->setGeometry(left, top, right - left, bottom - top);
    }
}

// Minimized windows line up along the bottom edge, left to right, wrapping upwards.
void WindowArranger::arrangeIcons(QMdiArea &area)
{
    const QRect space = area.viewport()->rect();
    int left = 0;
    int bottom = space.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized() || !window->isVisible())
            continue;
        const QSize size = window->size();
        if (left + size.width() > space.width()) {
            left = 0;
            bottom -= rowHeight;
            rowHeight = 0;
        }
        window->move(left, bottom - size.height());
        left += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

void WindowArranger::fitToContents(QMdiSubWindow &frame, const QMdiArea &area)
{
    const QSize room = area.viewport()->size();
    const QSize fromHere = room - QSize(frame.x(), frame.y());
    frame.resize(frame.size().expandedTo(frame.sizeHint().boundedTo(fromHere)));
    const QPoint inside(std::clamp(frame.x(), 0, std::max(0, room.width() - frame.width())),
        std::clamp(frame.y(), 0, std::max(0, room.height() - frame.height())));
    frame.move(inside);
}

void WindowArranger::placeNew(QMdiSubWindow &frame, const QMdiArea &area, int earlier)
{
    constexpr int kStep = 26;
    constexpr int kLongestCascade = 8;
    const QSize room = area.viewport()->size();
    const QSize spare = room - frame.size().expandedTo(kLeastWindowSize).boundedTo(room);
    const int fitting = std::clamp(std::min(spare.width(), spare.height()) / kStep + 1, 1, kLongestCascade);
    const int offset = (earlier % fitting) * kStep;
    frame.resize(frame.size().boundedTo(room - QSize(offset, offset)));
    frame.move(offset, offset);
}
