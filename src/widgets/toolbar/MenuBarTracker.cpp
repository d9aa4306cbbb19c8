#include "toolbar/MenuBarTracker.h"

#include "toolbar/MenuInputFilter.h"
#include "toolbar/Toolbar.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

MenuBarTracker::~MenuBarTracker()
{
    done();
}

void MenuBarTracker::init(QWidget *owner, Toolbar *toolbar)
{
    closeOpenMenus();
    m_owner = owner;
    m_toolbar = toolbar;
}

int MenuBarTracker::track(int start)
{
    int chosen = 0;
    int index = start;
    while (index >= 0 && m_toolbar) {
        m_next = -1;
        QMenu *menu = menuFor(index);
        if (!menu)
            break;
        m_toolbar->setButtonPressed(index, true);
        // Opening as if by the Down key selects the first item.
        QCoreApplication::postEvent(menu, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
        m_state = MenuOpen;
        m_toolbar->setButtonHot(index, true);
        m_escapePressed = false;
        m_current = index;
        m_open = menu;
        MenuInputFilter::serve(this);
        const QAction *action = menu->exec(dropPosition(index));
        MenuInputFilter::serve(nullptr);
        m_open = nullptr;
        m_toolbar->setButtonPressed(index, false);
        m_state = m_escapePressed ? Hot : Idle;
        if (m_state == Idle)
            m_toolbar->setButtonHot(index, false);
        // The system menu carries out its own commands.
        if (action && index != Toolbar::kSystemMenuIndex)
            chosen = action->data().toInt();
        index = m_next;
    }
    return chosen;
}

void MenuBarTracker::done()
{
    MenuInputFilter::serve(nullptr);
}

int MenuBarTracker::neighbourIndex(int from, int direction) const
{
    if (!m_toolbar)
        return -1;
    QList<int> order;
    for (int i = 0; i < m_toolbar->buttonCount(); ++i) {
        if (m_toolbar->buttonVisible(i))
            order.append(i);
    }
    if (m_toolbar->hasMaximizedChild())
        order.append(Toolbar::kSystemMenuIndex);
    const qsizetype position = order.indexOf(from);
    if (position < 0)
        return -1;
    const qsizetype count = order.size();
    const int target = order.at((position + direction + count) % count);
    return target == from ? -1 : target;
}

bool MenuBarTracker::ownsMenu(const QObject *object) const
{
    for (const QObject *o = object; o && m_open; o = o->parent()) {
        if (o == m_open)
            return true;
    }
    return false;
}

bool MenuBarTracker::handleKey(QMenu *menu, int key)
{
    switch (key) {
    case Qt::Key_Left:
        // Left in a nested submenu closes just that submenu.
        if (menu != m_open)
            return false;
        switchTo(neighbourIndex(m_current, -1));
        return true;
    case Qt::Key_Right: {
        const QAction *active = menu->activeAction();
        if (active && active->menu())
            return false;
        switchTo(neighbourIndex(m_current, +1));
        return true;
    }
    case Qt::Key_Escape:
        m_escapePressed = true;
        return false;
    default:
        return false;
    }
}

bool MenuBarTracker::handleMouseMove(const QPoint &globalPos)
{
    if (globalPos == m_lastMouse || !m_toolbar || !m_toolbar->hwnd())
        return false;
    m_lastMouse = globalPos;
    const int hit = m_toolbar->hitTest(m_toolbar->hwnd()->mapFromGlobal(globalPos));
    if (hit < 0 || hit == m_current || !menuFor(hit))
        return false;
    switchTo(hit);
    return true;
}

bool MenuBarTracker::handleMousePress(const QPoint &globalPos)
{
    if (!m_toolbar || !m_toolbar->hwnd())
        return false;
    if (m_toolbar->hitTest(m_toolbar->hwnd()->mapFromGlobal(globalPos)) != m_current)
        return false;
    switchTo(-1);
    return true;
}

QMenu *MenuBarTracker::menuFor(int index) const
{
    if (index != Toolbar::kSystemMenuIndex)
        return m_toolbar->buttonSubMenu(index);
    const QMdiArea *area = m_toolbar->mdiClient();
    QMdiSubWindow *child = area ? area->currentSubWindow() : nullptr;
    return child ? child->systemMenu() : nullptr;
}

QPoint MenuBarTracker::dropPosition(int index) const
{
    const QRect button = index == Toolbar::kSystemMenuIndex ? m_toolbar->systemMenuRect()
                                                             : m_toolbar->buttonRect(index);
    return m_toolbar->hwnd()->mapToGlobal(QPoint(button.left(), button.top() + button.height()));
}

void MenuBarTracker::switchTo(int index)
{
    if (index == m_current && index >= 0)
        return;
    m_next = index;
    closeOpenMenus();
}

void MenuBarTracker::closeOpenMenus()
{
    // Nested submenus are the active popups above the tracked one; close down to it.
    while (m_open) {
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup || !ownsMenu(popup)) {
            m_open->close();
            return;
        }
        const bool last = popup == m_open;
        popup->close();
        if (last)
            return;
    }
}
