#include "services/IconList.h"
#include "services/PopupMenu.h"

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWidgetAction>

class TestPopupMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void itemsAreNumberedFromOne();
    void topLevelItemsShareTheMenuBar();
    void appendUnderMissingParentFails();
    void findItemByKey_data();
    void findItemByKey();
    void insertBeforeKey_data();
    void insertBeforeKey();
    void removeItem_data();
    void removeItem();
    void captionKinds_data();
    void captionKinds();
    void captionChangeKeepsTheItemState();
    void checkMarkImageAndEnabledState();
    void defaultItemIsBold();
    void chosenItemRaisesClick();
    void trackedMenuLeavesTheClickToItsCaller();
    void emulateMenuClick_data();
    void emulateMenuClick();
    void shortcutWorksInTheOwnerWindow();

private:
    std::unique_ptr<PopupMenu> m_menu;
    int m_file = 0;
    int m_new = 0;
    int m_insert = 0;
    int m_exit = 0;
    int m_help = 0;
};

void TestPopupMenu::init()
{
    m_menu = std::make_unique<PopupMenu>();
    m_file = m_menu->AppendItem(QStringLiteral("&File"), 0, QStringLiteral("mnuFileTOP"));
    m_new = m_menu->AppendItem(QStringLiteral("&New\tCtrl+N"), m_file, QStringLiteral("mnuFile(0)"));
    m_insert = m_menu->AppendItem(QStringLiteral("-"), m_file, QStringLiteral("mnuFileInsert"));
    m_exit = m_menu->AppendItem(QStringLiteral("E&xit\tAlt+Q"), m_file, QStringLiteral("mnuFile(5)"));
    m_help = m_menu->AppendItem(QStringLiteral("&Help"), 0, QStringLiteral("mnuHelpTOP"));
}

void TestPopupMenu::cleanup()
{
    m_menu.reset();
}

void TestPopupMenu::itemsAreNumberedFromOne()
{
    QCOMPARE(m_file, 1);
    QCOMPARE(m_help, 5);
    QCOMPARE(m_menu->Count(), 5);
    QCOMPARE(m_menu->ItemKey(1), QStringLiteral("mnuFileTOP"));
    QCOMPARE(m_menu->ItemKey(0), QString());
    QCOMPARE(m_menu->ItemKey(6), QString());
    QCOMPARE(m_menu->ItemParent(m_new), m_file);
    QCOMPARE(m_menu->ItemParent(m_help), 0);
}

void TestPopupMenu::topLevelItemsShareTheMenuBar()
{
    QMenu *bar = m_menu->hMenu(1);
    QVERIFY(bar);
    QCOMPARE(m_menu->hMenu(m_help), bar);
    QCOMPARE(m_menu->hMenu(m_new), m_menu->SubMenu(m_file));
    QCOMPARE(m_menu->SubMenu(m_help), nullptr);
    QCOMPARE(bar->actions().size(), 2);
    QCOMPARE(bar->actions().at(0)->menu(), m_menu->SubMenu(m_file));
    QCOMPARE(m_menu->hMenu(0), nullptr);
}

void TestPopupMenu::appendUnderMissingParentFails()
{
    QCOMPARE(m_menu->AppendItem(QStringLiteral("Orphan"), 42), 0);
    QCOMPARE(m_menu->Count(), 5);
}

void TestPopupMenu::findItemByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("top level") << QStringLiteral("mnuHelpTOP") << 5;
    QTest::newRow("separator with a key") << QStringLiteral("mnuFileInsert") << 3;
    QTest::newRow("absent") << QStringLiteral("mnuFile(7)") << 0;
    QTest::newRow("empty key") << QString() << 0;
    QTest::newRow("case differs") << QStringLiteral("MNUHELPTOP") << 0;
}

void TestPopupMenu::findItemByKey()
{
    QFETCH(QString, key);
    QFETCH(int, expected);
    QCOMPARE(m_menu->FindItemByKey(key), expected);
}

void TestPopupMenu::insertBeforeKey_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<QStringList>("expectedFileMenu");
    QTest::newRow("before Exit") << QStringLiteral("mnuFile(5)") << 4
                                 << QStringList{"&New\tCtrl+N", "", "&1 index.html", "E&xit\tAlt+Q"};
    QTest::newRow("before the first") << QStringLiteral("mnuFile(0)") << 2
                                      << QStringList{"&1 index.html", "&New\tCtrl+N", "", "E&xit\tAlt+Q"};
    QTest::newRow("absent key") << QStringLiteral("mnuFile(8)") << 0
                                << QStringList{"&New\tCtrl+N", "", "E&xit\tAlt+Q"};
}

void TestPopupMenu::insertBeforeKey()
{
    QFETCH(QString, before);
    QFETCH(int, expectedIndex);
    QFETCH(QStringList, expectedFileMenu);
    const int index = m_menu->InsertItem(QStringLiteral("&1 index.html"), before, QStringLiteral("mnuFile(6)"));
    QCOMPARE(index, expectedIndex);
    QStringList texts;
    for (const QAction *action : m_menu->SubMenu(m_file)->actions())
        texts << action->text();
    QCOMPARE(texts, expectedFileMenu);
    if (index > 0) {
        QCOMPARE(m_menu->Caption(index), QStringLiteral("&1 index.html"));
        QCOMPARE(m_menu->ItemParent(index), m_file);
        // The items from there on moved up by one.
        QCOMPARE(m_menu->FindItemByKey(QStringLiteral("mnuHelpTOP")), 6);
    }
}

void TestPopupMenu::removeItem_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("remainingKeys");
    QTest::newRow("absent key does nothing")
        << QStringLiteral("mnuFile(6)")
        << QStringList{"mnuFileTOP", "mnuFile(0)", "mnuFileInsert", "mnuFile(5)", "mnuHelpTOP"};
    QTest::newRow("leaf") << QStringLiteral("mnuFile(0)")
                          << QStringList{"mnuFileTOP", "mnuFileInsert", "mnuFile(5)", "mnuHelpTOP"};
    QTest::newRow("parent takes its items along") << QStringLiteral("mnuFileTOP") << QStringList{"mnuHelpTOP"};
}

void TestPopupMenu::removeItem()
{
    QFETCH(QString, key);
    QFETCH(QStringList, remainingKeys);
    m_menu->RemoveItem(key);
    QStringList keys;
    for (int i = 1; i <= m_menu->Count(); ++i)
        keys << m_menu->ItemKey(i);
    QCOMPARE(keys, remainingKeys);
    QCOMPARE(m_menu->hMenu(1)->actions().size(), key == QStringLiteral("mnuFileTOP") ? 1 : 2);
}

void TestPopupMenu::captionKinds_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("separator");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("command") << QStringLiteral("Save As...") << false << QString() << QKeySequence();
    QTest::newRow("command with shortcut") << QStringLiteral("&Save...\tCtrl+S") << false << QString()
                                           << QKeySequence(Qt::CTRL | Qt::Key_S);
    QTest::newRow("function key") << QStringLiteral("&META Element Tags\tF8") << false << QString()
                                  << QKeySequence(Qt::Key_F8);
    QTest::newRow("separator") << QStringLiteral("-") << true << QString() << QKeySequence();
    QTest::newRow("separator with heading") << QStringLiteral("-Quorn Lab") << true << QStringLiteral("Quorn Lab")
                                            << QKeySequence();
}

void TestPopupMenu::captionKinds()
{
    QFETCH(QString, caption);
    QFETCH(bool, separator);
    QFETCH(QString, heading);
    QFETCH(QKeySequence, shortcut);
    const int index = m_menu->AppendItem(caption, m_help);
    QCOMPARE(m_menu->Caption(index), caption);
    QCOMPARE(m_menu->IsSeparator(index), separator);
    const QAction *action = m_menu->SubMenu(m_help)->actions().constLast();
    QCOMPARE(action->shortcut(), shortcut);
    if (!heading.isEmpty()) {
        const auto *widgetAction = qobject_cast<const QWidgetAction *>(action);
        QVERIFY(widgetAction);
        QCOMPARE(qobject_cast<QLabel *>(widgetAction->defaultWidget())->text(), heading);
        QVERIFY(!action->isEnabled());
    } else {
        QCOMPARE(action->isSeparator(), separator);
        QCOMPARE(action->text(), separator ? QString() : caption);
    }
}

void TestPopupMenu::captionChangeKeepsTheItemState()
{
    m_menu->setItemChecked(m_new, true);
    m_menu->setEnabled(m_new, false);
    m_menu->setCaption(m_new, QStringLiteral("&Neu\tCtrl+N"));
    const QAction *action = m_menu->SubMenu(m_file)->actions().at(0);
    QCOMPARE(action->text(), QStringLiteral("&Neu\tCtrl+N"));
    QVERIFY(action->isChecked());
    QVERIFY(!action->isEnabled());
    QCOMPARE(m_menu->SubMenu(m_file)->actions().size(), 3);
    // A top-level item keeps its submenu.
    m_menu->setCaption(m_file, QStringLiteral("&Datei"));
    QCOMPARE(m_menu->hMenu(1)->actions().at(0)->menu(), m_menu->SubMenu(m_file));
}

void TestPopupMenu::checkMarkImageAndEnabledState()
{
    IconList icons;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    icons.AddIcon(QIcon(red));
    m_menu->setItemImageList(&icons);
    const QAction *action = m_menu->SubMenu(m_file)->actions().at(0);

    m_menu->setItemImage(m_new, 0);
    QCOMPARE(action->icon().pixmap(16, 16).toImage().pixelColor(4, 4), QColor(Qt::red));
    m_menu->setItemImage(m_new, -1);
    QVERIFY(action->icon().isNull());
    QCOMPARE(m_menu->ItemImage(m_new), -1);

    m_menu->setItemChecked(m_new, true);
    QVERIFY(action->isCheckable() && action->isChecked());
    m_menu->setItemChecked(m_new, false);
    // An unchecked item shows no empty check box.
    QVERIFY(!action->isCheckable());

    m_menu->setEnabled(m_new, false);
    QVERIFY(!m_menu->Enabled(m_new));
    QVERIFY(!action->isEnabled());
}

void TestPopupMenu::defaultItemIsBold()
{
    m_menu->setItemDefault(m_exit, true);
    QVERIFY(m_menu->ItemDefault(m_exit));
    QVERIFY(m_menu->SubMenu(m_file)->actions().at(2)->font().bold());
    QVERIFY(!m_menu->SubMenu(m_file)->actions().at(0)->font().bold());
}

void TestPopupMenu::chosenItemRaisesClick()
{
    m_menu->setItemChecked(m_new, true);
    QSignalSpy clicks(m_menu.get(), &PopupMenu::Click);
    QAction *action = m_menu->SubMenu(m_file)->actions().at(0);
    action->trigger();
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), m_new);
    // The program sets check marks; a click does not flip them.
    QVERIFY(action->isChecked());
    QVERIFY(m_menu->ItemChecked(m_new));
}

void TestPopupMenu::trackedMenuLeavesTheClickToItsCaller()
{
    QWidget owner;
    QSignalSpy clicks(m_menu.get(), &PopupMenu::Click);
    QAction *action = m_menu->SubMenu(m_file)->actions().at(2);
    m_menu->CreateSubClass(&owner);
    action->trigger();
    QCOMPARE(clicks.count(), 0);
    m_menu->EmulateMenuClick(m_menu->ItemCommandID(m_exit));
    m_menu->DestroySubClass();
    action->trigger();
    QCOMPARE(clicks.count(), 2);
}

void TestPopupMenu::emulateMenuClick_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("raised");
    QTest::newRow("command item") << 2 << true;
    QTest::newRow("top-level item") << 5 << true;
    QTest::newRow("no such command") << 0 << false;
}

void TestPopupMenu::emulateMenuClick()
{
    QFETCH(int, item);
    QFETCH(bool, raised);
    QSignalSpy clicks(m_menu.get(), &PopupMenu::Click);
    m_menu->EmulateMenuClick(item > 0 ? m_menu->ItemCommandID(item) : 9999);
    QCOMPARE(clicks.count(), raised ? 1 : 0);
    if (raised)
        QCOMPARE(clicks.at(0).at(0).toInt(), item);
}

void TestPopupMenu::shortcutWorksInTheOwnerWindow()
{
    QWidget owner;
    m_menu->setOwnerWindow(&owner);
    owner.show();
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    QSignalSpy clicks(m_menu.get(), &PopupMenu::Click);
    QTest::keyClick(&owner, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&owner, Qt::Key_Q, Qt::AltModifier);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(0).at(0).toInt(), m_new);
    QCOMPARE(clicks.at(1).at(0).toInt(), m_exit);
    m_menu->setEnabled(m_new, false);
    QTest::keyClick(&owner, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(clicks.count(), 2);
}

QTEST_MAIN(TestPopupMenu)
#include "test_popup_menu.moc"
