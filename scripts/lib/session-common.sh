# What the private session scripts (with-session.sh, with-wayland-session.sh,
# with-sway-session.sh) set up alike; sourced, never run.

# Runs the calling script again on a session bus of its own, once: MARKER names the variable that
# says it already runs there.
# Usage: session_on_private_bus MARKER "$0" "$@"
session_on_private_bus() {
    local marker=$1
    shift
    if [ -z "${!marker:-}" ]; then
        export "$marker"=1
        exec dbus-run-session -- "$@"
    fi
}

# A temporary folder for the session (session_home), a home in it and the XDG folders, the
# runtime folder private to the user as the XDG base directory rules ask; all removed by
# session_cleanup.
# Usage: session_make_home NAME (the folder is /tmp/korvale-NAME.XXXXXX)
session_make_home() {
    session_home=$(mktemp -d "/tmp/korvale-$1.XXXXXX")
    export HOME="$session_home/home"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
    export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$session_home/run"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
}

# Stops the processes listed in session_pids, then removes the session's folder.
session_pids=()
session_cleanup() {
    local pid
    for pid in "${session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$session_home"
}
