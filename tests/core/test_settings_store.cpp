#include "TestHome.h"

#include "SettingsStore.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("name with a space") << u"Backup Files"_s << u"off"_s;
        QTest::newRow("commas stay one text") << u"Author"_s << u"Doe, Jane, Jr."_s;
        QTest::newRow("leading at sign") << u"Author"_s << u"@home"_s;
        QTest::newRow("empty text") << u"Author"_s << QString();
    }
    void roundTrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        TestHome home;
        QVERIFY(SettingsStore().setValue(name, value));
        QCOMPARE(SettingsStore().value(name), value);
    }

    void sectionsAndStoresShareOneFile()
    {
        TestHome home;
        SettingsStore first, second;
        QCOMPARE(first.value(u"Location"_s, u"Scrivan"_s), QString());
        QVERIFY(first.setValue(u"Location"_s, u"/opt/tagsmith"_s));
        first.setValue(u"Location"_s, u"/opt/scrivan"_s, u"Scrivan"_s);
        QCOMPARE(second.value(u"Location"_s), u"/opt/tagsmith"_s);
        QCOMPARE(second.value(u"Location"_s, u"Scrivan"_s), u"/opt/scrivan"_s);
        QVERIFY(first.fileName().startsWith(home.configFolder() + u"/Vantorel/"_s));
    }

    void handEditedListReadsAsText()
    {
        TestHome home;
        QVERIFY(!home.write(u"config/Vantorel/Tagsmith LITE.ini"_s, "[Tagsmith%20LITE]\nAuthor=Doe, Jane\n").isEmpty());
        QCOMPARE(SettingsStore().value(u"Author"_s), u"Doe, Jane"_s);
    }

    // Every start records the same values; only a change may rewrite the file.
    void fileRewrittenOnlyForChange_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("same text") << u"2.01a"_s << false;
        QTest::newRow("other text") << u"2.02a"_s << true;
        QTest::newRow("empty text") << QString() << true;
    }
    void fileRewrittenOnlyForChange()
    {
        QFETCH(QString, value);
        QFETCH(bool, rewritten);
        TestHome home;
        const QByteArray handWritten = "[Tagsmith%20LITE]\n; kept by hand\nVersion=2.01a\n";
        QFile file(home.write(u"config/Vantorel/Tagsmith LITE.ini"_s, handWritten));
        QVERIFY(SettingsStore().setValue(u"Version"_s, value));
        QCOMPARE(SettingsStore().value(u"Version"_s), value);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll() != handWritten, rewritten);
    }

    void unwritableFolderIsReported()
    {
        TestHome home;
        // A file where the folder should be: no account, root included, can create it.
        home.write(u"config/Vantorel"_s, "in the way");
        QVERIFY(!SettingsStore().setValue(u"Author"_s, u"x"_s));
    }
};

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
