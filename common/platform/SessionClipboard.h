#pragma once

#include <QString>

#include <functional>

class QObject;
class QMimeData;
class WaylandDataControl;

// The desktop session's clipboard. In a Wayland session whose compositor offers data control
// (wlroots desktops, KDE Plasma, Hyprland), it is read and set through the agent's own Wayland
// connection: the suite's windows are XWayland's, and XWayland shares the clipboard with X11
// programs only while one of them has the focus. Elsewhere (X11, GNOME) it is Qt's.
// Main thread only.
class SessionClipboard
{
public:
    SessionClipboard() = delete;

    // The clipboard's contents now, read from its owner as each type is asked for; valid until
    // the next call. Null when there is no clipboard to read (no GUI, no data control).
    static const QMimeData *mimeData();
    // Puts `data` on the clipboard, taking it; false (and `data` deleted) when there is no
    // clipboard to set.
    static bool setMimeData(QMimeData *data);
    // What this process set is still the clipboard.
    static bool ownsClipboard();
    // Calls `lost` (in `context`'s thread) once another program has taken the clipboard from
    // this process.
    static void whenTaken(QObject *context, const std::function<void()> &lost);

    // The data control in use, null when the clipboard is Qt's.
    static WaylandDataControl *dataControl();
    // How the clipboard is reached, for the log and the manager: the protocol's name, or "Qt".
    static QString routeName();

    // Whether the clipboard is current only while one of the suite's windows (or another X11
    // program's) has the focus: in a Wayland session whose compositor offers no data control
    // (GNOME), or does not answer. `offers` tells whether the compositor offers a global
    // interface by name; empty when no compositor answered.
    static bool currentOnlyWithFocus(bool waylandSession,
                                     const std::function<bool(const char *interfaceName)> &offers);
    // The same, the compositor asked on the session's Wayland connection (opened then).
    static bool currentOnlyWithFocus(bool waylandSession);
};
