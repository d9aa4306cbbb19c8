#include "StatusBar.h"
#include "ControlError.h"
#include "IconList.h"

#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <optional>

using StatusCall = std::function<void(StatusBar &)>;
Q_DECLARE_METATYPE(StatusCall)

namespace {

constexpr int kBarWidth = 400;
constexpr int kBarHeight = 24;
constexpr int kGripRoom = (3 * kBarHeight) / 4;

// A bar of fixed size so that the spare width and the size-grip room are known.
void sizeBar(StatusBar &bar)
{
    bar.setFixedSize(kBarWidth, kBarHeight);
    bar.show();
}

QList<int> panelWidths(const StatusBar &bar)
{
    QList<int> widths;
    for (int i = 1; i <= bar.panelCount(); ++i)
        widths.append(bar.panelWidth(i));
    return widths;
}

std::optional<ControlError> raised(const std::function<void()> &call)
{
    try {
        call();
    } catch (const ControlError &error) {
        return error;
    }
    return std::nullopt;
}

// A click at x on the bar, the panel it falls on and the button number it reports.
struct Click
{
    Qt::MouseButton button;
    bool doubleClick;
    int x, panel, buttonCode;
};

// Collects the region of every paint a widget gets.
struct PaintWatcher : QObject
{
    explicit PaintWatcher(QWidget &widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
    QRegion painted;
};

} // namespace

class TestStatusBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data()
    {
        QTest::addColumn<QList<int>>("minWidths");
        QTest::addColumn<int>("springPanel");
        QTest::addColumn<QList<int>>("widths");
        const int spare = kBarWidth - kGripRoom;
        QTest::newRow("no spring: the last panel takes the spare width")
            << QList<int> { 50, 60 } << 0 << QList<int> { 50, kBarWidth - 50 };
        QTest::newRow("spring in the middle")
            << QList<int> { 50, 60, 70 } << 2 << QList<int> { 50, spare - 50 - 70, 70 + kGripRoom };
        QTest::newRow("exactly the bar's width: nothing grows")
            << QList<int> { 100, spare - 100 } << 1 << QList<int> { 100, spare - 100 + kGripRoom };
        QTest::newRow("wider than the bar: nothing grows")
            << QList<int> { 300, 200 } << 1 << QList<int> { 300, 200 + kGripRoom };
        QTest::newRow("one panel fills the bar") << QList<int> { 10 } << 0 << QList<int> { kBarWidth };
    }
    void layout()
    {
        QFETCH(QList<int>, minWidths);
        QFETCH(int, springPanel);
        QFETCH(QList<int>, widths);
        StatusBar bar;
        sizeBar(bar);
        for (int i = 0; i < minWidths.size(); ++i)
            bar.addPanel(StatusBar::Sunken, {}, {}, -1, minWidths.at(i), i + 1 == springPanel);
        QCOMPARE(panelWidths(bar), widths);
        const int lastRight = bar.panelRect(bar.panelCount()).right() + 1;
        QCOMPARE(lastRight, std::accumulate(widths.cbegin(), widths.cend(), 0));
    }

    // A text wider than its panel is cut in the middle, so a path keeps its file name; a text
    // that fits shows whole.
    void panelTextIsCutInTheMiddle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("withIcon");
        QTest::addColumn<bool>("cut");
        const QString longPath = QStringLiteral("/home/someone/sites/harbour-bakery").repeated(6) + QStringLiteral("/page one.html");
        QTest::newRow("a long path") << longPath << false << true;
        QTest::newRow("a long path beside an icon") << longPath << true << true;
        QTest::newRow("a short path") << QStringLiteral("/a.html") << true << false;
    }
    void panelTextIsCutInTheMiddle()
    {
        QFETCH(QString, text);
        QFETCH(bool, withIcon);
        QFETCH(bool, cut);
        IconList icons;
        icons.addIcon(QIcon(QPixmap(16, 16)));
        StatusBar bar;
        bar.setImageList(&icons);
        bar.addPanel(StatusBar::Sunken, text, {}, withIcon ? 0 : -1, 200, false, false, 0, QStringLiteral("fil"));
        sizeBar(bar);
        const QString shown = bar.panelShownText(QStringLiteral("fil"));
        QCOMPARE(shown != text, cut);
        const QString fileName = text.section('/', -1);
        QVERIFY2(shown.endsWith(fileName) && shown.startsWith(QStringLiteral("/")), qPrintable(shown));
        QVERIFY(bar.fontMetrics().horizontalAdvance(shown) <= bar.panelWidth(1));
        if (cut)
            QVERIFY(shown.contains(QChar(0x2026)));
    }

    void springMovesToTheNewestSpringPanel()
    {
        StatusBar bar;
        sizeBar(bar);
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 50, true, false, 0, QStringLiteral("a"));
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 50, true, false, 0, QStringLiteral("b"));
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 50, false, false, 0, QStringLiteral("c"));
        QCOMPARE(
            panelWidths(bar), (QList<int> { 50, kBarWidth - 100 - 50 - kGripRoom + 50, 50 + kGripRoom }));

        bar.setPanelSpring(QStringLiteral("a"), true);
        QCOMPARE(bar.panelWidth(1), kBarWidth - 100 - kGripRoom);
        QCOMPARE(bar.panelWidth(2), 50);
    }

    void wrongImageListClearsTheList()
    {
        IconList icons;
        icons.addIcon(QIcon(QPixmap(16, 16)));
        StatusBar bar;
        sizeBar(bar);
        bar.setImageList(QVariant::fromValue(icons.hImageList()));
        bar.addPanel(StatusBar::Sunken, {}, {}, 0, 80);
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 80);
        QCOMPARE(bar.panelWidth(1), 96);
        const auto error = raised([&bar] { bar.setImageList(QVariant(QStringLiteral("icons"))); });
        QCOMPARE(error ? error->number() : 0, qint32(0x80040000u) + 1049);
        QCOMPARE(bar.panelWidth(1), 80);
    }

    // A refused call names itself and leaves the panels as they were.
    void refusedCalls_data()
    {
        QTest::addColumn<int>("panels");
        QTest::addColumn<StatusCall>("call");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown key") << 2 << StatusCall([](StatusBar &b) {
            b.removePanel(QStringLiteral("nope"));
        }) << 1050 << QStringLiteral("Invalid Panel Index: nope");
        QTest::newRow("index 0") << 2 << StatusCall([](StatusBar &b) { b.panelText(0); }) << 1050
                                 << QStringLiteral("Invalid Panel Index: 0");
        QTest::newRow("insert before an unknown key") << 2 << StatusCall([](StatusBar &b) {
            b.addPanel(StatusBar::Sunken, {}, {}, -1, 0, false, false, 0, {}, QStringLiteral("x"));
        }) << 1050 << QStringLiteral("Invalid Panel Index: x");
        QTest::newRow("a panel past 255") << int(StatusBar::MaxPanels)
                                          << StatusCall([](StatusBar &b) { b.addPanel(); }) << 1051
                                          << QStringLiteral("Too many panels.");
    }
    void refusedCalls()
    {
        QFETCH(int, panels);
        QFETCH(StatusCall, call);
        QFETCH(int, offset);
        QFETCH(QString, message);
        StatusBar bar;
        for (int i = 0; i < panels; ++i)
            bar.addPanel();
        const auto error = raised([&] { call(bar); });
        QVERIFY(error);
        QCOMPARE(error->number(), qint32(0x80040000u) + offset);
        QCOMPARE(error->source(), QStringLiteral("test_status_bar.zebStatusBar"));
        QCOMPARE(error->description(), message);
        QCOMPARE(bar.panelCount(), panels);
    }

    void selfUpdatingPanelKeepsTheTimerAlive()
    {
        StatusBar bar;
        bar.addPanel(StatusBar::Sunken);
        QCOMPARE(bar.selfUpdateTimerInterval(), 0);
        bar.addPanel(StatusBar::CapsLock, QStringLiteral("ignored"), {}, -1, 500);
        QCOMPARE(bar.panelText(2), QStringLiteral("CAPS"));
        QVERIFY(bar.panelMinWidth(2) < 500);
        QVERIFY(bar.selfUpdateTimerInterval() > 0);
        bar.removePanel(2);
        bar.addPanel(StatusBar::Raised);
        QCOMPARE(bar.selfUpdateTimerInterval(), 0);
    }

    // What changes on a panel reaches the screen, not only the panel's members.
    void changesAreRepainted_data()
    {
        QTest::addColumn<StatusCall>("change");
        QTest::newRow("text") << StatusCall([](StatusBar &b) { b.setPanelText(2, QStringLiteral("Saved")); });
        QTest::newRow("style") << StatusCall([](StatusBar &b) { b.setPanelStyle(2, StatusBar::Raised); });
        QTest::newRow("icon") << StatusCall([](StatusBar &b) { b.setPanelhIcon(2, QIcon(QPixmap(16, 16))); });
    }
    void changesAreRepainted()
    {
        QFETCH(StatusCall, change);
        StatusBar bar;
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
        sizeBar(bar);
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        PaintWatcher watcher(bar);
        QTest::qWait(50);
        watcher.painted = QRegion();
        change(bar);
        QTRY_VERIFY2(watcher.painted.intersects(bar.panelRect(2)), "the changed panel is drawn again");
    }

    void clicks_data()
    {
        QTest::addColumn<Click>("click");
        QTest::newRow("left click on the first panel") << Click { Qt::LeftButton, false, 10, 1, 1 };
        QTest::newRow("right click on the second panel") << Click { Qt::RightButton, false, 150, 2, 2 };
        QTest::newRow("right double click") << Click { Qt::RightButton, true, 10, 1, 2 };
    }
    void clicks()
    {
        QFETCH(Click, click);
        StatusBar bar;
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
        sizeBar(bar);
        QSignalSpy clicked(&bar, click.doubleClick ? &StatusBar::doubleClicked : &StatusBar::clicked);
        const QPoint at(click.x, kBarHeight / 2);
        if (click.doubleClick)
            QTest::mouseDClick(&bar, click.button, {}, at);
        else
            QTest::mouseClick(&bar, click.button, {}, at);
        QVERIFY(!clicked.isEmpty());
        QCOMPARE(clicked.first(), (QVariantList { click.panel, click.x, kBarHeight / 2, click.buttonCode }));
    }
};

QTEST_MAIN(TestStatusBar)
#include "test_status_bar.moc"
