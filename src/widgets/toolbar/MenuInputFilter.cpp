#include "toolbar/MenuInputFilter.h"

#include "toolbar/MenuBarTracker.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

MenuInputFilter &MenuInputFilter::instance()
{
    static MenuInputFilter filter;
    return filter;
}

void MenuInputFilter::serve(MenuBarTracker *tracker)
{
    MenuInputFilter &filter = instance();
    if (filter.m_tracker == tracker || !qApp)
        return;
    if (!filter.m_tracker)
        qApp->installEventFilter(&filter);
    else if (!tracker)
        qApp->removeEventFilter(&filter);
    filter.m_tracker = tracker;
}

MenuBarTracker *MenuInputFilter::served()
{
    return instance().m_tracker;
}

bool MenuInputFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *menu = qobject_cast<QMenu *>(watched);
    if (!menu || !m_tracker || !m_tracker->ownsMenu(menu))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return m_tracker->handleKey(menu, static_cast<QKeyEvent *>(event)->key());
    case QEvent::MouseMove:
        return m_tracker->handleMouseMove(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        return mouse->button() == Qt::LeftButton && m_tracker->handleMousePress(mouse->globalPosition().toPoint());
    }
    default:
        return false;
    }
}
