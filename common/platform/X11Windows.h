#pragma once

#include <QString>

#include <optional>

// The EWMH side of the workspace: top-level windows of the X display and the active one. Each
// call opens its own connection, so any thread may call them; without a display they fail.
namespace X11Windows {

// Whether a display is reachable and its window manager handles _NET_ACTIVE_WINDOW.
bool canActivateWindows(QString *reason = nullptr);

// Asks the window manager to activate the topmost managed window whose _NET_WM_PID is `pid`.
// False when the process has no managed window.
bool activateWindowOfProcess(qint64 pid);

// The _NET_WM_PID of the active window.
std::optional<qint64> activeWindowProcess();

// The X server's current time, for startup-notification identifiers; 0 without a display.
unsigned long serverTime();

} // namespace X11Windows
