#include "toolbar/MdiMenuBarAdapter.h"

#include "EventHooks.h"

#include <QMdiArea>
#include <QMdiSubWindow>

MdiMenuBarAdapter::~MdiMenuBarAdapter()
{
    detach();
}

void MdiMenuBarAdapter::attach(QWidget *frame)
{
    detach();
    QMdiArea *client = frame ? frame->findChild<QMdiArea *>() : nullptr;
    if (!client)
        return;
    m_frame = frame;
    m_client = client;
    // The host shows a maximized child's caption buttons, so the child must not.
    frame->setAttribute(Qt::WA_CanHostQMdiSubWindowTitleBar, true);
    connect(client, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *child) {
        watchChild(child);
        report();
    });
    watchChild(client->currentSubWindow());
    report();
}

void MdiMenuBarAdapter::detach()
{
    if (m_client)
        disconnect(m_client, nullptr, this, nullptr);
    if (m_frame)
        m_frame->setAttribute(Qt::WA_CanHostQMdiSubWindowTitleBar, false);
    watchChild(nullptr);
    if (m_reportedMaximized)
        emit maximizedStateChanged(nullptr, false);
    m_frame = nullptr;
    m_client = nullptr;
    m_reportedChild = nullptr;
    m_reportedMaximized = false;
}

bool MdiMenuBarAdapter::windowProc(QObject *, QEvent *)
{
    report();
    return false;
}

void MdiMenuBarAdapter::watchChild(QMdiSubWindow *child)
{
    EventHooks &service = EventHooks::instance();
    if (m_watchedChild) {
        service.unwatchMessage(this, m_watchedChild, QEvent::WindowStateChange);
        service.unwatchMessage(this, m_watchedChild, QEvent::WindowIconChange);
    }
    m_watchedChild = child;
    if (child) {
        service.watchMessage(this, child, QEvent::WindowStateChange);
        service.watchMessage(this, child, QEvent::WindowIconChange);
    }
}

void MdiMenuBarAdapter::report()
{
    QMdiSubWindow *child = m_client ? m_client->currentSubWindow() : nullptr;
    const bool maximized = child && child->isMaximized();
    // A new icon must reach the host even when nothing else changed.
    const bool iconChange = EventHooks::instance().dispatchedMessage() == QEvent::WindowIconChange;
    if (child == m_reportedChild && maximized == m_reportedMaximized && !iconChange)
        return;
    m_reportedChild = child;
    m_reportedMaximized = maximized;
    emit maximizedStateChanged(child, maximized);
}
