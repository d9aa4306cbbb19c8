#pragma once

#include <QImage>

// The splash picture as the build painted it (tools/splashpicture): the program's title and
// version over icons/splash.png, compiled in as pixels, so that showing it decodes nothing.
class SplashPicture
{
public:
    // Shares the compiled-in pixels; painting on it works on a copy.
    static QImage image();
};
