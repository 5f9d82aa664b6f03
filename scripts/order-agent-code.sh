#!/usr/bin/env bash
# Writes daemon/agent-start.order: the functions of korvale-daemon that run from its launch until
# it idles (a fresh home, the first timer ticks), as callgrind sees them. The build links them
# first, together, so that the idle agent keeps few pages of its code (docs/agent.md, "Code
# laid out for the start"). Run it after a build when start-up code has changed much; a function
# missing from the list is only placed with the rest.
# Usage: scripts/order-agent-code.sh [BUILD_DIR]   (default: build-test)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build-test}" && pwd)
command -v valgrind >/dev/null || { echo "order-agent-code: valgrind is needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/run.sh" <<'EOF'
#!/usr/bin/env bash
set -euo pipefail
work=$1 daemon=$2
home=$work/home
mkdir -p "$home"
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
    valgrind --tool=callgrind --demangle=no --compress-strings=no \
    --callgrind-out-file="$work/callgrind.out" "$daemon" >"$work/agent.log" 2>&1 &
agent=$!
# Idle once its timer has ticked: asked on the bus, as bench_daemon_startup does.
for _ in $(seq 600); do
    if gdbus call --session --dest org.korvale.Daemon --object-path /org/korvale/Instance \
        --method org.korvale.Instance.Status 2>/dev/null | grep -q timerCounter; then
        break
    fi
    sleep 0.2
done
sleep 10 # idle ticks, the quiet pace, the first scans
kill -INT "$agent"
wait "$agent" || true
EOF
chmod +x "$work/run.sh"
scripts/with-session.sh "$work/run.sh" "$work" "$build/bin/korvale-daemon"

# "ob=" names the object of the "fn=" lines after it; callgrind marks recursion with 'N.
awk '/^ob=/ { inAgent = ($0 ~ /korvale-daemon$/) } /^fn=/ && inAgent { print substr($0, 4) }' \
    "$work/callgrind.out" | sed "s/'[0-9]*\$//" | grep -v -e '^(' -e '^0x' | LC_ALL=C sort -u \
    >"$root/daemon/agent-start.order"
echo "order-agent-code: $(wc -l <"$root/daemon/agent-start.order") functions in daemon/agent-start.order"
