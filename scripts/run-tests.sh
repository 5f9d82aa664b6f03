#!/usr/bin/env bash
# Runs a build folder's tests in private sessions: the tests that take a display share three
# sessions (KORVALE_TEST_SESSIONS), one test in each at a time, while the others run beside them.
# Usage: scripts/run-tests.sh BUILD_DIR [CTEST_ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
exec scripts/with-session.sh --displays "${KORVALE_TEST_SESSIONS:-3}" bash -c \
    'ctest --resource-spec-file "$KORVALE_TEST_DISPLAYS_DIR/resources.json" "$@"' ctest \
    --test-dir "$dir" --output-on-failure --no-tests=error "$@"
