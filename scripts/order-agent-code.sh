#!/usr/bin/env bash
# Writes daemon/agent-start.order: the functions of korvale-daemon that run from its launch until
# it idles (a fresh home, the first timer ticks), then those that run when the access window
# first opens and a word is typed, as callgrind sees them. The build links them first, in that
# order, so that the idle agent keeps few pages of its code and the first opening reads few
# (docs/agent.md, "Code laid out for the start"). Run it after a build when start-up code has
# changed much; a function missing from the list is only placed with the rest.
# Usage: scripts/order-agent-code.sh [BUILD_DIR]   (default: build-test)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build-test}" && pwd)
for tool in valgrind callgrind_control xdotool gdbus; do
    command -v "$tool" >/dev/null || { echo "order-agent-code: $tool is needed" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/run.sh" <<'RUN'
#!/usr/bin/env bash
set -euo pipefail
work=$1 daemon=$2
home=$work/home
mkdir -p "$home"
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
    valgrind --tool=callgrind --demangle=no --compress-strings=no \
    --callgrind-out-file="$work/callgrind.out" "$daemon" >"$work/agent.log" 2>&1 &
agent=$!
ask() { # ask OBJECT METHOD: a method of the agent on the bus
    gdbus call --session --dest org.korvale.Daemon --object-path "/org/korvale/$1" \
        --method "org.korvale.$1.$2" 2>/dev/null
}
# Idle once its timer has ticked, as bench_daemon_startup asks.
for _ in $(seq 600); do
    ask Instance Status | grep -q timerCounter && break
    sleep 0.2
done
sleep 10 # idle ticks, the quiet pace, the first scans
callgrind_control --dump=idle "$agent" >/dev/null
ask AccessWindow Open >/dev/null
for _ in $(seq 300); do
    ask AccessWindow State | grep -q "'visible': <true>" && break
    sleep 0.2
done
xdotool type --delay 300 "do"
sleep 5
ask AccessWindow Close >/dev/null
sleep 2
kill -INT "$agent"
wait "$agent" || true
RUN
chmod +x "$work/run.sh"
scripts/with-session.sh "$work/run.sh" "$work" "$build/bin/korvale-daemon"

# The agent's functions in one dump: "ob=" names the object of the "fn=" lines after it, and
# callgrind marks recursion with 'N.
functions() {
    awk '/^ob=/ { inAgent = ($0 ~ /korvale-daemon$/) } /^fn=/ && inAgent { print substr($0, 4) }' \
        "$1" | sed "s/'[0-9]*\$//" | grep -v -e '^(' -e '^0x' | LC_ALL=C sort -u
}
dumps=("$work"/callgrind.out.*)
functions "${dumps[0]}" >"$work/idle"
functions "$work/callgrind.out" | LC_ALL=C comm -13 "$work/idle" - >"$work/opening"
# The C runtime's start-up code runs before callgrind names anything: the entry point, and
# crtbegin's functions beside it. Left where their objects put them, among the functions nothing
# runs, the first page touched kept a window of those resident.
printf '%s\n' _start frame_dummy register_tm_clones >"$work/runtime"
cat "$work/runtime" "$work/idle" "$work/opening" >"$root/daemon/agent-start.order"
echo "order-agent-code: $(wc -l <"$work/idle") functions of the idle agent and" \
    "$(wc -l <"$work/opening") more of the first opening in daemon/agent-start.order"
