#include "controls/PropertyBag.h"
#include "controls/zebStatusBar.h"
#include "services/ControlError.h"
#include "services/IconList.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <functional>

using StatusCall = std::function<void(zebStatusBar &)>;
Q_DECLARE_METATYPE(StatusCall)

namespace {

constexpr int kBarWidth = 400;
constexpr int kBarHeight = 24;
constexpr int kGripRoom = (3 * kBarHeight) / 4;

// A bar of fixed size so that the spare width and the size-grip room are known.
void sizeBar(zebStatusBar &bar)
{
    bar.setFixedSize(kBarWidth, kBarHeight);
    bar.show();
}

QList<int> panelWidths(const zebStatusBar &bar)
{
    QList<int> widths;
    for (int i = 1; i <= bar.PanelCount(); ++i)
        widths.append(bar.PanelWidth(i));
    return widths;
}

// Counts paint events of a widget.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
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
        QTest::newRow("spring on the first panel")
            << QList<int> { 50, 60 } << 1 << QList<int> { spare - 60, 60 + kGripRoom };
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
        zebStatusBar bar;
        sizeBar(bar);
        for (int i = 0; i < minWidths.size(); ++i)
            bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, minWidths.at(i), i + 1 == springPanel);
        QCOMPARE(panelWidths(bar), widths);
        const int lastRight = bar.GetPanelRect(bar.PanelCount()).right() + 1;
        QCOMPARE(lastRight, std::accumulate(widths.cbegin(), widths.cend(), 0));
    }

    void springMovesToTheNewestSpringPanel()
    {
        zebStatusBar bar;
        sizeBar(bar);
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 50, true, false, 0, QStringLiteral("a"));
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 50, true, false, 0, QStringLiteral("b"));
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 50, false, false, 0, QStringLiteral("c"));
        QVERIFY(!bar.PanelSpring(QStringLiteral("a")));
        QVERIFY(bar.PanelSpring(QStringLiteral("b")));
        QCOMPARE(
            panelWidths(bar), (QList<int> { 50, kBarWidth - 100 - 50 - kGripRoom + 50, 50 + kGripRoom }));

        bar.setPanelSpring(QStringLiteral("a"), true);
        QVERIFY(!bar.PanelSpring(QStringLiteral("b")));
        QCOMPARE(bar.PanelWidth(1), kBarWidth - 100 - kGripRoom);
        QCOMPARE(bar.PanelWidth(2), 50);
    }

    void springFollowsTheBarWidth()
    {
        zebStatusBar bar;
        sizeBar(bar);
        QSignalSpy resized(&bar, &zebStatusBar::Resize);
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 50, true);
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 50);
        bar.setFixedSize(600, kBarHeight);
        QTRY_COMPARE(bar.PanelWidth(1), 600 - 50 - kGripRoom);
        QVERIFY(resized.count() >= 3);
    }

    void idealWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minWidth");
        QTest::addColumn<bool>("textDecides");
        QTest::newRow("text wider than the minimum")
            << QStringLiteral("A rather long status message") << 10 << true;
        QTest::newRow("minimum wider than the text") << QStringLiteral("ok") << 300 << false;
        QTest::newRow("empty text") << QString() << 0 << true;
    }
    void idealWidth()
    {
        QFETCH(QString, text);
        QFETCH(int, minWidth);
        QFETCH(bool, textDecides);
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::Sunken, text, {}, -1, minWidth, false, true);
        const int expected = textDecides ? bar.fontMetrics().horizontalAdvance(text) + 12 : minWidth;
        QCOMPARE(bar.PanelIdealWidth(1), expected);
    }

    void fitToContentsUsesTheIdealWidth()
    {
        zebStatusBar bar;
        sizeBar(bar);
        const QString text = QStringLiteral("Document opened...");
        bar.AddPanel(zebStatusBar::Sunken, text, {}, -1, 20, false, true);
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 20);
        QCOMPARE(bar.PanelWidth(1), bar.PanelIdealWidth(1));
        bar.setPanelFitToContents(1, false);
        QCOMPARE(bar.PanelWidth(1), 20);
    }

    void iconWidensThePanel()
    {
        IconList icons;
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::darkGreen);
        icons.AddIcon(QIcon(pixmap));
        zebStatusBar bar;
        sizeBar(bar);
        bar.setImageList(&icons);
        bar.AddPanel(
            zebStatusBar::Sunken, QStringLiteral("file"), {}, 0, 80, false, false, 0, QStringLiteral("fil"));
        bar.AddPanel(
            zebStatusBar::Sunken, QStringLiteral("msg"), {}, -1, 80, false, false, 0, QStringLiteral("msg"));
        QCOMPARE(bar.PanelWidth(QStringLiteral("fil")), 80 + 16);
        QCOMPARE(bar.PanelIcon(QStringLiteral("fil")), 0);
        bar.setPanelIcon(QStringLiteral("msg"), 0);
        QVERIFY(!bar.PanelhIcon(QStringLiteral("msg")).isNull());
        bar.setPanelhIcon(QStringLiteral("fil"), QIcon());
        QCOMPARE(bar.PanelWidth(QStringLiteral("fil")), 80);
    }

    void toolTipOfThePanelUnderThePointer_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("tip");
        QTest::newRow("file panel") << 20 << QStringLiteral("Document path");
        QTest::newRow("message panel") << 200 << QStringLiteral("Messages");
    }
    void toolTipOfThePanelUnderThePointer()
    {
        QFETCH(int, x);
        QFETCH(QString, tip);
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::Sunken, {}, QStringLiteral("Document path"), -1, 100);
        bar.AddPanel(zebStatusBar::Sunken, {}, QStringLiteral("Messages"), -1, 100);
        sizeBar(bar);
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QPoint at(x, kBarHeight / 2);
        QHelpEvent help(QEvent::ToolTip, at, bar.mapToGlobal(at));
        QApplication::sendEvent(&bar, &help);
        QTRY_COMPARE(QToolTip::text(), tip);
        QToolTip::hideText();
    }

    void wrongImageListClearsTheList()
    {
        IconList icons;
        icons.AddIcon(QIcon(QPixmap(16, 16)));
        zebStatusBar bar;
        sizeBar(bar);
        bar.setImageList(QVariant::fromValue(icons.hImageList()));
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, 0, 80);
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 80);
        QCOMPARE(bar.PanelWidth(1), 96);
        try {
            bar.setImageList(QVariant(QStringLiteral("icons")));
            QFAIL("no error raised");
        } catch (const ControlError &error) {
            QCOMPARE(error.number(), qint32(0x80040000u) + 1049);
            QCOMPARE(error.source(), QStringLiteral("test_status_bar.zebStatusBar"));
            QCOMPARE(error.description(),
                QStringLiteral("ImageList property expects ImageList object or long hImageList handle."));
        }
        QCOMPARE(bar.PanelWidth(1), 80);
    }

    void keyedPanels()
    {
        zebStatusBar bar;
        QCOMPARE(bar.AddPanel(zebStatusBar::Sunken, QStringLiteral("m"), {}, -1, 0, false, false, 0,
                     QStringLiteral("msg")),
            1);
        QCOMPARE(bar.AddPanel(zebStatusBar::Sunken, QStringLiteral("f"), {}, -1, 0, false, false, 0,
                     QStringLiteral("fil"), QStringLiteral("msg")),
            1);
        QCOMPARE(bar.PanelIndex(QStringLiteral("msg")), 2);
        QCOMPARE(bar.PanelKey(1), QStringLiteral("fil"));
        bar.setPanelText(QStringLiteral("fil"), QStringLiteral("Opening document..."));
        QCOMPARE(bar.PanelText(1), QStringLiteral("Opening document..."));
        bar.setPanelToolTipText(2, QStringLiteral("Messages"));
        QCOMPARE(bar.PanelToolTipText(QStringLiteral("msg")), QStringLiteral("Messages"));
        bar.RemovePanel(QStringLiteral("fil"));
        QCOMPARE(bar.PanelCount(), 1);
        QCOMPARE(bar.PanelIndex(QStringLiteral("msg")), 1);
    }

    void invalidPanel_data()
    {
        QTest::addColumn<StatusCall>("call");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown key") << StatusCall([](zebStatusBar &b) {
            b.RemovePanel(QStringLiteral("nope"));
        }) << QStringLiteral("Invalid Panel Index: nope");
        QTest::newRow("index 0") << StatusCall([](zebStatusBar &b) { b.PanelText(0); })
                                 << QStringLiteral("Invalid Panel Index: 0");
        QTest::newRow("index past the end") << StatusCall([](zebStatusBar &b) { b.setPanelText(3, {}); })
                                            << QStringLiteral("Invalid Panel Index: 3");
        QTest::newRow("key is case sensitive")
            << StatusCall([](zebStatusBar &b) { b.PanelIndex(QStringLiteral("MSG")); })
            << QStringLiteral("Invalid Panel Index: MSG");
        QTest::newRow("insert before an unknown key") << StatusCall([](zebStatusBar &b) {
            b.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 0, false, false, 0, {}, QStringLiteral("x"));
        }) << QStringLiteral("Invalid Panel Index: x");
    }
    void invalidPanel()
    {
        QFETCH(StatusCall, call);
        QFETCH(QString, message);
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 0, false, false, 0, QStringLiteral("fil"));
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 0, false, false, 0, QStringLiteral("msg"));
        try {
            call(bar);
            QFAIL("no error raised");
        } catch (const ControlError &error) {
            QCOMPARE(error.number(), qint32(0x80040000u) + 1050);
            QCOMPARE(error.source(), QStringLiteral("test_status_bar.zebStatusBar"));
            QCOMPARE(error.description(), message);
        }
        QCOMPARE(bar.PanelCount(), 2);
    }

    void at255PanelsAddingFails()
    {
        zebStatusBar bar;
        for (int i = 0; i < zebStatusBar::MaxPanels; ++i)
            bar.AddPanel();
        try {
            bar.AddPanel();
            QFAIL("no error raised");
        } catch (const ControlError &error) {
            QCOMPARE(error.number(), qint32(0x80040000u) + 1051);
            QCOMPARE(error.description(), QStringLiteral("Too many panels."));
        }
        QCOMPARE(bar.PanelCount(), 255);
    }

    void selfUpdatingPanels_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("text");
        QTest::newRow("caps") << int(zebStatusBar::CapsLock) << QStringLiteral("CAPS");
        QTest::newRow("num") << int(zebStatusBar::NumLock) << QStringLiteral("NUM");
        QTest::newRow("overwrite") << int(zebStatusBar::Overwrite) << QStringLiteral("OVR");
        QTest::newRow("scroll") << int(zebStatusBar::ScrollLock) << QStringLiteral("SCRL");
    }
    void selfUpdatingPanels()
    {
        QFETCH(int, style);
        QFETCH(QString, text);
        zebStatusBar bar;
        bar.AddPanel(style, QStringLiteral("ignored"), {}, -1, 500, false, false);
        QCOMPARE(bar.PanelText(1), text);
        QVERIFY(bar.PanelFitToContents(1));
        QCOMPARE(bar.PanelMinWidth(1), bar.fontMetrics().horizontalAdvance(text) + 8);
    }

    void dateAndTimePanelsShowToday()
    {
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::MediumDate);
        bar.AddPanel(zebStatusBar::DateAndTime);
        QVERIFY(bar.PanelText(1).contains(QString::number(QDate::currentDate().year() % 100)));
        QVERIFY(bar.PanelText(2).startsWith(bar.PanelText(1) + QLatin1Char(' ')));
    }

    void capsPanelRedrawsOnlyOnChange()
    {
        bool capsOn = false;
        zebStatusBar bar;
        bar.setKeyStateReader(
            [&capsOn](KeyboardState::LockKey key) { return key == KeyboardState::CapsLock && capsOn; });
        bar.AddPanel(zebStatusBar::Sunken, QStringLiteral("msg"), {}, -1, 100, true);
        bar.AddPanel(zebStatusBar::CapsLock);
        sizeBar(bar);
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        PaintCounter paints(&bar);

        capsOn = true;
        QTRY_VERIFY_WITH_TIMEOUT(paints.count > 0, 5000);
        paints.count = 0;
        // Time for several ticks with the key unchanged.
        QTest::qWait(4 * zebStatusBar::SelfUpdateInterval + 200);
        QCOMPARE(paints.count, 0);

        capsOn = false;
        QTRY_VERIFY_WITH_TIMEOUT(paints.count > 0, 5000);
    }

    void capsPanelIsGreyWhileTheKeyIsOff()
    {
        bool capsOn = false;
        zebStatusBar bar;
        bar.setKeyStateReader([&capsOn](KeyboardState::LockKey) { return capsOn; });
        bar.AddPanel(zebStatusBar::CapsLock);
        sizeBar(bar);
        const QImage off = bar.grab().toImage();
        capsOn = true;
        bar.RedrawPanel(1);
        const QImage on = bar.grab().toImage();
        QVERIFY(off != on);
    }

    void timerRules()
    {
        zebStatusBar bar;
        QCOMPARE(bar.SelfUpdateTimerInterval(), 0);
        bar.AddPanel(zebStatusBar::Sunken);
        QCOMPARE(bar.SelfUpdateTimerInterval(), 0);
        bar.AddPanel(zebStatusBar::CapsLock, {}, {}, -1, 0, false, false, 0, QStringLiteral("caps"));
        QCOMPARE(bar.SelfUpdateTimerInterval(), 250);
        bar.RemovePanel(QStringLiteral("caps"));
        QCOMPARE(bar.SelfUpdateTimerInterval(), 250);
        bar.AddPanel(zebStatusBar::Raised);
        QCOMPARE(bar.SelfUpdateTimerInterval(), 0);
        bar.setPanelStyle(1, zebStatusBar::ShortTime);
        QCOMPARE(bar.SelfUpdateTimerInterval(), 0);
        bar.AddPanel(zebStatusBar::NoBorders);
        QCOMPARE(bar.SelfUpdateTimerInterval(), 250);
        bar.setPanelStyle(1, zebStatusBar::Sunken);
        QCOMPARE(bar.SelfUpdateTimerInterval(), 250);
    }

    void ownerDrawnPanelsAskTheCaller()
    {
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 50);
        bar.AddPanel(zebStatusBar::OwnerDraw, {}, {}, -1, 50);
        sizeBar(bar);
        QList<int> drawn;
        connect(&bar, &zebStatusBar::DrawItem, &bar, [&](QPainter *painter, int panel, const QRect &rect) {
            drawn.append(panel);
            QCOMPARE(rect, bar.GetPanelRect(panel));
            painter->fillRect(rect, Qt::magenta);
        });
        const QImage image = bar.grab().toImage();
        QCOMPARE(drawn, QList<int> { 2 });
        QCOMPARE(image.pixelColor(bar.GetPanelRect(2).center()), QColor(Qt::magenta));
    }

    void clicks_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("panel");
        QTest::addColumn<int>("buttonCode");
        QTest::newRow("left click on the first panel") << Qt::LeftButton << false << 10 << 1 << 1;
        QTest::newRow("right click on the second panel") << Qt::RightButton << false << 150 << 2 << 2;
        QTest::newRow("left double click") << Qt::LeftButton << true << 150 << 2 << 1;
        QTest::newRow("right double click") << Qt::RightButton << true << 10 << 1 << 2;
    }
    void clicks()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, doubleClick);
        QFETCH(int, x);
        QFETCH(int, panel);
        QFETCH(int, buttonCode);
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 100);
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 100);
        sizeBar(bar);
        QSignalSpy clicked(&bar, doubleClick ? &zebStatusBar::DblClick : &zebStatusBar::Click);
        const QPoint at(x, kBarHeight / 2);
        if (doubleClick)
            QTest::mouseDClick(&bar, button, {}, at);
        else
            QTest::mouseClick(&bar, button, {}, at);
        QVERIFY(!clicked.isEmpty());
        QCOMPARE(clicked.first(), (QVariantList { panel, x, kBarHeight / 2, buttonCode }));
    }

    void clickInSimpleModeHitsNoPanel()
    {
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::Sunken, {}, {}, -1, 100);
        sizeBar(bar);
        bar.setSimpleMode(true);
        QSignalSpy clicked(&bar, &zebStatusBar::Click);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().toInt(), 0);
    }

    void simpleModeShowsOnlyTheSimpleText()
    {
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::OwnerDraw, {}, {}, -1, 100);
        sizeBar(bar);
        int drawn = 0;
        connect(&bar, &zebStatusBar::DrawItem, &bar, [&drawn] { ++drawn; });
        bar.setSimpleText(QStringLiteral("Busy"));
        bar.setSimpleMode(true);
        bar.grab();
        QCOMPARE(drawn, 0);
        bar.setSimpleMode(false);
        bar.grab();
        QCOMPARE(drawn, 1);
    }

    void fontChangeRemeasures()
    {
        zebStatusBar bar;
        bar.AddPanel(zebStatusBar::Sunken, QStringLiteral("Document saved..."), {}, -1, 0, false, true);
        const int before = bar.PanelIdealWidth(1);
        QFont big = bar.font();
        big.setPointSize(big.pointSize() * 3);
        bar.setFont(big);
        QVERIFY(bar.PanelIdealWidth(1) > before);
        QVERIFY(bar.sizeHint().height() >= QFontMetrics(big).height());
    }

    void emptyBagGivesDefaults()
    {
        zebStatusBar bar;
        bar.setSizeGrip(false);
        bar.setSimpleStyle(0);
        bar.setSimpleMode(true);
        bar.setBackColor(0x00FF00);
        bar.ReadProperties(PropertyBag());
        QCOMPARE(bar.SizeGrip(), true);
        QCOMPARE(bar.SimpleStyle(), 256);
        QCOMPARE(bar.SimpleMode(), false);
        QCOMPARE(bar.SimpleText(), QString());
        QCOMPARE(bar.BackColor(), quint32(0x8000000Fu));
        QCOMPARE(bar.font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(bar.font().pointSize(), 8);
        PropertyBag written;
        bar.WriteProperties(written);
        QCOMPARE(written.count(), 0);
    }

    void propertiesSurviveTheBag()
    {
        zebStatusBar stored;
        stored.setSizeGrip(false);
        stored.setSimpleText(QStringLiteral("Ready"));
        stored.setBackColor(0x00336699);
        PropertyBag bag;
        stored.WriteProperties(bag);
        QCOMPARE(bag.count(), 3);
        zebStatusBar loaded;
        loaded.ReadProperties(bag);
        QCOMPARE(loaded.SizeGrip(), false);
        QCOMPARE(loaded.SimpleText(), QStringLiteral("Ready"));
        QCOMPARE(loaded.BackColor(), quint32(0x00336699u));
        QCOMPARE(loaded.palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
    }
};

QTEST_MAIN(TestStatusBar)
#include "test_status_bar.moc"
