#include "TestHome.h"

#include "TabControl.h"
#include "RegistryKey.h"
#include "SettingsStore.h"
#include "AboutDialog.h"
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
        SettingsDialog dialog(*m_associations);
        QCOMPARE(dialog.txtAuthor2->text(), u"Ada"_s);
        QVERIFY(!dialog.chkBackupFiles->isChecked() && !dialog.chkCharset->isChecked());
        QVERIFY(dialog.chkPHP->isChecked() && !dialog.chkHTM->isChecked());
        QVERIFY(!dialog.btnApply->isEnabled());
        // Each tab shows its own page only.
        dialog.show();
        const QList<QWidget *> pages { dialog.Picture3, dialog.Picture1, dialog.Picture2 };
        for (int tab = 1; tab <= 3; ++tab) {
            dialog.TabControl1->selectTab(tab);
            for (int page = 1; page <= 3; ++page)
                QCOMPARE(pages.at(page - 1)->isVisible(), page == tab);
        }
    }

    void applyWritesAndAClearedAuthorBecomesThePlaceholder()
    {
        SettingsDialog dialog(*m_associations);
        dialog.show();
        QTest::keyClicks(dialog.txtAuthor2, u"Grace"_s);
        QVERIFY(dialog.btnApply->isEnabled());
        QTest::mouseClick(dialog.btnApply, Qt::LeftButton);
        QVERIFY(!dialog.btnApply->isEnabled());
        QCOMPARE(setting(u"Author"_s), u"Grace"_s);
        dialog.txtAuthor2->clear();
        dialog.apply();
        QCOMPARE(setting(u"Author"_s), u"Your name goes here"_s);
        QCOMPARE(dialog.txtAuthor2->text(), QString());
    }

    void okRewritesEverythingEvenUnchanged()
    {
        m_associations->write(FileAssociations::Family::Asp, true);
        SettingsDialog dialog(*m_associations);
        // Someone removed the command since; OK registers the checked family afresh.
        QVERIFY(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, kAspCommand).deleteKey());
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, kAspCommand).value(),
            u"\"/opt/tagsmith/bin/tagsmith\" %1"_s);
        QCOMPARE(setting(u"Backup Files"_s), u"on"_s);
    }

    void cancelWritesNothing()
    {
        SettingsDialog dialog(*m_associations);
        dialog.txtAuthor2->setText(u"Not kept"_s);
        dialog.chkHTM->click();
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        QCOMPARE(setting(u"Author"_s), QString());
        QVERIFY(!m_associations->read(FileAssociations::Family::Htm).registered);
    }

    void aboutBoxShowsTheStoredVersion()
    {
        SettingsStore().setValue(u"Version"_s, u"2.01a"_s);
        AboutDialog about;
        QCOMPARE(about.lblTitle->text(), u"Tagsmith LITE 2.01a"_s);
        QVERIFY(about.lblVersion->text().contains(u"2.01a"_s));
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
