#pragma once

// The lock keys that status panels report. Their states come from the X server when the
// program runs on one; elsewhere (offscreen, Wayland without X) they read as off.
class KeyboardState
{
public:
    enum LockKey { CapsLock, NumLock, Insert, ScrollLock };

    static bool isOn(LockKey key);
};
