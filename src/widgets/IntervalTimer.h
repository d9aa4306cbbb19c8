#pragma once

#include <QObject>
#include <QTimer>

// A periodic timer: ThatTime fires every Interval milliseconds; an Interval of 0 stops it.
// Callers wanting a one-shot stop it from inside ThatTime.
class IntervalTimer : public QObject
{
    Q_OBJECT

public:
    explicit IntervalTimer(QObject *parent = nullptr);

    int Interval() const;
    void setInterval(int milliseconds);

Q_SIGNALS:
    void ThatTime();

private:
    QTimer m_timer;
};
