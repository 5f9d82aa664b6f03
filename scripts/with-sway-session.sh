#!/usr/bin/env bash
# Runs a command inside a private wlroots session: its own home folder, its own D-Bus session bus,
# sway's headless back end as the compositor (a wlroots desktop: data-control, foreign toplevels,
# xdg-activation) and XWayland beside it. The command sees WAYLAND_DISPLAY (the socket's path),
# DISPLAY and XDG_SESSION_TYPE=wayland, as under a wlroots desktop. Everything is stopped when the
# command ends. Sway refuses to run as root: under root it runs as "nobody".
# Usage: scripts/with-sway-session.sh COMMAND [ARGS...]
set -euo pipefail

. "$(dirname "${BASH_SOURCE[0]}")/lib/session-common.sh"
session_on_private_bus KORVALE_IN_SWAY_SESSION "$0" "$@"

if ! command -v sway >/dev/null 2>&1 || ! command -v Xwayland >/dev/null 2>&1; then
    echo "with-sway-session: sway and Xwayland are needed (scripts/install-deps.sh)" >&2
    exit 1
fi

session_make_home sway
# The compositor may run as another user: it reaches its own folder inside.
chmod 755 "$session_home"
# The compositor's own folders: its user may differ from the command's.
sway_home="$session_home/sway"
sway_run="$sway_home/run"
mkdir -p "$sway_run"
chmod 700 "$sway_run"
ready="$sway_home/display"
cat >"$sway_home/config" <<CONFIG
# XWayland at once rather than at the first X client, so that DISPLAY is known.
xwayland force
# A window asking for the focus gets it, as on the desktops the suite is tried on (sway's own
# default only marks it urgent).
focus_on_window_activation focus
exec sh -c 'xhost +si:localuser:root >/dev/null 2>&1; echo "\$DISPLAY" > "$ready"'
CONFIG

as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$sway_home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

trap session_cleanup EXIT

unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
export XDG_SESSION_TYPE=wayland
log="$session_home/sway.log"
"${as_user[@]}" env HOME="$sway_home" XDG_RUNTIME_DIR="$sway_run" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 \
    sway -c "$sway_home/config" >"$log" 2>&1 &
pid=$!
session_pids+=("$pid")

display=""
for _ in $(seq 300); do
    display=$(cat "$ready" 2>/dev/null || true)
    [ -n "$display" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
done
socket=$(find "$sway_run" -maxdepth 1 -name 'wayland-*' -type s | head -n 1)
if [ -z "$display" ] || [ -z "$socket" ]; then
    echo "with-sway-session: sway did not start" >&2
    cat "$log" >&2
    exit 1
fi
export WAYLAND_DISPLAY="$socket" DISPLAY="$display"
export SWAYSOCK
SWAYSOCK=$(find "$sway_run" -maxdepth 1 -name 'sway-ipc.*' -type s | head -n 1)

"$@"
