#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <optional>

// Watches the X server for a program's first window to come up. A window counts as shown
// when it is mapped and its program has answered a ping sent after the map: the answer is
// handled behind the expose that the map queued, so by then the window has painted itself.
// Splash screens and menus (override-redirect windows) do not count.
class WindowWatch
{
public:
    using Clock = std::chrono::steady_clock;

    struct Shown
    {
        Clock::time_point mapped;
        Clock::time_point painted;
    };

    WindowWatch();
    ~WindowWatch();
    WindowWatch(const WindowWatch &) = delete;
    WindowWatch &operator=(const WindowWatch &) = delete;

    bool isConnected() const { return m_connection && !xcb_connection_has_error(m_connection); }

    // Waits for the next top-level window that is not a splash screen, at most `timeout`.
    std::optional<Shown> waitForWindow(std::chrono::milliseconds timeout);

    // Forgets the events of windows that came and went before the next wait.
    void drain();

private:
    xcb_atom_t atom(const char *name) const;
    bool isSplash(xcb_window_t window) const;
    void ping(xcb_window_t window);
    bool isPingAnswer(const xcb_generic_event_t *event, xcb_window_t window) const;
    xcb_generic_event_t *nextEvent(Clock::time_point deadline);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_protocols = 0;
    xcb_atom_t m_ping = 0;
    xcb_atom_t m_windowType = 0;
    xcb_atom_t m_splashType = 0;
};
