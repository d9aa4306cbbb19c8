#include "controls/toolbar/MenuInputFilter.h"
#include "controls/toolbar/cTbarMenu.h"
#include "controls/toolbar/cToolbar.h"
#include "services/PopupMenu.h"

#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

// Input for a menu as it opens: a key, or a mouse event at the centre of a menu-bar button.
struct Step {
    enum Kind { Key, MoveOver, ClickOn } kind;
    int value;
    QString menu; // the menu receiving it; empty for the one opening
};

Step key(int k, const QString &menu = {}) { return {Step::Key, k, menu}; }
Step moveOver(int button) { return {Step::MoveOver, button, {}}; }
Step clickOn(int button) { return {Step::ClickOn, button, {}}; }

} // namespace

// Each menu that opens is recorded by name and gets the steps scripted for it, posted so
// that they arrive once it is open, as a user's input would.
class MenuScript : public QObject
{
public:
    MenuScript(const cToolbar &toolbar, QMap<QString, QMenu *> menus)
        : m_toolbar(toolbar)
        , m_menus(std::move(menus))
    {
        for (auto it = m_menus.cbegin(); it != m_menus.cend(); ++it) {
            const QString name = it.key();
            connect(it.value(), &QMenu::aboutToShow, this, [this, name] { opened(name); });
        }
    }

    void on(const QString &menu, QList<Step> steps) { m_steps[menu].append(std::move(steps)); }
    QStringList opened() const { return m_opened; }

private:
    void opened(const QString &name)
    {
        m_opened << name;
        // A menu without a script closes with everything above it, so that an unexpected
        // opening ends the run instead of waiting for input.
        const QList<Step> steps = m_steps.take(name);
        if (steps.isEmpty()) {
            for (QWidget *menu = m_menus.value(name); qobject_cast<QMenu *>(menu); menu = menu->parentWidget())
                post(static_cast<QMenu *>(menu), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            return;
        }
        for (const Step &step : steps) {
            QMenu *target = m_menus.value(step.menu.isEmpty() ? name : step.menu);
            if (step.kind == Step::Key)
                post(target, new QKeyEvent(QEvent::KeyPress, step.value, Qt::NoModifier));
            else
                QMetaObject::invokeMethod(target, [this, target, step] { mouseOverButton(target, step); },
                                          Qt::QueuedConnection);
        }
    }

    // Through the window system, as the open menu has the mouse to itself.
    void mouseOverButton(QMenu *menu, const Step &step) const
    {
        const QPoint global = m_toolbar.hwnd()->mapToGlobal(m_toolbar.ButtonRect(step.value).center());
        const QPoint local = menu->mapFromGlobal(global);
        if (step.kind == Step::MoveOver) {
            QTest::mouseMove(menu, local);
            return;
        }
        // A whole click: a press that reached the button would make the release click it.
        QTest::mousePress(menu, Qt::LeftButton, {}, local);
        QWidget *form = m_toolbar.hwnd()->window();
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, form->mapFromGlobal(global));
    }

    static void post(QMenu *menu, QEvent *event) { QCoreApplication::postEvent(menu, event); }

    const cToolbar &m_toolbar;
    QMap<QString, QMenu *> m_menus;
    QMap<QString, QList<Step>> m_steps;
    QStringList m_opened;
};

class TestMenuTracking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void arrowKeysAndMouseMoveBetweenMenus_data();
    void arrowKeysAndMouseMoveBetweenMenus();
    void maximizedChildSystemMenuSitsBetweenLastAndFirst_data();
    void maximizedChildSystemMenuSitsBetweenLastAndFirst();
    void escapeLeavesTheButtonHot();
    void otherEndsLeaveNoButtonHot_data();
    void otherEndsLeaveNoButtonHot();
    void chosenItemIsClickedOnce();
    void altLetterDropsTheMenu();
    void neighbourSkipsHiddenButtons_data();
    void neighbourSkipsHiddenButtons();
    void menuInputFilterServesOnlyWhileTracking();

private:
    QMdiSubWindow *maximizedChild();
    MenuScript script(bool withSystemMenu = false);
    QToolButton *buttonWidget(int index) const;

    std::unique_ptr<QMainWindow> m_form;
    std::unique_ptr<PopupMenu> m_menu;
    std::unique_ptr<cToolbar> m_bar;
    int m_newItem = 0;
    int m_labItem = 0;
};

void TestMenuTracking::init()
{
    m_form = std::make_unique<QMainWindow>();
    m_form->setCentralWidget(new QMdiArea);
    m_form->resize(500, 300);
    m_menu = std::make_unique<PopupMenu>();
    PopupMenu &menu = *m_menu;
    const int file = menu.AppendItem(QStringLiteral("&File"), 0, QStringLiteral("mnuFileTOP"));
    m_newItem = menu.AppendItem(QStringLiteral("&New\tCtrl+N"), file, QStringLiteral("mnuFile(0)"));
    menu.AppendItem(QStringLiteral("&Open"), file, QStringLiteral("mnuFile(1)"));
    const int edit = menu.AppendItem(QStringLiteral("&Edit"), 0, QStringLiteral("mnuEditTOP"));
    menu.AppendItem(QStringLiteral("&Undo"), edit, QStringLiteral("mnuEdit(0)"));
    const int window = menu.AppendItem(QStringLiteral("&Window"), 0, QStringLiteral("mnuWindowTOP"));
    menu.AppendItem(QStringLiteral("&Cascade"), window, QStringLiteral("mnuWindow(0)"));
    const int help = menu.AppendItem(QStringLiteral("&Help"), 0, QStringLiteral("mnuHelpTOP"));
    menu.AppendItem(QStringLiteral("I&ndex"), help, QStringLiteral("mnuHelp(0)"));
    m_labItem = menu.AppendItem(QStringLiteral("&Quorn Lab"), help);
    menu.AppendItem(QStringLiteral("-Quorn Lab"), m_labItem);
    menu.AppendItem(QStringLiteral("&Homepage"), m_labItem, QStringLiteral("mnuHelp(1)"));

    m_bar = std::make_unique<cToolbar>(m_form.get());
    m_bar->CreateFromMenu(m_menu.get());
    m_bar->hwnd()->move(40, 0);
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestMenuTracking::cleanup()
{
    m_bar.reset();
    m_menu.reset();
    m_form.reset();
}

QMdiSubWindow *TestMenuTracking::maximizedChild()
{
    auto *area = static_cast<QMdiArea *>(m_form->centralWidget());
    QMdiSubWindow *child = area->addSubWindow(new QWidget);
    child->showMaximized();
    area->setActiveSubWindow(child);
    return child;
}

MenuScript TestMenuTracking::script(bool withSystemMenu)
{
    QMap<QString, QMenu *> menus;
    for (const char *name : {"File", "Edit", "Window", "Help"})
        menus.insert(QString::fromLatin1(name), m_bar->ButtonSubMenu(m_bar->ButtonIndex(QStringLiteral("mnu%1TOP").arg(QLatin1String(name)))));
    menus.insert(QStringLiteral("Lab"), m_menu->SubMenu(m_labItem));
    if (withSystemMenu)
        menus.insert(QStringLiteral("System"), static_cast<QMdiArea *>(m_form->centralWidget())->currentSubWindow()->systemMenu());
    return MenuScript(*m_bar, menus);
}

QToolButton *TestMenuTracking::buttonWidget(int index) const
{
    return qobject_cast<QToolButton *>(m_bar->hwnd()->childAt(m_bar->ButtonRect(index).center()));
}

void TestMenuTracking::arrowKeysAndMouseMoveBetweenMenus_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<QList<Step>>>("steps"); // for the 1st, 2nd ... menu opening
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Right moves to the next")
        << 0 << QList<QList<Step>>{{key(Qt::Key_Right)}} << QStringList{"File", "Edit"};
    QTest::newRow("Right on the last opens the first")
        << 3 << QList<QList<Step>>{{key(Qt::Key_Right)}} << QStringList{"Help", "File"};
    QTest::newRow("Left on the first opens the last")
        << 0 << QList<QList<Step>>{{key(Qt::Key_Left)}} << QStringList{"File", "Help"};
    QTest::newRow("Right on an item with a submenu opens the submenu")
        << 3 << QList<QList<Step>>{{key(Qt::Key_Down), key(Qt::Key_Right)}} << QStringList{"Help", "Lab"};
    QTest::newRow("Left in a submenu only closes it")
        << 3
        << QList<QList<Step>>{{key(Qt::Key_Down), key(Qt::Key_Right)},
                              {key(Qt::Key_Left), key(Qt::Key_Escape, QStringLiteral("Help"))}}
        << QStringList{"Help", "Lab"};
    QTest::newRow("Right in a submenu moves on") << 3
        << QList<QList<Step>>{{key(Qt::Key_Down), key(Qt::Key_Right)}, {key(Qt::Key_Right)}}
        << QStringList{"Help", "Lab", "File"};
    QTest::newRow("mouse over another button switches")
        << 0 << QList<QList<Step>>{{moveOver(2)}} << QStringList{"File", "Window"};
    QTest::newRow("mouse over the open button stays")
        << 1 << QList<QList<Step>>{{moveOver(1), key(Qt::Key_Escape)}} << QStringList{"Edit"};
    QTest::newRow("click on the open button closes")
        << 1 << QList<QList<Step>>{{clickOn(1)}} << QStringList{"Edit"};
}

void TestMenuTracking::arrowKeysAndMouseMoveBetweenMenus()
{
    QFETCH(int, start);
    QFETCH(QList<QList<Step>>, steps);
    QFETCH(QStringList, expected);
    MenuScript run = script();
    for (qsizetype i = 0; i < steps.size() && i < expected.size(); ++i)
        run.on(expected.at(i), steps.at(i));
    QTest::mouseClick(buttonWidget(start), Qt::LeftButton);
    QCOMPARE(run.opened(), expected);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void TestMenuTracking::maximizedChildSystemMenuSitsBetweenLastAndFirst_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("arrow");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Right from the last") << 3 << int(Qt::Key_Right) << QStringList{"Help", "System", "File"};
    QTest::newRow("Left from the first") << 0 << int(Qt::Key_Left) << QStringList{"File", "System", "Help"};
}

void TestMenuTracking::maximizedChildSystemMenuSitsBetweenLastAndFirst()
{
    QFETCH(int, start);
    QFETCH(int, arrow);
    QFETCH(QStringList, expected);
    maximizedChild();
    QVERIFY(m_bar->HasMaximizedChild());
    MenuScript run = script(true);
    run.on(expected.at(0), {key(arrow)});
    run.on(expected.at(1), {key(arrow)});
    QTest::mouseClick(buttonWidget(start), Qt::LeftButton);
    QCOMPARE(run.opened(), expected);
}

void TestMenuTracking::escapeLeavesTheButtonHot()
{
    MenuScript run = script();
    run.on(QStringLiteral("Edit"), {key(Qt::Key_Escape)});
    QTest::mouseClick(buttonWidget(1), Qt::LeftButton);
    QCOMPARE(run.opened(), QStringList{"Edit"});
    QVERIFY(m_bar->ButtonHot(1));
    QVERIFY(!m_bar->ButtonPressed(1));
}

void TestMenuTracking::otherEndsLeaveNoButtonHot_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::newRow("item chosen") << QList<Step>{key(Qt::Key_Return)};
    QTest::newRow("open button clicked") << QList<Step>{clickOn(1)};
}

void TestMenuTracking::otherEndsLeaveNoButtonHot()
{
    QFETCH(QList<Step>, steps);
    MenuScript run = script();
    run.on(QStringLiteral("Edit"), steps);
    QSignalSpy hot(m_bar.get(), &cToolbar::HotItemChange);
    QTest::mouseClick(buttonWidget(1), Qt::LeftButton);
    QVERIFY(!m_bar->ButtonHot(1));
    QVERIFY(!hot.isEmpty());
    QCOMPARE(hot.last().at(0).toInt(), -1);
}

void TestMenuTracking::chosenItemIsClickedOnce()
{
    MenuScript run = script();
    // The menu opens with its first item selected, so Return chooses it.
    run.on(QStringLiteral("File"), {key(Qt::Key_Return)});
    QSignalSpy clicks(m_menu.get(), &PopupMenu::Click);
    QSignalSpy buttonClicks(m_bar.get(), &cToolbar::ButtonClick);
    QTest::mouseClick(buttonWidget(0), Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), m_newItem);
    QCOMPARE(buttonClicks.count(), 1);
    QCOMPARE(buttonClicks.at(0).at(0).toInt(), 0);
}

void TestMenuTracking::altLetterDropsTheMenu()
{
    MenuScript run = script();
    run.on(QStringLiteral("Help"), {key(Qt::Key_Escape)});
    QTest::keyClick(m_form.get(), Qt::Key_H, Qt::AltModifier);
    QCOMPARE(run.opened(), QStringList{"Help"});
}

void TestMenuTracking::neighbourSkipsHiddenButtons_data()
{
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("expected");
    QTest::newRow("next visible") << QList<int>{1, 2} << 0 << 1 << 3;
    QTest::newRow("previous visible, cycling") << QList<int>{3} << 0 << -1 << 2;
    QTest::newRow("only one visible gives none") << QList<int>{0, 1, 2} << 3 << 1 << -1;
    QTest::newRow("from a hidden button gives none") << QList<int>{1} << 1 << 1 << -1;
}

void TestMenuTracking::neighbourSkipsHiddenButtons()
{
    QFETCH(QList<int>, hidden);
    QFETCH(int, from);
    QFETCH(int, direction);
    QFETCH(int, expected);
    for (int index : hidden)
        m_bar->setButtonVisible(index, false);
    cTbarMenu tracker;
    tracker.Init(m_form.get(), m_bar.get());
    QCOMPARE(tracker.NeighbourIndex(from, direction), expected);
}

void TestMenuTracking::menuInputFilterServesOnlyWhileTracking()
{
    cTbarMenu *servedWhileOpen = nullptr;
    connect(m_bar->ButtonSubMenu(0), &QMenu::aboutToShow, this, [&] {
        servedWhileOpen = MenuInputFilter::Served();
        QCoreApplication::postEvent(m_bar->ButtonSubMenu(0),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    QTest::mouseClick(buttonWidget(0), Qt::LeftButton);
    QVERIFY(servedWhileOpen != nullptr);
    QCOMPARE(MenuInputFilter::Served(), nullptr);
}

QTEST_MAIN(TestMenuTracking)
#include "test_menu_tracking.moc"
