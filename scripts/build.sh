#!/usr/bin/env bash
# Configures and builds into the given folder; extra arguments go to CMake.
# Usage: scripts/build.sh BUILD_DIR [CMAKE_ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
