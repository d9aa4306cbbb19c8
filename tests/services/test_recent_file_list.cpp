#include "TestHome.h"

#include "services/RecentFileList.h"
#include "services/RegistryKey.h"

#include <QTest>

namespace {

const QString kProgramKey = QStringLiteral("Software\\Vantorel\\Tagsmith LITE");

QStringList pathsOf(const RecentFileList &list)
{
    QStringList paths;
    for (int i = 1; i <= list.Count(); ++i) {
        if (list.inUse(i))
            paths.append(list.path(i));
    }
    return paths;
}

RegistryKey programKey()
{
    return RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, kProgramKey);
}

} // namespace

class TestRecentFileList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void adding_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("newest first") << QStringList { QStringLiteral("/a"), QStringLiteral("/b") }
                                      << QStringList { QStringLiteral("/b"), QStringLiteral("/a") };
        QTest::newRow("capacity drops the oldest") << QStringList {
            QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c"), QStringLiteral("/d")
        } << QStringList { QStringLiteral("/d"), QStringLiteral("/c"), QStringLiteral("/b") };
        QTest::newRow("listed path moves to the top") << QStringList {
            QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c"), QStringLiteral("/a")
        } << QStringList { QStringLiteral("/a"), QStringLiteral("/c"), QStringLiteral("/b") };
        QTest::newRow("adding the newest again changes nothing")
            << QStringList { QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/b") }
            << QStringList { QStringLiteral("/b"), QStringLiteral("/a") };
        QTest::newRow("paths differing in case are two files")
            << QStringList { QStringLiteral("/A.html"), QStringLiteral("/a.html") }
            << QStringList { QStringLiteral("/a.html"), QStringLiteral("/A.html") };
        QTest::newRow("empty path is not listed")
            << QStringList { QStringLiteral("/a"), QString() } << QStringList { QStringLiteral("/a") };
    }
    void adding()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, listed);
        RecentFileList list;
        list.setCapacity(3);
        for (const QString &path : added)
            list.add(path);
        QCOMPARE(pathsOf(list), listed);
    }

    void captionsCarryAFourCharacterPrefix()
    {
        RecentFileList list;
        list.setCapacity(3);
        list.add(QStringLiteral("/srv/www/old.html"));
        list.add(QStringLiteral("/srv/www/my page.html"));
        QCOMPARE(list.caption(1), QStringLiteral("&1  /srv/www/my page.html"));
        QCOMPARE(list.caption(2), QStringLiteral("&2  /srv/www/old.html"));
        QCOMPARE(list.caption(1).mid(4), list.path(1));
        QCOMPARE(list.Count(), 3);
        QVERIFY(!list.inUse(3));
        QCOMPARE(list.caption(3), QString());
        QVERIFY(!list.inUse(0));
        QVERIFY(!list.inUse(4));
    }

    void shrinkingKeepsTheNewest()
    {
        RecentFileList list;
        for (const char *p : { "/1", "/2", "/3", "/4", "/5" })
            list.add(QString::fromLatin1(p));
        list.setCapacity(3);
        QCOMPARE(pathsOf(list),
            (QStringList { QStringLiteral("/5"), QStringLiteral("/4"), QStringLiteral("/3") }));
    }

    void survivesARestart_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::newRow("none") << QStringList();
        QTest::newRow("one") << QStringList { QStringLiteral("/srv/index.html") };
        QTest::newRow("odd paths") << QStringList { QStringLiteral("/tmp/a \"b\".html"),
            QStringLiteral("/tmp/two\nlines.htm"), QStringLiteral(u"/tmp/Grüße, Welt.php") };
    }
    void survivesARestart()
    {
        QFETCH(QStringList, added);
        TestHome home;
        RecentFileList before;
        for (const QString &path : added)
            before.add(path);
        before.setCapacity(3);
        RegistryKey key = programKey();
        QVERIFY(before.save(key));

        RecentFileList after;
        RegistryKey again = programKey();
        after.load(again);
        after.setCapacity(3);
        QCOMPARE(pathsOf(after), pathsOf(before));
    }

    void savingFewerEntriesForgetsTheRest()
    {
        TestHome home;
        RecentFileList three;
        for (const char *p : { "/1", "/2", "/3" })
            three.add(QString::fromLatin1(p));
        RegistryKey key = programKey();
        three.save(key);

        RecentFileList one;
        one.add(QStringLiteral("/only"));
        one.save(key);

        RecentFileList loaded;
        loaded.load(key);
        QCOMPARE(pathsOf(loaded), QStringList { QStringLiteral("/only") });
    }
};

QTEST_APPLESS_MAIN(TestRecentFileList)
#include "test_recent_file_list.moc"
