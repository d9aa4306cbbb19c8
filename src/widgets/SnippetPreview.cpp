#include "SnippetPreview.h"

#include "ByteView.h"
#include "TextWidth.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {

const QChar kEllipsis(0x2026);
// Line heights of a results page; the fonts' own line spacing is tighter.
constexpr int kTitleLineHeight = 26;
constexpr int kTextLineHeight = 22;

const QColor kTitleColour(0x1a, 0x0d, 0xab);
const QColor kPathColour(0x00, 0x66, 0x21);
const QColor kDescriptionColour(0x4d, 0x51, 0x56);
const QColor kCardColour(Qt::white);
const QColor kCardBorder(0xda, 0xdc, 0xe0);

QFont resultFont(double pixelSize)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(pixelSize));
    return font;
}

double engineWidth(const QList<uint> &codePoints, qsizetype count, double pixelSize, bool withEllipsis)
{
    QString text = QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), count);
    if (withEllipsis)
        text = text.trimmed() + kEllipsis;
    return TextWidth::pixels(byteView(text.toUtf8()), pixelSize);
}

void drawLine(QPainter &painter, const QFont &font, const QColor &colour, double top, int lineHeight,
    const QString &text)
{
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(colour);
    const double baseline = top + (lineHeight - metrics.height()) / 2.0 + metrics.ascent();
    painter.drawText(QPointF(0, baseline), text);
}

} // namespace

SnippetPreview::SnippetPreview(QWidget *parent)
    : QWidget(parent)
    , m_titleFont(resultFont(TextWidth::kTitlePixelSize))
    , m_textFont(resultFont(TextWidth::kDescriptionPixelSize))
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QString SnippetPreview::cut(const QString &text, double pixelSize, double limit)
{
    const QList<uint> codePoints = text.toUcs4();
    if (engineWidth(codePoints, codePoints.size(), pixelSize, false) <= limit)
        return text;
    // Widths only grow with more characters: the longest prefix that fits is found by halving.
    qsizetype fits = 0;
    qsizetype tooMany = codePoints.size();
    while (tooMany - fits > 1) {
        const qsizetype middle = fits + (tooMany - fits) / 2;
        if (engineWidth(codePoints, middle, pixelSize, true) <= limit)
            fits = middle;
        else
            tooMany = middle;
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), fits).trimmed()
        + kEllipsis;
}

void SnippetPreview::setTitle(const QString &title)
{
    m_title = title;
    m_shownTitle = cut(title, TextWidth::kTitlePixelSize, m_limits.title);
    update();
}

void SnippetPreview::setPath(const QString &path)
{
    m_path = path;
    update();
}

void SnippetPreview::setDescription(const QString &description)
{
    m_fullDescription = description;
    m_description = cut(description, TextWidth::kDescriptionPixelSize, m_limits.description);
    update();
}

void SnippetPreview::setWidthLimits(const WidthLimits &limits)
{
    m_limits = limits;
    setTitle(m_title);
    setDescription(m_fullDescription);
}

QString SnippetPreview::shownPath() const
{
    return QFontMetricsF(m_textFont).elidedText(m_path, Qt::ElideMiddle, kResultWidth);
}

QStringList SnippetPreview::shownDescription() const
{
    QTextLayout layout(m_description, m_textFont);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(kResultWidth);
        if (lines.size() == kMaxDescriptionLines - 1) {
            // The last line takes the rest, cut where the column ends.
            lines.append(QFontMetricsF(m_textFont)
                             .elidedText(m_description.mid(line.textStart()), Qt::ElideRight, kResultWidth));
            break;
        }
        lines.append(m_description.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

QSize SnippetPreview::naturalSize() const
{
    return { kResultWidth + 2 * kPadding,
        2 * kPadding + kTitleLineHeight + kLineGap + (1 + kMaxDescriptionLines) * kTextLineHeight };
}

double SnippetPreview::scaleFor(int width) const
{
    return std::min(1.0, double(width) / naturalSize().width());
}

QSize SnippetPreview::sizeHint() const
{
    return naturalSize();
}

QSize SnippetPreview::minimumSizeHint() const
{
    const int width = naturalSize().width() / 2;
    return { width, heightForWidth(width) };
}

int SnippetPreview::heightForWidth(int width) const
{
    return static_cast<int>(std::ceil(naturalSize().height() * scaleFor(width)));
}

void SnippetPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const double scale = scaleFor(width());
    painter.scale(scale, scale);
    const QSize natural = naturalSize();
    painter.setPen(kCardBorder);
    painter.setBrush(kCardColour);
    painter.drawRoundedRect(QRectF(0.5, 0.5, natural.width() - 1, natural.height() - 1), 6, 6);
    painter.translate(kPadding, kPadding);
    painter.setClipRect(QRect(0, 0, kResultWidth, natural.height() - 2 * kPadding));
    double top = 0;
    drawLine(painter, m_titleFont, kTitleColour, top, kTitleLineHeight, m_shownTitle);
    top += kTitleLineHeight + kLineGap;
    drawLine(painter, m_textFont, kPathColour, top, kTextLineHeight, shownPath());
    for (const QString &line : shownDescription()) {
        top += kTextLineHeight;
        drawLine(painter, m_textFont, kDescriptionColour, top, kTextLineHeight, line);
    }
}
