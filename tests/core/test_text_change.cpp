#include "TextChange.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTextChange : public QObject
{
    Q_OBJECT

private slots:
    void applied_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("text"); // the replacement, or the text added
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("error"); // where an invalid expression fails

        QTest::newRow("plain: every occurrence") << "plain" << "bread" << "loaves" << true << "bread and more bread" << "loaves and more loaves" << "";
        QTest::newRow("plain: case matched") << "plain" << "Bread" << "Rye" << true << "Bread, bread" << "Rye, bread" << "";
        QTest::newRow("plain: any case") << "plain" << "BREAD" << "rye" << false << "Bread, bread" << "rye, rye" << "";
        QTest::newRow("plain: pattern characters are text") << "plain" << "a.c" << "X" << true << "abc a.c" << "abc X" << "";
        QTest::newRow("plain: replaced by nothing") << "plain" << " since 1952" << "" << true << "Baked since 1952." << "Baked." << "";
        QTest::newRow("plain: empty find changes nothing") << "plain" << "" << "X" << true << "Bread" << "Bread" << "";
        QTest::newRow("plain: any case beyond ASCII") << "plain" << "MÜLLER" << "Meyer" << false << "Bäckerei Müller" << "Bäckerei Meyer" << "";
        QTest::newRow("plain: beyond the BMP") << "plain" << "🍞" << "bread" << true << "Fresh 🍞 daily" << "Fresh bread daily" << "";

        QTest::newRow("regex: backslash groups") << "regex" << "(\\w+) (\\w+)" << "\\2 \\1" << true << "rye bread" << "bread rye" << "";
        QTest::newRow("regex: dollar groups") << "regex" << "(\\d{4})-(\\d{2})" << "$2/$1" << true << "since 1952-06" << "since 06/1952" << "";
        QTest::newRow("regex: whole match") << "regex" << "\\d+" << "[\\0]" << true << "a 12 b 3" << "a [12] b [3]" << "";
        QTest::newRow("regex: two-digit group") << "regex" << "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)" << "\\10\\1" << true << "abcdefghij" << "ja" << "";
        QTest::newRow("regex: one digit when there are fewer groups") << "regex" << "(a)" << "\\10" << true << "a" << "a0" << "";
        QTest::newRow("regex: a group the expression lacks stays as typed") << "regex" << "(a)" << "$2\\2" << true << "a" << "$2\\2" << "";
        QTest::newRow("regex: doubled markers are literal") << "regex" << "(\\d+)" << "$$\\\\1 $1" << true << "costs 5" << "costs $\\1 5" << "";
        QTest::newRow("regex: a group that took no part") << "regex" << "(x)?b" << "[\\1]" << true << "ab" << "a[]" << "";
        QTest::newRow("regex: start anchor") << "regex" << "^" << "Our " << true << "bread" << "Our bread" << "";
        QTest::newRow("regex: end anchor") << "regex" << "\\.$" << "!" << true << "Fresh bread." << "Fresh bread!" << "";
        QTest::newRow("regex: anchors hold the whole value") << "regex" << "^bread$" << "rye" << true << "bread bread" << "bread bread" << "";
        QTest::newRow("regex: case matched") << "regex" << "bread" << "rye" << true << "Bread bread" << "Bread rye" << "";
        QTest::newRow("regex: any case") << "regex" << "bread" << "rye" << false << "Bread bread" << "rye rye" << "";
        QTest::newRow("regex: letters beyond ASCII are word characters") << "regex" << "\\b\\w+\\b" << "<$0>" << true << "Café Müller" << "<Café> <Müller>" << "";
        QTest::newRow("regex: empty expression changes nothing") << "regex" << "" << "X" << true << "ab" << "ab" << "";
        QTest::newRow("regex: unclosed group") << "regex" << "(bread" << "x" << true << "(bread" << "(bread" << "character 7";
        QTest::newRow("regex: nothing to repeat") << "regex" << "*bread" << "x" << true << "*bread" << "*bread" << "character 1";
        QTest::newRow("regex: unclosed class") << "regex" << "br[ea" << "x" << true << "br[ea" << "br[ea" << "character 6";

        QTest::newRow("before") << "before" << "" << "Bakery: " << true << "bread" << "Bakery: bread" << "";
        QTest::newRow("after") << "after" << "" << " | Bakery" << true << "bread" << "bread | Bakery" << "";
        QTest::newRow("after an empty value") << "after" << "" << "bread" << true << "" << "bread" << "";
        QTest::newRow("before, the find text ignored") << "before" << "bread" << "≈ " << true << "bread" << "≈ bread" << "";
    }
    void applied()
    {
        QFETCH(QString, how);
        QFETCH(QString, find);
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QFETCH(QString, error);
        // Not even Qt's complaint about matching an expression that does not compile.
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        TextChange change;
        if (how == u"plain"_s)
            change = TextChange::replace(find, text, sensitivity);
        else if (how == u"regex"_s)
            change = TextChange::replaceMatches(find, text, sensitivity);
        else
            change = how == u"before"_s ? TextChange::addBefore(text) : TextChange::addAfter(text);
        QCOMPARE(change.isValid(), error.isEmpty());
        // Says what is wrong besides where.
        QVERIFY2(change.error().contains(error), qPrintable(change.error()));
        QCOMPARE(change.error().size() > error.size(), !error.isEmpty());
        QCOMPARE(change.applied(value), expected);
    }
};

QTEST_MAIN(TestTextChange)
#include "test_text_change.moc"
