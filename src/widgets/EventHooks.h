#pragma once

#include <QEvent>
#include <QHash>
#include <QList>
#include <QObject>

class EventHook;

// Process-wide event interception: handlers watch chosen event types of a widget and,
// depending on their response code, run before or after the widget's own handling.
// Several handlers may watch one widget; they run in the order they started watching.
class EventHooks : public QObject
{
    Q_OBJECT

public:
    static EventHooks &instance();

    void watchMessage(EventHook *handler, QObject *target, QEvent::Type message);
    void unwatchMessage(EventHook *handler, QObject *target, QEvent::Type message);
    void unwatchAll(EventHook *handler);

    // The event type being dispatched (QEvent::None outside a dispatch).
    QEvent::Type dispatchedMessage() const { return m_dispatched; }

    // Runs the widget's own handling of the event and returns whether it accepted it.
    bool callPreviousProc(QObject *target, QEvent *event);

    bool isWatched(QObject *target, QEvent::Type message) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Watch {
        EventHook *handler;
        QEvent::Type message;
    };

    EventHooks() = default;
    void forgetTarget(QObject *target);
    QList<EventHook *> handlersFor(QObject *target, QEvent::Type message) const;

    QHash<QObject *, QList<Watch>> m_watches;
    QEvent::Type m_dispatched = QEvent::None;
    bool m_previousRan = false;
};
