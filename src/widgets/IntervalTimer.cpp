#include "IntervalTimer.h"

IntervalTimer::IntervalTimer(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &IntervalTimer::thatTime);
}

int IntervalTimer::interval() const
{
    return m_timer.isActive() ? m_timer.interval() : 0;
}

void IntervalTimer::setInterval(int milliseconds)
{
    if (milliseconds <= 0) {
        m_timer.stop();
        return;
    }
    m_timer.start(milliseconds);
}
