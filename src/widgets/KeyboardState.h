#pragma once

// The lock keys that status panels report. Their states come from the X server when the
// program runs on one; elsewhere (offscreen, Wayland without X) they read as off. X keeps
// no insert/overwrite toggle, so Insert reads the program's own, which the text fields
// switch with the Insert key.
class KeyboardState
{
public:
    enum LockKey { CapsLock, NumLock, Insert, ScrollLock };

    static bool isOn(LockKey key);
    static void setOverwrite(bool on);
};
