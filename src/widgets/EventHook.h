#pragma once

class QEvent;
class QObject;

// Implemented by every control that intercepts the events of a widget through EventHooks.
class EventHook
{
public:
    // Response codes read while a watched event is dispatched.
    enum Response {
        HandlerDecides = 0, // windowProc's result stands; the widget sees the event only
                            // when windowProc calls callPreviousProc
        WidgetFirst = 1,    // the widget's own handling runs first, then windowProc
        HandlerDecidesToo = 2,
    };

    virtual ~EventHook();

    // Asked while an event is being dispatched; may read EventHooks::dispatchedMessage().
    virtual int msgResponse() = 0;
    // Returns true when the event counts as handled.
    virtual bool windowProc(QObject *target, QEvent *event) = 0;
};
