#include "SplashPainter.h"

#include "ProgramVersion.h"
#include "TagBlock.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace {

QFont splashFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// The title in two colours, its last word in the accent colour, shrunk until it fits.
void paintTitle(QPainter &painter, const QRectF &room)
{
    const QString title = QString::fromLatin1(
        TagBlock::kProgramTitle.data(), static_cast<qsizetype>(TagBlock::kProgramTitle.size()));
    const qsizetype split = title.lastIndexOf(QLatin1Char(' ')) + 1;
    const QString lead = title.left(split);
    const QString accent = title.mid(split);

    int pixelSize = 32;
    QFont font = splashFont(pixelSize, true);
    while (pixelSize > 12 && QFontMetricsF(font).horizontalAdvance(title) > room.width()) {
        font = splashFont(--pixelSize, true);
    }
    const QFontMetricsF metrics(font);
    const QPointF origin(room.left(), room.top() + metrics.ascent());
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(origin, lead);
    painter.setPen(QColor(0xf0, 0x8a, 0x24));
    painter.drawText(origin + QPointF(metrics.horizontalAdvance(lead), 0), accent);
}

void paintVersion(QPainter &painter, const QPointF &topLeft)
{
    const QFont font = splashFont(16, false);
    painter.setFont(font);
    painter.setPen(QColor(0xd6, 0xe6, 0xfa));
    painter.drawText(topLeft + QPointF(0, QFontMetricsF(font).ascent()), ProgramVersion::version());
}

} // namespace

QImage SplashPainter::paint(const QImage &background)
{
    QImage picture = background.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Right of the mark drawn into the background; the band at the foot stays clear.
    paintTitle(painter, QRectF(116, 72, picture.width() - 116 - 16, 48));
    paintVersion(painter, QPointF(118, 116));
    return picture;
}
