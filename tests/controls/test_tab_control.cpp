#include "controls/PropertyBag.h"
#include "controls/TabControl.h"
#include "services/ControlError.h"
#include "services/IconList.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <functional>

using TabCall = std::function<void(TabControl &)>;
Q_DECLARE_METATYPE(TabCall)

namespace {

// Three tabs "General", "Files", "About" keyed "gen", "fil", "abt", item data 10, 20, 30.
void addSettingsTabs(TabControl &tabs)
{
    tabs.AddTab(QStringLiteral("General"), 0, -1, QStringLiteral("gen"), 10);
    tabs.AddTab(QStringLiteral("Files"), 1, -1, QStringLiteral("fil"), 20);
    tabs.AddTab(QStringLiteral("About"), 2, -1, QStringLiteral("abt"), 30);
}

QStringList keysInOrder(const TabControl &tabs)
{
    QStringList keys;
    for (int i = 1; i <= tabs.TabCount(); ++i)
        keys.append(tabs.TabKey(i) + QLatin1Char('=') + tabs.TabText(i));
    return keys;
}

// Counts the events; cancels BeforeClick when asked to.
struct EventLog
{
    explicit EventLog(TabControl &tabs, bool cancel = false)
    {
        QObject::connect(&tabs, &TabControl::BeforeClick, &tabs, [this, cancel](int tab, bool &bCancel) {
            beforeClicks.append(tab);
            bCancel = cancel;
        });
        QObject::connect(&tabs, &TabControl::TabClick, &tabs, [this](int tab) { tabClicks.append(tab); });
    }
    QList<int> beforeClicks;
    QList<int> tabClicks;
};

QPoint centreOfTab(const TabControl &tabs, int position)
{
    return tabs.TabCtrlhWnd()->tabRect(position - 1).center();
}

} // namespace

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
        row("-1 appends", -1, { "gen=General", "fil=Files", "abt=About", "new=New" });
        row("below -1 appends", -5, { "gen=General", "fil=Files", "abt=About", "new=New" });
        row("no position appends", QVariant(), { "gen=General", "fil=Files", "abt=About", "new=New" });
        row("position 1 goes first", 1, { "new=New", "gen=General", "fil=Files", "abt=About" });
        row("position 3 goes before the third", 3, { "gen=General", "fil=Files", "new=New", "abt=About" });
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
        tabs.AddTab(QStringLiteral("New"), -1, before, QStringLiteral("new"), 99);
        QCOMPARE(keysInOrder(tabs), expected);
    }

    void tabsKeepTheirItemDataAndImages()
    {
        TabControl tabs;
        addSettingsTabs(tabs);
        tabs.AddTab(QStringLiteral("New"), 7, 1, QStringLiteral("new"), 99);
        QCOMPARE(tabs.TabItemData(QStringLiteral("new")), 99);
        QCOMPARE(tabs.TabItemData(2), 10);
        QCOMPARE(tabs.TabImage(QStringLiteral("abt")), 2);
        QCOMPARE(tabs.IndexForTab(QStringLiteral("abt")), 4);
        tabs.setTabItemData(QStringLiteral("fil"), -4);
        tabs.setTabImage(3, 5);
        QCOMPARE(tabs.TabItemData(3), -4);
        QCOMPARE(tabs.TabImage(QStringLiteral("fil")), 5);
    }

    void removeTabClosesTheGap()
    {
        TabControl tabs;
        addSettingsTabs(tabs);
        tabs.RemoveTab(QStringLiteral("gen"));
        QCOMPARE(keysInOrder(tabs), (QStringList { "fil=Files", "abt=About" }));
        QCOMPARE(tabs.TabItemData(1), 20);
        tabs.RemoveTab(QStringLiteral("nothing"));
        QCOMPARE(tabs.TabCount(), 2);
        tabs.RemoveAllTabs();
        QCOMPARE(tabs.TabCount(), 0);
        QCOMPARE(tabs.SelectedTab(), 0);
        tabs.AddTab(QStringLiteral("Again"), -1, -1, QStringLiteral("again"));
        QCOMPARE(keysInOrder(tabs), (QStringList { "again=Again" }));
    }

    void addingTabsRaisesNoEvents()
    {
        TabControl tabs;
        EventLog log(tabs);
        addSettingsTabs(tabs);
        QCOMPARE(tabs.SelectedTab(), 1);
        QVERIFY(log.beforeClicks.isEmpty());
        QVERIFY(log.tabClicks.isEmpty());
    }

    void selectTab_data()
    {
        QTest::addColumn<bool>("noEvents");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<int>>("beforeClicks");
        QTest::addColumn<QList<int>>("tabClicks");
        QTest::newRow("with events") << false << false << 3 << QList<int> { 1 } << QList<int> { 3 };
        QTest::newRow("bNoEvents raises neither event")
            << true << false << 3 << QList<int> {} << QList<int> {};
        QTest::newRow("cancelled BeforeClick keeps the tab")
            << false << true << 1 << QList<int> { 1 } << QList<int> {};
        QTest::newRow("bNoEvents is not cancellable") << true << true << 3 << QList<int> {} << QList<int> {};
    }
    void selectTab()
    {
        QFETCH(bool, noEvents);
        QFETCH(bool, cancel);
        QFETCH(int, selected);
        QFETCH(QList<int>, beforeClicks);
        QFETCH(QList<int>, tabClicks);
        TabControl tabs;
        addSettingsTabs(tabs);
        EventLog log(tabs, cancel);
        tabs.SelectTab(QStringLiteral("abt"), noEvents);
        QCOMPARE(tabs.SelectedTab(), selected);
        QCOMPARE(log.beforeClicks, beforeClicks);
        QCOMPARE(log.tabClicks, tabClicks);
    }

    void selectUnknownTabDoesNothing()
    {
        TabControl tabs;
        addSettingsTabs(tabs);
        EventLog log(tabs);
        tabs.SelectTab(QStringLiteral("nope"));
        tabs.SelectTab(4);
        QCOMPARE(tabs.SelectedTab(), 1);
        QVERIFY(log.beforeClicks.isEmpty());
    }

    void userClick_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<int>>("tabClicks");
        QTest::newRow("allowed") << false << 2 << QList<int> { 2 };
        QTest::newRow("cancelled BeforeClick keeps the old tab") << true << 1 << QList<int> {};
    }
    void userClick()
    {
        QFETCH(bool, cancel);
        QFETCH(int, selected);
        QFETCH(QList<int>, tabClicks);
        TabControl tabs;
        tabs.resize(300, 200);
        addSettingsTabs(tabs);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        EventLog log(tabs, cancel);
        QTest::mouseClick(tabs.TabCtrlhWnd(), Qt::LeftButton, {}, centreOfTab(tabs, 2));
        QCOMPARE(tabs.SelectedTab(), selected);
        QCOMPARE(log.beforeClicks, QList<int> { 1 });
        QCOMPARE(log.tabClicks, tabClicks);
    }

    void clickOnTheSelectedTabAsksNothing()
    {
        TabControl tabs;
        tabs.resize(300, 200);
        addSettingsTabs(tabs);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        EventLog log(tabs);
        QTest::mouseClick(tabs.TabCtrlhWnd(), Qt::LeftButton, {}, centreOfTab(tabs, 1));
        QVERIFY(log.beforeClicks.isEmpty());
        QVERIFY(log.tabClicks.isEmpty());
    }

    void arrowKey_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("selected");
        QTest::newRow("allowed") << false << 2;
        QTest::newRow("cancelled") << true << 1;
    }
    void arrowKey()
    {
        QFETCH(bool, cancel);
        QFETCH(int, selected);
        TabControl tabs;
        addSettingsTabs(tabs);
        EventLog log(tabs, cancel);
        QTest::keyClick(tabs.TabCtrlhWnd(), Qt::Key_Right);
        QCOMPARE(tabs.SelectedTab(), selected);
        QCOMPARE(log.beforeClicks, QList<int> { 1 });
    }

    void rightClickRaisesTabRightClick()
    {
        TabControl tabs;
        tabs.resize(300, 200);
        addSettingsTabs(tabs);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QSignalSpy rightClicks(&tabs, &TabControl::TabRightClick);
        EventLog log(tabs);
        QTest::mouseClick(tabs.TabCtrlhWnd(), Qt::RightButton, {}, centreOfTab(tabs, 3));
        QCOMPARE(rightClicks.count(), 1);
        QCOMPARE(tabs.SelectedTab(), 1);
        QVERIFY(log.beforeClicks.isEmpty());
    }

    void errors_data()
    {
        QTest::addColumn<TabCall>("call");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, TabCall call, int offset, const char *message) {
            QTest::newRow(name) << call << offset << QString::fromLatin1(message);
        };
        row(
            "TabKey", [](TabControl &t) { t.TabKey(4); }, 1049, "TabIndex 4 does not exist");
        row(
            "IndexForTab", [](TabControl &t) { t.IndexForTab(QStringLiteral("zz")); }, 1049,
            "TabIndex zz does not exist");
        row(
            "TabImage get", [](TabControl &t) { t.TabImage(QStringLiteral("zz")); }, 1050,
            "Failed to get image for tab zz");
        row(
            "TabText", [](TabControl &t) { t.TabText(0); }, 1051, "TabIndex 0 does not exist");
        row(
            "TabItemData get", [](TabControl &t) { t.TabItemData(QStringLiteral("zz")); }, 1053,
            "Failed to get item data for tab zz");
        row(
            "TabItemData let", [](TabControl &t) { t.setTabItemData(9, 1); }, 1054,
            "Failed to set item data for tab 9");
        row(
            "TabImage let", [](TabControl &t) { t.setTabImage(QStringLiteral("zz"), 1); }, 1055,
            "Failed to set image for tab zz");
        row(
            "ImageList of another kind",
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
        try {
            call(tabs);
            QFAIL("no error raised");
        } catch (const ControlError &error) {
            QCOMPARE(error.number(), qint32(0x80040000u) + offset);
            QCOMPARE(error.source(), QStringLiteral("test_tab_control.cTabCtrl"));
            QCOMPARE(error.description(), message);
        }
    }

    void imagesComeFromTheImageList()
    {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        IconList icons;
        icons.AddIcon(QIcon(red));
        TabControl tabs;
        tabs.AddTab(QStringLiteral("With"), 0, -1, QStringLiteral("with"));
        tabs.AddTab(QStringLiteral("Without"), 5, -1, QStringLiteral("without"));
        QVERIFY(tabs.TabCtrlhWnd()->tabIcon(0).isNull());
        tabs.setImageList(&icons);
        QVERIFY(!tabs.TabCtrlhWnd()->tabIcon(0).isNull());
        QVERIFY(tabs.TabCtrlhWnd()->tabIcon(1).isNull());
    }

    void imageListByHandleOrByPointer_data()
    {
        QTest::addColumn<bool>("byHandle");
        QTest::newRow("hImageList number") << true;
        QTest::newRow("IconList pointer") << false;
    }
    void imageListByHandleOrByPointer()
    {
        QFETCH(bool, byHandle);
        QPixmap red(16, 16);
        red.fill(Qt::red);
        IconList icons;
        icons.AddIcon(QIcon(red));
        TabControl tabs;
        tabs.AddTab(QStringLiteral("With"), 0);
        tabs.setImageList(byHandle ? QVariant::fromValue(icons.hImageList()) : QVariant::fromValue(&icons));
        QVERIFY(!tabs.TabCtrlhWnd()->tabIcon(0).isNull());
        QVERIFY_THROWS_EXCEPTION(ControlError, tabs.setImageList(QVariant(2.5f)));
        QVERIFY(tabs.TabCtrlhWnd()->tabIcon(0).isNull());
    }

    void rebuildKeepsTabsAndAppliesStyles()
    {
        TabControl tabs;
        addSettingsTabs(tabs);
        tabs.SelectTab(2, true);
        const QPointer<QTabBar> oldStrip = tabs.TabCtrlhWnd();
        tabs.setTabAlign(TabControl::AlignBottom);
        QCOMPARE(tabs.TabCtrlhWnd()->shape(), QTabBar::RoundedNorth);
        tabs.Rebuild();
        QVERIFY(oldStrip.isNull());
        QCOMPARE(tabs.TabCtrlhWnd()->shape(), QTabBar::RoundedSouth);
        QCOMPARE(keysInOrder(tabs), (QStringList { "gen=General", "fil=Files", "abt=About" }));
        QCOMPARE(tabs.TabItemData(QStringLiteral("abt")), 30);
        QCOMPARE(tabs.SelectedTab(), 2);
    }

    void rebuiltStripStillAsksBeforeClick()
    {
        TabControl tabs;
        addSettingsTabs(tabs);
        tabs.Rebuild();
        EventLog log(tabs, true);
        QTest::keyClick(tabs.TabCtrlhWnd(), Qt::Key_Right);
        QCOMPARE(tabs.SelectedTab(), 1);
        QCOMPARE(log.beforeClicks, QList<int> { 1 });
    }

    void clientAreaLiesBesideTheStrip_data()
    {
        QTest::addColumn<int>("align");
        QTest::newRow("top") << int(TabControl::AlignTop);
        QTest::newRow("left") << int(TabControl::AlignLeft);
        QTest::newRow("bottom") << int(TabControl::AlignBottom);
        QTest::newRow("right") << int(TabControl::AlignRight);
    }
    void clientAreaLiesBesideTheStrip()
    {
        QFETCH(int, align);
        TabControl tabs;
        tabs.setTabAlign(align);
        tabs.Rebuild();
        addSettingsTabs(tabs);
        tabs.resize(400, 300);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        const QRect client(tabs.ClientLeft(), tabs.ClientTop(), tabs.ClientWidth(), tabs.ClientHeight());
        QVERIFY(!client.intersects(tabs.TabCtrlhWnd()->geometry()));
        QVERIFY(tabs.rect().contains(client));
        QVERIFY(client.width() > 300 || client.height() > 220);
    }

    void emptyBagGivesDefaults()
    {
        TabControl tabs;
        tabs.setHotTrack(true);
        tabs.setTabAlign(TabControl::AlignRight);
        tabs.ReadProperties(PropertyBag());
        QCOMPARE(tabs.HotTrack(), false);
        QCOMPARE(tabs.TabAlign(), int(TabControl::AlignTop));
        QCOMPARE(tabs.font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(tabs.font().pointSizeF(), QApplication::font().pointSizeF());
        PropertyBag written;
        tabs.WriteProperties(written);
        QCOMPARE(written.count(), 0);
    }

    void stylesSurviveTheBag()
    {
        TabControl stored;
        stored.setButtons(true);
        stored.setMultiLine(true);
        stored.setTabAlign(TabControl::AlignLeft);
        PropertyBag bag;
        stored.WriteProperties(bag);
        TabControl loaded;
        loaded.ReadProperties(bag);
        QCOMPARE(loaded.Buttons(), true);
        QCOMPARE(loaded.MultiLine(), true);
        QCOMPARE(loaded.FlatButtons(), false);
        QCOMPARE(loaded.TabCtrlhWnd()->shape(), QTabBar::RoundedWest);
    }
};

QTEST_MAIN(TestTabControl)
#include "test_tab_control.moc"
