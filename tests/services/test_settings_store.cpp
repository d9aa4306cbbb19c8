#include "TestHome.h"

#include "services/SettingsStore.h"

#include <QTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void neverWrittenReadsEmpty()
    {
        TestHome home;
        SettingsStore store;
        QCOMPARE(store.GetValue(QStringLiteral("Author")), QString());
        QCOMPARE(store.GetValue(QStringLiteral("Location"), QStringLiteral("Scrivan")), QString());
    }

    void keptInTheUsersConfigFolder()
    {
        TestHome home;
        SettingsStore store;
        QVERIFY(store.SetValue(QStringLiteral("Version"), QStringLiteral("2.01a")));
        QVERIFY(store.fileName().startsWith(home.configFolder() + QStringLiteral("/Vantorel/")));
        QVERIFY(QFile::exists(store.fileName()));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("name with a space") << QStringLiteral("Backup Files") << QStringLiteral("off");
        QTest::newRow("commas stay one text") << QStringLiteral("Author") << QStringLiteral("Doe, Jane, Jr.");
        QTest::newRow("non-ascii") << QStringLiteral("Author") << QStringLiteral(u"Zoë Ørsted 山田");
        QTest::newRow("leading at sign") << QStringLiteral("Author") << QStringLiteral("@home");
        QTest::newRow("quotes and equals") << QStringLiteral("Help") << QStringLiteral("a=\"b\";c");
        QTest::newRow("path with backslashes") << QStringLiteral("Location") << QStringLiteral("C:\\Programs\\x.exe");
        QTest::newRow("surrounding spaces kept") << QStringLiteral("Author") << QStringLiteral("  padded  ");
        QTest::newRow("empty text") << QStringLiteral("Author") << QString();
    }
    void roundTrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        TestHome home;
        {
            SettingsStore writer;
            QVERIFY(writer.SetValue(name, value));
        }
        SettingsStore reader;
        QCOMPARE(reader.GetValue(name), value);
    }

    void sectionsAreSeparate()
    {
        TestHome home;
        SettingsStore store;
        store.SetValue(QStringLiteral("Location"), QStringLiteral("/opt/tagsmith"));
        store.SetValue(QStringLiteral("Location"), QStringLiteral("/opt/scrivan"), QStringLiteral("Scrivan"));
        QCOMPARE(store.GetValue(QStringLiteral("Location")), QStringLiteral("/opt/tagsmith"));
        QCOMPARE(store.GetValue(QStringLiteral("Location"), QStringLiteral("Scrivan")), QStringLiteral("/opt/scrivan"));
    }

    void twoStoresSeeEachOthersWrites()
    {
        TestHome home;
        SettingsStore first;
        SettingsStore second;
        first.SetValue(QStringLiteral("Toolbar"), QStringLiteral("on"));
        QCOMPARE(second.GetValue(QStringLiteral("Toolbar")), QStringLiteral("on"));
    }

    void handEditedListReadsAsText()
    {
        TestHome home;
        const QString file = home.write(QStringLiteral("config/Vantorel/Tagsmith LITE.ini"),
                                        "[Tagsmith%20LITE]\nAuthor=Doe, Jane\n");
        QVERIFY(!file.isEmpty());
        SettingsStore store;
        QCOMPARE(store.GetValue(QStringLiteral("Author")), QStringLiteral("Doe, Jane"));
    }

    void unwritableFolderIsReported()
    {
        TestHome home;
        // A file where the folder should be: no account, root included, can create it.
        home.write(QStringLiteral("config/Vantorel"), "in the way");
        SettingsStore store;
        QVERIFY(!store.SetValue(QStringLiteral("Author"), QStringLiteral("x")));
    }

    void describesItself()
    {
        TestHome home;
        const QString description = SettingsStore().Description();
        QVERIFY(!description.contains(QLatin1Char('\n')));
        QVERIFY(description.contains(home.configFolder()));
    }
};

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
