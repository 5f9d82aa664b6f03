#pragma once

#include "KeyMap.h"

#include <QString>

#include <memory>
#include <mutex>

// The live state of the whole keyboard as a key map, readable while another program has the
// focus. sample() may be called from any thread and must not allocate: the keyboard thread
// calls it thirty times a second.
class KeyMapSource
{
public:
    virtual ~KeyMapSource() = default;
    virtual KeyMap sample() = 0;

    // The X11 source, or nothing and the reason (no X display, as in a Wayland-only session).
    struct Creation {
        std::unique_ptr<KeyMapSource> source;
        QString reason;
    };
    static Creation createX11();
};

// Maps X keycodes (evdev code + 8, as every current X server numbers them) to the virtual key
// code of the key in the same place on the keyboard; -1 for keys without one.
namespace X11KeyCodes {
int virtualKeyCode(int x11KeyCode);
// Fills the key map from the 32-byte bit vector of XQueryKeymap.
KeyMap keyMapFromX11Keymap(const char (&x11Keymap)[32]);
} // namespace X11KeyCodes

// A keyboard the tests press keys on.
class FakeKeyMapSource : public KeyMapSource
{
public:
    KeyMap sample() override
    {
        std::lock_guard lock(mMutex);
        return mMap;
    }
    void setMap(const KeyMap &map)
    {
        std::lock_guard lock(mMutex);
        mMap = map;
    }
    void press(int keyCode) { change(keyCode, true); }
    void release(int keyCode) { change(keyCode, false); }
    void releaseAll() { setMap({}); }

private:
    void change(int keyCode, bool down)
    {
        std::lock_guard lock(mMutex);
        mMap.setKeyDown(keyCode, down);
    }
    std::mutex mMutex;
    KeyMap mMap;
};
