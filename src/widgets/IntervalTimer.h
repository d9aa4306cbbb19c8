#pragma once

#include <QObject>
#include <QTimer>

// A periodic timer: thatTime fires every interval() milliseconds; an interval of 0 stops it.
// Callers wanting a one-shot stop it from inside thatTime.
class IntervalTimer : public QObject
{
    Q_OBJECT

public:
    explicit IntervalTimer(QObject *parent = nullptr);

    int interval() const;
    void setInterval(int milliseconds);

Q_SIGNALS:
    void thatTime();

private:
    QTimer m_timer;
};
