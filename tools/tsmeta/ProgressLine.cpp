#include "ProgressLine.h"

#include <QTextStream>

ProgressLine::ProgressLine(QTextStream &terminal, bool enabled, std::chrono::milliseconds interval)
    : m_terminal(terminal)
    , m_enabled(enabled)
    , m_interval(interval)
{
    m_sinceShown.start();
}

ProgressLine::~ProgressLine()
{
    hide();
}

void ProgressLine::update(const QString &text)
{
    if (!m_enabled)
        return;
    // The figure changes once an interval however often other output hides it.
    if (m_sinceShown.elapsed() >= m_interval.count()) {
        m_shown = text;
        m_sinceShown.restart();
        draw();
    } else if (m_widthOnScreen == 0 && !m_shown.isEmpty()) {
        draw();
    }
}

void ProgressLine::hide()
{
    if (m_widthOnScreen == 0)
        return;
    m_terminal << '\r' << QString(m_widthOnScreen, QLatin1Char(' ')) << '\r';
    m_terminal.flush();
    m_widthOnScreen = 0;
}

void ProgressLine::draw()
{
    // Padded over what a longer text before left.
    const QString line = m_shown.leftJustified(m_widthOnScreen);
    m_terminal << '\r' << line;
    m_terminal.flush();
    m_widthOnScreen = line.size();
}
