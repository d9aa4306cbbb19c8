#include "KeyboardState.h"

#ifdef TAGSMITH_HAVE_X11
#include <QGuiApplication>

// After the Qt headers: Xlib defines macros (None, KeyPress, Bool) that clash with Qt names.
#include <X11/XKBlib.h>
#endif

namespace {

bool overwrite = false;

#ifdef TAGSMITH_HAVE_X11
bool indicatorOn(const char *indicatorName)
{
    if (!indicatorName)
        return false;
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    const Atom indicator = XInternAtom(display, indicatorName, True);
    Bool on = False;
    if (indicator == None || !XkbGetNamedIndicator(display, indicator, nullptr, &on, nullptr, nullptr))
        return false;
    return on;
}
#else
bool indicatorOn(const char *)
{
    return false;
}
#endif

const char *indicatorName(KeyboardState::LockKey key)
{
    switch (key) {
    case KeyboardState::CapsLock:
        return "Caps Lock";
    case KeyboardState::NumLock:
        return "Num Lock";
    case KeyboardState::ScrollLock:
        return "Scroll Lock";
    case KeyboardState::Insert:
        break;
    }
    return nullptr;
}

} // namespace

bool KeyboardState::isOn(LockKey key)
{
    return key == Insert ? overwrite : indicatorOn(indicatorName(key));
}

void KeyboardState::setOverwrite(bool on)
{
    overwrite = on;
}
