#include "TestHome.h"

#include "controls/TabControl.h"
#include "services/RegistryKey.h"
#include "services/SettingsStore.h"
#include "settings/frmAbout.h"
#include "settings/frmSettings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

QString setting(const QString &name)
{
    return SettingsStore().GetValue(name);
}

void store(const QString &name, const QString &value)
{
    SettingsStore().SetValue(name, value);
}

QString classesValue(const QString &path)
{
    return RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, path).Value();
}

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TestHome>();
        m_associations = std::make_unique<FileAssociations>(
            QStringLiteral("/opt/tagsmith/bin"), m_home->path() + QStringLiteral("/applications"));
    }
    void cleanup()
    {
        m_associations.reset();
        m_home.reset();
    }

    void opensShowingTheStoredValuesUnchanged()
    {
        store(QStringLiteral("Author"), QStringLiteral("Ada"));
        store(QStringLiteral("DefaultCharset"), QStringLiteral("on"));
        store(QStringLiteral("Backup Files"), QStringLiteral("off"));
        m_associations->write(FileAssociations::Family::Php, true);
        frmSettings dialog(*m_associations);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Program Settings..."));
        QCOMPARE(dialog.txtAuthor2->text(), QStringLiteral("Ada"));
        QVERIFY(dialog.chkCharset->isChecked());
        QVERIFY(!dialog.chkBackupFiles->isChecked());
        QVERIFY(dialog.chkPHP->isChecked());
        QVERIFY(!dialog.chkHTM->isChecked());
        QVERIFY(!dialog.btnApply->isEnabled());
        QCOMPARE(dialog.chkCharset->text(), QStringLiteral("Use default charset."));
        QCOMPARE(dialog.lblAuthor2->text(), QStringLiteral("Standard Author:"));
    }

    void tabsInOrderWithTheirPages_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("visiblePage");
        QTest::newRow("editor") << 1 << QStringLiteral("Editor") << QStringLiteral("EDITOR") << 3;
        QTest::newRow("general") << 2 << QStringLiteral("General") << QStringLiteral("GENERAL") << 1;
        QTest::newRow("files") << 3 << QStringLiteral("File extentions") << QStringLiteral("FILES") << 2;
    }
    void tabsInOrderWithTheirPages()
    {
        QFETCH(int, position);
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QFETCH(int, visiblePage);
        frmSettings dialog(*m_associations);
        dialog.show();
        QCOMPARE(dialog.TabControl1->TabCount(), 3);
        QCOMPARE(dialog.TabControl1->TabText(position), caption);
        QCOMPARE(dialog.TabControl1->TabKey(position), key);
        dialog.TabControl1->SelectTab(position);
        const std::array<QWidget *, 3> pages = { dialog.Picture1, dialog.Picture2, dialog.Picture3 };
        for (int page = 1; page <= 3; ++page)
            QCOMPARE(pages[std::size_t(page - 1)]->isVisible(), page == visiblePage);
    }

    void anEditEnablesApplyAndApplyWrites()
    {
        frmSettings dialog(*m_associations);
        dialog.show();
        QTest::keyClicks(dialog.txtAuthor2, QStringLiteral("Grace"));
        QVERIFY(dialog.btnApply->isEnabled());
        QTest::mouseClick(dialog.btnApply, Qt::LeftButton);
        QVERIFY(!dialog.btnApply->isEnabled());
        QCOMPARE(setting(QStringLiteral("Author")), QStringLiteral("Grace"));
    }

    void clearedAuthorIsStoredAsThePlaceholder()
    {
        store(QStringLiteral("Author"), QStringLiteral("Ada"));
        frmSettings dialog(*m_associations);
        dialog.txtAuthor2->clear();
        dialog.apply();
        QCOMPARE(setting(QStringLiteral("Author")), QStringLiteral("Your name goes here"));
        QCOMPARE(dialog.txtAuthor2->text(), QString());
    }

    void okRewritesEverythingEvenUnchanged()
    {
        m_associations->write(FileAssociations::Family::Asp, true);
        frmSettings dialog(*m_associations);
        // Someone removed the command since; OK registers the checked family afresh.
        QVERIFY(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT,
            QStringLiteral("aspfile\\shell\\Edit_with_Tagsmith\\command"))
                    .DeleteKey());
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(classesValue(QStringLiteral("aspfile\\shell\\Edit_with_Tagsmith\\command")),
            QStringLiteral("\"/opt/tagsmith/bin/tagsmith\" %1"));
        QCOMPARE(setting(QStringLiteral("Backup Files")), QStringLiteral("on"));
        QCOMPARE(setting(QStringLiteral("DefaultCharset")), QStringLiteral("off"));
    }

    void cancelWritesNothing()
    {
        frmSettings dialog(*m_associations);
        dialog.txtAuthor2->setText(QStringLiteral("Not kept"));
        dialog.chkHTM->click();
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        QCOMPARE(setting(QStringLiteral("Author")), QString());
        QVERIFY(!m_associations->read(FileAssociations::Family::Htm).registered);
    }

    void aboutBoxTexts()
    {
        store(QStringLiteral("Version"), QStringLiteral("2.01a"));
        frmAbout about;
        QCOMPARE(about.lblTitle->text(), QStringLiteral("Tagsmith LITE 2.01a"));
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Version 2.01a.0521 (Vantorel)"));
        QCOMPARE(about.lblUses->text(), QStringLiteral("Using these components..."));
        QVERIFY(about.lblWrittenBy->text().startsWith(QStringLiteral("Written by ")));
        QCOMPARE(about.ListUsers->count(), 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY(!about.ListUsers->item(i)->text().isEmpty()
                && !about.ListUsers->item(i)->text().contains(QLatin1Char('\n')));
        QCOMPARE(about.btnOK->text(), QStringLiteral("OK"));
    }

private:
    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<FileAssociations> m_associations;
};

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
