#include "EngineText.h"

#include "MetaElementSet.h"
#include "TagBlock.h"

#include <QTest>

namespace {

// Flags switched on in the order given, e.g. "noindex nofollow"; "-noindex" switches one off.
MetaElementSet withFlags(const QString &words)
{
    MetaElementSet set;
    for (const QString &word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool on = !word.startsWith(QLatin1Char('-'));
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
            if (textOf(MetaElementSet::robotsWord(flag)) == word.mid(on ? 0 : 1))
                set.setFlag(flag, on);
        }
    }
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
        QTest::newRow("nofollow comes after noindex")
            << QStringLiteral("nofollow noindex") << QStringLiteral("noindex, nofollow");
        QTest::newRow("nofollow comes before the image flags")
            << QStringLiteral("noimageclick nofollow") << QStringLiteral("nofollow, noimageclick");
        QTest::newRow("last exclusive flag wins")
            << QStringLiteral("noindex noimageindex noimageclick") << QStringLiteral("noimageclick");
        QTest::newRow("switching another flag off leaves an exclusive one on")
            << QStringLiteral("noindex -noimageclick -noimageindex -nofollow") << QStringLiteral("noindex");
        QTest::newRow("switching the exclusive flag off")
            << QStringLiteral("nofollow noimageindex -noimageindex") << QStringLiteral("nofollow");
    }
    void robotsValue()
    {
        QFETCH(QString, flagsSwitchedOn);
        QFETCH(QString, value);
        QCOMPARE(textOf(withFlags(flagsSwitchedOn).robotsValue()), value);
    }

    void tagBlock_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<bool>("charset");
        QTest::addColumn<QStringList>("tags");
        const QString dist = QStringLiteral("<META name=\"distribution\" content=\"global\">");
        const QString fmt = QStringLiteral("<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">");
        const QString keys = QStringLiteral("<META name=\"keywords\" content=\"a, b\">");
        QTest::newRow("placeholders left out") << QStringLiteral("No description") << QString() << false
                                               << QStringList { keys, dist, fmt };
        QTest::newRow("everything")
            << QStringLiteral("A page") << QStringLiteral("noindex nofollow") << true
            << QStringList { QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; "
                                            "charset=ISO-8859-1\">"),
                   QStringLiteral("<META name=\"description\" content=\"A page\">"),
                   keys, QStringLiteral("<META name=\"robots\" content=\"noindex, nofollow\">"), dist, fmt };
    }
    void tagBlock()
    {
        QFETCH(QString, description);
        QFETCH(QString, flags);
        QFETCH(bool, charset);
        QFETCH(QStringList, tags);
        MetaElementSet set = withFlags(flags);
        set.setText(TextField::Description, utf8Of(description));
        set.setText(TextField::Keywords, "a, b");
        set.setText(TextField::Author, "Your name goes here");
        set.setCharset(charset);
        for (const char *lineEnd : { "\r\n", "\n", "\r" }) {
            const QString end = QString::fromLatin1(lineEnd);
            QCOMPARE(textOf(TagBlock::forView(set, "2.01a", lineEnd)), tags.join(end));
            QCOMPARE(textOf(TagBlock::forInsertion(set, "2.01a", lineEnd)), end + tags.join(end));
        }
    }
};

QTEST_APPLESS_MAIN(TestMetaElementSet)
#include "test_meta_element_set.moc"
