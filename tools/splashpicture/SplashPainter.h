#pragma once

#include <QImage>

// Paints the program's title and version over the splash background. Run at build time:
// the splash then shows compiled-in pixels and loads no font and decodes no image at start.
class SplashPainter
{
public:
    static QImage paint(const QImage &background);
};
