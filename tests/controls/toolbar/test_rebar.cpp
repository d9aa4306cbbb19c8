#include "controls/toolbar/cReBar.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

QWidget *sizedWidget(QWidget *parent, int width, int height)
{
    auto *widget = new QWidget(parent);
    widget->resize(width, height);
    widget->show();
    return widget;
}

} // namespace

class TestReBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void addBandWithoutRebarFails();
    void bandIndexForData_data();
    void bandIndexForData();
    void identifiersKeepCountingAndSurviveRemoval();
    void removedBandGivesItsChildBack();
    void dockingLeavesRoomForEarlierWindows_data();
    void dockingLeavesRoomForEarlierWindows();
    void twoRebarsStackWithTwoPixels();
    void dockingFollowsTheForm();
    void positionMovesTheRebarAndReportsItsHeight();
    void heightFollowsRowsAndVisibility();
    void minimumChildWidthSetsTheBandLength();
    void backgroundBitmapIsDrawnBehindTheBands();
    void bandStyleShapesTheChild_data();
    void bandStyleShapesTheChild();
    void bandMoveReordersAndReportsTheLayout();

private:
    std::unique_ptr<QWidget> m_form;
};

void TestReBar::init()
{
    m_form = std::make_unique<QWidget>();
    m_form->resize(400, 300);
    m_form->show();
}

void TestReBar::cleanup()
{
    m_form.reset();
}

void TestReBar::addBandWithoutRebarFails()
{
    cReBar rebar;
    QWidget *child = sizedWidget(m_form.get(), 100, 20);
    QCOMPARE(rebar.AddBandByHwnd(child), 0);
    QCOMPARE(rebar.BandCount(), 0);
    QCOMPARE(child->parentWidget(), m_form.get());
}

void TestReBar::bandIndexForData_data()
{
    QTest::addColumn<QVariant>("data");
    QTest::addColumn<int>("expected");
    QTest::newRow("ProgressBar") << QVariant(QStringLiteral("ProgressBar")) << 1;
    QTest::newRow("Toolbar") << QVariant(QStringLiteral("Toolbar")) << 0;
    QTest::newRow("number") << QVariant(7) << 2;
    QTest::newRow("absent") << QVariant(QStringLiteral("Logo")) << -1;
    QTest::newRow("case differs") << QVariant(QStringLiteral("progressbar")) << -1;
}

void TestReBar::bandIndexForData()
{
    QFETCH(QVariant, data);
    QFETCH(int, expected);
    cReBar rebar;
    QVERIFY(rebar.CreateRebar(m_form.get()));
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 200, 22), {}, false, false, QStringLiteral("Toolbar"));
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 120, 16), {}, false, false, QStringLiteral("ProgressBar"));
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 50, 16), {}, false, true, 7);
    QCOMPARE(rebar.BandIndexForData(data), expected);
}

void TestReBar::identifiersKeepCountingAndSurviveRemoval()
{
    cReBar rebar;
    rebar.CreateRebar(m_form.get());
    const int first = rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 20), {}, false, false, QStringLiteral("a"));
    const int second = rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 20), {}, false, false, QStringLiteral("b"));
    QVERIFY(first > 0);
    QCOMPARE(second, first + 1);
    rebar.RemoveBand(0);
    const int third = rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 20), {}, false, false, QStringLiteral("c"));
    QCOMPARE(third, first + 2);
    QCOMPARE(rebar.BandIndexForId(second), 0);
    QCOMPARE(rebar.BandIndexForId(first), -1);
    QCOMPARE(rebar.BandIDForIndex(1), third);
    QCOMPARE(rebar.BandData(second), QVariant(QStringLiteral("b")));
    QCOMPARE(rebar.BandData(first), QVariant());
}

void TestReBar::removedBandGivesItsChildBack()
{
    QWidget *holder = sizedWidget(m_form.get(), 300, 100);
    QWidget *child = sizedWidget(holder, 100, 20);
    cReBar rebar;
    rebar.CreateRebar(m_form.get());
    rebar.AddBandByHwnd(child);
    QCOMPARE(child->parentWidget(), rebar.hwnd());
    rebar.RemoveAllRebarBands();
    QCOMPARE(child->parentWidget(), holder);
    QCOMPARE(rebar.BandCount(), 0);
}

void TestReBar::dockingLeavesRoomForEarlierWindows_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QRect>("expected"); // x, y, width; the height is the rebar's
    QTest::newRow("nothing docked") << -1 << true << QRect(0, 0, 400, 0);
    QTest::newRow("window on the same side") << int(cReBar::Top) << true << QRect(0, 32, 400, 0);
    QTest::newRow("window on the left") << int(cReBar::Left) << true << QRect(32, 0, 368, 0);
    QTest::newRow("window on the right") << int(cReBar::Right) << true << QRect(0, 0, 368, 0);
    QTest::newRow("window opposite") << int(cReBar::Bottom) << true << QRect(0, 0, 400, 0);
    QTest::newRow("hidden window on the same side") << int(cReBar::Top) << false << QRect(0, 0, 400, 0);
}

void TestReBar::dockingLeavesRoomForEarlierWindows()
{
    QFETCH(int, side);
    QFETCH(bool, visible);
    QFETCH(QRect, expected);
    if (side >= 0) {
        QWidget *docked = sizedWidget(m_form.get(), 30, 30);
        docked->setVisible(visible);
        cReBar::AddResizeObject(m_form.get(), docked, cReBar::Side(side));
    }
    cReBar rebar;
    rebar.CreateRebar(m_form.get());
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 24));
    expected.setHeight(rebar.RebarHeight());
    QCOMPARE(rebar.hwnd()->geometry(), expected);
}

void TestReBar::twoRebarsStackWithTwoPixels()
{
    cReBar outer;
    cReBar inner;
    outer.CreateRebar(m_form.get());
    inner.CreateRebar(m_form.get());
    outer.AddBandByHwnd(sizedWidget(m_form.get(), 100, 24));
    inner.AddBandByHwnd(sizedWidget(m_form.get(), 100, 30));
    inner.RebarSize();
    QCOMPARE(outer.hwnd()->y(), 0);
    QCOMPARE(inner.hwnd()->y(), outer.RebarHeight() + cReBar::kDockSpacing);
    // A window registered later never pushes an earlier one.
    cReBar::AddResizeObject(m_form.get(), sizedWidget(m_form.get(), 400, 50), cReBar::Top);
    outer.RebarSize();
    QCOMPARE(outer.hwnd()->y(), 0);
}

void TestReBar::dockingFollowsTheForm()
{
    cReBar rebar;
    rebar.setPosition(cReBar::Right);
    rebar.CreateRebar(m_form.get());
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 40, 100));
    m_form->resize(500, 350);
    QCOMPARE(rebar.hwnd()->geometry(), QRect(500 - rebar.RebarHeight(), 0, rebar.RebarHeight(), 350));
}

void TestReBar::positionMovesTheRebarAndReportsItsHeight()
{
    cReBar rebar;
    rebar.CreateRebar(m_form.get());
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 24));
    QSignalSpy heights(&rebar, &cReBar::HeightChanged);
    rebar.setPosition(cReBar::Bottom);
    QCOMPARE(rebar.Position(), cReBar::Bottom);
    QCOMPARE(rebar.hwnd()->geometry(), QRect(0, 300 - rebar.RebarHeight(), 400, rebar.RebarHeight()));
    QVERIFY(!heights.isEmpty());
    QCOMPARE(heights.last().at(0).toInt(), rebar.RebarHeight());
}

void TestReBar::heightFollowsRowsAndVisibility()
{
    cReBar rebar;
    rebar.CreateRebar(m_form.get());
    QCOMPARE(rebar.RebarHeight(), 0);
    QSignalSpy heights(&rebar, &cReBar::HeightChanged);
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 24));
    const int oneRow = rebar.RebarHeight();
    QVERIFY(oneRow >= 24);
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 20));
    QCOMPARE(rebar.RebarHeight(), oneRow);
    const int id = rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 30), {}, true);
    const int twoRows = rebar.RebarHeight();
    QVERIFY(twoRows >= oneRow + 30);
    const int last = rebar.BandIndexForId(id);
    QVERIFY(rebar.GetBandRectangle(last).top() >= rebar.GetBandRectangle(0).bottom());

    rebar.setBandVisible(last, false);
    QVERIFY(!rebar.BandVisible(last));
    QCOMPARE(rebar.RebarHeight(), oneRow);
    QVERIFY(rebar.GetBandRectangle(last).isEmpty());
    QCOMPARE(heights.last().at(0).toInt(), oneRow);
    QCOMPARE(heights.count(), 3);
}

void TestReBar::minimumChildWidthSetsTheBandLength()
{
    cReBar rebar;
    rebar.CreateRebar(m_form.get());
    QWidget *first = sizedWidget(m_form.get(), 100, 20);
    QWidget *second = sizedWidget(m_form.get(), 60, 20);
    rebar.AddBandByHwnd(first);
    rebar.AddBandByHwnd(second);
    QCOMPARE(rebar.BandChildMinWidth(0), 100);
    QCOMPARE(first->width(), 100);
    const int secondLeft = rebar.GetBandRectangle(1).left();
    rebar.setBandChildMinWidth(0, 150);
    QCOMPARE(first->width(), 150);
    QCOMPARE(rebar.GetBandRectangle(1).left(), secondLeft + 50);
    // The last band of a row takes the rest of it.
    QCOMPARE(rebar.GetBandRectangle(1).right(), rebar.hwnd()->contentsRect().right());
}

void TestReBar::backgroundBitmapIsDrawnBehindTheBands()
{
    cReBar rebar;
    rebar.setImageFile(QStringLiteral("/nonexistent/logo.bmp"));
    QVERIFY(!rebar.HasBitmap());
    QPixmap tile(8, 8);
    tile.fill(Qt::darkCyan);
    rebar.setImagePicture(tile);
    QVERIFY(rebar.HasBitmap());
    rebar.CreateRebar(m_form.get());
    rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 24), {}, false, true);
    const QRect band = rebar.GetBandRectangle(0);
    const QImage drawn = rebar.hwnd()->grab().toImage();
    // The band's child does not paint its own background, so the bitmap shows through.
    QCOMPARE(drawn.pixelColor(band.center()), QColor(Qt::darkCyan));
}

void TestReBar::bandStyleShapesTheChild_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QPoint>("moved");
    QTest::addColumn<int>("heightChange");
    QTest::newRow("no gripper") << QStringLiteral("gripper off") << QPoint(-8, 0) << 0;
    QTest::newRow("child edge") << QStringLiteral("edge on") << QPoint(2, 2) << 0;
    QTest::newRow("maximum height") << QStringLiteral("max 10") << QPoint(0, 0) << -14;
}

void TestReBar::bandStyleShapesTheChild()
{
    QFETCH(QString, change);
    QFETCH(QPoint, moved);
    QFETCH(int, heightChange);
    cReBar rebar;
    rebar.CreateRebar(m_form.get());
    QWidget *child = sizedWidget(m_form.get(), 100, 24);
    rebar.AddBandByHwnd(child);
    QVERIFY(rebar.BandGripper(0));
    const QRect before = child->geometry();
    if (change == QStringLiteral("gripper off"))
        rebar.setBandGripper(0, false);
    else if (change == QStringLiteral("edge on"))
        rebar.setBandChildEdge(0, true);
    else
        rebar.setBandChildMaxHeight(0, 10);
    QCOMPARE(child->pos(), before.topLeft() + moved);
    QCOMPARE(child->height(), before.height() + heightChange);
}

void TestReBar::bandMoveReordersAndReportsTheLayout()
{
    cReBar rebar;
    rebar.CreateRebar(m_form.get());
    const int first = rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 20));
    const int second = rebar.AddBandByHwnd(sizedWidget(m_form.get(), 100, 20));
    QSignalSpy layouts(&rebar, &cReBar::LayoutChanged);
    rebar.BandMove(0, 1);
    QCOMPARE(rebar.BandIDForIndex(0), second);
    QCOMPARE(rebar.BandIDForIndex(1), first);
    QCOMPARE(layouts.count(), 1);
    QVERIFY(rebar.GetBandRectangle(0).left() < rebar.GetBandRectangle(1).left());
    rebar.BandMove(0, 5);
    QCOMPARE(layouts.count(), 1);
}

QTEST_MAIN(TestReBar)
#include "test_rebar.moc"
