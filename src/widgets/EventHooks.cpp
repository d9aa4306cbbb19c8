#include "EventHooks.h"

#include "EventHook.h"

#include <QPointer>

EventHook::~EventHook()
{
    EventHooks::instance().unwatchAll(this);
}

EventHooks &EventHooks::instance()
{
    static EventHooks service;
    return service;
}

void EventHooks::watchMessage(EventHook *handler, QObject *target, QEvent::Type message)
{
    if (!handler || !target || handlersFor(target, message).contains(handler))
        return;
    if (!m_watches.contains(target)) {
        target->installEventFilter(this);
        connect(target, &QObject::destroyed, this, [this, target] { forgetTarget(target); });
    }
    m_watches[target].append({handler, message});
}

void EventHooks::unwatchMessage(EventHook *handler, QObject *target, QEvent::Type message)
{
    auto it = m_watches.find(target);
    if (it == m_watches.end())
        return;
    it->removeIf([&](const Watch &w) { return w.handler == handler && w.message == message; });
    if (it->isEmpty()) {
        target->removeEventFilter(this);
        disconnect(target, &QObject::destroyed, this, nullptr);
        m_watches.erase(it);
    }
}

void EventHooks::unwatchAll(EventHook *handler)
{
    const QList<QObject *> targets = m_watches.keys();
    for (QObject *target : targets) {
        const QList<Watch> watches = m_watches.value(target);
        for (const Watch &w : watches) {
            if (w.handler == handler)
                unwatchMessage(handler, target, w.message);
        }
    }
}

bool EventHooks::callPreviousProc(QObject *target, QEvent *event)
{
    m_previousRan = true;
    // Calling event() directly bypasses the filters, so this cannot recurse into eventFilter.
    return target->event(event);
}

bool EventHooks::isWatched(QObject *target, QEvent::Type message) const
{
    return !handlersFor(target, message).isEmpty();
}

bool EventHooks::eventFilter(QObject *watched, QEvent *event)
{
    const QList<EventHook *> handlers = handlersFor(watched, event->type());
    if (handlers.isEmpty())
        return false;

    const QEvent::Type outerDispatched = m_dispatched;
    const bool outerPreviousRan = m_previousRan;
    m_dispatched = event->type();
    m_previousRan = false;

    QPointer<QObject> target(watched);
    for (EventHook *handler : handlers) {
        if (!target)
            break;
        m_dispatched = event->type();
        if (handler->msgResponse() == EventHook::WidgetFirst && !m_previousRan)
            callPreviousProc(target, event);
        handler->windowProc(target, event);
    }

    m_dispatched = outerDispatched;
    m_previousRan = outerPreviousRan;
    // Either the widget's handling already ran above or a handler chose to withhold it.
    return true;
}

void EventHooks::forgetTarget(QObject *target)
{
    m_watches.remove(target);
}

QList<EventHook *> EventHooks::handlersFor(QObject *target, QEvent::Type message) const
{
    QList<EventHook *> handlers;
    const auto it = m_watches.constFind(target);
    if (it == m_watches.constEnd())
        return handlers;
    for (const Watch &w : *it) {
        if (w.message == message)
            handlers.append(w.handler);
    }
    return handlers;
}
