#pragma once

#include <QList>
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

// Minimises (iconifies, as ICCCM asks) every managed window whose _NET_WM_PID is not one of
// `keptPids`, leaving alone docks, the desktop, windows kept off the task bar (nothing could
// bring them back) and those already minimised. The number minimised; -1 without a display.
int minimizeWindowsExcept(const QList<qint64> &keptPids);

// The _NET_WM_PID of the active window.
std::optional<qint64> activeWindowProcess();

// The X server's current time, for startup-notification identifiers; 0 without a display.
unsigned long serverTime();

} // namespace X11Windows
