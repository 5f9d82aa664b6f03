#!/usr/bin/env bash
# Installs what is missing, builds the suite and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DKORVALE_TESTS=OFF -DKORVALE_BENCH=OFF

echo "Built programs (in build/bin):"
for program in build/bin/*; do
    [ -x "$program" ] && echo "  $(basename "$program")"
done
if [ -x build/bin/korvale-daemon ]; then
    echo "Starting korvale-daemon"
    nohup build/bin/korvale-daemon >/dev/null 2>&1 &
fi
