#pragma once

#include <QElapsedTimer>
#include <QString>

#include <chrono>

class QTextStream;

// A line of progress on a terminal, rewritten in place at most once an interval. It is
// hidden while other output goes to the terminal and cleared at the end, so that it never
// stays between lines of a report; when not enabled it writes nothing at all.
class ProgressLine
{
public:
    ProgressLine(QTextStream &terminal, bool enabled, std::chrono::milliseconds interval);
    ~ProgressLine();

    // Shows the text when the one shown is older than the interval; else shows that one
    // again if it was hidden.
    void update(const QString &text);
    // Clears the line, for other output to start at its beginning.
    void hide();

private:
    void draw();

    QTextStream &m_terminal;
    const bool m_enabled;
    const std::chrono::milliseconds m_interval;
    QElapsedTimer m_sinceShown;
    QString m_shown;
    qsizetype m_widthOnScreen = 0;
};
