#!/usr/bin/env bash
# Builds the suite in Release and makes the Debian package with CPack (docs/installer.md).
# Usage: scripts/build-deb.sh [BUILD_DIR]   → BUILD_DIR/packages/korvale_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}
scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALE_TESTS=OFF -DKORVALE_BENCH=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" --target korvale-daemon korvale-manager korvale-browser korvale-search \
    korvale-data --parallel "$(nproc)"
(cd "$build" && cpack -G DEB)
ls "$build"/packages/korvale_*.deb
