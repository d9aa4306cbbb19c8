#include "TestHome.h"

#include "services/RegistryKey.h"
#include "services/SettingsStore.h"
#include "services/UserIdentity.h"
#include "settings/SettingsCatalogue.h"
#include "shell/ProgramVersion.h"
#include "shell/StartupValues.h"

#include <QTest>

namespace {

void registerUserName(const QString &name)
{
    RegistryKey::at(RegistryKey::HKEY_CURRENT_USER,
        QStringLiteral("Software\\Microsoft\\MS Setup (ACME)\\User Info"), QStringLiteral("DefName"))
        .setValue(name);
}

} // namespace

class TestStartupValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionText_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("text");
        QTest::newRow("this release") << 2 << 1 << QStringLiteral("2.01a");
        QTest::newRow("one point two") << 1 << 2 << QStringLiteral("1.02a");
        QTest::newRow("two-digit minor keeps the zero") << 3 << 12 << QStringLiteral("3.012a");
        QTest::newRow("minor zero") << 4 << 0 << QStringLiteral("4.00a");
    }
    void versionText()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, text);
        QCOMPARE(ProgramVersion::versionText(major, minor), text);
    }

    void buildText_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("text");
        QTest::newRow("this release") << 521 << QStringLiteral("0521");
        QTest::newRow("one digit") << 4 << QStringLiteral("0004");
        QTest::newRow("zero") << 0 << QStringLiteral("0000");
        QTest::newRow("four digits unchanged") << 1234 << QStringLiteral("1234");
        QTest::newRow("five digits unchanged") << 12345 << QStringLiteral("12345");
    }
    void buildText()
    {
        QFETCH(int, revision);
        QFETCH(QString, text);
        QCOMPARE(ProgramVersion::buildText(revision), text);
    }

    void thisBuild()
    {
        QCOMPARE(ProgramVersion::version(), QStringLiteral("2.01a"));
        QCOMPARE(ProgramVersion::build(), QStringLiteral("0521"));
        QCOMPARE(
            ProgramVersion::noticeYear(QStringLiteral("Copyright (C)1999 Someone")), QStringLiteral("1999"));
        const QString year = ProgramVersion::year();
        QCOMPARE(year.size(), 4);
        QVERIFY2(year.toInt() >= 2000, qPrintable(year));
    }

    void firstRunRecordsEverything()
    {
        TestHome home;
        registerUserName(QStringLiteral("Registered User"));
        SettingsStore store;
        SettingsCatalogue settings(store);
        RegistryKey registry;
        QVERIFY(StartupValues::record(settings, registry, QStringLiteral("/opt/tagsmith/bin/tagsmith")));
        QCOMPARE(settings.text(Setting::Version), QStringLiteral("2.01a"));
        QCOMPARE(settings.text(Setting::Location), QStringLiteral("/opt/tagsmith/bin/tagsmith"));
        QCOMPARE(settings.text(Setting::Author), QStringLiteral("Registered User"));
    }

    void authorIsSeededOnlyWhenEmpty_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("after");
        QTest::newRow("set author stays") << QStringLiteral("Jane") << QStringLiteral("Jane");
        QTest::newRow("placeholder stays")
            << QStringLiteral("Your name goes here") << QStringLiteral("Your name goes here");
        QTest::newRow("a blank is not empty") << QStringLiteral(" ") << QStringLiteral(" ");
        QTest::newRow("empty is seeded") << QString() << QStringLiteral("Registered User");
    }
    void authorIsSeededOnlyWhenEmpty()
    {
        QFETCH(QString, stored);
        QFETCH(QString, after);
        TestHome home;
        registerUserName(QStringLiteral("Registered User"));
        SettingsStore store;
        SettingsCatalogue settings(store);
        settings.setText(Setting::Author, stored);
        RegistryKey registry;
        StartupValues::record(settings, registry, QStringLiteral("/x/tagsmith"));
        QCOMPARE(settings.text(Setting::Author), after);
    }

    void withoutARegisteredNameTheAccountNameIsUsed()
    {
        TestHome home;
        SettingsStore store;
        SettingsCatalogue settings(store);
        RegistryKey registry;
        StartupValues::record(settings, registry, QStringLiteral("/x/tagsmith"));
        const QString author = settings.text(Setting::Author);
        QVERIFY(!author.isEmpty());
        QVERIFY(author == UserIdentity::fullName() || author == UserIdentity::loginName());
        QVERIFY(!UserIdentity::loginName().isEmpty());
    }

    void unwritableSettingsAreReported()
    {
        TestHome home;
        home.write(QStringLiteral("config/Vantorel"), "in the way");
        SettingsStore store;
        SettingsCatalogue settings(store);
        RegistryKey registry;
        QVERIFY(!StartupValues::record(settings, registry, QStringLiteral("/x/tagsmith")));
    }
};

QTEST_APPLESS_MAIN(TestStartupValues)
#include "test_startup_values.moc"
