#pragma once

#include <QColor>

// Contrast between text and its background as the web's accessibility guidelines measure it
// (1:1 to 21:1), and a colour darkened or lightened just enough to read.
class TextContrast
{
public:
    // The least contrast for body text.
    static constexpr double kReadable = 4.5;

    static double ratio(const QColor &text, const QColor &background);
    // text itself when it reads at least `least` on background; else text darkened (lightened,
    // on a dark background) just as far as it takes.
    static QColor readable(const QColor &text, const QColor &background, double least = kReadable);
};
