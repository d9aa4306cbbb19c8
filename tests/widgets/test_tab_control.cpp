#include "TabControl.h"
#include "TabStrip.h"
#include "ControlErrors.h"
#include "IconList.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>

#include <functional>

using TabCall = std::function<void(TabControl &)>;
Q_DECLARE_METATYPE(TabCall)

namespace {

// Three tabs "General", "Files", "About" keyed "gen", "fil", "abt", item data 10, 20, 30.
void addSettingsTabs(TabControl &tabs)
{
    tabs.addTab(QStringLiteral("General"), 0, -1, QStringLiteral("gen"), 10);
    tabs.addTab(QStringLiteral("Files"), 1, -1, QStringLiteral("fil"), 20);
    tabs.addTab(QStringLiteral("About"), 2, -1, QStringLiteral("abt"), 30);
}

QStringList keysInOrder(const TabControl &tabs)
{
    QStringList keys;
    for (int i = 1; i <= tabs.tabCount(); ++i)
        keys.append(tabs.tabKey(i) + QLatin1Char('=') + tabs.tabText(i));
    return keys;
}

// Counts the events; cancels beforeClick when asked to.
struct EventLog
{
    explicit EventLog(TabControl &tabs, bool cancel = false)
    {
        QObject::connect(&tabs, &TabControl::beforeClick, &tabs, [this, cancel](int tab, bool &bCancel) {
            beforeClicks.append(tab);
            bCancel = cancel;
        });
        QObject::connect(&tabs, &TabControl::tabClicked, &tabs, [this](int tab) { tabClicks.append(tab); });
    }
    QList<int> beforeClicks;
    QList<int> tabClicks;
};

// A tab chosen by the program (by key, with or without events) or by the user's click.
struct Selection
{
    bool byMouse, noEvents, cancel;
    int selected;
    QList<int> beforeClicks, tabClicks;
};

// The styles a strip is rebuilt with, and the mouse over its second tab or the focus on it after.
struct Look
{
    bool buttons = false, flatButtons = false, hotTrack = false, mouseOver = false, focus = false;
};

QPoint centreOfTab(const TabControl &tabs, int position)
{
    return tabs.tabCtrlHwnd()->tabRect(position - 1).center();
}

// Arrow keys on the strip: from which tab, which key, whether beforeClick cancels, and after
// it the tab selected and the events raised.
struct ArrowKey
{
    int from;
    Qt::Key key;
    bool cancel;
    int selected;
    QList<int> beforeClicks, tabClicks;
};

// Where the strip sits for a TabAlign: its shape and the control's edge it keeps to.
struct StripSide
{
    int tabAlign;
    QTabBar::Shape shape;
    Qt::Edge edge;
};

// The controls' icon list: three 16 x 16 pictures.
IconList threeIcons()
{
    IconList icons;
    for (int i = 0; i < 3; ++i)
        icons.addIcon(QIcon(QPixmap(16, 16)));
    return icons;
}

} // namespace

Q_DECLARE_METATYPE(Look)
Q_DECLARE_METATYPE(ArrowKey)
Q_DECLARE_METATYPE(StripSide)

// The strip as drawn in a style.
QImage shown(const Look &style)
{
    TabControl tabs;
    tabs.resize(300, 120);
    addSettingsTabs(tabs);
    tabs.show();
    tabs.activateWindow();
    if (!QTest::qWaitForWindowActive(&tabs))
        qWarning("the tab control did not become active");
    tabs.setButtons(style.buttons);
    tabs.setFlatButtons(style.flatButtons);
    tabs.setHotTrack(style.hotTrack);
    tabs.rebuild();
    if (style.mouseOver)
        QTest::mouseMove(tabs.tabCtrlHwnd(), centreOfTab(tabs, 2));
    if (style.focus)
        tabs.tabCtrlHwnd()->setFocus(Qt::TabFocusReason);
    else
        tabs.tabCtrlHwnd()->clearFocus();
    return tabs.tabCtrlHwnd()->grab().toImage();
}

class TestTabControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addTabPlacesTabs_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *name, const QVariant &before, QStringList order) {
            QTest::newRow(name) << before << order;
        };
        row("below -1 appends", -5, { "gen=General", "fil=Files", "abt=About", "new=New" });
        row("no position appends", QVariant(), { "gen=General", "fil=Files", "abt=About", "new=New" });
        row("position 1 goes first", 1, { "new=New", "gen=General", "fil=Files", "abt=About" });
        row("position past the end lands last", 9, { "gen=General", "fil=Files", "abt=About", "new=New" });
        row("key goes before that tab", QStringLiteral("fil"),
            { "gen=General", "new=New", "fil=Files", "abt=About" });
        row("unknown key adds nothing", QStringLiteral("zzz"), { "gen=General", "fil=Files", "abt=About" });
    }
    void addTabPlacesTabs()
    {
        QFETCH(QVariant, before);
        QFETCH(QStringList, expected);
        TabControl tabs;
        addSettingsTabs(tabs);
        tabs.addTab(QStringLiteral("New"), -1, before, QStringLiteral("new"), 99);
        QCOMPARE(keysInOrder(tabs), expected);
    }

    // What is left after a removal: each tab with its own text, key, data and image, also
    // after a rebuild, which makes the strip again from what the control keeps.
    void removeTabTakesEverythingOfIt_data()
    {
        QTest::addColumn<QVariant>("removed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("first, by position") << QVariant(1) << QStringList { "fil=Files/20/1", "abt=About/30/2" };
        QTest::newRow("middle, by key") << QVariant(QStringLiteral("fil")) << QStringList { "gen=General/10/0", "abt=About/30/2" };
        QTest::newRow("last, by position") << QVariant(3) << QStringList { "gen=General/10/0", "fil=Files/20/1" };
        QTest::newRow("unknown key removes nothing")
            << QVariant(QStringLiteral("zzz")) << QStringList { "gen=General/10/0", "fil=Files/20/1", "abt=About/30/2" };
        QTest::newRow("position past the end removes nothing")
            << QVariant(4) << QStringList { "gen=General/10/0", "fil=Files/20/1", "abt=About/30/2" };
    }
    void removeTabTakesEverythingOfIt()
    {
        QFETCH(QVariant, removed);
        QFETCH(QStringList, expected);
        TabControl tabs;
        addSettingsTabs(tabs);
        tabs.removeTab(removed);
        const auto shown = [&tabs] {
            QStringList found;
            for (int i = 1; i <= tabs.tabCount(); ++i) {
                found << QStringLiteral("%1=%2/%3/%4")
                             .arg(tabs.tabKey(i), tabs.tabText(i))
                             .arg(tabs.tabItemData(i))
                             .arg(tabs.tabImage(i));
            }
            return found;
        };
        QCOMPARE(shown(), expected);
        QCOMPARE(tabs.tabCtrlHwnd()->count(), expected.size());
        tabs.rebuild();
        QCOMPARE(shown(), expected);
        QCOMPARE(tabs.tabCtrlHwnd()->count(), expected.size());
    }

    void selectTab_data()
    {
        QTest::addColumn<Selection>("selection");
        QTest::newRow("with events") << Selection { false, false, false, 3, { 1 }, { 3 } };
        QTest::newRow("bNoEvents raises neither event") << Selection { false, true, false, 3, {}, {} };
        QTest::newRow("cancelled BeforeClick keeps the tab") << Selection { false, false, true, 1, { 1 }, {} };
        QTest::newRow("bNoEvents is not cancellable") << Selection { false, true, true, 3, {}, {} };
        QTest::newRow("user click") << Selection { true, false, false, 3, { 1 }, { 3 } };
        QTest::newRow("user click, BeforeClick cancelled") << Selection { true, false, true, 1, { 1 }, {} };
    }
    void selectTab()
    {
        QFETCH(Selection, selection);
        TabControl tabs;
        tabs.resize(300, 200);
        addSettingsTabs(tabs);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        EventLog log(tabs, selection.cancel);
        if (selection.byMouse)
            QTest::mouseClick(tabs.tabCtrlHwnd(), Qt::LeftButton, {}, centreOfTab(tabs, 3));
        else
            tabs.selectTab(QStringLiteral("abt"), selection.noEvents);
        QCOMPARE(tabs.selectedTab(), selection.selected);
        QCOMPARE(log.beforeClicks, selection.beforeClicks);
        QCOMPARE(log.tabClicks, selection.tabClicks);
    }

    void errors_data()
    {
        QTest::addColumn<TabCall>("call");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, TabCall call, int offset, const char *message) {
            QTest::newRow(name) << call << offset << QString::fromLatin1(message);
        };
        row("TabKey", [](TabControl &t) { t.tabKey(4); }, 1049, "TabIndex 4 does not exist");
        row("TabText", [](TabControl &t) { t.tabText(0); }, 1051, "TabIndex 0 does not exist");
        row("TabItemData let", [](TabControl &t) { t.setTabItemData(9, 1); }, 1054,
            "Failed to set item data for tab 9");
        row("TabImage get", [](TabControl &t) { t.tabImage(QStringLiteral("xyz")); }, 1050,
            "Failed to get image for tab xyz");
        row("TabImage let", [](TabControl &t) { t.setTabImage(0, 1); }, 1055, "Failed to set image for tab 0");
        row("TabItemData get", [](TabControl &t) { t.tabItemData(4); }, 1053, "Failed to get item data for tab 4");
        row("IndexForTab", [](TabControl &t) { t.indexForTab(QStringLiteral("gone")); }, 1049,
            "TabIndex gone does not exist");
        row("ImageList of another kind",
            [](TabControl &t) { t.setImageList(QVariant(QStringLiteral("icons"))); }, 1052,
            "Invalid Image List.");
    }
    void errors()
    {
        QFETCH(TabCall, call);
        QFETCH(int, offset);
        QFETCH(QString, message);
        TabControl tabs;
        addSettingsTabs(tabs);
        QCOMPARE(raisedBy([&] { call(tabs); }), QStringLiteral("%1 test_tab_control.cTabCtrl: %2").arg(offset).arg(message));
    }

    // Each style, after a rebuild, changes what the strip shows against the plain strip, or
    // against another style.
    void stylesShow_data()
    {
        QTest::addColumn<Look>("look");
        QTest::addColumn<bool>("looksAlike");
        QTest::addColumn<Look>("against");
        QTest::newRow("buttons") << Look { .buttons = true } << false << Look {};
        QTest::newRow("flat buttons without buttons") << Look { .flatButtons = true } << true << Look {};
        QTest::newRow("flat buttons differ from buttons")
            << Look { .buttons = true, .flatButtons = true } << false << Look { .buttons = true };
        QTest::newRow("hot track, mouse away") << Look { .hotTrack = true } << true << Look {};
        QTest::newRow("hot track, mouse over a tab")
            << Look { .hotTrack = true, .mouseOver = true } << false << Look {};
        QTest::newRow("keyboard focus on the strip") << Look { .focus = true } << false << Look {};
    }
    void stylesShow()
    {
        QFETCH(Look, look);
        QFETCH(bool, looksAlike);
        QFETCH(Look, against);
        const QImage other = shown(against);
        QCOMPARE(shown(look) == other, looksAlike);
    }

    // Plain tabs are drawn by the strip itself: their captions show.
    void plainTabsShowTheirCaptions()
    {
        const QImage strip = shown(Look {});
        QSet<QRgb> colours;
        for (int y = 0; y < strip.height(); ++y) {
            for (int x = 0; x < strip.width(); ++x)
                colours.insert(strip.pixel(x, y));
        }
        QVERIFY2(colours.size() > 8, "a strip of plain tabs draws text, not one flat colour");
    }

    void multiLineShowsEveryTabInRows_data()
    {
        QTest::addColumn<int>("tabAlign");
        QTest::addColumn<bool>("rows");
        QTest::newRow("top") << int(TabControl::AlignTop) << true;
        QTest::newRow("bottom") << int(TabControl::AlignBottom) << true;
        QTest::newRow("left: one column, as Qt lays it out") << int(TabControl::AlignLeft) << false;
    }
    void multiLineShowsEveryTabInRows()
    {
        QFETCH(int, tabAlign);
        QFETCH(bool, rows);
        TabControl tabs;
        tabs.resize(160, 200);
        for (const char *name : { "General", "Files", "About", "Colours", "Keys", "Extras" })
            tabs.addTab(QString::fromLatin1(name), -1, -1, QString::fromLatin1(name).toLower());
        tabs.setMultiLine(true);
        tabs.setTabAlign(TabControl::TabAlignment(tabAlign));
        tabs.rebuild();
        tabs.show();
        const auto *strip = static_cast<const TabStrip *>(tabs.tabCtrlHwnd());
        const QRect first = strip->shownTabRect(0);
        const QRect last = strip->shownTabRect(tabs.tabCount() - 1);
        QVERIFY(last.top() > first.top());
        QCOMPARE(last != strip->tabRect(tabs.tabCount() - 1), rows);
        if (!rows)
            return;
        for (int i = 0; i < tabs.tabCount(); ++i)
            QVERIFY2(strip->rect().contains(strip->shownTabRect(i)), qPrintable(tabs.tabText(i + 1)));
        QVERIFY2(tabs.clientTop() > last.bottom() || tabs.clientTop() + tabs.clientHeight() <= strip->y(),
            "the pane leaves every row in sight");
        EventLog log(tabs);
        QTest::mouseClick(tabs.tabCtrlHwnd(), Qt::LeftButton, {}, last.center());
        QCOMPARE(tabs.selectedTab(), tabs.tabCount());
        QCOMPARE(log.tabClicks, QList<int> { tabs.tabCount() });
    }

    // The arrow keys on the strip move to the next tab, asking beforeClick first; at either end
    // nothing moves and nothing is asked.
    void arrowKeys_data()
    {
        QTest::addColumn<ArrowKey>("press");
        QTest::newRow("right from the first") << ArrowKey { 1, Qt::Key_Right, false, 2, { 1 }, { 2 } };
        QTest::newRow("left from the last") << ArrowKey { 3, Qt::Key_Left, false, 2, { 3 }, { 2 } };
        QTest::newRow("right on the last") << ArrowKey { 3, Qt::Key_Right, false, 3, {}, {} };
        QTest::newRow("left on the first") << ArrowKey { 1, Qt::Key_Left, false, 1, {}, {} };
        QTest::newRow("beforeClick cancels") << ArrowKey { 2, Qt::Key_Right, true, 2, { 2 }, {} };
    }
    void arrowKeys()
    {
        QFETCH(ArrowKey, press);
        TabControl tabs;
        tabs.resize(300, 200);
        addSettingsTabs(tabs);
        tabs.selectTab(press.from, true);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        EventLog log(tabs, press.cancel);
        QTest::keyClick(tabs.tabCtrlHwnd(), press.key);
        QCOMPARE(tabs.selectedTab(), press.selected);
        QCOMPARE(log.beforeClicks, press.beforeClicks);
        QCOMPARE(log.tabClicks, press.tabClicks);
    }

    // The wheel turns no tab; a right click selects none and is reported as tabRightClicked.
    void wheelAndRightClickKeepTheTab()
    {
        TabControl tabs;
        tabs.resize(300, 200);
        addSettingsTabs(tabs);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        EventLog log(tabs);
        QSignalSpy rightClicks(&tabs, &TabControl::tabRightClicked);
        const QPoint second = centreOfTab(tabs, 2);
        QWheelEvent wheel(second, tabs.tabCtrlHwnd()->mapToGlobal(second), {}, { 0, -120 }, Qt::NoButton, {},
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(tabs.tabCtrlHwnd(), &wheel);
        QTest::mouseClick(tabs.tabCtrlHwnd(), Qt::RightButton, {}, second);
        QCOMPARE(tabs.selectedTab(), 1);
        QCOMPARE(rightClicks.count(), 1);
        QCOMPARE(log.beforeClicks, QList<int> {});
        QCOMPARE(log.tabClicks, QList<int> {});
        QTest::mouseClick(tabs.tabCtrlHwnd(), Qt::LeftButton, {}, second);
        QCOMPARE(rightClicks.count(), 1);
    }

    void selectingAnUnknownTabDoesNothing()
    {
        TabControl tabs;
        addSettingsTabs(tabs);
        tabs.selectTab(2, true);
        EventLog log(tabs);
        tabs.selectTab(QStringLiteral("nope"));
        tabs.selectTab(4);
        QCOMPARE(tabs.selectedTab(), 2);
        QCOMPARE(log.beforeClicks, QList<int> {});
    }

    // The strip keeps to the edge TabAlign names; the client area takes the rest inside a
    // two-pixel frame, clear of the strip.
    void clientAreaBesideTheStrip_data()
    {
        QTest::addColumn<StripSide>("side");
        QTest::newRow("top") << StripSide { TabControl::AlignTop, QTabBar::RoundedNorth, Qt::TopEdge };
        QTest::newRow("left") << StripSide { TabControl::AlignLeft, QTabBar::RoundedWest, Qt::LeftEdge };
        QTest::newRow("bottom") << StripSide { TabControl::AlignBottom, QTabBar::RoundedSouth, Qt::BottomEdge };
        QTest::newRow("right") << StripSide { TabControl::AlignRight, QTabBar::RoundedEast, Qt::RightEdge };
    }
    void clientAreaBesideTheStrip()
    {
        QFETCH(StripSide, side);
        TabControl tabs;
        tabs.resize(300, 200);
        addSettingsTabs(tabs);
        tabs.setTabAlign(side.tabAlign);
        tabs.rebuild();
        tabs.show();
        const QRect strip = tabs.tabCtrlHwnd()->geometry();
        const QRect client(tabs.clientLeft(), tabs.clientTop(), tabs.clientWidth(), tabs.clientHeight());
        QCOMPARE(tabs.tabCtrlHwnd()->shape(), side.shape);
        QVERIFY(!strip.isEmpty());
        QVERIFY(!client.intersects(strip));
        const bool across = side.edge == Qt::TopEdge || side.edge == Qt::BottomEdge;
        const QRect inFrame = tabs.rect().adjusted(2, 2, -2, -2);
        QVERIFY(inFrame.contains(client));
        if (across) {
            QCOMPARE(strip.width(), tabs.width());
            QCOMPARE(client.width(), inFrame.width());
            QCOMPARE(client.height(), tabs.height() - strip.height() - 4);
        } else {
            QCOMPARE(strip.height(), tabs.height());
            QCOMPARE(client.height(), inFrame.height());
            QCOMPARE(client.width(), tabs.width() - strip.width() - 4);
        }
        switch (side.edge) {
        case Qt::TopEdge:
            QCOMPARE(strip.top(), 0);
            break;
        case Qt::LeftEdge:
            QCOMPARE(strip.left(), 0);
            break;
        case Qt::BottomEdge:
            QCOMPARE(strip.bottom(), tabs.height() - 1);
            break;
        case Qt::RightEdge:
            QCOMPARE(strip.right(), tabs.width() - 1);
            break;
        }
    }

    // Each tab shows the icon of its own image index, from a list given as itself or by its
    // handle; a list of another kind takes the icons away.
    void tabImages()
    {
        const IconList icons = threeIcons();
        TabControl tabs;
        addSettingsTabs(tabs);
        QVERIFY(tabs.tabCtrlHwnd()->tabIcon(0).isNull());
        tabs.setImageList(QVariant::fromValue(icons.hImageList()));
        QVERIFY(!tabs.tabCtrlHwnd()->tabIcon(0).isNull());
        tabs.setTabImage(QStringLiteral("fil"), 7);
        QCOMPARE(tabs.tabImage(2), 7);
        QVERIFY2(tabs.tabCtrlHwnd()->tabIcon(1).isNull(), "an index past the list shows none");
        tabs.setTabImage(2, 1);
        QCOMPARE(tabs.tabImage(QStringLiteral("fil")), 1);
        QVERIFY(!tabs.tabCtrlHwnd()->tabIcon(1).isNull());
        QCOMPARE(tabs.tabCtrlHwnd()->iconSize(), QSize(16, 16));
        QVERIFY_THROWS_EXCEPTION(ControlError, tabs.setImageList(QVariant(QStringLiteral("icons"))));
        for (int i = 0; i < tabs.tabCount(); ++i)
            QVERIFY(tabs.tabCtrlHwnd()->tabIcon(i).isNull());
    }

    // After RemoveAllTabs nothing is selected and nothing of the old tabs is left.
    void removeAllTabsLeavesNothing()
    {
        TabControl tabs;
        addSettingsTabs(tabs);
        EventLog log(tabs);
        tabs.removeAllTabs();
        QCOMPARE(tabs.tabCount(), 0);
        QCOMPARE(tabs.selectedTab(), 0);
        QVERIFY_THROWS_EXCEPTION(ControlError, tabs.tabKey(1));
        tabs.addTab(QStringLiteral("Only"), -1, -1, QStringLiteral("one"), 5);
        QCOMPARE(keysInOrder(tabs), QStringList { "one=Only" });
        QCOMPARE(tabs.tabItemData(QStringLiteral("one")), 5);
        QCOMPARE(tabs.indexForTab(QStringLiteral("one")), 1);
        QCOMPARE(log.tabClicks, QList<int> {});
    }

    void rebuildKeepsTabsAndAppliesStyles()
    {
        TabControl tabs;
        addSettingsTabs(tabs);
        tabs.selectTab(2, true);
        const QPointer<QTabBar> oldStrip = tabs.tabCtrlHwnd();
        tabs.setTabAlign(TabControl::AlignBottom);
        QCOMPARE(tabs.tabCtrlHwnd()->shape(), QTabBar::RoundedNorth);
        tabs.rebuild();
        QVERIFY(oldStrip.isNull());
        QCOMPARE(tabs.tabCtrlHwnd()->shape(), QTabBar::RoundedSouth);
        QCOMPARE(keysInOrder(tabs), (QStringList { "gen=General", "fil=Files", "abt=About" }));
        QCOMPARE(tabs.tabItemData(QStringLiteral("abt")), 30);
        QCOMPARE(tabs.selectedTab(), 2);
    }
};

QTEST_MAIN(TestTabControl)
#include "test_tab_control.moc"
