#include "TestHome.h"

#include "RegistryKey.h"
#include "SettingsStore.h"
#include "UserIdentity.h"
#include "SettingsCatalogue.h"
#include "ProgramVersion.h"
#include "StartupValues.h"

#include <QTest>

class TestStartupValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionAndBuildTexts_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("build");
        QTest::newRow("this release") << 2 << 1 << 521 << "2.01a" << "0521";
        QTest::newRow("two-digit minor keeps the zero; five-digit build") << 3 << 12 << 12345 << "3.012a"
                                                                          << "12345";
        QTest::newRow("zeros") << 4 << 0 << 0 << "4.00a" << "0000";
    }
    void versionAndBuildTexts()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, version);
        QFETCH(QString, build);
        QCOMPARE(ProgramVersion::versionText(major, minor), version);
        QCOMPARE(ProgramVersion::buildText(revision), build);
    }

    // The author is seeded from the registered name, else the account's, and only when empty.
    void authorIsSeededOnlyWhenEmpty_data()
    {
        QTest::addColumn<QString>("registered");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("after");
        QTest::newRow("set author stays") << "Registered User" << "Jane" << "Jane";
        QTest::newRow("a blank is not empty") << "Registered User" << " " << " ";
        QTest::newRow("empty is seeded") << "Registered User" << "" << "Registered User";
        QTest::newRow("no registered name: the account") << "" << "" << "";
    }
    void authorIsSeededOnlyWhenEmpty()
    {
        QFETCH(QString, registered);
        QFETCH(QString, stored);
        QFETCH(QString, after);
        TestHome home;
        if (!registered.isEmpty())
            RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, "Software\\Microsoft\\MS Setup (ACME)\\User Info",
                "DefName")
                .setValue(registered);
        SettingsStore store;
        SettingsCatalogue settings(store);
        settings.setText(Setting::Author, stored);
        RegistryKey registry;
        QVERIFY(StartupValues::record(settings, registry, "/opt/tagsmith/bin/tagsmith"));
        QCOMPARE(settings.text(Setting::Version), QStringLiteral("2.01a"));
        QCOMPARE(settings.text(Setting::Location), QStringLiteral("/opt/tagsmith/bin/tagsmith"));
        const QString author = settings.text(Setting::Author);
        if (after.isEmpty())
            QVERIFY2(!author.isEmpty()
                    && (author == UserIdentity::fullName() || author == UserIdentity::loginName()),
                qPrintable(author));
        else
            QCOMPARE(author, after);
    }

    void unwritableSettingsAreReported()
    {
        TestHome home;
        home.write("config/Vantorel", "in the way");
        SettingsStore store;
        SettingsCatalogue settings(store);
        RegistryKey registry;
        QVERIFY(!StartupValues::record(settings, registry, "/x/tagsmith"));
    }
};

QTEST_APPLESS_MAIN(TestStartupValues)
#include "test_startup_values.moc"
