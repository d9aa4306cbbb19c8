#include "TestHome.h"

#include "TabControl.h"
#include "RegistryKey.h"
#include "SettingsStore.h"
#include "AboutDialog.h"
#include "ProgramServices.h"
#include "SettingsDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString setting(const QString &name) { return SettingsStore().value(name); }

const QString kAspCommand = u"aspfile\\shell\\Edit_with_Tagsmith\\command"_s;

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<FileAssociations> m_associations;

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TestHome>();
        m_associations = std::make_unique<FileAssociations>(u"/opt/tagsmith/bin"_s, m_home->path() + u"/applications"_s);
    }
    void cleanup()
    {
        m_associations.reset();
        m_home.reset();
    }

    void opensShowingTheStoredValuesUnchanged()
    {
        SettingsStore().setValue(u"Author"_s, u"Ada"_s);
        SettingsStore().setValue(u"Backup Files"_s, u"off"_s);
        m_associations->write(FileAssociations::Family::Php, true);
        ProgramServices services;
        SettingsDialog dialog(services, *m_associations);
        QCOMPARE(dialog.authorEdit()->text(), u"Ada"_s);
        QVERIFY(!dialog.backupBox()->isChecked() && !dialog.charsetBox()->isChecked());
        QVERIFY(dialog.associationBox(FileAssociations::Family::Php)->isChecked());
        QVERIFY(!dialog.associationBox(FileAssociations::Family::Htm)->isChecked());
        QVERIFY(!dialog.applyButton()->isEnabled());
        // Each tab shows its own page only: Editor, General, File extentions.
        dialog.show();
        QVERIFY(dialog.page(1)->isAncestorOf(dialog.authorEdit()));
        QVERIFY(dialog.page(2)->isAncestorOf(dialog.backupBox()));
        QVERIFY(dialog.page(3)->isAncestorOf(dialog.associationBox(FileAssociations::Family::Ssi)));
        for (int tab = 1; tab <= SettingsDialog::kPageCount; ++tab) {
            dialog.tabs().selectTab(tab);
            for (int page = 1; page <= SettingsDialog::kPageCount; ++page)
                QCOMPARE(dialog.page(page)->isVisible(), page == tab);
        }
    }

    void applyWritesAndAClearedAuthorBecomesThePlaceholder()
    {
        ProgramServices services;
        SettingsDialog dialog(services, *m_associations);
        dialog.show();
        QTest::keyClicks(dialog.authorEdit(), u"Grace"_s);
        QVERIFY(dialog.applyButton()->isEnabled());
        QTest::mouseClick(dialog.applyButton(), Qt::LeftButton);
        QVERIFY(!dialog.applyButton()->isEnabled());
        QCOMPARE(setting(u"Author"_s), u"Grace"_s);
        dialog.authorEdit()->clear();
        dialog.apply();
        QCOMPARE(setting(u"Author"_s), u"Your name goes here"_s);
        QCOMPARE(dialog.authorEdit()->text(), QString());
    }

    void okRewritesEverythingEvenUnchanged()
    {
        m_associations->write(FileAssociations::Family::Asp, true);
        ProgramServices services;
        SettingsDialog dialog(services, *m_associations);
        // Someone removed the command since; OK registers the checked family afresh.
        QVERIFY(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, kAspCommand).deleteKey());
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, kAspCommand).value(),
            u"\"/opt/tagsmith/bin/tagsmith\" %1"_s);
        QCOMPARE(setting(u"Backup Files"_s), u"on"_s);
    }

    void cancelWritesNothing()
    {
        ProgramServices services;
        SettingsDialog dialog(services, *m_associations);
        dialog.authorEdit()->setText(u"Not kept"_s);
        dialog.associationBox(FileAssociations::Family::Htm)->click();
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        QCOMPARE(setting(u"Author"_s), QString());
        QVERIFY(!m_associations->read(FileAssociations::Family::Htm).registered);
    }

    void aboutBoxShowsTheStoredVersion()
    {
        SettingsStore().setValue(u"Version"_s, u"2.01a"_s);
        ProgramServices services;
        AboutDialog about(services.settings());
        QCOMPARE(about.titleText(), u"Tagsmith LITE 2.01a"_s);
        QVERIFY(about.versionText().contains(u"2.01a"_s));
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
