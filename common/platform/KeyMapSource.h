#pragma once

#include "KeyMap.h"

#include <QString>

#include <chrono>
#include <memory>
#include <mutex>

// The live state of the whole keyboard as a key map, readable while another program has the
// focus. sample() may be called from any thread and must not allocate.
//
// A source that hears every change (X11 with XInput2) is waited on by the keyboard thread, and
// hands over each change with its own time; one that cannot is sampled by that thread thirty
// times a second, and a tap shorter than that may pass unseen.
class KeyMapSource
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    class ChangeReceiver
    {
    public:
        virtual void keyMapChanged(const KeyMap &map, TimePoint when) = 0;

    protected:
        ~ChangeReceiver() = default;
    };

    virtual ~KeyMapSource() = default;
    virtual KeyMap sample() = 0;

    virtual bool hearsChanges() const { return false; }
    // For a source that hears changes, from one thread: hands every change to `receiver`, in
    // order, once there is one, wake() is called, or `timeout` seconds have passed (no limit
    // when negative). The first call hands over the map as it is.
    virtual void waitForChanges(double timeout, ChangeReceiver &receiver)
    {
        (void)timeout;
        (void)receiver;
    }
    // Ends the current or the next waitForChanges(); from any thread.
    virtual void wake() { }

    enum class Feed {
        Automatic, // XInput2 raw key events, else sampling (and KORVALE_KEYMAP_SAMPLING=1)
        Sampling, // XQueryKeymap every round, as on a server without XInput2
    };

    // The X11 source, or nothing and the reason (no X display, as in a Wayland-only session).
    // `note` says why a source that could not hear changes is sampled instead.
    struct Creation {
        std::unique_ptr<KeyMapSource> source;
        QString reason;
        QString note;
    };
    static Creation createX11(Feed feed = Feed::Automatic);
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
