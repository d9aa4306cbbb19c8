#include "TestHome.h"

#include "RecentFileList.h"
#include "RegistryKey.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

RegistryKey key(const QString &path, const QString &name = QString(), bool classes = true)
{
    return RegistryKey::at(classes ? RegistryKey::HKEY_CLASSES_ROOT : RegistryKey::HKEY_CURRENT_USER, path, name);
}

RegistryKey programKey() { return key(u"Software\\Vantorel\\Tagsmith LITE"_s, QString(), false); }

QStringList pathsOf(const RecentFileList &list)
{
    QStringList paths;
    for (int i = 1; i <= list.count(); ++i)
        if (list.inUse(i))
            paths.append(list.path(i));
    return paths;
}

} // namespace

// The key store, and the recent file list kept in it.
class TestRegistryKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unnamedValueIsApartFromNamedOnes()
    {
        TestHome home;
        RegistryKey php = key(u".php"_s);
        php.setValueName(php.defaultValueName());
        QVERIFY(php.setValue(u"phpfile"_s));
        php.setValueName(u"Content Type"_s);
        QVERIFY(php.setValue(u"application/x-php"_s));
        php.setValueName(QString());
        QCOMPARE(php.value(), u"phpfile"_s);
        QCOMPARE(php.valueNames().size(), 2);
        // Slashes and percent signs in a value name make no subkeys.
        RegistryKey odd = key(u"Software\\A"_s, u"a/b\\c%d"_s);
        QVERIFY(odd.setValue(u"v"_s));
        QCOMPARE(odd.valueNames(), QStringList { u"a/b\\c%d"_s });
        QVERIFY(odd.subKeys().isEmpty());
    }

    void namesIgnoreLetterCase_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("valueName");
        QTest::newRow("key in capitals") << u"SOFTWARE\\VANTOREL\\tagsmith lite"_s << u"File1"_s;
        QTest::newRow("value in lower case") << u"Software\\Vantorel\\Tagsmith LITE"_s << u"file1"_s;
        QTest::newRow("extra separators") << u"\\Software\\\\Vantorel\\Tagsmith LITE\\"_s << u"File1"_s;
    }
    void namesIgnoreLetterCase()
    {
        QFETCH(QString, path);
        QFETCH(QString, valueName);
        TestHome home;
        key(u"Software\\Vantorel\\Tagsmith LITE"_s, u"File1"_s, false).setValue(u"/a.html"_s);
        RegistryKey other = key(path, valueName, false);
        QCOMPARE(other.value(), u"/a.html"_s);
        // Overwriting through another spelling keeps one value, not two.
        QVERIFY(other.setValue(u"/b.html"_s));
        QCOMPARE(programKey().valueNames(), QStringList { u"File1"_s });
        // The same path under the other root is another key.
        QCOMPARE(key(path, valueName).value(), QString());
    }

    void deleteKeyTakesItsSubkeys()
    {
        TestHome home;
        key(u"htmlfile\\shell\\Edit_with_Tagsmith\\command"_s).setValue(u"x"_s);
        key(u"htmlfile\\shell\\open"_s).setValue(u"y"_s);
        QVERIFY(key(u"htmlfile\\shell\\Edit_with_Tagsmith"_s).deleteKey());
        QVERIFY(!key(u"htmlfile\\shell\\Edit_with_Tagsmith"_s).keyExists());
        QCOMPARE(key(u"htmlfile\\shell\\Edit_with_Tagsmith\\command"_s).value(), QString());
        QCOMPARE(key(u"htmlfile\\shell\\open"_s).value(), u"y"_s);
    }

    // A key is there while it holds a value or a subkey; the root itself is never deleted,
    // nor anything under it by such a try.
    void keysExistByWhatTheyHold_data()
    {
        QTest::addColumn<QString>("written"); // key path given a value
        QTest::addColumn<QString>("deleted"); // key path deleted afterwards; none when null
        QTest::addColumn<bool>("deletes");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("exists");
        QTest::newRow("a key with a value") << u"a\\b"_s << QString() << false << u"a\\b"_s << true;
        QTest::newRow("a key with only a subkey") << u"a\\b"_s << QString() << false << u"a"_s << true;
        QTest::newRow("a key never written") << u"a\\b"_s << QString() << false << u"a\\c"_s << false;
        QTest::newRow("a key deleted") << u"a\\b"_s << u"a"_s << true << u"a\\b"_s << false;
        QTest::newRow("the root deleted: nothing goes") << u"a"_s << u""_s << false << u"a"_s << true;
        QTest::newRow("the root deleted by separators alone") << u"a"_s << u"\\"_s << false << u"a"_s << true;
    }
    void keysExistByWhatTheyHold()
    {
        QFETCH(QString, written);
        QFETCH(QString, deleted);
        QFETCH(bool, deletes);
        QFETCH(QString, asked);
        QFETCH(bool, exists);
        TestHome home;
        QVERIFY(key(written, u"v"_s).setValue(u"x"_s));
        QVERIFY(key(QString(), u"top"_s).setValue(u"y"_s));
        if (!deleted.isNull())
            QCOMPARE(key(deleted).deleteKey(), deletes);
        QCOMPARE(key(asked).keyExists(), exists);
        QCOMPARE(key(QString(), u"top"_s).value(), u"y"_s);
    }

    // Newest first, up to the capacity, each file once; whatever form a path came in, the
    // list keeps where it points from here.
    void recentFiles_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("capacity drops the oldest") << QStringList { "/a", "/b", "/c", "/d" } << QStringList { "/d", "/c", "/b" };
        QTest::newRow("listed path moves to the top") << QStringList { "/a", "/b", "/c", "/a" } << QStringList { "/a", "/c", "/b" };
        QTest::newRow("case differs: two files") << QStringList { "/A.html", "/a.html" } << QStringList { "/a.html", "/A.html" };
        QTest::newRow("empty path is not listed") << QStringList { "/a", "" } << QStringList { "/a" };
        QTest::newRow("relative") << QStringList { "page.html" } << QStringList { "%here/page.html" };
        QTest::newRow("blanks and quotes kept") << QStringList { " \"a b\".html " } << QStringList { "%here/ \"a b\".html " };
        QTest::newRow("absolute as it is") << QStringList { "/srv/./www/../x.html" } << QStringList { "/srv/./www/../x.html" };
    }
    void recentFiles()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, listed);
        TestHome home;
        listed.replaceInStrings(u"%here"_s, home.path());
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(home.path()));
        RecentFileList list;
        list.setCapacity(3);
        for (const QString &path : added)
            list.add(path);
        QDir::setCurrent(started);
        QCOMPARE(pathsOf(list), listed);
        QCOMPARE(list.caption(1), u"&1  "_s + listed.first());
        QCOMPARE(list.caption(list.count() + 1), QString());
        // The newest file given again, now from where it is, is not listed twice.
        list.add(listed.first());
        QCOMPARE(pathsOf(list), listed);
    }

    void recentFilesShrinkAndSurviveARestart()
    {
        TestHome home;
        RecentFileList before;
        for (const QString &path : { u"/1"_s, u"/tmp/a \"b\".html"_s, u"/tmp/two\nlines.htm"_s, u"/tmp/Grüße, Welt.php"_s })
            before.add(path);
        before.setCapacity(3);
        QCOMPARE(pathsOf(before).last(), u"/tmp/a \"b\".html"_s);
        RegistryKey store = programKey();
        QVERIFY(before.save(store));
        RecentFileList after;
        after.load(store);
        QCOMPARE(pathsOf(after), pathsOf(before));

        // Saving fewer entries forgets the rest; a relative entry, as earlier versions kept, is
        // dropped without hiding the ones behind it.
        RecentFileList fewer;
        fewer.add(u"/only"_s);
        fewer.add(u"/newer"_s);
        QVERIFY(fewer.save(store));
        store.setValueName(u"File1"_s);
        store.setValue(u"page.html"_s);
        RecentFileList loaded;
        loaded.load(store);
        QCOMPARE(pathsOf(loaded), QStringList { u"/only"_s });
    }

    // A restart lists the stored paths in their order, each once, as many as there is room
    // for; entries past the list hold nothing.
    void recentFilesAsARestartFindsThem_data()
    {
        QTest::addColumn<QStringList>("stored"); // File1, File2, ...
        QTest::addColumn<int>("capacity");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("as stored") << QStringList { u"/a"_s, u"/b"_s } << 3 << QStringList { u"/a"_s, u"/b"_s };
        QTest::newRow("the same path twice is listed once")
            << QStringList { u"/a"_s, u"/a"_s, u"/b"_s } << 3 << QStringList { u"/a"_s, u"/b"_s };
        QTest::newRow("more than there is room for: the newest")
            << QStringList { u"/a"_s, u"/b"_s, u"/c"_s, u"/d"_s } << 2 << QStringList { u"/a"_s, u"/b"_s };
        QTest::newRow("a gap in the numbers") << QStringList { u"/a"_s, QString(), u"/c"_s } << 3
                                              << QStringList { u"/a"_s, u"/c"_s };
        QTest::newRow("the last of nine") << QStringList(8, QString()) + QStringList { u"/ninth"_s } << 9
                                          << QStringList { u"/ninth"_s };
        QTest::newRow("no room at all") << QStringList { u"/a"_s } << 0 << QStringList();
    }
    void recentFilesAsARestartFindsThem()
    {
        QFETCH(QStringList, stored);
        QFETCH(int, capacity);
        QFETCH(QStringList, listed);
        TestHome home;
        RegistryKey store = programKey();
        for (int i = 0; i < stored.size(); ++i) {
            store.setValueName(u"File"_s + QString::number(i + 1));
            QVERIFY(stored.at(i).isEmpty() || store.setValue(stored.at(i)));
        }
        RecentFileList list;
        list.setCapacity(capacity);
        list.load(store);
        QCOMPARE(pathsOf(list), listed);
        QCOMPARE(list.count(), capacity);
        QCOMPARE(list.path(0), QString());
        QCOMPARE(list.path(int(listed.size()) + 1), QString());
        QVERIFY(!list.inUse(int(listed.size()) + 1));
        list.add(u"/added"_s);
        QCOMPARE(pathsOf(list).value(0), capacity == 0 ? QString() : u"/added"_s);
    }

    // A list that cannot be stored says so.
    void recentFilesUnwritable()
    {
        TestHome home;
        home.write(u"config/Vantorel"_s, "in the way");
        RecentFileList list;
        list.add(u"/a.html"_s);
        RegistryKey store = programKey();
        QVERIFY(!list.save(store));
    }
};

QTEST_APPLESS_MAIN(TestRegistryKey)
#include "test_registry_key.moc"
