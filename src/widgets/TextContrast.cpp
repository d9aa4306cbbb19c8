#include "TextContrast.h"

#include <algorithm>
#include <cmath>

namespace {

double channel(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
        + 0.0722 * channel(colour.blueF());
}

QColor mixed(const QColor &from, const QColor &to, double share)
{
    return QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * share),
        static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * share),
        static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * share));
}

} // namespace

double TextContrast::ratio(const QColor &text, const QColor &background)
{
    const double a = luminance(text) + 0.05;
    const double b = luminance(background) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

QColor TextContrast::readable(const QColor &text, const QColor &background, double least)
{
    if (ratio(text, background) >= least)
        return text;
    const QColor strongest = luminance(background) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    // The contrast grows steadily on the way to the strongest colour: halve the way there.
    double weak = 0.0;
    double strong = 1.0;
    for (int step = 0; step < 16; ++step) {
        const double middle = (weak + strong) / 2;
        (ratio(mixed(text, strongest, middle), background) >= least ? strong : weak) = middle;
    }
    return mixed(text, strongest, strong);
}
