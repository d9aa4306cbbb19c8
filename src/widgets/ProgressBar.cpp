#include "ProgressBar.h"

#include "PropertyBag.h"

#include <QHBoxLayout>
#include <QProgressBar>

namespace {

QString cssColour(quint32 oleColor, const char *paletteFallback)
{
    const QColor colour = OleColor::translate(oleColor);
    if (!colour.isValid())
        return QStringLiteral("palette(") + QLatin1String(paletteFallback) + QLatin1Char(')');
    return colour.name();
}

int persistedOrientation(Qt::Orientation orientation)
{
    return orientation == Qt::Vertical ? 1 : 0;
}

} // namespace

ProgressBar::ProgressBar(QWidget *parent)
    : QFrame(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    createBar();
}

void ProgressBar::setMin(qint32 value)
{
    m_min = value;
    applyRange();
}

void ProgressBar::setMax(qint32 value)
{
    m_max = value;
    applyRange();
}

void ProgressBar::setPosition(qint32 value)
{
    m_position = qBound(m_bar->minimum(), value, m_bar->maximum());
    m_bar->setValue(m_position);
}

void ProgressBar::stepIt()
{
    const qint64 span = qint64(m_bar->maximum()) - m_bar->minimum();
    qint64 next = qint64(m_position) + m_step;
    if (span > 0 && next > m_bar->maximum())
        next = m_bar->minimum() + (next - m_bar->maximum()) % span;
    else if (span > 0 && next < m_bar->minimum())
        next = m_bar->maximum() - (m_bar->minimum() - next) % span;
    setPosition(static_cast<qint32>(next));
}

void ProgressBar::setSmooth(bool smooth)
{
    if (smooth == m_smooth)
        return;
    m_smooth = smooth;
    createBar();
}

void ProgressBar::setOrientation(Qt::Orientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    createBar();
}

void ProgressBar::setBorderStyle(int style)
{
    m_borderStyle = style;
    applyLook();
}

void ProgressBar::setForeColor(quint32 oleColor)
{
    m_foreColor = oleColor;
    applyLook();
}

void ProgressBar::setBackColor(quint32 oleColor)
{
    m_backColor = oleColor;
    applyLook();
}

void ProgressBar::createBar()
{
    delete m_bar;
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_bar->setOrientation(m_orientation);
    layout()->addWidget(m_bar);
    applyLook();
    applyRange();
}

void ProgressBar::applyRange()
{
    // A range whose Max lies below Min collapses to Min, as the position cannot lie anywhere else.
    m_bar->setRange(m_min, qMax(m_min, m_max));
    setPosition(m_position);
}

void ProgressBar::applyLook()
{
    if (m_borderStyle == BorderSunken)
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    else
        setFrameStyle(QFrame::NoFrame);
    m_bar->setStyleSheet(styleSheet());
}

QString ProgressBar::styleSheet() const
{
    const QString border
        = m_borderStyle == BorderThin ? QStringLiteral("1px solid palette(mid)") : QStringLiteral("none");
    // Segments are drawn as separate blocks two thirds as long as the bar is thick.
    const QString extent
        = m_orientation == Qt::Horizontal ? QStringLiteral("width") : QStringLiteral("height");
    const QString segments = m_smooth ? QString() : extent + QStringLiteral(": 8px; margin: 1px;");
    return QStringLiteral("QProgressBar { border: ") + border + QStringLiteral("; background: ")
        + cssColour(m_backColor, "button") + QStringLiteral("; }")
        + QStringLiteral(" QProgressBar::chunk { background: ") + cssColour(m_foreColor, "highlight")
        + QStringLiteral("; ") + segments + QStringLiteral(" }");
}

void ProgressBar::readProperties(const PropertyBag &bag)
{
    setSmooth(bag.readProperty(QStringLiteral("Smooth"), false).toBool());
    setOrientation(
        bag.readProperty(QStringLiteral("Orientation"), 0).toInt() == 1 ? Qt::Vertical : Qt::Horizontal);
    setBorderStyle(bag.readProperty(QStringLiteral("BorderStyle"), int(BorderThin)).toInt());
    setForeColor(bag.readProperty(QStringLiteral("ForeColor"), OleColor::Highlight).toUInt());
    setBackColor(bag.readProperty(QStringLiteral("BackColor"), OleColor::ButtonFace).toUInt());
    m_min = bag.readProperty(QStringLiteral("Min"), 0).toInt();
    setMax(bag.readProperty(QStringLiteral("Max"), 100).toInt());
    setStep(bag.readProperty(QStringLiteral("Step"), 1).toInt());
}

void ProgressBar::writeProperties(PropertyBag &bag) const
{
    bag.writeProperty(QStringLiteral("Smooth"), m_smooth, false);
    bag.writeProperty(QStringLiteral("Orientation"), persistedOrientation(m_orientation), 0);
    bag.writeProperty(QStringLiteral("BorderStyle"), m_borderStyle, int(BorderThin));
    bag.writeProperty(QStringLiteral("ForeColor"), m_foreColor, OleColor::Highlight);
    bag.writeProperty(QStringLiteral("BackColor"), m_backColor, OleColor::ButtonFace);
    bag.writeProperty(QStringLiteral("Min"), m_min, 0);
    bag.writeProperty(QStringLiteral("Max"), m_max, 100);
    bag.writeProperty(QStringLiteral("Step"), m_step, 1);
}
