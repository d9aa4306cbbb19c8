#pragma once

#include "kxISubclass.h"

#include <QObject>
#include <QPointer>
#include <QMdiArea>
#include <QMdiSubWindow>

class QWidget;
class cToolbarHost;

// Makes an MDI frame's toolbar host play the part of its menu bar: maximized children stop
// drawing a title bar of their own, and the host is told whenever the active child becomes
// or stops being maximized, so that it can show the child's icon and caption buttons.
class cMDIToolbarMenu : public QObject, public kxISubclass
{
    Q_OBJECT

public:
    cMDIToolbarMenu() = default;
    ~cMDIToolbarMenu() override;

    // Does nothing when the frame has no MDI area.
    void Attach(QWidget *frame, cToolbarHost *host);
    void Detach();
    bool IsAttached() const { return m_client != nullptr; }

    int MsgResponse() override { return WidgetFirst; }
    bool WindowProc(QObject *target, QEvent *event) override;

private:
    void watchChild(QMdiSubWindow *child);
    void report();

    QPointer<QWidget> m_frame;
    QPointer<QMdiArea> m_client;
    QPointer<cToolbarHost> m_host;
    QPointer<QMdiSubWindow> m_watchedChild;
    QPointer<QMdiSubWindow> m_reportedChild;
    bool m_reportedMaximized = false;
};
