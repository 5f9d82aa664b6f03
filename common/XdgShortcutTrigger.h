#pragma once

#include "KeyMap.h"

#include <QString>

#include <optional>

// A stored key combination written as desktops exchange one (the shortcut triggers of the XDG
// desktop portal): the modifiers CTRL, ALT, SHIFT and LOGO, then one key named by its keysym on
// the keyboard's base layer, joined by "+" ("CTRL+ALT+k", "LOGO+space"). The stored map names key
// positions, so the key is named as a US layout prints it; the desktop places it on the user's.
namespace XdgShortcutTrigger {

// Nothing when the combination cannot be written so: no key besides modifiers (Ctrl+Alt alone),
// two such keys, or a key without a keysym here (fn, the Japanese keys).
std::optional<QString> fromKeyMap(const KeyMap &map);

} // namespace XdgShortcutTrigger
