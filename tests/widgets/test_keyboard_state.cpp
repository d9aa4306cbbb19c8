// The lock keys as the X server holds them. Runs on a virtual X server of its own, whose
// lock states it may change freely.

#include "KeyboardState.h"

#include <QApplication>
#include <QTest>

// After the Qt headers: Xlib defines macros (None, KeyPress, Bool) that clash with Qt names.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

Display *serverDisplay()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// Locks or unlocks the modifier that the key's symbol stands for, as pressing it would.
bool lock(Display *display, KeySym symbol, bool on)
{
    const unsigned int mask = XkbKeysymToModifiers(display, symbol);
    if (mask == 0)
        return false;
    XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(display, False);
    return true;
}

} // namespace

class TestKeyboardState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(serverDisplay(), "needs an X server: run under xvfb-run"); }

    void lockKeysFollowTheServer_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<qulonglong>("symbol");
        QTest::newRow("caps lock") << int(KeyboardState::CapsLock) << qulonglong(XK_Caps_Lock);
        QTest::newRow("num lock") << int(KeyboardState::NumLock) << qulonglong(XK_Num_Lock);
    }
    void lockKeysFollowTheServer()
    {
        QFETCH(int, key);
        QFETCH(qulonglong, symbol);
        const auto lockKey = KeyboardState::LockKey(key);
        QVERIFY(lock(serverDisplay(), symbol, true));
        QVERIFY(KeyboardState::isOn(lockKey));
        QVERIFY(lock(serverDisplay(), symbol, false));
        QVERIFY(!KeyboardState::isOn(lockKey));
    }

    // Scroll Lock holds no modifier on this server, and Insert is the program's own toggle,
    // whatever the server's locks.
    void otherKeys()
    {
        QVERIFY(lock(serverDisplay(), XK_Caps_Lock, true));
        QVERIFY(!KeyboardState::isOn(KeyboardState::ScrollLock));
        QVERIFY(!KeyboardState::isOn(KeyboardState::Insert));
        KeyboardState::setOverwrite(true);
        QVERIFY(KeyboardState::isOn(KeyboardState::Insert));
        KeyboardState::setOverwrite(false);
        QVERIFY(lock(serverDisplay(), XK_Caps_Lock, false));
    }
};

int main(int argc, char *argv[])
{
    // The suite runs offscreen; this test is about the X server it was started with.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestKeyboardState test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_keyboard_state.moc"
