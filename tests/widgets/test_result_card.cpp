// The search-result preview as drawn: what shows inside the size it asks for.

#include "SnippetPreview.h"

#include <QTest>

class TestResultCard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Drawn at the size it asks for, at full width or scaled down, a result shows all four of
    // its lines (title, path, two of description) whole, with room to spare below.
    void aResultFitsTheSizeItAsksFor_data()
    {
        QTest::addColumn<double>("share"); // of the width it asks for
        QTest::newRow("full width") << 1.0;
        QTest::newRow("scaled down") << 0.6;
    }
    void aResultFitsTheSizeItAsksFor()
    {
        QFETCH(double, share);
        SnippetPreview preview;
        preview.setTitle(QStringLiteral("Kites of the coast"));
        preview.setPath(QStringLiteral("/site/kites.html"));
        preview.setDescription(QStringLiteral("Hand-made kites ").repeated(12));
        QCOMPARE(preview.shownDescription().size(), 2);
        const int width = qRound(preview.sizeHint().width() * share);
        preview.resize(width, preview.heightForWidth(width));
        const QImage image = preview.grab().toImage();
        // Inside the card's rounded border: rows of the card's colour, or of text.
        const QRgb paper = image.pixel(image.width() / 2, 3);
        QList<bool> inked;
        for (int y = 2; y < image.height() - 2; ++y) {
            bool ink = false;
            for (int x = 3; x < image.width() - 3 && !ink; ++x)
                ink = image.pixel(x, y) != paper;
            inked.append(ink);
        }
        int bands = 0;
        for (int y = 0; y < inked.size(); ++y)
            bands += inked.at(y) && (y == 0 || !inked.at(y - 1));
        QCOMPARE(bands, 4);
        QVERIFY2(!inked.last() && !inked.at(inked.size() - 2), "the last line reaches the card's border");
    }
};

QTEST_MAIN(TestResultCard)
#include "test_result_card.moc"
