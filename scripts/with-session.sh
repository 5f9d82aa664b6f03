#!/usr/bin/env bash
# Runs a command inside a private desktop session: its own home folder, its own D-Bus session bus,
# an Xvfb display and the openbox window manager. Everything is stopped when the command ends.
# Usage: scripts/with-session.sh COMMAND [ARGS...]
set -euo pipefail

. "$(dirname "${BASH_SOURCE[0]}")/lib/session-common.sh"
session_on_private_bus KORVALE_IN_SESSION "$0" "$@"

session_make_home session

trap session_cleanup EXIT

# -displayfd lets Xvfb pick a free display number and tell us which. Two sessions starting at
# once can race for the same number and one server then gives up: start another. A loaded
# machine can take seconds to start a server, so each try waits up to 30 s.
display=""
for attempt in 1 2 3; do
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 1920x1080x24 -nolisten tcp >"$session_home/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 300); do
        if read -r -t 0.1 -u "$fd" display && [ -n "$display" ]; then break; fi
        kill -0 "$xvfb" 2>/dev/null || break
    done
    exec {fd}>&-
    if [ -n "$display" ]; then
        session_pids+=("$xvfb")
        break
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
done
if [ -z "$display" ]; then
    echo "with-session: Xvfb did not start" >&2
    cat "$session_home/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display"
unset WAYLAND_DISPLAY

openbox --sm-disable >"$session_home/openbox.log" 2>&1 &
session_pids+=($!)
# Without its window manager nothing in the session becomes the active window.
managed=""
for _ in $(seq 300); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        managed=1
        break
    fi
    sleep 0.1
done
if [ -z "$managed" ]; then
    echo "with-session: openbox did not start" >&2
    cat "$session_home/openbox.log" >&2
    exit 1
fi

"$@"
