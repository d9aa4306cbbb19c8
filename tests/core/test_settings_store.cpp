#include "TestHome.h"

#include "SettingsStore.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A value reads back as written, beside what the user edited by hand; every start
    // records the same values, so only a change may rewrite the file.
    void valueReadsBackAndOnlyAChangeRewrites_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("same text") << u"Version"_s << u"2.01a"_s << false;
        QTest::newRow("other text") << u"Version"_s << u"2.02a"_s << true;
        QTest::newRow("empty text") << u"Version"_s << QString() << true;
        QTest::newRow("new name with a space") << u"Backup Files"_s << u"off"_s << true;
        QTest::newRow("commas stay one text") << u"Author"_s << u"Doe, Jane, Jr."_s << true;
        QTest::newRow("leading at sign") << u"Author"_s << u"@home"_s << true;
    }
    void valueReadsBackAndOnlyAChangeRewrites()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, rewritten);
        TestHome home;
        const QByteArray handWritten = "[Tagsmith%20LITE]\n; kept by hand\nVersion=2.01a\nAuthor=Doe, Jane\n";
        QFile file(home.write(u"config/Vantorel/Tagsmith LITE.ini"_s, handWritten));
        // A hand-edited list reads as the text it was.
        QCOMPARE(SettingsStore().value(u"Author"_s), u"Doe, Jane"_s);
        QVERIFY(SettingsStore().setValue(name, value));
        QCOMPARE(SettingsStore().value(name), value);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll() != handWritten, rewritten);
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
