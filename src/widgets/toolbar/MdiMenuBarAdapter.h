#pragma once

#include "EventHook.h"

#include <QObject>
#include <QPointer>
#include <QMdiArea>
#include <QMdiSubWindow>

class QWidget;

// Lets an MDI frame's toolbar host play the part of its menu bar: maximized children stop
// drawing a title bar of their own, and a signal tells whenever the active child becomes
// or stops being maximized, so that the host can show the child's icon and caption buttons.
class MdiMenuBarAdapter : public QObject, public EventHook
{
    Q_OBJECT

public:
    MdiMenuBarAdapter() = default;
    ~MdiMenuBarAdapter() override;

    // Does nothing when the frame has no MDI area.
    void attach(QWidget *frame);
    void detach();
    bool isAttached() const { return m_client != nullptr; }

    int msgResponse() override { return WidgetFirst; }
    bool windowProc(QObject *target, QEvent *event) override;

Q_SIGNALS:
    void maximizedStateChanged(QMdiSubWindow *child, bool maximized);

private:
    void watchChild(QMdiSubWindow *child);
    void report();

    QPointer<QWidget> m_frame;
    QPointer<QMdiArea> m_client;
    QPointer<QMdiSubWindow> m_watchedChild;
    QPointer<QMdiSubWindow> m_reportedChild;
    bool m_reportedMaximized = false;
};
