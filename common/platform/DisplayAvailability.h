#pragma once

#include <QString>

#include <optional>

// Whether a program with windows can start here, asked before Qt's platform plugin aborts the
// process with a message a user cannot act on.
namespace DisplayAvailability {

// Why no window can be shown (no X display named, or it does not answer), or nothing when one
// can; the offscreen and minimal platforms always can.
std::optional<QString> problem();

// A Wayland session, where no program may watch the whole keyboard or the pointer (Xwayland
// passes on only what its own windows receive).
bool isWaylandSession();

} // namespace DisplayAvailability
