#pragma once

// Loads the font configuration, several milliseconds of parsing, in the background while
// the application object connects to the window system and the splash shows, so that the
// main window's first text finds it loaded. It runs only on a core that would otherwise
// idle: on a busy machine it gives way, and the first text loads the configuration itself
// as it would without it.
class FontConfigWarmUp
{
public:
    static void start();
};
