#include "toolbar/KeyboardFilter.h"
#include "toolbar/MenuInputFilter.h"
#include "toolbar/Toolbar.h"
#include "PopupMenu.h"

#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

// Input for an opening menu: a key (to another open menu when named), or the mouse moved
// over or clicked on a menu-bar button.
struct Step {
    enum Kind { Key, MoveOver, ClickOn } kind;
    int value;
    QString menu;
};
Step key(int k, const QString &menu = {}) { return {Step::Key, k, menu}; }
Step moveOver(int button) { return {Step::MoveOver, button, {}}; }
Step clickOn(int button) { return {Step::ClickOn, button, {}}; }

struct Row {
    int start = 0; // the button clicked; -1 for Alt+H, -2 for the keys below
    QList<QKeyCombination> keys = {}; // typed to the window: to open the first menu, then once all closed
    bool maximized = false;
    QList<int> hidden = {};
    QList<QList<Step>> steps = {}; // for the 1st, 2nd ... menu opened
    QStringList opened = {};
    bool endsHot = true; // Escape leaves the last menu's button hot; a click or a choice none
    bool chooses = false; // Return on the first item of Edit
    bool clickAway = false; // then a click beside the menu bar
};

} // namespace

// Records each menu as it opens and posts its scripted input, to arrive once it runs. A menu
// without a script closes with all above it, so an unexpected opening ends the run.
class MenuScript : public QObject
{
public:
    MenuScript(const Toolbar &toolbar, const QMap<QString, QMenu *> &menus) : m_toolbar(toolbar), m_menus(menus)
    {
        for (auto it = menus.cbegin(); it != menus.cend(); ++it)
            connect(it.value(), &QMenu::aboutToShow, this, [this, name = it.key()] { opened(name); });
    }

    QMap<QString, QList<Step>> steps;
    QStringList openedMenus;
    bool filterServed = true;

private:
    void opened(const QString &name)
    {
        openedMenus << name;
        filterServed = filterServed && MenuInputFilter::served();
        const QList<Step> script = steps.take(name);
        if (script.isEmpty()) {
            for (QWidget *menu = m_menus.value(name); qobject_cast<QMenu *>(menu); menu = menu->parentWidget())
                QCoreApplication::postEvent(menu, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        }
        for (const Step &step : script) {
            QMenu *target = m_menus.value(step.menu.isEmpty() ? name : step.menu);
            if (step.kind == Step::Key)
                QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, step.value, Qt::NoModifier));
            else
                QMetaObject::invokeMethod(target, [this, target, step] { mouse(target, step); }, Qt::QueuedConnection);
        }
    }

    // Through the window system, as the open menu has the mouse to itself.
    void mouse(QMenu *menu, const Step &step) const
    {
        const QPoint global = m_toolbar.hwnd()->mapToGlobal(m_toolbar.buttonRect(step.value).center());
        if (step.kind == Step::MoveOver)
            return QTest::mouseMove(menu, menu->mapFromGlobal(global));
        // A whole click: a press that reached the button would make the release click it.
        QTest::mousePress(menu, Qt::LeftButton, {}, menu->mapFromGlobal(global));
        QWidget *form = m_toolbar.hwnd()->window();
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, form->mapFromGlobal(global));
    }

    const Toolbar &m_toolbar;
    QMap<QString, QMenu *> m_menus;
};

class TestMenuTracking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_bar.reset();
        m_menu.reset();
        m_form = std::make_unique<QMainWindow>();
        m_form->setCentralWidget(new QMdiArea);
        m_form->resize(500, 300);
        m_menu = std::make_unique<PopupMenu>();
        for (const QString &top : m_tops) {
            const int item = m_menu->appendItem(QLatin1Char('&') + top, 0, QStringLiteral("mnu%1TOP").arg(top));
            const int first = m_menu->appendItem(QStringLiteral("&First"), item);
            if (top == QStringLiteral("Edit"))
                m_editFirst = first;
        }
        m_labItem = m_menu->appendItem(QStringLiteral("&Quorn Lab"), m_menu->findItemByKey(QStringLiteral("mnuHelpTOP")));
        m_menu->appendItem(QStringLiteral("&Homepage"), m_labItem);
        m_bar = std::make_unique<Toolbar>(m_form.get());
        m_bar->createFromMenu(m_menu.get());
        m_bar->createFromMenu(m_menu.get()); // again: no buttons twice
        QCOMPARE(m_bar->buttonCount(), 4);
        m_bar->hwnd()->move(40, 0);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QTest::mouseMove(m_form.get(), QPoint(450, 250)); // away from the buttons
    }
    void tracking_data()
    {
        QTest::addColumn<Row>("row");
        const Step right = key(Qt::Key_Right);
        const Step left = key(Qt::Key_Left);
        const Step down = key(Qt::Key_Down);
        const Step escape = key(Qt::Key_Escape);
        QTest::newRow("Right moves to the next") << Row{.steps = {{right}}, .opened = {"File", "Edit"}};
        QTest::newRow("Right on the last opens the first") << Row{.start = 3, .steps = {{right}}, .opened = {"Help", "File"}};
        QTest::newRow("Left on the first opens the last") << Row{.steps = {{left}}, .opened = {"File", "Help"}};
        QTest::newRow("Right on an item with a submenu opens it")
            << Row{.start = 3, .steps = {{down, right}}, .opened = {"Help", "Lab"}};
        QTest::newRow("Left in a submenu only closes it") << Row{
            .start = 3, .steps = {{down, right}, {left, key(Qt::Key_Escape, QStringLiteral("Help"))}}, .opened = {"Help", "Lab"}};
        QTest::newRow("Right in a submenu moves on")
            << Row{.start = 3, .steps = {{down, right}, {right}}, .opened = {"Help", "Lab", "File"}};
        QTest::newRow("Right skips hidden buttons") << Row{.hidden = {1, 2}, .steps = {{right}}, .opened = {"File", "Help"}};
        QTest::newRow("mouse over another button switches") << Row{.steps = {{moveOver(2)}}, .opened = {"File", "Window"}};
        QTest::newRow("mouse over the open button stays")
            << Row{.start = 1, .steps = {{moveOver(1), escape}}, .opened = {"Edit"}};
        QTest::newRow("click on the open button closes")
            << Row{.start = 1, .steps = {{clickOn(1)}}, .opened = {"Edit"}, .endsHot = false};
        // A menu opens with its first item selected.
        QTest::newRow("Return chooses an item")
            << Row{.start = 1, .steps = {{key(Qt::Key_Return)}}, .opened = {"Edit"}, .endsHot = false, .chooses = true};
        QTest::newRow("Alt+letter drops the menu") << Row{.start = -1, .steps = {{escape}}, .opened = {"Help"}};
        QTest::newRow("maximized child: Right from the last")
            << Row{.start = 3, .maximized = true, .steps = {{right}, {right}}, .opened = {"Help", "System", "File"}};
        QTest::newRow("F10 and Down open the first")
            << Row{.start = -2, .keys = {Qt::Key_F10, Qt::Key_Down}, .steps = {{escape}}, .opened = {"File"}};
        QTest::newRow("Alt alone, Right and Enter open the second") << Row{
            .start = -2, .keys = {Qt::Key_Alt, Qt::Key_Right, Qt::Key_Return}, .steps = {{escape}}, .opened = {"Edit"}};
        QTest::newRow("Left in menu-bar mode skips hidden buttons") << Row{.start = -2,
            .keys = {Qt::Key_F10, Qt::Key_Left, Qt::Key_Up}, .hidden = {2, 3}, .steps = {{escape}}, .opened = {"Edit"}};
        QTest::newRow("a letter in menu-bar mode opens its menu")
            << Row{.start = -2, .keys = {Qt::Key_F10, Qt::Key_H}, .steps = {{escape}}, .opened = {"Help"}};
        QTest::newRow("F10 again leaves menu-bar mode")
            << Row{.start = -2, .keys = {Qt::Key_F10, Qt::Key_F10, Qt::Key_Down}, .opened = {}, .endsHot = false};
        QTest::newRow("Alt again leaves menu-bar mode")
            << Row{.start = -2, .keys = {Qt::Key_Alt, Qt::Key_Alt, Qt::Key_Down}, .opened = {}, .endsHot = false};
        QTest::newRow("Escape after Escape clears the highlight")
            << Row{.keys = {Qt::Key_Escape}, .steps = {{escape}}, .opened = {"File"}, .endsHot = false};
        QTest::newRow("a click after Escape clears the highlight")
            << Row{.start = 1, .steps = {{escape}}, .opened = {"Edit"}, .endsHot = false, .clickAway = true};
        QTest::newRow("a choice leaves no highlight")
            << Row{.start = -2, .keys = {Qt::Key_F10, Qt::Key_Right, Qt::Key_Down}, .steps = {{key(Qt::Key_Return)}},
                   .opened = {"Edit"}, .endsHot = false, .chooses = true};
        QTest::newRow("maximized child: Left from the first")
            << Row{.maximized = true, .steps = {{left}, {left}}, .opened = {"File", "System", "Help"}};
    }
    void tracking()
    {
        QFETCH(Row, row);
        for (int index : row.hidden)
            m_bar->setButtonVisible(index, false);
        QMap<QString, QMenu *> menus{{QStringLiteral("Lab"), m_menu->subMenu(m_labItem)}};
        for (int i = 0; i < 4; ++i)
            menus.insert(m_tops.at(i), m_bar->buttonSubMenu(i));
        if (row.maximized) {
            auto *area = static_cast<QMdiArea *>(m_form->centralWidget());
            QMdiSubWindow *child = area->addSubWindow(new QWidget);
            child->showMaximized();
            area->setActiveSubWindow(child);
            QVERIFY(m_bar->hasMaximizedChild());
            menus.insert(QStringLiteral("System"), child->systemMenu());
        }
        MenuScript run(*m_bar, menus);
        for (qsizetype i = 0; i < row.steps.size(); ++i)
            run.steps[row.opened.at(i)] = row.steps.at(i);
        QList<int> chosen;
        connect(m_menu.get(), &PopupMenu::clicked, this, [&](int item) { chosen << item; });
        QSignalSpy buttonClicks(m_bar.get(), &Toolbar::buttonClicked);
        if (row.start == -1)
            QTest::keyClick(m_form.get(), Qt::Key_H, Qt::AltModifier);
        else if (row.start >= 0)
            QTest::mouseClick(buttonWidget(row.start), Qt::LeftButton);
        for (const QKeyCombination keys : row.keys)
            QTest::keyClick(m_form.get(), keys.key(), keys.keyboardModifiers());
        if (row.clickAway)
            QTest::mouseClick(m_form->centralWidget(), Qt::LeftButton, {}, QPoint(200, 150));
        QCOMPARE(run.openedMenus, row.opened);
        QCOMPARE(buttonClicks.count(), row.opened.isEmpty() ? 0 : 1);
        QCOMPARE(chosen, row.chooses ? QList<int>{m_editFirst} : QList<int>{});
        const QString last = row.opened.isEmpty() ? QString() : row.opened.last();
        const int lastButton = m_tops.indexOf(last == QStringLiteral("Lab") ? QStringLiteral("Help") : last);
        const QList<bool> hot{m_bar->buttonHot(0), m_bar->buttonHot(1), m_bar->buttonHot(2), m_bar->buttonHot(3)};
        QCOMPARE(hot.indexOf(true), row.endsHot ? lastButton : -1);
        QCOMPARE(KeyboardFilter::menuBarModeToolbar() != nullptr, row.endsHot);
        QVERIFY(!m_bar->buttonPressed(std::max(lastButton, 0)));
        QVERIFY(run.filterServed);
        QCOMPARE(MenuInputFilter::served(), nullptr);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
    }

private:
    QToolButton *buttonWidget(int index) const
    {
        return qobject_cast<QToolButton *>(m_bar->hwnd()->childAt(m_bar->buttonRect(index).center()));
    }

    std::unique_ptr<QMainWindow> m_form;
    std::unique_ptr<PopupMenu> m_menu;
    std::unique_ptr<Toolbar> m_bar;
    const QStringList m_tops{"File", "Edit", "Window", "Help"};
    int m_editFirst = 0;
    int m_labItem = 0;
};

QTEST_MAIN(TestMenuTracking)
#include "test_menu_tracking.moc"
