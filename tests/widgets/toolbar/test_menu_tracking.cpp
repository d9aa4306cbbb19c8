#include "toolbar/KeyboardFilter.h"
#include "toolbar/MenuInputFilter.h"
#include "toolbar/Toolbar.h"
#include "CaretPicture.h"
#include "PopupMenu.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

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

// Keys typed into the first of two text fields of a page while the window has a Ctrl+S
// command.
struct KeyboardRow {
    QList<QKeyCombination> keys;
    bool focusMoves = false; // after the first key the program puts the focus into the second field
    bool clickField = false; // then a click into the field with the focus
    bool barHasKeyboard = false; // at the end: the bar in menu-bar mode, the field without caret
    int saves = 0;
    QString typed = {}; // what reached the field
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
    void initTestCase()
    {
        // A steady caret, so that a picture of the field shows whether it has one.
        QGuiApplication::styleHints()->setCursorFlashTime(0);
    }
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
        QMap<QString, QMenu *> menus = barMenus();
        menus.insert(QStringLiteral("Lab"), m_menu->subMenu(m_labItem));
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

    // The keyboard is in one place at a time: while the bar has it the field shows no caret
    // and takes nothing; a shortcut lets go of the bar before its command runs.
    void keyboardInOnePlace_data()
    {
        QTest::addColumn<KeyboardRow>("row");
        const QKeyCombination save = Qt::ControlModifier | Qt::Key_S;
        QTest::newRow("typed without the bar") << KeyboardRow{.keys = {Qt::Key_X}, .typed = "x"};
        QTest::newRow("F10 takes it") << KeyboardRow{.keys = {Qt::Key_F10}, .barHasKeyboard = true};
        QTest::newRow("Alt alone takes it") << KeyboardRow{.keys = {Qt::Key_Alt}, .barHasKeyboard = true};
        QTest::newRow("moving along the bar keeps it")
            << KeyboardRow{.keys = {Qt::Key_F10, Qt::Key_Right, Qt::Key_Left}, .barHasKeyboard = true};
        QTest::newRow("Escape gives it back") << KeyboardRow{.keys = {Qt::Key_F10, Qt::Key_Escape}};
        QTest::newRow("F10 again gives it back") << KeyboardRow{.keys = {Qt::Key_F10, Qt::Key_F10}};
        QTest::newRow("a click gives it back") << KeyboardRow{.keys = {Qt::Key_F10}, .clickField = true};
        QTest::newRow("given back where the focus moved meanwhile")
            << KeyboardRow{.keys = {Qt::Key_F10, Qt::Key_Escape, Qt::Key_X}, .focusMoves = true, .typed = "x"};
        QTest::newRow("a shortcut gives it back, then runs") << KeyboardRow{.keys = {Qt::Key_F10, save}, .saves = 1};
        QTest::newRow("a letter after a shortcut is typed")
            << KeyboardRow{.keys = {Qt::Key_F10, save, Qt::Key_X}, .saves = 1, .typed = "x"};
        QTest::newRow("a key no shortcut takes stays with the bar") << KeyboardRow{
            .keys = {Qt::Key_F10, Qt::ControlModifier | Qt::Key_J, Qt::Key_X}, .barHasKeyboard = true};
    }
    void keyboardInOnePlace()
    {
        QFETCH(KeyboardRow, row);
        auto *page = new QWidget;
        auto *layout = new QVBoxLayout(page);
        auto *first = new QLineEdit;
        auto *second = new QLineEdit;
        layout->addWidget(first);
        layout->addWidget(second);
        static_cast<QMdiArea *>(m_form->centralWidget())->addSubWindow(page)->show();
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());
        QVERIFY2(!caretArea(first).isEmpty(), "the field shows its caret to begin with");
        auto *save = new QAction(m_form.get());
        save->setShortcut(Qt::ControlModifier | Qt::Key_S);
        m_form->addAction(save);
        int saves = 0;
        bool savedWithBarHeld = false;
        connect(save, &QAction::triggered, this, [&] {
            ++saves;
            savedWithBarHeld = savedWithBarHeld || KeyboardFilter::menuBarModeToolbar();
        });
        // Nothing here opens a menu: offscreen, an open menu takes the window's activation and
        // the field its focus, which no desktop does (desktop_use_e2e.sh goes through the menus).
        MenuScript run(*m_bar, barMenus());

        QLineEdit *field = row.focusMoves ? second : first;
        for (const QKeyCombination keys : row.keys) {
            QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
            if (row.focusMoves)
                second->setFocus();
        }
        if (row.clickField)
            QTest::mouseClick(field, Qt::LeftButton);

        QCOMPARE(run.openedMenus, QStringList());
        QCOMPARE(KeyboardFilter::menuBarModeToolbar() != nullptr, row.barHasKeyboard);
        QCOMPARE(saves, row.saves);
        QVERIFY2(!savedWithBarHeld, "the command ran while the bar still had the keyboard");
        QCOMPARE(field->text(), row.typed);
        QVERIFY(field->hasFocus());
        QCOMPARE(caretArea(field).isEmpty(), row.barHasKeyboard);
        QLineEdit *other = field == first ? second : first;
        QVERIFY2(caretArea(other).isEmpty(), "a caret shows in a field without the focus");
    }

private:
    QMap<QString, QMenu *> barMenus() const
    {
        QMap<QString, QMenu *> menus;
        for (int i = 0; i < 4; ++i)
            menus.insert(m_tops.at(i), m_bar->buttonSubMenu(i));
        return menus;
    }
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
