#include "TestHome.h"

#include "SettingsStore.h"
#include "SettingsCatalogue.h"
#include "RecentFileList.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Setting)

class TestSettingsCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each on/off setting has its own default and its own one word that flips it.
    void onOffRules_data()
    {
        QTest::addColumn<Setting>("setting");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("backups: unset counts as on") << Setting::BackupFiles << QString() << true;
        QTest::newRow("backups: off") << Setting::BackupFiles << u"off"_s << false;
        QTest::newRow("backups: Off in capitals is on") << Setting::BackupFiles << u"Off"_s << true;
        QTest::newRow("backups: off with a space is on") << Setting::BackupFiles << u"off "_s << true;
        QTest::newRow("charset: unset counts as off") << Setting::DefaultCharset << QString() << false;
        QTest::newRow("charset: on") << Setting::DefaultCharset << u"on"_s << true;
        QTest::newRow("charset: ON in capitals is off") << Setting::DefaultCharset << u"ON"_s << false;
        QTest::newRow("meta pane: 1 is hidden") << Setting::ViewMeta << u"1"_s << false;
    }
    void onOffRules()
    {
        QFETCH(Setting, setting);
        QFETCH(QString, stored);
        QFETCH(bool, on);
        TestHome home;
        SettingsStore store;
        SettingsCatalogue settings(store);
        if (!stored.isNull())
            QVERIFY(settings.setText(setting, stored));
        QCOMPARE(settings.isOn(setting), on);
        settings.setOn(setting, !on);
        QCOMPARE(settings.isOn(setting), !on);
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("number");
        QTest::newRow("letters after") << u"1200twips"_s << 1200;
        QTest::newRow("unset") << QString() << 0;
        QTest::newRow("letters only") << u"wide"_s << 0;
        QTest::newRow("leading blanks") << u"  75"_s << 75;
        QTest::newRow("negative position") << u"-120"_s << -120;
        QTest::newRow("decimal cut") << u"99.7"_s << 99;
        QTest::newRow("huge is clamped") << u"99999999999999"_s << 2147483647;
        QTest::newRow("a plus sign") << u"+40"_s << 40;
        QTest::newRow("blanks only") << u"   "_s << 0;
        QTest::newRow("a sign alone") << u"-"_s << 0;
        QTest::newRow("two signs") << u"+-5"_s << 0;
    }
    void leadingNumber()
    {
        QFETCH(QString, stored);
        QFETCH(int, number);
        QCOMPARE(SettingsCatalogue::leadingNumber(stored), number);
    }

    // Only on/off settings switch anything: a text or a number reading "on" is no switch,
    // and a number setting reads its number.
    void textAndNumberSettingsAreNoSwitches_data()
    {
        QTest::addColumn<Setting>("setting");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("number");
        QTest::newRow("author reading on") << Setting::Author << u"on"_s << 0;
        QTest::newRow("width reading on") << Setting::Width << u"on"_s << 0;
        QTest::newRow("width of 1200") << Setting::Width << u"1200"_s << 1200;
        QTest::newRow("window state reading on") << Setting::WindowState << u"on"_s << 0;
    }
    void textAndNumberSettingsAreNoSwitches()
    {
        QFETCH(Setting, setting);
        QFETCH(QString, stored);
        QFETCH(int, number);
        TestHome home;
        SettingsStore store;
        SettingsCatalogue settings(store);
        QVERIFY(settings.setText(setting, stored));
        QVERIFY(!settings.isOn(setting));
        QCOMPARE(settings.number(setting), number);
    }

    // The width limits: a preset by name or two numbers, the desktop's for anything else;
    // written back by the same name.
    void widthLimits_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("title");
        QTest::addColumn<double>("description");
        QTest::addColumn<QString>("written"); // when the limits read are set again
        QTest::newRow("unset: desktop") << QString() << 580.0 << 920.0 << "desktop";
        QTest::newRow("mobile") << "mobile" << 580.0 << 680.0 << "mobile";
        QTest::newRow("preset in capitals") << "Mobile" << 580.0 << 680.0 << "mobile";
        QTest::newRow("two numbers") << "600,700" << 600.0 << 700.0 << "600,700";
        QTest::newRow("numbers of a preset take its name") << "580,680" << 580.0 << 680.0 << "mobile";
        QTest::newRow("the widest") << "10000,1" << 10000.0 << 1.0 << "10000,1";
        QTest::newRow("one number") << "600" << 580.0 << 920.0 << "desktop";
        QTest::newRow("zero") << "0,700" << 580.0 << 920.0 << "desktop";
        QTest::newRow("beyond the widest") << "600,10001" << 580.0 << 920.0 << "desktop";
        QTest::newRow("three numbers") << "600,700,800" << 580.0 << 920.0 << "desktop";
        QTest::newRow("a space") << "600, 700" << 580.0 << 920.0 << "desktop";
        QTest::newRow("a fraction") << "600.5,700" << 580.0 << 920.0 << "desktop";
        QTest::newRow("another word") << "tablet" << 580.0 << 920.0 << "desktop";
    }
    void widthLimits()
    {
        QFETCH(QString, stored);
        QFETCH(double, title);
        QFETCH(double, description);
        QFETCH(QString, written);
        TestHome home;
        SettingsStore store;
        SettingsCatalogue settings(store);
        if (!stored.isNull())
            QVERIFY(settings.setText(Setting::WidthLimits, stored));
        const WidthLimits limits = settings.widthLimits();
        QCOMPARE(limits.title, title);
        QCOMPARE(limits.description, description);
        QVERIFY(settings.setWidthLimits(limits));
        QCOMPARE(store.value(u"Width Limits"_s), written);
    }

    // The recent sites are a list of their own in the settings, read as the recent files
    // are: absolute paths, each once, at most as many as the list holds.
    void recentSitesReadFromTheirOwnList_data()
    {
        QTest::addColumn<QStringList>("stored"); // Site1, Site2...
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("nothing stored") << QStringList() << QStringList();
        QTest::newRow("three folders") << QStringList { "/a", "/b", "/c" } << QStringList { "/a", "/b", "/c" };
        QTest::newRow("a gap") << QStringList { "/a", "", "/c" } << QStringList { "/a", "/c" };
        QTest::newRow("a relative folder") << QStringList { "site", "/b" } << QStringList { "/b" };
        QTest::newRow("a folder twice") << QStringList { "/a", "/a", "/b" } << QStringList { "/a", "/b" };
        QTest::newRow("past the three read") << QStringList { "/a", "/b", "/c", "/d" } << QStringList { "/a", "/b", "/c" };
        QTest::newRow("spaces and commas") << QStringList { "/my site, old", "/x" } << QStringList { "/my site, old", "/x" };
    }
    void recentSitesReadFromTheirOwnList()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, listed);
        TestHome home;
        SettingsStore store;
        for (qsizetype i = 0; i < stored.size(); ++i)
            store.setValue(u"Site"_s + QString::number(i + 1), stored.at(i), u"Recent Sites"_s);
        store.setValue(u"File1"_s, u"/a page.html"_s);
        SettingsCatalogue settings(store);
        RecentFileList sites;
        sites.setCapacity(3);
        sites.setPaths(settings.texts(Setting::RecentSites, 3));
        QCOMPARE(sites.paths(), listed);
    }

    // Writing a shorter list clears the entries after it, and touches no other setting.
    void recentSitesWrittenBack()
    {
        TestHome home;
        SettingsStore store;
        SettingsCatalogue settings(store);
        store.setValue(u"Author"_s, u"Ada"_s);
        QVERIFY(settings.setTexts(Setting::RecentSites, { u"/a"_s, u"/b"_s, u"/c"_s }, 3));
        QVERIFY(settings.setTexts(Setting::RecentSites, { u"/z"_s }, 3));
        QCOMPARE(settings.texts(Setting::RecentSites, 3), (QStringList { u"/z"_s, QString(), QString() }));
        QCOMPARE(SettingsStore().value(u"Site1"_s, u"Recent Sites"_s), u"/z"_s);
        QCOMPARE(SettingsStore().value(u"Author"_s), u"Ada"_s);
        QCOMPARE(SettingsStore().value(u"Site1"_s), QString());
    }

    // The sibling editor's folder is read from its own section, which that program writes.
    void settingsReadWhatOtherProgramsWrote()
    {
        TestHome home;
        SettingsStore store;
        store.setValue(u"Location"_s, u"/opt/scrivan"_s, u"Scrivan"_s);
        store.setValue(u"Backup Files"_s, u"off"_s);
        QCOMPARE(SettingsCatalogue(store).text(Setting::ScrivanLocation), u"/opt/scrivan"_s);
        QCOMPARE(SettingsCatalogue(store).text(Setting::Location), QString());
        QVERIFY(!SettingsCatalogue(store).isOn(Setting::BackupFiles));
        // Entries are looked up by position: one out of place reads another setting.
        int index = 0;
        for (const auto &entry : SettingsCatalogue::entries())
            QCOMPARE(static_cast<int>(entry.setting), index++);
    }
};

QTEST_APPLESS_MAIN(TestSettingsCatalogue)
#include "test_settings_catalogue.moc"
