#include "OleColor.h"
#include "ProgressBar.h"

#include <QApplication>
#include <QProgressBar>
#include <QTest>

#include <limits>

namespace {
constexpr qint32 kIntMin = std::numeric_limits<qint32>::min();
constexpr qint32 kIntMax = std::numeric_limits<qint32>::max();
} // namespace

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
