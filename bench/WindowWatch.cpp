#include "WindowWatch.h"

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeDeleter
{
    void operator()(void *pointer) const { std::free(pointer); }
};

template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace

WindowWatch::WindowWatch()
{
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection))
        return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    m_root = screens.data->root;
    // Substructure: the maps of top-level windows. Structure: Qt sends its ping answers to
    // the root window with this mask.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    m_protocols = atom("WM_PROTOCOLS");
    m_ping = atom("_NET_WM_PING");
    m_windowType = atom("_NET_WM_WINDOW_TYPE");
    m_splashType = atom("_NET_WM_WINDOW_TYPE_SPLASH");
}

WindowWatch::~WindowWatch()
{
    xcb_disconnect(m_connection);
}

xcb_atom_t WindowWatch::atom(const char *name) const
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool WindowWatch::isSplash(xcb_window_t window) const
{
    const xcb_get_property_cookie_t cookie
        = xcb_get_property(m_connection, 0, window, m_windowType, XCB_ATOM_ATOM, 0, 16);
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply)
        return false;
    const auto *types = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i) {
        if (types[i] == m_splashType)
            return true;
    }
    return false;
}

void WindowWatch::ping(xcb_window_t window)
{
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = m_protocols;
    message.data.data32[0] = m_ping;
    message.data.data32[1] = XCB_CURRENT_TIME;
    message.data.data32[2] = window;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
}

bool WindowWatch::isPingAnswer(const xcb_generic_event_t *event, xcb_window_t window) const
{
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event);
    return message->type == m_protocols && message->data.data32[0] == m_ping && message->data.data32[2] == window;
}

xcb_generic_event_t *WindowWatch::nextEvent(Clock::time_point deadline)
{
    while (true) {
        if (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            return event;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(m_connection))
            return nullptr;
        pollfd descriptor { xcb_get_file_descriptor(m_connection), POLLIN, 0 };
        poll(&descriptor, 1, int(left.count()));
    }
}

std::optional<WindowWatch::Shown> WindowWatch::waitForWindow(std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    xcb_window_t window = XCB_WINDOW_NONE;
    Shown shown;
    while (Reply<xcb_generic_event_t> event { nextEvent(deadline) }) {
        const auto type = event->response_type & 0x7f;
        if (window == XCB_WINDOW_NONE && type == XCB_MAP_NOTIFY) {
            const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event.get());
            if (map->event != m_root || map->override_redirect)
                continue;
            shown.mapped = Clock::now();
            if (isSplash(map->window))
                continue;
            window = map->window;
            ping(window);
        } else if (window != XCB_WINDOW_NONE && isPingAnswer(event.get(), window)) {
            shown.painted = Clock::now();
            return shown;
        }
    }
    return std::nullopt;
}

void WindowWatch::drain()
{
    xcb_flush(m_connection);
    while (Reply<xcb_generic_event_t> event { xcb_poll_for_event(m_connection) }) {
    }
}
