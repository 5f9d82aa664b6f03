#!/usr/bin/env bash
# Runs a command inside a private desktop session: its own home folder, its own D-Bus session bus,
# an Xvfb display and the openbox window manager. Everything is stopped when the command ends.
# With --displays N it starts N such sessions; the command runs in the first, and each one's
# variables are written to $KORVALE_TEST_DISPLAYS_DIR/ID.env beside a CTest resource file
# (resources.json) that hands them to the tests that take a display, one test each.
# Usage: scripts/with-session.sh [--displays N] COMMAND [ARGS...]
set -euo pipefail

. "$(dirname "${BASH_SOURCE[0]}")/lib/session-common.sh"
session_on_private_bus KORVALE_IN_SESSION "$0" "$@"

displays=1
if [ "${1:-}" = "--displays" ]; then
    displays=$2
    shift 2
fi

session_make_home session
trap session_cleanup EXIT

# Starts an Xvfb display and openbox on it, and exports DISPLAY. -displayfd lets Xvfb pick a
# free display number and tell us which. Two sessions starting at once can race for the same
# number and one server then gives up: start another. A loaded machine can take seconds to start
# a server, so each try waits up to 30 s.
# Usage: start_display LOG_PREFIX
start_display() {
    local log=$1 display="" attempt fd xvfb
    for attempt in 1 2 3; do
        exec {fd}<> <(:)
        Xvfb -displayfd "$fd" -screen 0 1920x1080x24 -nolisten tcp >"$log-xvfb.log" 2>&1 &
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
        cat "$log-xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$display"
    unset WAYLAND_DISPLAY

    openbox --sm-disable >"$log-openbox.log" 2>&1 &
    session_pids+=($!)
    # Without its window manager nothing in the session becomes the active window.
    for _ in $(seq 300); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    echo "with-session: openbox did not start" >&2
    cat "$log-openbox.log" >&2
    exit 1
}

# What a test handed session ID sets before it starts (tests/support/TestMain.cpp).
write_session_variables() {
    local name
    for name in DISPLAY DBUS_SESSION_BUS_ADDRESS HOME XDG_CONFIG_HOME XDG_DATA_HOME \
        XDG_CACHE_HOME XDG_RUNTIME_DIR; do
        printf '%s=%s\n' "$name" "${!name}"
    done >"$KORVALE_TEST_DISPLAYS_DIR/$1.env"
}

start_display "$session_home/session"

export KORVALE_TEST_DISPLAYS_DIR="$session_home/displays"
mkdir -p "$KORVALE_TEST_DISPLAYS_DIR"
write_session_variables 0
ids='{"id": "0", "slots": 1}'
for ((id = 1; id < displays; ++id)); do
    # Each further session in a subshell, so the first one's variables stay as they are; its
    # processes are stopped with the first's (their ids are written down).
    (
        session_home_extra="$session_home/extra$id"
        export HOME="$session_home_extra/home"
        export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
        export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$session_home_extra/run"
        mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
        chmod 700 "$XDG_RUNTIME_DIR"
        # Started without a display, as dbus-run-session started the first one's.
        bus=$(env -u DISPLAY dbus-daemon --session --fork --print-address 1 --print-pid 1)
        export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
        echo "${bus##*$'\n'}" >"$session_home_extra.pids"
        session_pids=()
        start_display "$session_home_extra"
        printf '%s\n' "${session_pids[@]}" >>"$session_home_extra.pids"
        write_session_variables "$id"
    )
    mapfile -t -O ${#session_pids[@]} session_pids <"$session_home/extra$id.pids"
    ids+=", {\"id\": \"$id\", \"slots\": 1}"
done
printf '{"version": {"major": 1, "minor": 0}, "local": [{"displays": [%s]}]}\n' "$ids" \
    >"$KORVALE_TEST_DISPLAYS_DIR/resources.json"

"$@"
