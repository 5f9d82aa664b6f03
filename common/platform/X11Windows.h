#pragma once

#include <QByteArray>
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

// A window the user may switch to, as a task bar lists it.
struct ClientWindow {
    unsigned long id = 0;
    QString title; // _NET_WM_NAME, else WM_NAME
    QString applicationClass; // WM_CLASS's class ("Firefox")
    qint64 pid = 0; // 0 when not told
    bool minimized = false;
};

// The managed windows of _NET_CLIENT_LIST, leaving out docks, the desktop and windows kept off
// the task bar. Empty without a display. Titles are read up to a limit (TitleLimit bytes).
QList<ClientWindow> clientWindows();
constexpr int TitleLimit = 4096;

// Brings `window` to the front as a pager asks: its desktop made current, restored when
// minimised, raised and focused by the window manager. False without a display or when it is
// not a managed window any more.
bool activateWindow(unsigned long window);

// Asks the window manager to close `window` as a pager does (_NET_CLOSE_WINDOW): the program may
// still ask to save first. False without a display or when it is not a managed window any more.
bool closeWindow(unsigned long window);

// The active window, 0 when none is.
unsigned long activeWindow();

// The _NET_WM_PID of the active window.
std::optional<qint64> activeWindowProcess();

// Where the keyboard is after `askToActivate`.
enum class KeyboardFocus {
    // On no window: no window manager hands the focus to X clients (weston's under a compositor
    // without a seat, or while a Wayland client has the keyboard). Weston's window manager
    // takes back a focus a client sets itself; only a keyboard grab brings the keys.
    Free,
    // On a window: the window manager hands it out and was asked.
    Managed,
    // The window is not mapped yet: ask again once it is shown.
    NotViewable,
    NoDisplay,
};

// Asks the window manager to activate `window`, one of this process's own top-level windows, as
// a pager asks (the user asked for it, through a key the desktop runs the request for, so focus
// stealing prevention lets it through). A startup identifier (an activation token the desktop
// handed over) is first reported complete, which lets the compositor give the focus to the
// window that used it. Says where the keyboard is.
KeyboardFocus askToActivate(unsigned long window, const QByteArray &startupId = {});

// The message that reports a startup identifier complete, as the startup-notification protocol
// writes it: "remove: ID=" and the identifier, quoted where it holds a blank, quote or backslash.
QByteArray startupCompleteMessage(const QByteArray &startupId);

// The X server's current time, for startup-notification identifiers; 0 without a display.
unsigned long serverTime();

} // namespace X11Windows
