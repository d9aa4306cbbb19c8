#include "IconList.h"
#include "PopupMenu.h"

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWidgetAction>

using namespace Qt::StringLiterals;

class TestPopupMenu : public QObject
{
    Q_OBJECT

    std::unique_ptr<PopupMenu> m_menu;
    int m_file = 0, m_new = 0, m_exit = 0, m_help = 0;

    QAction *fileAction(int at) const { return m_menu->subMenu(m_file)->actions().at(at); }

private Q_SLOTS:
    void init()
    {
        m_menu = std::make_unique<PopupMenu>();
        m_file = m_menu->appendItem(u"&File"_s, 0, u"mnuFileTOP"_s);
        m_new = m_menu->appendItem(u"&New\tCtrl+N"_s, m_file, u"mnuFile(0)"_s);
        m_menu->appendItem(u"-"_s, m_file, u"mnuFileInsert"_s);
        m_exit = m_menu->appendItem(u"E&xit\tAlt+Q"_s, m_file, u"mnuFile(5)"_s);
        m_help = m_menu->appendItem(u"&Help"_s, 0, u"mnuHelpTOP"_s);
    }
    void cleanup() { m_menu.reset(); }

    void unknownParentAddsNothing()
    {
        QCOMPARE(m_menu->appendItem(u"Orphan"_s, 42), 0);
        QCOMPARE(m_menu->count(), 5);
    }

    void insertBeforeKey_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("fileMenu");
        QTest::newRow("before Exit") << u"mnuFile(5)"_s << 4
                                     << QStringList { "&New\tCtrl+N", "", "&1 index.html", "E&xit\tAlt+Q" };
        QTest::newRow("absent key") << u"MNUFILE(5)"_s << 0 << QStringList { "&New\tCtrl+N", "", "E&xit\tAlt+Q" };
    }
    void insertBeforeKey()
    {
        QFETCH(QString, before);
        QFETCH(int, index);
        QFETCH(QStringList, fileMenu);
        QCOMPARE(m_menu->insertItem(u"&1 index.html"_s, before, u"mnuFile(6)"_s), index);
        QStringList texts;
        for (const QAction *action : m_menu->subMenu(m_file)->actions())
            texts << action->text();
        QCOMPARE(texts, fileMenu);
        // The items from there on moved up by one.
        QCOMPARE(m_menu->findItemByKey(u"mnuHelpTOP"_s), index ? 6 : 5);
    }

    void removeItem_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("remaining");
        QTest::newRow("absent key does nothing")
            << u"mnuFile(6)"_s << QStringList { "mnuFileTOP", "mnuFile(0)", "mnuFileInsert", "mnuFile(5)", "mnuHelpTOP" };
        QTest::newRow("leaf") << u"mnuFile(0)"_s
                              << QStringList { "mnuFileTOP", "mnuFileInsert", "mnuFile(5)", "mnuHelpTOP" };
        QTest::newRow("parent takes its items along") << u"mnuFileTOP"_s << QStringList { "mnuHelpTOP" };
    }
    void removeItem()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, remaining);
        m_menu->removeItem(key);
        QStringList keys;
        for (int i = 1; i <= m_menu->count(); ++i)
            keys << m_menu->itemKey(i);
        QCOMPARE(keys, remaining);
        QCOMPARE(m_menu->hMenu(1)->actions().size(), remaining.size() == 1 ? 1 : 2);
    }

    void captionKinds_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("separator");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::newRow("command with shortcut") << u"&Save...\tCtrl+S"_s << false << QString() << QKeySequence("Ctrl+S");
        QTest::newRow("separator") << u"-"_s << true << QString() << QKeySequence();
        QTest::newRow("separator with heading") << u"-Quorn Lab"_s << true << u"Quorn Lab"_s << QKeySequence();
        QTest::newRow("heading of a submenu with a mnemonic")
            << u"-&Other Great Sites"_s << true << u"Other Great Sites"_s << QKeySequence();
        QTest::newRow("heading with a doubled ampersand") << u"-Tom && &Jerry"_s << true << u"Tom & Jerry"_s
                                                          << QKeySequence();
    }
    void captionKinds()
    {
        QFETCH(QString, caption);
        QFETCH(bool, separator);
        QFETCH(QString, heading);
        QFETCH(QKeySequence, shortcut);
        const int index = m_menu->appendItem(caption, m_help);
        QCOMPARE(m_menu->isSeparator(index), separator);
        const QAction *action = m_menu->subMenu(m_help)->actions().constLast();
        QCOMPARE(action->shortcut(), shortcut);
        if (const auto *widgetAction = qobject_cast<const QWidgetAction *>(action)) {
            QCOMPARE(qobject_cast<QLabel *>(widgetAction->defaultWidget())->text(), heading);
            QVERIFY(!action->isEnabled());
        } else {
            QVERIFY(heading.isEmpty());
            QCOMPARE(action->isSeparator(), separator);
        }
    }

    void itemStateSurvivesACaptionChange()
    {
        IconList icons;
        QPixmap red(16, 16);
        red.fill(Qt::red);
        icons.addIcon(QIcon(red));
        m_menu->setItemImageList(&icons);
        m_menu->setItemImage(m_new, 0);
        QCOMPARE(fileAction(0)->icon().pixmap(16, 16).toImage().pixelColor(4, 4), QColor(Qt::red));
        m_menu->setItemChecked(m_new, true);
        m_menu->setEnabled(m_new, false);
        m_menu->setCaption(m_new, u"&Neu\tCtrl+N"_s);
        QCOMPARE(fileAction(0)->text(), u"&Neu\tCtrl+N"_s);
        QVERIFY(fileAction(0)->isChecked() && !fileAction(0)->isEnabled());
        QCOMPARE(m_menu->subMenu(m_file)->actions().size(), 3);
        // A top-level item keeps its submenu.
        m_menu->setCaption(m_file, u"&Datei"_s);
        QCOMPARE(m_menu->hMenu(1)->actions().at(0)->menu(), m_menu->subMenu(m_file));

        m_menu->setItemImage(m_new, -1);
        QVERIFY(fileAction(0)->icon().isNull());
        m_menu->setItemChecked(m_new, false);
        // An unchecked item shows no empty check box.
        QVERIFY(!fileAction(0)->isCheckable());
        m_menu->setItemDefault(m_exit, true);
        QVERIFY(fileAction(2)->font().bold() && !fileAction(0)->font().bold());
    }

    // A menu tracked for its owner leaves the click of a chosen item to the owner.
    void chosenItemRaisesClick()
    {
        m_menu->setItemChecked(m_new, true);
        QSignalSpy clicks(m_menu.get(), &PopupMenu::clicked);
        fileAction(0)->trigger();
        m_menu->emulateMenuClick(m_menu->itemCommandId(m_help));
        m_menu->emulateMenuClick(9999);
        QWidget owner;
        m_menu->createSubClass(&owner);
        fileAction(2)->trigger();
        m_menu->emulateMenuClick(m_menu->itemCommandId(m_exit));
        m_menu->destroySubClass();
        fileAction(2)->trigger();
        QList<int> items;
        for (const QList<QVariant> &click : clicks)
            items << click.at(0).toInt();
        QCOMPARE(items, (QList<int> { m_new, m_help, m_exit, m_exit }));
        // The program sets check marks; a click does not flip them.
        QVERIFY(fileAction(0)->isChecked() && m_menu->itemChecked(m_new));
    }

    void shortcutWorksInTheOwnerWindow()
    {
        QWidget owner;
        m_menu->setOwnerWindow(&owner);
        owner.show();
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        QSignalSpy clicks(m_menu.get(), &PopupMenu::clicked);
        QTest::keyClick(&owner, Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(&owner, Qt::Key_Q, Qt::AltModifier);
        m_menu->setEnabled(m_new, false);
        QTest::keyClick(&owner, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(clicks.at(0).at(0).toInt(), m_new);
        QCOMPARE(clicks.at(1).at(0).toInt(), m_exit);
    }
};

QTEST_MAIN(TestPopupMenu)
#include "test_popup_menu.moc"
