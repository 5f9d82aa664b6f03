#pragma once

#include "KeyMapSource.h"

#include <QString>

#include <memory>

class X11Connection;

// Within the platform layer: the key map kept from XInput2 raw key events, which the X server
// sends to any client that asks, for every press and release, with its time and without a grab.
namespace X11RawKeys {

// Takes the connection over on success. Otherwise returns nothing and says why in `whyNot` (the
// server has no XInput 2.1 or later), and the connection stays the caller's.
std::unique_ptr<KeyMapSource> create(X11Connection &connection, QString *whyNot);

} // namespace X11RawKeys
