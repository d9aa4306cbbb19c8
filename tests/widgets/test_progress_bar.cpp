#include "OleColor.h"
#include "ProgressBar.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QTest>

#include <functional>
#include <limits>

namespace {
constexpr qint32 kIntMin = std::numeric_limits<qint32>::min();
constexpr qint32 kIntMax = std::numeric_limits<qint32>::max();
constexpr QRgb kRed = 0xFFFF0000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

// How much of the line through the middle of the bar, along its length, shows the bar colour.
enum Share { None, Some, All };

struct Look
{
    bool smooth;
    Qt::Orientation orientation;
    int border;
    quint32 fore;
    qint32 position; // of 0..100
    QRgb foreShown;
    Share share;
    bool edgeShowsBackground;
};

Share foreShare(const QImage &image, Qt::Orientation orientation, QRgb fore)
{
    // Two pixels off each end, clear of any border.
    const int length = orientation == Qt::Horizontal ? image.width() : image.height();
    int foreCount = 0;
    for (int i = 2; i < length - 2; ++i) {
        const QPoint at = orientation == Qt::Horizontal ? QPoint(i, image.height() / 2) : QPoint(image.width() / 2, i);
        foreCount += image.pixel(at) == fore ? 1 : 0;
    }
    return foreCount == 0 ? None : foreCount == length - 4 ? All : Some;
}

using BarChange = std::function<void(ProgressBar &)>;
} // namespace

Q_DECLARE_METATYPE(Look)
Q_DECLARE_METATYPE(BarChange)

class TestProgressBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A step of 0: the position as set; else one StepIt from there.
    void position_data()
    {
        QTest::addColumn<qint32>("min");
        QTest::addColumn<qint32>("max");
        QTest::addColumn<qint32>("start");
        QTest::addColumn<qint32>("step");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("whole 32-bit range") << kIntMin << kIntMax << kIntMax << 0 << kIntMax;
        QTest::newRow("below min is clamped") << 1 << 1500 << 0 << 0 << 1;
        QTest::newRow("above max is clamped") << 1 << 1500 << 1501 << 0 << 1500;
        QTest::newRow("one step") << 0 << 100 << 10 << 5 << 15;
        QTest::newRow("lands on max") << 0 << 100 << 95 << 5 << 100;
        QTest::newRow("lands on min, stepping back") << 0 << 100 << 5 << -5 << 0;
        QTest::newRow("past max starts over from min") << 0 << 100 << 95 << 10 << 5;
        QTest::newRow("past min comes back from max") << 0 << 100 << 3 << -5 << 98;
        QTest::newRow("past max starts over from a min of its own") << 10 << 100 << 95 << 10 << 15;
        QTest::newRow("past a min of its own comes back from max") << 10 << 100 << 12 << -5 << 97;
        QTest::newRow("no overflow at the top of the range") << 0 << kIntMax << kIntMax - 5 << 10 << 5;
    }
    void position()
    {
        QFETCH(qint32, min);
        QFETCH(qint32, max);
        QFETCH(qint32, start);
        QFETCH(qint32, step);
        QFETCH(qint32, expected);
        ProgressBar bar;
        bar.setMin(min);
        bar.setMax(max);
        bar.setPosition(start);
        bar.setStep(step);
        if (step != 0)
            bar.stepIt();
        QCOMPARE(bar.position(), expected);
        QCOMPARE(bar.hwnd()->minimum(), min);
        QCOMPARE(bar.hwnd()->maximum(), max);
        QCOMPARE(bar.hwnd()->value(), expected);
    }

    // A Max below Min holds the bar at Min; Max keeps the value given and counts again once Min
    // is lowered.
    void maxBelowMinHoldsTheBarAtMin()
    {
        ProgressBar bar;
        bar.setMin(10);
        bar.setMax(5);
        bar.setPosition(7);
        QCOMPARE(bar.max(), 5);
        QCOMPARE(bar.hwnd()->maximum(), 10);
        QCOMPARE(bar.position(), 10);
        bar.setMin(0);
        bar.setPosition(7);
        QCOMPARE(bar.hwnd()->maximum(), 5);
        QCOMPARE(bar.position(), 5);
    }

    void look_data()
    {
        QTest::addColumn<Look>("look");
        const QRgb highlight = QApplication::palette().color(QPalette::Highlight).rgb();
        QTest::newRow("smooth and full: one block of the bar colour")
            << Look { true, Qt::Horizontal, 1, 0x0000FFu, 100, kRed, All, false };
        QTest::newRow("segmented and full: blocks with gaps")
            << Look { false, Qt::Horizontal, 1, 0x0000FFu, 100, kRed, Some, false };
        QTest::newRow("segmented upright: blocks with gaps")
            << Look { false, Qt::Vertical, 1, 0x0000FFu, 100, kRed, Some, false };
        QTest::newRow("half way") << Look { true, Qt::Horizontal, 1, 0x0000FFu, 50, kRed, Some, false };
        QTest::newRow("empty: the background alone")
            << Look { true, Qt::Horizontal, 1, 0x0000FFu, 0, kRed, None, false };
        QTest::newRow("a bar colour without a translation: the desktop's highlight")
            << Look { true, Qt::Horizontal, 1, 0x80000019u, 100, highlight, All, false };
        QTest::newRow("no border: the background to the edge")
            << Look { true, Qt::Horizontal, 0, 0x0000FFu, 0, kRed, None, true };
        QTest::newRow("sunken: the control's frame, none on the bar")
            << Look { true, Qt::Horizontal, 2, 0x0000FFu, 0, kRed, None, true };
    }
    void look()
    {
        QFETCH(Look, look);
        ProgressBar bar;
        bar.resize(look.orientation == Qt::Horizontal ? QSize(200, 24) : QSize(24, 200));
        // Colours and border first: a new progress window for Smooth or Orientation keeps them.
        bar.setBorderStyle(look.border);
        bar.setForeColor(look.fore);
        bar.setBackColor(0xFFFFFFu);
        bar.setPosition(look.position);
        bar.setSmooth(look.smooth);
        bar.setOrientation(look.orientation);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QImage shown = bar.hwnd()->grab().toImage();
        QCOMPARE(foreShare(shown, look.orientation, look.foreShown), look.share);
        QCOMPARE(shown.pixel(0, 0) == kWhite, look.edgeShowsBackground);
        QCOMPARE(bar.frameWidth() > 0, look.border == ProgressBar::BorderSunken);
    }

    // A colour set while the bar shows shows at once.
    void coloursChangedWhileShown_data()
    {
        QTest::addColumn<bool>("fore");
        QTest::newRow("bar colour, full bar") << true;
        QTest::newRow("background, empty bar") << false;
    }
    void coloursChangedWhileShown()
    {
        QFETCH(bool, fore);
        ProgressBar bar;
        bar.resize(200, 24);
        bar.setBorderStyle(0);
        bar.setSmooth(true);
        bar.setPosition(fore ? 100 : 0);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const auto middle = [&bar] {
            const QImage shown = bar.hwnd()->grab().toImage();
            return shown.pixel(shown.width() / 2, shown.height() / 2);
        };
        QVERIFY(middle() != kRed);
        if (fore)
            bar.setForeColor(0x0000FFu);
        else
            bar.setBackColor(0x0000FFu);
        QCOMPARE(middle(), kRed);
    }

    // Smooth and Orientation make a new progress window only when they change; the new one
    // has the range, position and look of the old.
    void newBarOnlyOnChange_data()
    {
        QTest::addColumn<BarChange>("change");
        QTest::addColumn<bool>("newBar");
        QTest::newRow("smooth on") << BarChange([](ProgressBar &b) { b.setSmooth(true); }) << true;
        QTest::newRow("smooth as it was") << BarChange([](ProgressBar &b) { b.setSmooth(false); }) << false;
        QTest::newRow("upright") << BarChange([](ProgressBar &b) { b.setOrientation(Qt::Vertical); }) << true;
        QTest::newRow("orientation as it was")
            << BarChange([](ProgressBar &b) { b.setOrientation(Qt::Horizontal); }) << false;
        QTest::newRow("border style") << BarChange([](ProgressBar &b) { b.setBorderStyle(0); }) << false;
    }
    void newBarOnlyOnChange()
    {
        QFETCH(BarChange, change);
        QFETCH(bool, newBar);
        ProgressBar bar;
        bar.setMin(1);
        bar.setMax(1500);
        bar.setPosition(700);
        const QPointer<QProgressBar> old = bar.hwnd();
        change(bar);
        QCOMPARE(old.isNull(), newBar);
        QCOMPARE(bar.hwnd()->minimum(), 1);
        QCOMPARE(bar.hwnd()->maximum(), 1500);
        QCOMPARE(bar.hwnd()->value(), 700);
        QCOMPARE(bar.hwnd()->orientation(), bar.orientation());
        QCOMPARE(bar.hwnd()->parentWidget(), &bar);
    }

    void oleColours_data()
    {
        QTest::addColumn<quint32>("oleColor");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("red is the low byte") << quint32(0x000000FFu) << QColor(255, 0, 0);
        QTest::newRow("system colour follows the palette")
            << quint32(0x8000000Du) << QApplication::palette().color(QPalette::Highlight);
        QTest::newRow("unused system index") << quint32(0x80000019u) << QColor();
        QTest::newRow("system index past the table") << quint32(0x800000FFu) << QColor();
        QTest::newRow("unknown high byte") << quint32(0x12345678u) << QColor();
    }
    void oleColours()
    {
        QFETCH(quint32, oleColor);
        QFETCH(QColor, expected);
        QCOMPARE(OleColor::translate(oleColor), expected);
    }
};

QTEST_MAIN(TestProgressBar)
#include "test_progress_bar.moc"
