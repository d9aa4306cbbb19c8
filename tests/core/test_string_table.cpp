#include "ResourceText.h"
#include "StringTable.h"

#include <QTest>

#include <set>

class TestStringTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unknownIdsAreEmpty_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("gap in the range") << 104;
        QTest::newRow("above the range") << 3004;
    }
    void unknownIdsAreEmpty()
    {
        QFETCH(int, id);
        QVERIFY(!StringTable::find(id).has_value());
        QVERIFY(ResourceText::get(id).isEmpty());
    }

    // The lookup is a binary search: an id out of order would silently vanish.
    void everyEntryIsReachableByItsId()
    {
        std::set<int> seen;
        for (const auto *e = StringTable::begin(); e != StringTable::end(); ++e) {
            QVERIFY2(seen.insert(e->id).second, "duplicate id");
            QCOMPARE(StringTable::find(e->id).value_or("?"), e->text);
        }
        QVERIFY(seen.size() > 80);
    }
};

QTEST_APPLESS_MAIN(TestStringTable)
#include "test_string_table.moc"
