#include "AssociationsHome.h"

#include "TabControl.h"
#include "RegistryKey.h"
#include "SettingsStore.h"
#include "AboutDialog.h"
#include "ProgramServices.h"
#include "SettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString setting(const QString &name) { return SettingsStore().value(name); }

const QString kAspCommand = u"aspfile\\shell\\Edit_with_Tagsmith\\command"_s;

// The controls a Tab can reach, by the names the focus walk reports them with.
QMap<QWidget *, QString> controlNames(const SettingsDialog &dialog)
{
    using F = FileAssociations::Family;
    return { { dialog.tabs().tabCtrlHwnd(), u"tabs"_s }, { dialog.authorEdit(), u"author"_s },
        { dialog.charsetBox(), u"charset"_s }, { dialog.widthPresetBox(), u"widths"_s },
        { dialog.titleWidthBox(), u"title px"_s }, { dialog.descriptionWidthBox(), u"description px"_s },
        { dialog.backupBox(), u"backup"_s },
        { dialog.associationBox(F::Htm), u"htm"_s }, { dialog.associationBox(F::Asp), u"asp"_s },
        { dialog.associationBox(F::Php), u"php"_s }, { dialog.associationBox(F::Ssi), u"ssi"_s },
        { dialog.okButton(), u"OK"_s }, { dialog.applyButton(), u"APPLY"_s },
        { dialog.cancelButton(), u"CANCEL"_s } };
}

// What the width controls show: the combo's text, then the two numbers, each in brackets
// when it cannot be changed.
QString shownWidths(const SettingsDialog &dialog)
{
    const auto number = [](const QSpinBox *box) {
        const QString value = QString::number(box->value());
        return box->isEnabled() ? value : u"["_s + value + u"]"_s;
    };
    return dialog.widthPresetBox()->currentText() + u" "_s + number(dialog.titleWidthBox()) + u"/"_s
        + number(dialog.descriptionWidthBox());
}

QString focusName(const SettingsDialog &dialog)
{
    return controlNames(dialog).value(QApplication::focusWidget(), u"?"_s);
}

// Where the focus goes, one key press at a time, until it is back on the tab strip.
QStringList focusWalk(const SettingsDialog &dialog, QKeyCombination key)
{
    QStringList walk;
    for (qsizetype step = 0; step <= controlNames(dialog).size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        walk.append(focusName(dialog));
        if (walk.last() == u"tabs"_s)
            break;
    }
    return walk;
}

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
        // Each tab shows its own page only: Editor, General, File extentions. It opens on the
        // first, and its tabs light up under the mouse.
        dialog.show();
        QVERIFY(dialog.page(1)->isVisible() && !dialog.page(2)->isVisible());
        QVERIFY(dialog.tabs().hotTrack());
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

    // Each check box shows and writes its own setting and nothing else's: turned on alone,
    // applied, and shown alone again when the dialog opens anew.
    void eachCheckBoxIsItsOwnSetting_data()
    {
        QTest::addColumn<QString>("box");
        for (const char *box : { "backup", "charset", "htm", "asp", "php", "ssi" })
            QTest::newRow(box) << QString::fromLatin1(box);
    }
    void eachCheckBoxIsItsOwnSetting()
    {
        QFETCH(QString, box);
        using F = FileAssociations::Family;
        const QList<std::pair<QString, F>> families { { u"htm"_s, F::Htm }, { u"asp"_s, F::Asp }, { u"php"_s, F::Php },
            { u"ssi"_s, F::Ssi } };
        const auto boxNamed = [&](const SettingsDialog &dialog, const QString &name) {
            if (name == u"backup"_s)
                return dialog.backupBox();
            if (name == u"charset"_s)
                return dialog.charsetBox();
            for (const auto &[familyName, family] : families) {
                if (familyName == name)
                    return dialog.associationBox(family);
            }
            return static_cast<QCheckBox *>(nullptr);
        };
        const auto stored = [&] {
            QStringList on;
            if (setting(u"Backup Files"_s) == u"on"_s)
                on << u"backup"_s;
            if (setting(u"DefaultCharset"_s) == u"on"_s)
                on << u"charset"_s;
            for (const auto &[name, family] : families) {
                if (m_fixture->associations.read(family).registered)
                    on << name;
            }
            return on;
        };
        const auto checked = [&](const SettingsDialog &dialog) {
            QStringList on;
            for (const char *name : { "backup", "charset", "htm", "asp", "php", "ssi" }) {
                if (boxNamed(dialog, QString::fromLatin1(name))->isChecked())
                    on << QString::fromLatin1(name);
            }
            return on;
        };
        SettingsStore().setValue(u"Backup Files"_s, u"off"_s);
        SettingsStore().setValue(u"DefaultCharset"_s, u"off"_s);
        ProgramServices services;
        {
            SettingsDialog dialog(services, m_fixture->associations);
            dialog.show();
            QCOMPARE(checked(dialog), QStringList());
            boxNamed(dialog, box)->click();
            QTest::mouseClick(dialog.applyButton(), Qt::LeftButton);
        }
        QCOMPARE(stored(), QStringList { box });
        SettingsDialog reopened(services, m_fixture->associations);
        QCOMPARE(checked(reopened), QStringList { box });
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

    // The dialog opens on the tab strip, where Right picks a page; Tab goes from there down the
    // page in front to the buttons and round to the strip, Shift+Tab the same way back. APPLY
    // counts only once something has changed.
    void tabGoesFromTheTabStripDownThePage_data()
    {
        QTest::addColumn<int>("rights");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("Editor") << 0 << false
                                << QStringList { u"author"_s, u"charset"_s, u"widths"_s, u"OK"_s, u"CANCEL"_s };
        QTest::newRow("General") << 1 << false << QStringList { u"backup"_s, u"OK"_s, u"CANCEL"_s };
        QTest::newRow("File extentions")
            << 2 << false << QStringList { u"htm"_s, u"asp"_s, u"php"_s, u"ssi"_s, u"OK"_s, u"CANCEL"_s };
        QTest::newRow("a change enables APPLY")
            << 1 << true << QStringList { u"backup"_s, u"OK"_s, u"APPLY"_s, u"CANCEL"_s };
    }
    void tabGoesFromTheTabStripDownThePage()
    {
        QFETCH(int, rights);
        QFETCH(bool, changed);
        QFETCH(QStringList, order);
        ProgramServices services;
        SettingsDialog dialog(services, m_fixture->associations);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(focusName(dialog), u"tabs"_s);
        for (int i = 0; i < rights; ++i)
            QTest::keyClick(dialog.tabs().tabCtrlHwnd(), Qt::Key_Right);
        QCOMPARE(dialog.tabs().selectedTab(), rights + 1);
        if (changed)
            dialog.backupBox()->click();
        QCOMPARE(focusWalk(dialog, Qt::Key_Tab), order + QStringList { u"tabs"_s });
        const QStringList back(order.rbegin(), order.rend());
        QCOMPARE(focusWalk(dialog, Qt::ShiftModifier | Qt::Key_Backtab), back + QStringList { u"tabs"_s });
    }

    // The stored limits open as their preset, or as Custom with their numbers; anything that
    // names no limits opens as the desktop's.
    void widthLimitsOpenAsStored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        const QString desktop = u"Desktop (580 / 920 px) [580]/[920]"_s;
        QTest::newRow("desktop") << u"desktop"_s << desktop;
        QTest::newRow("mobile") << u"mobile"_s << u"Mobile (580 / 680 px) [580]/[680]"_s;
        QTest::newRow("mobile in capitals") << u"MOBILE"_s << u"Mobile (580 / 680 px) [580]/[680]"_s;
        QTest::newRow("custom") << u"600,700"_s << u"Custom 600/700"_s;
        QTest::newRow("the largest custom") << u"10000,1"_s << u"Custom 10000/1"_s;
        QTest::newRow("numbers of a preset") << u"580,680"_s << u"Mobile (580 / 680 px) [580]/[680]"_s;
        QTest::newRow("never stored") << QString() << desktop;
        QTest::newRow("no such preset") << u"tablet"_s << desktop;
        QTest::newRow("one number") << u"600"_s << desktop;
        QTest::newRow("a zero") << u"0,700"_s << desktop;
        QTest::newRow("too wide") << u"600,10001"_s << desktop;
        QTest::newRow("a fraction") << u"600.5,700"_s << desktop;
    }
    void widthLimitsOpenAsStored()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        SettingsStore().setValue(u"Width Limits"_s, stored);
        ProgramServices services;
        SettingsDialog dialog(services, m_fixture->associations);
        QCOMPARE(shownWidths(dialog), shown);
        QVERIFY(!dialog.applyButton()->isEnabled());
    }

    // A preset picked or numbers typed are what APPLY stores and what the dialog shows when it
    // opens anew; only limits that differ from those stored are announced.
    void widthLimitsRoundTrip_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("preset"); // 0 Desktop, 1 Mobile, 2 Custom
        QTest::addColumn<int>("title"); // typed when not 0
        QTest::addColumn<int>("description");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("reopened");
        QTest::addColumn<bool>("announced");
        QTest::newRow("desktop to mobile") << u"desktop"_s << 1 << 0 << 0 << u"mobile"_s
                                           << u"Mobile (580 / 680 px) [580]/[680]"_s << true;
        QTest::newRow("mobile to desktop") << u"mobile"_s << 0 << 0 << 0 << u"desktop"_s
                                           << u"Desktop (580 / 920 px) [580]/[920]"_s << true;
        QTest::newRow("custom numbers") << u"desktop"_s << 2 << 600 << 700 << u"600,700"_s << u"Custom 600/700"_s
                                        << true;
        QTest::newRow("custom, description only") << u"mobile"_s << 2 << 0 << 500 << u"580,500"_s
                                                  << u"Custom 580/500"_s << true;
        QTest::newRow("custom back to a preset") << u"600,700"_s << 0 << 0 << 0 << u"desktop"_s
                                                 << u"Desktop (580 / 920 px) [580]/[920]"_s << true;
        QTest::newRow("custom typed as a preset's numbers")
            << u"600,700"_s << 2 << 580 << 680 << u"mobile"_s << u"Mobile (580 / 680 px) [580]/[680]"_s << true;
        QTest::newRow("custom left as the preset was") << u"mobile"_s << 2 << 0 << 0 << u"mobile"_s
                                                       << u"Mobile (580 / 680 px) [580]/[680]"_s << false;
        QTest::newRow("a bad value rewritten") << u"tablet"_s << 0 << 0 << 0 << u"desktop"_s
                                               << u"Desktop (580 / 920 px) [580]/[920]"_s << false;
    }
    void widthLimitsRoundTrip()
    {
        QFETCH(QString, before);
        QFETCH(int, preset);
        QFETCH(int, title);
        QFETCH(int, description);
        QFETCH(QString, stored);
        QFETCH(QString, reopened);
        QFETCH(bool, announced);
        SettingsStore().setValue(u"Width Limits"_s, before);
        ProgramServices services;
        {
            SettingsDialog dialog(services, m_fixture->associations);
            QSignalSpy announcements(&dialog, &SettingsDialog::widthLimitsChanged);
            dialog.show();
            dialog.widthPresetBox()->setCurrentIndex(preset);
            emit dialog.widthPresetBox()->activated(preset);
            if (title != 0)
                dialog.titleWidthBox()->setValue(title);
            if (description != 0)
                dialog.descriptionWidthBox()->setValue(description);
            QVERIFY(dialog.applyButton()->isEnabled());
            QTest::mouseClick(dialog.applyButton(), Qt::LeftButton);
            QCOMPARE(setting(u"Width Limits"_s), stored);
            QCOMPARE(announcements.size(), announced ? 1 : 0);
            if (announced)
                QCOMPARE(announcements.first().first().value<WidthLimits>(), services.settings().widthLimits());
        }
        SettingsDialog dialog(services, m_fixture->associations);
        QCOMPARE(shownWidths(dialog), reopened);
    }

    // Cancel keeps the stored limits whatever was picked.
    void cancelKeepsTheWidthLimits()
    {
        SettingsStore().setValue(u"Width Limits"_s, u"600,700"_s);
        ProgramServices services;
        SettingsDialog dialog(services, m_fixture->associations);
        dialog.show();
        dialog.widthPresetBox()->setCurrentIndex(1);
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        QCOMPARE(setting(u"Width Limits"_s), u"600,700"_s);
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
