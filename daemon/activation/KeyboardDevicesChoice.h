#pragma once

#include "platform/KeyMapSource.h"

#include <functional>
#include <memory>
#include <optional>

// The user's choice, in a Wayland session, to let the agent read the keyboards' input devices
// ("ReadKeyboardDevices"): there the display server passes on only the keys of its own windows,
// so the double tap is heard only this way. Reading the devices shows every key of every
// program, so it is never taken without the choice; without the rights to read them, the agent
// says so once and goes on as before.
class KeyboardDevicesChoice
{
public:
    using Factory = std::function<KeyMapSource::Creation()>;

    // `devices` makes the source that reads the devices, `display` the display server's one, to
    // go back to when the choice is taken back.
    KeyboardDevicesChoice(Factory devices, Factory display);

    // The one for this session: the devices of /dev/input and the X11 source.
    static std::unique_ptr<KeyboardDevicesChoice> forThisSession();

    // After each reading of the settings. When the key source must change: the new one (which
    // may be none: no display to go back to). Nothing when it stays as it is.
    std::optional<std::unique_ptr<KeyMapSource>> apply(bool chosen);
    bool readsDevices() const { return mReading; }

private:
    Factory mDevices;
    Factory mDisplay;
    bool mChosen = false;
    bool mReading = false;
};
