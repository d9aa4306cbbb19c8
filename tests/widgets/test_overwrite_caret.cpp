// The caret a field shows while the keyboard overwrites: a block over what the next
// character typed replaces.

#include "CaretPicture.h"
#include "KeyboardState.h"
#include "OverwriteCaretStyle.h"

#include <QLineEdit>
#include <QStyleHints>

using namespace Qt::StringLiterals;

class TestOverwriteCaret : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // A steady caret, so that a picture of a field shows it.
        QGuiApplication::styleHints()->setCursorFlashTime(0);
    }
    void cleanup() { KeyboardState::setOverwrite(false); }

    // At the end, where nothing is replaced, the block is an average character wide.
    void blockCoversTheNextLetter_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("overwriting");
        QTest::addColumn<QString>("under"); // the characters the block covers
        QTest::newRow("inserting: a thin line") << 0 << false << QString();
        QTest::newRow("over a wide letter") << 0 << true << "W";
        QTest::newRow("over a narrow letter") << 1 << true << "i";
        QTest::newRow("over a letter outside the BMP") << 2 << true << u"\U0001D456"_s;
        QTest::newRow("over a letter and its accent") << 4 << true << u"e\u0301"_s;
        QTest::newRow("at the end") << 6 << true << QString();
    }
    void blockCoversTheNextLetter()
    {
        QFETCH(int, caret);
        QFETCH(bool, overwriting);
        QFETCH(QString, under);
        QLineEdit field;
        field.setStyle(new OverwriteCaretStyle(&field));
        field.setText(u"Wi\U0001D456e\u0301"_s);
        field.show();
        field.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&field));
        field.setFocus();
        field.setCursorPosition(caret);
        KeyboardState::setOverwrite(overwriting);
        field.update();
        const QRect block = caretArea(&field);
        const int width = overwriteCaretWidth(&field, overwriting, under);
        QVERIFY2(qAbs(block.width() - width) <= 1,
            qPrintable(u"a caret %1 pixels wide, not %2"_s.arg(block.width()).arg(width)));
    }
};

QTEST_MAIN(TestOverwriteCaret)
#include "test_overwrite_caret.moc"
