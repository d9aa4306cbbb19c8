#include "AssociationsHome.h"

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

    std::unique_ptr<AssociationsHome> m_fixture;

private Q_SLOTS:
    void init() { m_fixture = std::make_unique<AssociationsHome>(); }
    void cleanup() { m_fixture.reset(); }

    void opensShowingTheStoredValuesAndOkRewritesThemAll()
    {
        SettingsStore().setValue(u"Author"_s, u"Ada"_s);
        SettingsStore().setValue(u"Backup Files"_s, u"off"_s);
        m_fixture->associations.write(FileAssociations::Family::Asp, true);
        ProgramServices services;
        SettingsDialog dialog(services, m_fixture->associations);
        QCOMPARE(dialog.authorEdit()->text(), u"Ada"_s);
        QVERIFY(!dialog.backupBox()->isChecked() && !dialog.charsetBox()->isChecked());
        QVERIFY(dialog.associationBox(FileAssociations::Family::Asp)->isChecked());
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
        // Someone removed the command since; OK registers the checked family afresh, and writes
        // the settings never changed too.
        QVERIFY(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, kAspCommand).deleteKey());
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, kAspCommand).value(),
            u"\"/opt/tag smith/bin/tagsmith\" %1"_s);
        QCOMPARE(setting(u"DefaultCharset"_s), u"off"_s);
    }

    void applyWritesAClearedAuthorAsThePlaceholderAndCancelNothing()
    {
        ProgramServices services;
        SettingsDialog dialog(services, m_fixture->associations);
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
        // Cancel writes nothing more.
        dialog.authorEdit()->setText(u"Not kept"_s);
        dialog.associationBox(FileAssociations::Family::Htm)->click();
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        QCOMPARE(setting(u"Author"_s), u"Your name goes here"_s);
        QVERIFY(!m_fixture->associations.read(FileAssociations::Family::Htm).registered);
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
