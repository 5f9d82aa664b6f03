#!/usr/bin/env bash
# Installs what is missing, builds the suite and starts the agent, saying plainly when it cannot.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DKORVALE_TESTS=OFF -DKORVALE_BENCH=OFF

echo "Built programs (in build/bin):"
for program in build/bin/*; do
    # The installer runs only from its own folder, which carries its script and the suite.
    [ "$(basename "$program")" = qor-installer ] && continue
    [ -x "$program" ] && echo "  $(basename "$program")"
done
echo "To install the suite for yourself, build the installer folder and run it from there:"
echo "  cmake --build build --target korvale_installer_folder && build/qor-installer/qor-installer"
scripts/install-desktop-entries.sh build

wayland=""
if [ "${XDG_SESSION_TYPE:-}" = wayland ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    wayland=1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "$wayland" ]; then
    echo "korvale-daemon not started: there is no X display here (DISPLAY is not set)."
    echo "Run build/bin/korvale-daemon from a terminal of your desktop session, or add it to its autostart."
    exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "Note: this Wayland session has no XWayland (DISPLAY is not set). The suite's windows run"
    echo "on XWayland, where the access window can be placed and given the keyboard; without it they"
    echo "need Qt's Wayland plugin (qt6-wayland) and open wherever the desktop puts them."
fi

# What opens the access window in this session (docs/platform.md has the whole table).
what_works() {
    if [ -z "$wayland" ]; then
        echo "Double-tap the Super key to open it (X11 session: every gesture works)."
        return
    fi
    echo "This is a Wayland session: the suite's windows run on XWayland."
    if gdbus introspect --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop 2>/dev/null |
        grep -q 'org.freedesktop.portal.GlobalShortcuts'; then
        echo "- The desktop offers global shortcuts: the agent binds its toggle, the menu-bar menu, your"
        echo "  key combination and your item shortcuts there (your desktop may ask you to confirm them)."
    else
        echo "- The desktop offers no global shortcuts: bind a key in its keyboard settings to"
        echo "    gdbus call --session --dest org.korvale.Daemon --object-path /org/korvale/AccessWindow --method org.korvale.AccessWindow.Toggle"
    fi
    echo "- The double tap of a modifier reads /dev/input, only if you choose it in the manager's"
    echo "  shortcut section, which says what that means and how to allow it."
    echo "- The screen corners need an X11 session."
    echo "- The agent tells the desktop portal it is org.korvale.Daemon, the desktop entry installed"
    echo "  above; a portal that cannot tell it refuses the shortcuts (the manager says so)."
    # What the desktop's compositor offers a background program, by the desktop's name.
    case "${XDG_CURRENT_DESKTOP:-}" in
    *GNOME*)
        echo "- GNOME: no clipboard data control for any program: the agent's clipboard is"
        echo "  XWayland's, current while one of the suite's windows (or another X11 window) has the"
        echo "  focus. What you open gets the desktop's activation token. Only X11 windows are listed."
        ;;
    *KDE*)
        echo "- KDE Plasma: the clipboard is read and set through the compositor's data control; what"
        echo "  you open gets an activation token. Open windows: X11 ones (native ones through"
        echo "  Plasma's window runner, once its search providers are read)."
        ;;
    *Hyprland* | *sway* | *wlroots* | *river* | *Wayfire* | *labwc*)
        echo "- ${XDG_CURRENT_DESKTOP} (wlroots family): the clipboard is read and set through the"
        echo "  compositor's data control; what you open gets an activation token (sway focuses it"
        echo "  with 'focus_on_window_activation focus'). Open windows: X11 and native ones."
        ;;
    *)
        echo "- The clipboard goes through the compositor's data control where it offers one (the"
        echo "  agent's log says which), else it is XWayland's, current while an X11 window has the focus."
        ;;
    esac
}
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ ! -S "${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/bus" ]; then
    echo "Note: no D-Bus session bus here; the agent will run without the manager's notifications"
    echo "and without the bus command that opens its window."
fi

log=${XDG_RUNTIME_DIR:-/tmp}/korvale-daemon.log
echo "Starting korvale-daemon (its messages go to $log)"
# Appended: a running agent may still be writing to it.
seen=0
[ -f "$log" ] && seen=$(wc -l <"$log")
nohup build/bin/korvale-daemon >>"$log" 2>&1 &
pid=$!
# The agent owns its bus name once it runs; a second start hands over to the running one and ends.
owner() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetConnectionUnixProcessID org.korvale.Daemon 2>/dev/null |
        sed -n 's/^(uint32 \([0-9]*\),)$/\1/p'
}
for _ in $(seq 50); do
    if ! kill -0 "$pid" 2>/dev/null; then
        if wait "$pid"; then
            echo "korvale-daemon was already running (process $(owner)); it was asked to reread its settings."
            exit 0
        fi
        echo "korvale-daemon could not start:"
        tail -n "+$((seen + 1))" "$log" | sed 's/^/  /'
        exit 1
    fi
    if command -v gdbus >/dev/null 2>&1 && [ "$(owner)" = "$pid" ]; then
        echo "korvale-daemon is running (process $pid)."
        what_works
        exit 0
    fi
    sleep 0.1
done
echo "korvale-daemon is running (process $pid)."
what_works
