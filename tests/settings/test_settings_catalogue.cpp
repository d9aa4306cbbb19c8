#include "TestHome.h"

#include "services/SettingsStore.h"
#include "settings/SettingsCatalogue.h"

#include <QTest>

Q_DECLARE_METATYPE(Setting)

class TestSettingsCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What each on/off setting means for every stored text, unset included.
    void onOffRules_data()
    {
        QTest::addColumn<Setting>("setting");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("write");
        const bool unset = false, written = true;
        QTest::newRow("backups: unset counts as on") << Setting::BackupFiles << QString() << true << unset;
        QTest::newRow("backups: off") << Setting::BackupFiles << QStringLiteral("off") << false << written;
        QTest::newRow("backups: Off in capitals is on")
            << Setting::BackupFiles << QStringLiteral("Off") << true << written;
        QTest::newRow("backups: off with a space is on")
            << Setting::BackupFiles << QStringLiteral("off ") << true << written;
        QTest::newRow("backups: no is on") << Setting::BackupFiles << QStringLiteral("no") << true << written;
        QTest::newRow("charset: unset counts as off")
            << Setting::DefaultCharset << QString() << false << unset;
        QTest::newRow("charset: on") << Setting::DefaultCharset << QStringLiteral("on") << true << written;
        QTest::newRow("charset: ON in capitals is off")
            << Setting::DefaultCharset << QStringLiteral("ON") << false << written;
        QTest::newRow("charset: yes is off")
            << Setting::DefaultCharset << QStringLiteral("yes") << false << written;
        QTest::newRow("toolbar: unset is hidden") << Setting::Toolbar << QString() << false << unset;
        QTest::newRow("toolbar: on") << Setting::Toolbar << QStringLiteral("on") << true << written;
        QTest::newRow("meta pane: unset is hidden") << Setting::ViewMeta << QString() << false << unset;
        QTest::newRow("meta pane: 1 is hidden")
            << Setting::ViewMeta << QStringLiteral("1") << false << written;
    }
    void onOffRules()
    {
        QFETCH(Setting, setting);
        QFETCH(QString, stored);
        QFETCH(bool, on);
        QFETCH(bool, write);
        TestHome home;
        SettingsStore store;
        SettingsCatalogue settings(store);
        if (write)
            QVERIFY(settings.setText(setting, stored));
        QCOMPARE(settings.isOn(setting), on);
    }

    void onOffWritesTheWords()
    {
        TestHome home;
        SettingsStore store;
        SettingsCatalogue settings(store);
        settings.setOn(Setting::BackupFiles, false);
        QCOMPARE(store.GetValue(QStringLiteral("Backup Files")), QStringLiteral("off"));
        settings.setOn(Setting::ViewMeta, true);
        QCOMPARE(store.GetValue(QStringLiteral("ViewMeta")), QStringLiteral("on"));
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("number");
        QTest::newRow("plain") << QStringLiteral("1200") << 1200;
        QTest::newRow("letters after") << QStringLiteral("1200twips") << 1200;
        QTest::newRow("unset") << QString() << 0;
        QTest::newRow("letters only") << QStringLiteral("wide") << 0;
        QTest::newRow("leading blanks") << QStringLiteral("  75") << 75;
        QTest::newRow("negative position") << QStringLiteral("-120") << -120;
        QTest::newRow("decimal cut") << QStringLiteral("99.7") << 99;
        QTest::newRow("huge is clamped") << QStringLiteral("99999999999999") << 2147483647;
    }
    void leadingNumber()
    {
        QFETCH(QString, stored);
        QFETCH(int, number);
        QCOMPARE(SettingsCatalogue::leadingNumber(stored), number);
    }

    // Other programs of the maker read these names; they must not drift.
    void namesAndSections_data()
    {
        QTest::addColumn<Setting>("setting");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("section");
        const QString program = QStringLiteral("Tagsmith LITE");
        QTest::newRow("version") << Setting::Version << QStringLiteral("Version") << program;
        QTest::newRow("location") << Setting::Location << QStringLiteral("Location") << program;
        QTest::newRow("backups") << Setting::BackupFiles << QStringLiteral("Backup Files") << program;
        QTest::newRow("window state") << Setting::WindowState << QStringLiteral("WindowState") << program;
        QTest::newRow("sibling editor")
            << Setting::ScrivanLocation << QStringLiteral("Location") << QStringLiteral("Scrivan");
    }
    void namesAndSections()
    {
        QFETCH(Setting, setting);
        QFETCH(QString, name);
        QFETCH(QString, section);
        QCOMPARE(QString::fromLatin1(SettingsCatalogue::entry(setting).name), name);
        QCOMPARE(QString::fromLatin1(SettingsCatalogue::entry(setting).section), section);
        TestHome home;
        SettingsStore store;
        store.SetValue(name, QStringLiteral("stored"), section);
        QCOMPARE(SettingsCatalogue(store).text(setting), QStringLiteral("stored"));
    }

    void everySettingHasItsOwnEntry()
    {
        int index = 0;
        for (const auto &entry : SettingsCatalogue::entries())
            QCOMPARE(static_cast<int>(entry.setting), index++);
    }
};

QTEST_APPLESS_MAIN(TestSettingsCatalogue)
#include "test_settings_catalogue.moc"
