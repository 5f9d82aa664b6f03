#pragma once

#include "platform/KeyMapSource.h"
#include "platform/PointerSource.h"

#include <memory>

// The keyboard and pointer sources the agent watches. Without an X display (a Wayland-only
// session) both are missing: the agent says so once on standard error and runs on without the
// gestures. Where the keyboard can only be sampled (no XInput2), it says that once too.
struct ActivationPlatform {
    std::unique_ptr<KeyMapSource> keys;
    std::unique_ptr<PointerSource> pointer;

    static ActivationPlatform create();
};
