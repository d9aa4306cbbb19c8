#include "controls/OleColor.h"
#include "controls/ProgressBar.h"
#include "controls/PropertyBag.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QTest>

#include <limits>

class TestProgressBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rangeKeepsFullValues_data()
    {
        QTest::addColumn<qint32>("min");
        QTest::addColumn<qint32>("max");
        QTest::addColumn<qint32>("position");
        QTest::newRow("main window range") << 1 << 1500 << 1500;
        QTest::newRow("max just past 16 bits") << 0 << 65536 << 65536;
        QTest::newRow("max far beyond 65535") << 0 << 100000 << 70000;
        QTest::newRow("negative min") << -70000 << -5 << -69999;
        QTest::newRow("whole 32-bit range")
            << std::numeric_limits<qint32>::min() << std::numeric_limits<qint32>::max()
            << std::numeric_limits<qint32>::max();
    }
    void rangeKeepsFullValues()
    {
        QFETCH(qint32, min);
        QFETCH(qint32, max);
        QFETCH(qint32, position);
        ProgressBar bar;
        bar.setMin(min);
        bar.setMax(max);
        bar.setPosition(position);
        QCOMPARE(bar.Min(), min);
        QCOMPARE(bar.Max(), max);
        QCOMPARE(bar.Position(), position);
        QCOMPARE(bar.hwnd()->minimum(), min);
        QCOMPARE(bar.hwnd()->maximum(), max);
        QCOMPARE(bar.hwnd()->value(), position);
    }

    void positionStaysInRange_data()
    {
        QTest::addColumn<qint32>("requested");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("inside") << 700 << 700;
        QTest::newRow("on min") << 1 << 1;
        QTest::newRow("below min") << 0 << 1;
        QTest::newRow("on max") << 1500 << 1500;
        QTest::newRow("above max") << 1501 << 1500;
    }
    void positionStaysInRange()
    {
        QFETCH(qint32, requested);
        QFETCH(qint32, expected);
        ProgressBar bar;
        bar.setMin(1);
        bar.setMax(1500);
        bar.setPosition(requested);
        QCOMPARE(bar.Position(), expected);
        QCOMPARE(bar.hwnd()->value(), expected);
    }

    void stepIt_data()
    {
        QTest::addColumn<qint32>("start");
        QTest::addColumn<qint32>("step");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("one step") << 10 << 5 << 15;
        QTest::newRow("lands on max") << 95 << 5 << 100;
        QTest::newRow("past max starts over from min") << 95 << 10 << 5;
        QTest::newRow("negative step past min comes back from max") << 3 << -5 << 98;
    }
    void stepIt()
    {
        QFETCH(qint32, start);
        QFETCH(qint32, step);
        QFETCH(qint32, expected);
        ProgressBar bar;
        bar.setPosition(start);
        bar.setStep(step);
        bar.StepIt();
        QCOMPARE(bar.Position(), expected);
    }

    void stepItNearTheTopOfTheRangeDoesNotOverflow()
    {
        ProgressBar bar;
        bar.setMin(0);
        bar.setMax(std::numeric_limits<qint32>::max());
        bar.setStep(10);
        bar.setPosition(std::numeric_limits<qint32>::max() - 5);
        bar.StepIt();
        QCOMPARE(bar.Position(), 5);
    }

    void sameOrientationOrSmoothKeepsTheWindow()
    {
        ProgressBar bar;
        const QPointer<QProgressBar> window = bar.hwnd();
        bar.setOrientation(Qt::Horizontal);
        bar.setSmooth(false);
        QCOMPARE(bar.hwnd(), window.data());
    }

    void changedStyleRecreatesTheWindowWithItsValues_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("smooth");
        QTest::newRow("orientation") << true << false;
        QTest::newRow("smooth") << false << true;
    }
    void changedStyleRecreatesTheWindowWithItsValues()
    {
        QFETCH(bool, vertical);
        QFETCH(bool, smooth);
        ProgressBar bar;
        bar.setMin(1);
        bar.setMax(100000);
        bar.setPosition(77777);
        const QPointer<QProgressBar> window = bar.hwnd();
        bar.setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
        bar.setSmooth(smooth);
        QVERIFY(window.isNull());
        QCOMPARE(bar.hwnd()->orientation(), vertical ? Qt::Vertical : Qt::Horizontal);
        QCOMPARE(bar.hwnd()->maximum(), 100000);
        QCOMPARE(bar.hwnd()->value(), 77777);
    }

    void barIsPaintedInForeColor()
    {
        ProgressBar bar;
        bar.resize(200, 20);
        bar.setSmooth(true);
        bar.setForeColor(OleColor::fromRgb(255, 0, 0));
        bar.setBackColor(OleColor::fromRgb(0, 0, 255));
        bar.setPosition(50);
        const QImage image = bar.grab().toImage();
        QCOMPARE(image.pixelColor(25, 10), QColor(Qt::red));
        QCOMPARE(image.pixelColor(175, 10), QColor(Qt::blue));
    }

    void borderStyleSunkenFramesTheControl_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("framed");
        QTest::newRow("none") << int(ProgressBar::BorderNone) << false;
        QTest::newRow("thin") << int(ProgressBar::BorderThin) << false;
        QTest::newRow("sunken") << int(ProgressBar::BorderSunken) << true;
    }
    void borderStyleSunkenFramesTheControl()
    {
        QFETCH(int, style);
        QFETCH(bool, framed);
        ProgressBar bar;
        bar.setBorderStyle(style);
        QCOMPARE(bar.frameWidth() > 0, framed);
    }

    void emptyBagGivesDefaults()
    {
        ProgressBar bar;
        bar.setMin(5);
        bar.setSmooth(true);
        bar.ReadProperties(PropertyBag());
        QCOMPARE(bar.Min(), 0);
        QCOMPARE(bar.Max(), 100);
        QCOMPARE(bar.Step(), 1);
        QCOMPARE(bar.Smooth(), false);
        QCOMPARE(bar.Orientation(), Qt::Horizontal);
        QCOMPARE(bar.BorderStyle(), int(ProgressBar::BorderThin));
        QCOMPARE(bar.ForeColor(), quint32(0x8000000Du));
        QCOMPARE(bar.BackColor(), quint32(0x8000000Fu));
    }

    void defaultsAreNotWritten()
    {
        PropertyBag bag;
        ProgressBar().WriteProperties(bag);
        QCOMPARE(bag.count(), 0);
    }

    void mainWindowSettingsSurviveTheBag()
    {
        ProgressBar stored;
        stored.setMin(1);
        stored.setMax(1500);
        stored.setSmooth(true);
        stored.setOrientation(Qt::Vertical);
        stored.setBackColor(OleColor::Menu);
        PropertyBag bag;
        stored.WriteProperties(bag);
        QCOMPARE(bag.ReadProperty(QStringLiteral("Orientation")).toInt(), 1);

        ProgressBar loaded;
        loaded.ReadProperties(bag);
        QCOMPARE(loaded.Min(), 1);
        QCOMPARE(loaded.Max(), 1500);
        QCOMPARE(loaded.Smooth(), true);
        QCOMPARE(loaded.Orientation(), Qt::Vertical);
        QCOMPARE(loaded.BackColor(), quint32(0x80000004u));
    }

    void oleColours_data()
    {
        QTest::addColumn<quint32>("oleColor");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("red is the low byte") << quint32(0x000000FFu) << QColor(255, 0, 0);
        QTest::newRow("blue is the third byte") << quint32(0x00FF0000u) << QColor(0, 0, 255);
        QTest::newRow("button face follows the palette")
            << quint32(0x8000000Fu) << QApplication::palette().color(QPalette::Button);
        QTest::newRow("highlight follows the palette")
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
