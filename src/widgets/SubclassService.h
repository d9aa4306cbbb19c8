#pragma once

#include <QEvent>
#include <QHash>
#include <QList>
#include <QObject>

class kxISubclass;

// Process-wide event interception: handlers watch chosen event types of a widget and,
// depending on their response code, run before or after the widget's own handling.
// Several handlers may watch one widget; they run in the order they started watching.
class SubclassService : public QObject
{
    Q_OBJECT

public:
    static SubclassService &instance();

    void WatchMessage(kxISubclass *handler, QObject *target, QEvent::Type message);
    void UnwatchMessage(kxISubclass *handler, QObject *target, QEvent::Type message);
    void UnwatchAll(kxISubclass *handler);

    // The event type being dispatched (QEvent::None outside a dispatch).
    QEvent::Type DispatchedMessage() const { return m_dispatched; }

    // Runs the widget's own handling of the event and returns whether it accepted it.
    bool CallPreviousProc(QObject *target, QEvent *event);

    bool isWatched(QObject *target, QEvent::Type message) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Watch {
        kxISubclass *handler;
        QEvent::Type message;
    };

    SubclassService() = default;
    void forgetTarget(QObject *target);
    QList<kxISubclass *> handlersFor(QObject *target, QEvent::Type message) const;

    QHash<QObject *, QList<Watch>> m_watches;
    QEvent::Type m_dispatched = QEvent::None;
    bool m_previousRan = false;
};
