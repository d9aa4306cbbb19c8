// Secondary text must still read: contrast as accessibility guidelines measure it.

#include "TextContrast.h"

#include <QTest>

class TestTextContrast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ratio_data()
    {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("white on black, the same") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("one colour") << QColor(0x77, 0x77, 0x77) << QColor(0x77, 0x77, 0x77) << 1.0;
        QTest::newRow("placeholder grey on window grey") << QColor(0x77, 0x77, 0x77) << QColor(0xef, 0xef, 0xef) << 3.89;
        QTest::newRow("pure red on white") << QColor(Qt::red) << QColor(Qt::white) << 4.0;
    }
    void ratio()
    {
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QFETCH(double, ratio);
        QVERIFY2(qAbs(TextContrast::ratio(text, background) - ratio) < 0.01, qPrintable(QString::number(TextContrast::ratio(text, background))));
    }

    // Moved only as far as reading needs, darker on a light background and lighter on a dark
    // one; a colour that reads already stays.
    void readable_data()
    {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<bool>("kept");
        QTest::newRow("light theme grey") << QColor(0x77, 0x77, 0x77) << QColor(0xef, 0xef, 0xef) << false;
        QTest::newRow("dark theme grey") << QColor(0x80, 0x80, 0x80) << QColor(0x30, 0x30, 0x30) << false;
        QTest::newRow("dark enough already") << QColor(0x55, 0x55, 0x55) << QColor(Qt::white) << true;
    }
    void readable()
    {
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QFETCH(bool, kept);
        const QColor shown = TextContrast::readable(text, background);
        QCOMPARE(shown == text, kept);
        const double reached = TextContrast::ratio(shown, background);
        QVERIFY2(reached >= TextContrast::kReadable, qPrintable(QString::number(reached)));
        // Still a secondary colour, not the text colour itself.
        if (!kept)
            QVERIFY2(reached < TextContrast::kReadable + 0.1, qPrintable(QString::number(reached)));
    }
};

QTEST_MAIN(TestTextContrast)
#include "test_text_contrast.moc"
