#pragma once

#include <thread>

// Loads the font configuration on another core while the application object connects to
// the window system and the splash shows: the main window's first text would otherwise
// wait for it, several milliseconds of parsing, on the main thread.
class FontConfigWarmUp
{
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp &) = delete;
    FontConfigWarmUp &operator=(const FontConfigWarmUp &) = delete;

    // Called before the first font is looked up, so that the configuration is not loaded a
    // second time alongside.
    void wait();

private:
    std::thread m_loader;
};
