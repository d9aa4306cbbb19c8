#pragma once

#include "EventHook.h"

#include <QObject>
#include <QPointer>
#include <QMdiArea>
#include <QMdiSubWindow>

class QWidget;
class ToolbarHost;

// Makes an MDI frame's toolbar host play the part of its menu bar: maximized children stop
// drawing a title bar of their own, and the host is told whenever the active child becomes
// or stops being maximized, so that it can show the child's icon and caption buttons.
class MdiMenuBarAdapter : public QObject, public EventHook
{
    Q_OBJECT

public:
    MdiMenuBarAdapter() = default;
    ~MdiMenuBarAdapter() override;

    // Does nothing when the frame has no MDI area.
    void attach(QWidget *frame, ToolbarHost *host);
    void detach();
    bool isAttached() const { return m_client != nullptr; }

    int msgResponse() override { return WidgetFirst; }
    bool windowProc(QObject *target, QEvent *event) override;

private:
    void watchChild(QMdiSubWindow *child);
    void report();

    QPointer<QWidget> m_frame;
    QPointer<QMdiArea> m_client;
    QPointer<ToolbarHost> m_host;
    QPointer<QMdiSubWindow> m_watchedChild;
    QPointer<QMdiSubWindow> m_reportedChild;
    bool m_reportedMaximized = false;
};
