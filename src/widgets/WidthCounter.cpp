#include "WidthCounter.h"

#include "WidthLimits.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

WidthCounter::WidthCounter(double limit, QWidget *parent)
    : QWidget(parent)
    , m_limit(limit)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setPixels(0.0);
}

WidthCounter::Rating WidthCounter::rate(double pixels, double limit)
{
    if (pixels > limit)
        return Rating::OverLimit;
    if (pixels >= limit * kNearShare)
        return Rating::NearLimit;
    if (pixels < limit * WidthLimits::kShortShare)
        return Rating::Short;
    return Rating::Good;
}

void WidthCounter::setPixels(double pixels)
{
    m_pixels = pixels;
    showRating();
}

void WidthCounter::setLimit(double limit)
{
    m_limit = limit;
    showRating();
}

void WidthCounter::showRating()
{
    const QString shown = text();
    setToolTip(shown);
    setAccessibleName(shown);
    updateGeometry();
    update();
}

QString WidthCounter::text() const
{
    const int pixels = static_cast<int>(std::lround(m_pixels));
    const int limit = static_cast<int>(std::lround(m_limit));
    const QString count = tr("%1 / %2 px").arg(pixels).arg(limit);
    switch (rating()) {
    case Rating::Short:
        return tr("%1 · short").arg(count);
    case Rating::NearLimit:
        return tr("%1 · near the limit").arg(count);
    case Rating::OverLimit:
        return tr("%1 · %2 px too wide").arg(count).arg(std::max(1, pixels - limit));
    case Rating::Good:
        break;
    }
    return count;
}

QColor WidthCounter::ratingColour() const
{
    switch (rating()) {
    case Rating::Short:
    case Rating::NearLimit:
        return QColor(0xd9, 0x8e, 0x04);
    case Rating::OverLimit:
        return QColor(0xc5, 0x22, 0x1f);
    case Rating::Good:
        break;
    }
    return QColor(0x1e, 0x8e, 0x3e);
}

QSize WidthCounter::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    // Wide enough for the longest wording, so the counter does not jump while typing.
    const QString widest = tr("%1 · %2 px too wide").arg(tr("%1 / %2 px").arg(8888).arg(888)).arg(888);
    return { kBarWidth + kGap + metrics.horizontalAdvance(widest), std::max(metrics.height(), kBarHeight) };
}

QSize WidthCounter::minimumSizeHint() const
{
    return sizeHint();
}

void WidthCounter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(0.5, (height() - kBarHeight) / 2.0 + 0.5, kBarWidth - 1, kBarHeight - 1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(track, 2, 2);
    const double share = m_limit > 0 ? std::clamp(m_pixels / m_limit, 0.0, 1.0) : 0.0;
    if (share > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ratingColour());
        painter.drawRoundedRect(
            track.adjusted(0.5, 0.5, -0.5 - (1 - share) * (track.width() - 1), -0.5), 1.5, 1.5);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(kBarWidth + kGap, 0, width() - kBarWidth - kGap, height()),
        Qt::AlignLeft | Qt::AlignVCenter, text());
}
