// The Window menu's arrangements over a bare area: which windows take part, the grid they
// share, and where minimized windows line up.

#include "WindowArranger.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>
#include <QTest>

#include <memory>

namespace {

constexpr QSize kArea { 600, 400 };

struct Area
{
    explicit Area(int count)
    {
        // No frame: the viewport is the area's whole size, which the icon rows are measured by.
        area.setFrameShape(QFrame::NoFrame);
        area.resize(kArea);
        area.show();
        for (int i = 0; i < count; ++i) {
            QMdiSubWindow *frame = area.addSubWindow(new QWidget);
            frame->setGeometry(10 * i, 10 * i, 150, 90);
            frame->show();
        }
    }
    QList<QMdiSubWindow *> frames() const { return area.subWindowList(QMdiArea::CreationOrder); }
    QRect space() const { return area.viewport()->rect(); }

    QMdiArea area;
};

QSet<int> distinct(const QList<QRect> &rects, int (QRect::*edge)() const)
{
    QSet<int> edges;
    for (const QRect &rect : rects)
        edges.insert((rect.*edge)());
    return edges;
}

} // namespace

class TestWindowArranger : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Horizontally the windows lie one above the other, vertically side by side; many share
    // rows or columns. A minimized or hidden window keeps its place; a maximized one is tiled
    // with the others.
    void tileSharesTheArea_data()
    {
        QTest::addColumn<bool>("horizontally");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first"); // what happens to the first window before tiling
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::newRow("one window fills the area") << true << 1 << "" << 1 << 1;
        QTest::newRow("two horizontally: one above the other") << true << 2 << "" << 1 << 2;
        QTest::newRow("two vertically: side by side") << false << 2 << "" << 2 << 1;
        QTest::newRow("three horizontally") << true << 3 << "" << 1 << 3;
        QTest::newRow("four make a square") << true << 4 << "" << 2 << 2;
        QTest::newRow("five horizontally: two columns of three") << true << 5 << "" << 2 << 3;
        QTest::newRow("five vertically: two rows of three") << false << 5 << "" << 3 << 2;
        QTest::newRow("nine make a square of three") << false << 9 << "" << 3 << 3;
        QTest::newRow("a maximized window is tiled too") << true << 2 << "maximized" << 1 << 2;
        QTest::newRow("a minimized window stays an icon") << true << 3 << "minimized" << 1 << 2;
        QTest::newRow("a hidden window stays hidden") << false << 3 << "hidden" << 2 << 1;
    }

    void tileSharesTheArea()
    {
        QFETCH(bool, horizontally);
        QFETCH(int, count);
        QFETCH(QString, first);
        QFETCH(int, columns);
        QFETCH(int, rows);
        Area a(count);
        QMdiSubWindow *aside = a.frames().first();
        if (first == "maximized")
            aside->showMaximized();
        else if (first == "minimized")
            aside->showMinimized();
        else if (first == "hidden")
            aside->hide();
        const QRect asideBefore = aside->geometry();
        WindowArranger::arrange(a.area, horizontally ? WindowArranger::Mode::TileHorizontally
                                                     : WindowArranger::Mode::TileVertically);
        QList<QRect> tiled;
        for (QMdiSubWindow *frame : a.frames()) {
            if (frame != aside || first.isEmpty() || first == "maximized")
                tiled.append(frame->geometry());
        }
        if (first == "minimized" || first == "hidden")
            QCOMPARE(aside->geometry(), asideBefore);
        QVERIFY(!aside->isMaximized());
        QCOMPARE(distinct(tiled, &QRect::left).size(), columns);
        QCOMPARE(distinct(tiled, &QRect::top).size(), rows);
        QCOMPARE(distinct(tiled, &QRect::left).contains(0), true);
        QCOMPARE(distinct(tiled, &QRect::top).contains(0), true);
        for (int i = 0; i < tiled.size(); ++i) {
            QVERIFY(a.space().contains(tiled.at(i)));
            QVERIFY(qAbs(tiled.at(i).width() - a.space().width() / columns) <= 1);
            QVERIFY(qAbs(tiled.at(i).height() - a.space().height() / rows) <= 1);
            for (int j = i + 1; j < tiled.size(); ++j)
                QVERIFY2(!tiled.at(i).intersects(tiled.at(j)), "tiled windows do not overlap");
        }
        // A full grid reaches the area's far edges.
        if (tiled.size() == columns * rows) {
            QCOMPARE(distinct(tiled, &QRect::right).contains(a.space().right()), true);
            QCOMPARE(distinct(tiled, &QRect::bottom).contains(a.space().bottom()), true);
        }
    }

    void tileWithNothingOpenMovesNothing()
    {
        Area a(1);
        a.frames().first()->showMinimized();
        const QRect before = a.frames().first()->geometry();
        WindowArranger::arrange(a.area, WindowArranger::Mode::TileVertically);
        QCOMPARE(a.frames().first()->geometry(), before);
    }

    // Icons line up along the bottom, left to right, and a row that would pass the right edge
    // starts another above the tallest of the row below. Open windows stay where they are.
    void iconsLineUpAlongTheBottom_data()
    {
        QTest::addColumn<QList<int>>("widths"); // of the minimized windows, in creation order
        QTest::addColumn<QList<int>>("rowOf");
        QTest::newRow("one row") << QList<int> { 160, 160, 160 } << QList<int> { 0, 0, 0 };
        QTest::newRow("exactly the area's width") << QList<int> { 300, 300 } << QList<int> { 0, 0 };
        QTest::newRow("one pixel more wraps") << QList<int> { 300, 301 } << QList<int> { 0, 1 };
        QTest::newRow("two rows") << QList<int> { 250, 250, 250, 250 } << QList<int> { 0, 0, 1, 1 };
        QTest::newRow("an icon wider than the area starts no empty row")
            << QList<int> { 700, 100 } << QList<int> { 0, 1 };
    }

    void iconsLineUpAlongTheBottom()
    {
        QFETCH(QList<int>, widths);
        QFETCH(QList<int>, rowOf);
        Area a(static_cast<int>(widths.size()) + 1);
        QCOMPARE(a.space().width(), 600);
        const QList<QMdiSubWindow *> frames = a.frames();
        QMdiSubWindow *open = frames.first();
        const QRect openBefore = open->geometry();
        QList<QMdiSubWindow *> icons = frames.mid(1);
        for (int i = 0; i < icons.size(); ++i) {
            icons.at(i)->showMinimized();
            icons.at(i)->resize(widths.at(i), 40 - 5 * i); // the first of a row is the tallest
        }
        WindowArranger::arrange(a.area, WindowArranger::Mode::ArrangeIcons);
        QCOMPARE(open->geometry(), openBefore);
        int left = 0;
        int bottom = a.space().bottom();
        int rowHeight = 0;
        for (int i = 0; i < icons.size(); ++i) {
            if (i > 0 && rowOf.at(i) != rowOf.at(i - 1)) {
                left = 0;
                bottom -= rowHeight;
                rowHeight = 0;
            }
            const QRect placed = icons.at(i)->geometry();
            QCOMPARE(placed.left(), left);
            QCOMPARE(placed.bottom(), bottom);
            left = placed.right() + 1;
            rowHeight = std::max(rowHeight, placed.height());
        }
    }
};

QTEST_MAIN(TestWindowArranger)
#include "test_window_arranger.moc"
