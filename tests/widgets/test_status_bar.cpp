#include "StatusBar.h"
#include "ControlErrors.h"
#include "IconList.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

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

// Two plain panels of 100 pixels on a bar of fixed size.
void twoPanels(StatusBar &bar)
{
    bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
    bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
    sizeBar(bar);
}

QList<int> panelWidths(const StatusBar &bar)
{
    QList<int> widths;
    for (int i = 1; i <= bar.panelCount(); ++i)
        widths.append(bar.panelWidth(i));
    return widths;
}

// A click at x on the bar, the panel it falls on and the button number it reports.
struct Click
{
    Qt::MouseButton button;
    bool doubleClick;
    int x, panel, buttonCode; // buttonCode 0: no event at all
    int y = kBarHeight / 2;
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

// A self-updating panel, the lock key the keyboard reports on, the text the panel shows and
// whether it is drawn lit or greyed.
struct SelfUpdating
{
    int style;
    std::optional<KeyboardState::LockKey> keyOn;
    QString textPattern;
    bool lit;
};

// How light the darkest pixel inside a panel is, away from its border: its text.
int darkestInside(const QImage &image, const QRect &panel)
{
    int darkest = 255;
    const QRect inside = panel.adjusted(3, 3, -5, -3);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            darkest = qMin(darkest, QColor(image.pixel(x, y)).lightness());
    }
    return darkest;
}

// Two panels, "Ready" and "Saved", each 150 wide, on a bar shown at its fixed size.
QImage shown(const StatusCall &setUp)
{
    StatusBar bar;
    bar.addPanel(StatusBar::Sunken, QStringLiteral("Ready"), {}, -1, 150);
    bar.addPanel(StatusBar::Sunken, QStringLiteral("Saved"), {}, -1, 150);
    sizeBar(bar);
    setUp(bar);
    return bar.grab().toImage();
}

} // namespace

Q_DECLARE_METATYPE(SelfUpdating)

struct Refusal { int panels; StatusCall call; int offset; QString message; };
Q_DECLARE_METATYPE(Refusal)

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
        QVERIFY(raisedBy([&bar] { bar.setImageList(QVariant(QStringLiteral("icons"))); }).startsWith(u"1049 "));
        QCOMPARE(bar.panelWidth(1), 80);
    }

    // A refused call names itself and leaves the panels as they were.
    void refusedCalls_data()
    {
        QTest::addColumn<Refusal>("row");
        QTest::newRow("unknown key") << Refusal { 2, StatusCall([](StatusBar &b) {
            b.removePanel(QStringLiteral("nope"));
        }), 1050, QStringLiteral("Invalid Panel Index: nope") };
        QTest::newRow("index 0") << Refusal { 2, StatusCall([](StatusBar &b) { b.panelText(0); }), 1050,
                                    QStringLiteral("Invalid Panel Index: 0") };
        QTest::newRow("insert before an unknown key") << Refusal { 2, StatusCall([](StatusBar &b) {
            b.addPanel(StatusBar::Sunken, {}, {}, -1, 0, false, false, 0, {}, QStringLiteral("x"));
        }), 1050, QStringLiteral("Invalid Panel Index: x") };
        QTest::newRow("a panel past 255") << Refusal { int(StatusBar::MaxPanels),
                                             StatusCall([](StatusBar &b) { b.addPanel(); }), 1051,
                                             QStringLiteral("Too many panels.") };
    }
    void refusedCalls()
    {
        QFETCH(Refusal, row);
        const auto [panels, call, offset, message] = row;
        StatusBar bar;
        for (int i = 0; i < panels; ++i)
            bar.addPanel();
        QCOMPARE(raisedBy([&] { call(bar); }), QStringLiteral("%1 test_status_bar.zebStatusBar: %2").arg(offset).arg(message));
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
        twoPanels(bar);
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        PaintWatcher watcher(bar);
        QTest::qWait(50);
        watcher.painted = QRegion();
        change(bar);
        QTRY_VERIFY2(watcher.painted.intersects(bar.panelRect(2)), "the changed panel is drawn again");
    }

    // Each self-updating panel shows its own text, lit while its key is on (the clock and the
    // calendar always), greyed otherwise.
    void selfUpdatingPanels_data()
    {
        QTest::addColumn<SelfUpdating>("panel");
        using K = KeyboardState;
        const QString time = QStringLiteral("\\d{1,2}[:.]\\d{2}");
        const QString date = QStringLiteral("\\d{2}-\\w{3}-\\d{2}");
        QTest::newRow("caps lock on") << SelfUpdating { StatusBar::CapsLock, K::CapsLock, "^CAPS$", true };
        QTest::newRow("caps lock off, num lock on") << SelfUpdating { StatusBar::CapsLock, K::NumLock, "^CAPS$", false };
        QTest::newRow("num lock on") << SelfUpdating { StatusBar::NumLock, K::NumLock, "^NUM$", true };
        QTest::newRow("num lock off, caps lock on") << SelfUpdating { StatusBar::NumLock, K::CapsLock, "^NUM$", false };
        QTest::newRow("overwriting") << SelfUpdating { StatusBar::Overwrite, K::Insert, "^OVR$", true };
        QTest::newRow("inserting, scroll lock on") << SelfUpdating { StatusBar::Overwrite, K::ScrollLock, "^OVR$", false };
        QTest::newRow("scroll lock on") << SelfUpdating { StatusBar::ScrollLock, K::ScrollLock, "^SCRL$", true };
        QTest::newRow("scroll lock off, overwriting") << SelfUpdating { StatusBar::ScrollLock, K::Insert, "^SCRL$", false };
        QTest::newRow("time") << SelfUpdating { StatusBar::ShortTime, std::nullopt, "^" + time, true };
        QTest::newRow("date") << SelfUpdating { StatusBar::MediumDate, std::nullopt, "^" + date + "$", true };
        QTest::newRow("date and time")
            << SelfUpdating { StatusBar::DateAndTime, std::nullopt, "^" + date + " " + time, true };
    }
    void selfUpdatingPanels()
    {
        QFETCH(SelfUpdating, panel);
        StatusBar bar;
        bar.setKeyStateReader([&panel](KeyboardState::LockKey key) { return panel.keyOn == key; });
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
        bar.addPanel(panel.style);
        sizeBar(bar);
        QVERIFY2(QRegularExpression(panel.textPattern).match(bar.panelText(2)).hasMatch(), qPrintable(bar.panelText(2)));
        QVERIFY(bar.panelFitToContents(2));
        QCOMPARE(bar.panelMinWidth(2), bar.fontMetrics().horizontalAdvance(bar.panelText(2)) + 8);

        const QImage image = bar.grab().toImage();
        const int lit = bar.palette().color(QPalette::Active, QPalette::WindowText).lightness();
        const int greyed = bar.palette().color(QPalette::Disabled, QPalette::WindowText).lightness();
        QCOMPARE(darkestInside(image, bar.panelRect(2)) < (lit + greyed) / 2, panel.lit);
    }

    // The lock-key panel is drawn again when its key changes, and not on every tick.
    void lockPanelRedrawsOnlyOnAChange()
    {
        bool capsOn = false;
        StatusBar bar;
        bar.setKeyStateReader([&capsOn](KeyboardState::LockKey key) { return key == KeyboardState::CapsLock && capsOn; });
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
        bar.addPanel(StatusBar::CapsLock);
        sizeBar(bar);
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        PaintWatcher watcher(bar);
        QTest::qWait(50);
        watcher.painted = QRegion();
        QTest::qWait(3 * StatusBar::SelfUpdateInterval);
        QVERIFY2(!watcher.painted.intersects(bar.panelRect(2)), "nothing changed, nothing drawn");
        capsOn = true;
        QTRY_VERIFY(watcher.painted.intersects(bar.panelRect(2)));
        QVERIFY(!watcher.painted.intersects(bar.panelRect(1)));
    }

    // The refresh timer starts and stops only in AddPanel: a removal or a change of style
    // leaves it as it is.
    void timerFollowsAddPanelOnly_data()
    {
        QTest::addColumn<StatusCall>("calls");
        QTest::addColumn<bool>("running");
        QTest::newRow("a removal leaves the timer running") << StatusCall([](StatusBar &b) {
            b.addPanel(StatusBar::NumLock);
            b.removePanel(2);
        }) << true;
        QTest::newRow("a style changed to self-updating starts nothing")
            << StatusCall([](StatusBar &b) { b.setPanelStyle(1, StatusBar::ShortTime); }) << false;
        QTest::newRow("a style changed from self-updating stops nothing") << StatusCall([](StatusBar &b) {
            b.addPanel(StatusBar::ShortTime);
            b.setPanelStyle(2, StatusBar::Sunken);
        }) << true;
    }
    void timerFollowsAddPanelOnly()
    {
        QFETCH(StatusCall, calls);
        QFETCH(bool, running);
        StatusBar bar;
        bar.addPanel();
        calls(bar);
        QCOMPARE(bar.selfUpdateTimerInterval(), running ? StatusBar::SelfUpdateInterval : 0);
    }

    // Widths as the panels' properties set them: fitted panels take their ideal width (the
    // text's width + 12, never below the minimum), an icon adds the list's icon width.
    void widthsFollowPanelProperties_data()
    {
        QTest::addColumn<StatusCall>("change");
        QTest::addColumn<QList<int>>("widths");
        const auto ideal = [](int pointSize) {
            return QFontMetrics(QFont(QStringLiteral("MS Sans Serif"), pointSize)).horizontalAdvance(QStringLiteral("Ready")) + 12;
        };
        const int first = 30; // below the ideal width of its text
        const int last = 20; // above the ideal width of no text
        const auto row = [](const char *name, StatusCall change, QList<int> widths) {
            QTest::newRow(name) << change << widths;
        };
        row("as added", [](StatusBar &) {}, { first, kBarWidth - first });
        row("fitted", [](StatusBar &b) { b.setPanelFitToContents(1, true); }, { ideal(8), kBarWidth - ideal(8) });
        row("fitted, then not", [](StatusBar &b) {
            b.setPanelFitToContents(1, true);
            b.setPanelFitToContents(1, false);
        }, { first, kBarWidth - first });
        row("fitted to an ideal width of the caller's", [](StatusBar &b) {
            b.setPanelFitToContents(1, true);
            b.setPanelIdealWidth(1, 90);
        }, { 90, kBarWidth - 90 });
        row("an ideal width matters only when fitted", [](StatusBar &b) { b.setPanelIdealWidth(1, 90); },
            { first, kBarWidth - first });
        row("icon from the list", [](StatusBar &b) { b.setPanelIcon(1, 0); }, { first + 16, kBarWidth - first - 16 });
        row("icon taken away again", [](StatusBar &b) {
            b.setPanelIcon(1, 0);
            b.setPanelIcon(1, -1);
        }, { first, kBarWidth - first });
        row("spring taken off the only spring panel: the last one grows", [](StatusBar &b) {
            b.setPanelSpring(1, true);
            b.setPanelSpring(1, false);
        }, { first, kBarWidth - first });
        row("spring on the first panel", [](StatusBar &b) { b.setPanelSpring(1, true); },
            { kBarWidth - last - kGripRoom, last + kGripRoom });
        row("a larger font widens a fitted panel", [](StatusBar &b) {
            b.setPanelFitToContents(1, true);
            b.setFont(QFont(QStringLiteral("MS Sans Serif"), 16));
        }, { ideal(16), kBarWidth - ideal(16) });
    }
    void widthsFollowPanelProperties()
    {
        QFETCH(StatusCall, change);
        QFETCH(QList<int>, widths);
        IconList icons;
        icons.addIcon(QIcon(QPixmap(16, 16)));
        StatusBar bar;
        bar.setImageList(&icons);
        bar.addPanel(StatusBar::Sunken, QStringLiteral("Ready"), {}, -1, 30);
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 20);
        sizeBar(bar);
        change(bar);
        QCOMPARE(panelWidths(bar), widths);
        QCOMPARE(bar.panelIdealWidth(2), 20);
    }

    void iconsByIndex()
    {
        IconList icons;
        icons.addIcon(QIcon(QPixmap(16, 16)));
        StatusBar bar;
        bar.addPanel(StatusBar::Sunken, {}, {}, 0, 100);
        QVERIFY2(bar.panelhIcon(1).isNull(), "no list, no icon");
        bar.setImageList(&icons);
        bar.setPanelIcon(1, 0);
        QCOMPARE(bar.panelIcon(1), 0);
        QVERIFY(!bar.panelhIcon(1).isNull());
        bar.setPanelIcon(1, 1);
        QCOMPARE(bar.panelIcon(1), 1);
        QVERIFY2(bar.panelhIcon(1).isNull(), "an index past the list shows none");
    }

    // Panels are found by key as well as by position, also after keys change and panels move.
    void keys()
    {
        StatusBar bar;
        bar.addPanel(StatusBar::Sunken, QStringLiteral("file"), {}, -1, 0, false, false, 0, QStringLiteral("fil"));
        bar.addPanel(StatusBar::Sunken, QStringLiteral("message"), {}, -1, 0, false, false, 0, QStringLiteral("msg"),
            QStringLiteral("fil"));
        QCOMPARE(bar.panelIndex(QStringLiteral("msg")), 1);
        QCOMPARE(bar.panelIndex(QStringLiteral("fil")), 2);
        QCOMPARE(bar.panelIndex(2), 2);
        QCOMPARE(bar.panelKey(1), QStringLiteral("msg"));
        bar.setPanelKey(2, QStringLiteral("path"));
        QCOMPARE(bar.panelText(QStringLiteral("path")), QStringLiteral("file"));
        bar.removePanel(QStringLiteral("msg"));
        QCOMPARE(bar.panelIndex(QStringLiteral("path")), 1);
        QCOMPARE(bar.panelCount(), 1);
        bar.setPanelToolTipText(QStringLiteral("path"), QStringLiteral("The document"));
        QCOMPARE(bar.panelToolTipText(1), QStringLiteral("The document"));
        bar.setPanelStyle(QStringLiteral("path"), StatusBar::Raised);
        QCOMPARE(bar.panelStyle(1), int(StatusBar::Raised));
        QVERIFY(!bar.panelSpring(1));
    }

    // The pointer over a panel shows that panel's tool tip; over one without, none.
    void toolTips_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("tip");
        QTest::newRow("first panel") << 10 << QStringLiteral("Messages");
        QTest::newRow("second panel") << 150 << QStringLiteral("The document");
        QTest::newRow("a panel without a tip") << 350 << QString();
    }
    void toolTips()
    {
        QFETCH(int, x);
        QFETCH(QString, tip);
        StatusBar bar;
        bar.addPanel(StatusBar::Sunken, {}, QStringLiteral("Messages"), -1, 100);
        bar.addPanel(StatusBar::Sunken, {}, QStringLiteral("Someone else's"), -1, 100);
        bar.addPanel(StatusBar::Sunken, {}, {}, -1, 100);
        bar.setPanelToolTipText(2, QStringLiteral("The document"));
        sizeBar(bar);
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QToolTip::showText(bar.mapToGlobal(QPoint(1, 1)), QStringLiteral("left over"), &bar);
        const QPoint at(x, kBarHeight / 2);
        QHelpEvent help(QEvent::ToolTip, at, bar.mapToGlobal(at));
        QVERIFY(QApplication::sendEvent(&bar, &help));
        QTRY_COMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), tip);
    }

    // What the bar shows: each pair of set-ups looks alike or not.
    void shows_data()
    {
        QTest::addColumn<StatusCall>("setUp");
        QTest::addColumn<StatusCall>("other");
        QTest::addColumn<bool>("looksAlike");
        const auto none = StatusCall([](StatusBar &) {});
        const auto simple = [](const QString &text, int style = StatusBar::NoBorders) {
            return StatusCall([text, style](StatusBar &b) {
                b.setSimpleText(text);
                b.setSimpleStyle(style);
                b.setSimpleMode(true);
            });
        };
        const auto style = [](int panelStyle) {
            return StatusCall([panelStyle](StatusBar &b) { b.setPanelStyle(1, panelStyle); });
        };
        QTest::newRow("simple mode hides the panels") << simple({}) << none << false;
        QTest::newRow("simple mode shows its text") << simple(QStringLiteral("Opening")) << simple({}) << false;
        QTest::newRow("simple mode: panel texts do not show") << simple({}) << StatusCall([simple](StatusBar &b) {
            b.setPanelText(1, QStringLiteral("Changed"));
            simple({})(b);
        }) << true;
        QTest::newRow("simple mode raised") << simple({}, StatusBar::Raised) << simple({}) << false;
        QTest::newRow("back in panel mode") << StatusCall([simple](StatusBar &b) {
            simple(QStringLiteral("Opening"))(b);
            b.setSimpleMode(false);
        }) << none << true;
        QTest::newRow("a panel without borders") << style(StatusBar::NoBorders) << none << false;
        QTest::newRow("a raised panel") << style(StatusBar::Raised) << none << false;
        QTest::newRow("right-to-left reading") << style(StatusBar::RightToLeftReading) << none << false;
        QTest::newRow("another back colour") << StatusCall([](StatusBar &b) { b.setBackColor(0x00FFFF00u); }) << none
                                             << false;
        QTest::newRow("a back colour without a translation: the desktop's")
            << StatusCall([](StatusBar &b) { b.setBackColor(0x80000019u); }) << none << true;
    }
    void shows()
    {
        QFETCH(StatusCall, setUp);
        QFETCH(StatusCall, other);
        QFETCH(bool, looksAlike);
        QCOMPARE(shown(setUp) == shown(other), looksAlike);
    }

    // An owner-drawn panel shows what the caller draws into the rectangle it is handed.
    void ownerDrawnPanel()
    {
        StatusBar bar;
        bar.addPanel(StatusBar::Sunken, QStringLiteral("Ready"), {}, -1, 100);
        bar.addPanel(StatusBar::OwnerDraw, QStringLiteral("not drawn"), {}, -1, 100);
        sizeBar(bar);
        QList<int> drawn;
        connect(&bar, &StatusBar::drawItem, &bar, [&drawn](QPainter *painter, int panel, const QRect &rect) {
            drawn.append(panel);
            painter->fillRect(rect, Qt::red);
        });
        const QImage image = bar.grab().toImage();
        QCOMPARE(drawn, QList<int> { 2 });
        QCOMPARE(QColor(image.pixel(bar.panelRect(2).center())), QColor(Qt::red));
        QVERIFY(QColor(image.pixel(bar.panelRect(1).center())) != QColor(Qt::red));
    }

    // RedrawPanel draws the panel before it returns.
    void redrawPanelDrawsAtOnce()
    {
        StatusBar bar;
        twoPanels(bar);
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        PaintWatcher watcher(bar);
        bar.redrawPanel(2);
        QVERIFY(watcher.painted.intersects(bar.panelRect(2)));
        QVERIFY(!watcher.painted.intersects(bar.panelRect(1)));
    }

    void clicks_data()
    {
        QTest::addColumn<Click>("click");
        QTest::newRow("left click on the first panel") << Click { Qt::LeftButton, false, 10, 1, 1 };
        QTest::newRow("right click on the second panel") << Click { Qt::RightButton, false, 150, 2, 2 };
        QTest::newRow("right double click") << Click { Qt::RightButton, true, 10, 1, 2 };
        QTest::newRow("left double click") << Click { Qt::LeftButton, true, 150, 2, 1 };
        QTest::newRow("middle button: no click") << Click { Qt::MiddleButton, false, 10, 0, 0 };
        QTest::newRow("above the panels") << Click { Qt::LeftButton, false, 10, 0, 1, 1 };
    }
    void clicks()
    {
        QFETCH(Click, click);
        StatusBar bar;
        twoPanels(bar);
        QSignalSpy clicked(&bar, click.doubleClick ? &StatusBar::doubleClicked : &StatusBar::clicked);
        const QPoint at(click.x, click.y);
        if (click.doubleClick)
            QTest::mouseDClick(&bar, click.button, {}, at);
        else
            QTest::mouseClick(&bar, click.button, {}, at);
        if (click.buttonCode == 0) {
            QVERIFY(clicked.isEmpty());
            return;
        }
        QVERIFY(!clicked.isEmpty());
        QCOMPARE(clicked.first(), (QVariantList { click.panel, click.x, click.y, click.buttonCode }));
    }
};

QTEST_MAIN(TestStatusBar)
#include "test_status_bar.moc"
