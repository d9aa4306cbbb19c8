#include "resources/ResourceText.h"
#include "resources/StringTable.h"

#include <QTest>

#include <set>

class TestStringTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::newRow("first id") << 100 << QStringLiteral("Description");
        QTest::newRow("keywords placeholder keeps its spelling")
            << 107 << QStringLiteral("Keywords, seperated, with, commas");
        QTest::newRow("no keywords has a comma") << 108 << QStringLiteral("No, keywords");
        QTest::newRow("never saved") << 111 << QStringLiteral("NONE");
        QTest::newRow("close prompt") << 112 << QStringLiteral("Save changes before closing this file?");
        QTest::newRow("charset check box") << 401 << QStringLiteral("USE DEFAULT CHARSET");
        QTest::newRow("menu access key") << 2009 << QStringLiteral("Cu&t");
        QTest::newRow("search engine link") << 2032 << QStringLiteral("AltaVista Help - &Blocking Pages");
        QTest::newRow("tab caption spelling") << 205 << QStringLiteral("File extentions");
        QTest::newRow("last button") << 3002 << QStringLiteral("CANCEL");
    }
    void texts()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QCOMPARE(ResourceText::get(id), text);
    }

    void composedForms()
    {
        QCOMPARE(ResourceText::status(1001), QStringLiteral("Opening document..."));
        QCOMPARE(ResourceText::status(113), QStringLiteral("No HEAD section in file..."));
        QCOMPARE(ResourceText::caption(400), QStringLiteral("Charset:"));
    }

    void unknownIdsAreEmpty_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("below the range") << 99;
        QTest::newRow("gap in the range") << 104;
        QTest::newRow("between blocks") << 1999;
        QTest::newRow("above the range") << 3004;
        QTest::newRow("negative") << -1;
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
            QVERIFY2(e->id >= 100 && e->id <= 3003, qPrintable(QString::number(e->id)));
            QVERIFY2(seen.insert(e->id).second, "duplicate id");
            QCOMPARE(StringTable::find(e->id).value_or("?"), e->text);
        }
        QVERIFY(seen.size() > 80);
    }
};

QTEST_APPLESS_MAIN(TestStringTable)
#include "test_string_table.moc"
