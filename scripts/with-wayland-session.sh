#!/usr/bin/env bash
# Runs a command inside a private Wayland session: its own home folder, its own D-Bus session bus,
# weston's headless back end as the compositor and XWayland beside it (weston starts the X server
# on the first X client). The command sees WAYLAND_DISPLAY, DISPLAY and XDG_SESSION_TYPE=wayland,
# as under a Wayland desktop. Everything is stopped when the command ends.
# Usage: scripts/with-wayland-session.sh COMMAND [ARGS...]
set -euo pipefail

. "$(dirname "${BASH_SOURCE[0]}")/lib/session-common.sh"
session_on_private_bus KORVALE_IN_WAYLAND_SESSION "$0" "$@"

if ! command -v weston >/dev/null 2>&1 || ! command -v Xwayland >/dev/null 2>&1; then
    echo "with-wayland-session: weston and Xwayland are needed (scripts/install-deps.sh)" >&2
    exit 1
fi

session_make_home wayland

trap session_cleanup EXIT

unset DISPLAY WAYLAND_DISPLAY
export XDG_SESSION_TYPE=wayland
socket=wayland-korvale
log="$session_home/weston.log"
# No idle time-out: a session that locks itself after five minutes would swallow the keys.
weston --backend=headless-backend.so --use-pixman --width=1920 --height=1080 --xwayland \
    --socket="$socket" --idle-time=0 --log="$log" >/dev/null 2>&1 &
pid=$!
session_pids+=("$pid")

# Weston writes the X display it listens on into its log once XWayland is ready to be started.
display=""
for _ in $(seq 300); do
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log" 2>/dev/null || true)
    [ -n "$display" ] && [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
done
if [ -z "$display" ]; then
    echo "with-wayland-session: weston did not start" >&2
    cat "$log" >&2
    exit 1
fi
export WAYLAND_DISPLAY="$socket" DISPLAY="$display"

# The first X client starts XWayland; wait for it here so that no test pays for it.
ready=""
for _ in $(seq 300); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        ready=1
        break
    fi
    sleep 0.1
done
if [ -z "$ready" ]; then
    echo "with-wayland-session: XWayland did not start" >&2
    cat "$log" >&2
    exit 1
fi

"$@"
