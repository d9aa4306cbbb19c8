#include "EngineText.h"

#include "document/MetaElementSet.h"
#include "document/TagBlock.h"

#include <QTest>

Q_DECLARE_METATYPE(TextField)

namespace {

// Flags given as a word per flag in fixed order, e.g. "noindex nofollow".
MetaElementSet withFlags(const QString &words)
{
    MetaElementSet set;
    for (const QString &word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
            if (textOf(MetaElementSet::robotsWord(flag)) == word)
                set.setFlag(flag, true);
        }
    }
    return set;
}

MetaElementSet documentWith(const QString &description, const QString &keywords, const QString &author)
{
    MetaElementSet set;
    set.setText(TextField::Description, utf8Of(description));
    set.setText(TextField::Keywords, utf8Of(keywords));
    set.setText(TextField::Author, utf8Of(author));
    return set;
}

} // namespace

class TestMetaElementSet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void robotsValue_data()
    {
        QTest::addColumn<QString>("flagsSwitchedOn");
        QTest::addColumn<QString>("value");
        QTest::newRow("none") << QString() << QString();
        QTest::newRow("only nofollow") << QStringLiteral("nofollow") << QStringLiteral("nofollow");
        QTest::newRow("noindex and nofollow")
            << QStringLiteral("noindex nofollow") << QStringLiteral("noindex, nofollow");
        QTest::newRow("nofollow and noimageindex")
            << QStringLiteral("nofollow noimageindex") << QStringLiteral("nofollow, noimageindex");
        QTest::newRow("nofollow and noimageclick")
            << QStringLiteral("noimageclick nofollow") << QStringLiteral("nofollow, noimageclick");
        QTest::newRow("last exclusive flag wins")
            << QStringLiteral("noindex noimageindex noimageclick") << QStringLiteral("noimageclick");
        QTest::newRow("exclusive switch keeps nofollow")
            << QStringLiteral("nofollow noimageclick noindex") << QStringLiteral("noindex, nofollow");
    }
    void robotsValue()
    {
        QFETCH(QString, flagsSwitchedOn);
        QFETCH(QString, value);
        QCOMPARE(textOf(withFlags(flagsSwitchedOn).robotsValue()), value);
    }

    void switchingOffLeavesTheOthersAlone()
    {
        MetaElementSet set = withFlags(QStringLiteral("noindex nofollow"));
        set.setFlag(RobotsFlag::NoIndex, false);
        QVERIFY(set.flag(RobotsFlag::NoFollow));
        QVERIFY(!set.flag(RobotsFlag::NoImageIndex));
        QCOMPARE(textOf(set.robotsValue()), QStringLiteral("nofollow"));
    }

    void placeholders_data()
    {
        QTest::addColumn<TextField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasValue");
        QTest::newRow("empty description") << TextField::Description << QString() << false;
        QTest::newRow("new description")
            << TextField::Description << QStringLiteral("Description of your homepage") << false;
        QTest::newRow("no description")
            << TextField::Description << QStringLiteral("No description") << false;
        QTest::newRow("trailing space is a value")
            << TextField::Description << QStringLiteral("Description of your homepage ") << true;
        QTest::newRow("other case is a value")
            << TextField::Description << QStringLiteral("no description") << true;
        QTest::newRow("new keywords")
            << TextField::Keywords << QStringLiteral("Keywords, seperated, with, commas") << false;
        QTest::newRow("no keywords") << TextField::Keywords << QStringLiteral("No, keywords") << false;
        QTest::newRow("keywords of a description")
            << TextField::Keywords << QStringLiteral("No description") << true;
        QTest::newRow("author placeholder")
            << TextField::Author << QStringLiteral("Your name goes here") << false;
        QTest::newRow("no author") << TextField::Author << QStringLiteral("No author") << false;
        QTest::newRow("empty author") << TextField::Author << QString() << false;
        QTest::newRow("real author") << TextField::Author << QStringLiteral("Ada") << true;
        QTest::newRow("description placeholder as author")
            << TextField::Author << QStringLiteral("Description of your homepage") << true;
    }
    void placeholders()
    {
        QFETCH(TextField, field);
        QFETCH(QString, text);
        QFETCH(bool, hasValue);
        QCOMPARE(MetaElementSet::hasValue(field, utf8Of(text)), hasValue);
    }

    void tagBlock_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<bool>("charset");
        QTest::addColumn<QStringList>("tags");
        const QString dist = QStringLiteral("<META name=\"distribution\" content=\"global\">");
        const QString fmt = QStringLiteral("<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">");
        QTest::newRow("only placeholders")
            << QStringLiteral("No description") << QStringLiteral("Keywords, seperated, with, commas")
            << QStringLiteral("Your name goes here") << QString() << false << QStringList { dist, fmt };
        QTest::newRow("everything")
            << QStringLiteral("A page") << QStringLiteral("a, b") << QStringLiteral("Ada")
            << QStringLiteral("noindex nofollow") << true
            << QStringList {
                   QStringLiteral(
                       "<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">"),
                   QStringLiteral("<META name=\"description\" content=\"A page\">"),
                   QStringLiteral("<META name=\"keywords\" content=\"a, b\">"),
                   QStringLiteral("<META name=\"author\" content=\"Ada\">"),
                   QStringLiteral("<META name=\"robots\" content=\"noindex, nofollow\">"), dist, fmt
               };
        QTest::newRow("values inserted as they stand")
            << QStringLiteral(" say \"hi\" & <b> ") << QString() << QString() << QString() << false
            << QStringList { QStringLiteral("<META name=\"description\" content=\" say \"hi\" & <b> \">"),
                   dist, fmt };
        QTest::newRow("robots alone")
            << QString() << QString() << QString() << QStringLiteral("noimageclick") << false
            << QStringList { QStringLiteral("<META name=\"robots\" content=\"noimageclick\">"), dist, fmt };
    }
    void tagBlock()
    {
        QFETCH(QString, description);
        QFETCH(QString, keywords);
        QFETCH(QString, author);
        QFETCH(QString, flags);
        QFETCH(bool, charset);
        QFETCH(QStringList, tags);
        MetaElementSet set = withFlags(flags);
        const MetaElementSet texts = documentWith(description, keywords, author);
        for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author })
            set.setText(field, texts.text(field));
        set.setCharset(charset);

        for (const char *lineEnd : { "\r\n", "\n", "\r" }) {
            const QString end = QString::fromLatin1(lineEnd);
            QCOMPARE(textOf(TagBlock::forView(set, "2.01a", lineEnd)), tags.join(end));
            QCOMPARE(textOf(TagBlock::forInsertion(set, "2.01a", lineEnd)), end + tags.join(end));
        }
    }

    void generatorWithoutVersionEndsInASpace()
    {
        QCOMPARE(textOf(TagBlock::generatorText("")), QStringLiteral("Tagsmith LITE "));
        const auto tags = TagBlock::tags(MetaElementSet(), "");
        QCOMPARE(textOf(tags.back()), QStringLiteral("<META name=\"FORMATTER\" content=\"Tagsmith LITE \">"));
    }
};

QTEST_APPLESS_MAIN(TestMetaElementSet)
#include "test_meta_element_set.moc"
