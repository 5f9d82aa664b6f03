#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each one for a fixed time. Fails on any crash, leak, undefined behaviour or time-out, and keeps
# the input that caused it in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (targets by name: archive, ...)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true

scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKORVALE_FUZZ=ON -DKORVALE_TESTS=OFF \
    -DKORVALE_BENCH=OFF -DKORVALE_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target korvale_fuzzers --parallel "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for binary in build-fuzz/fuzz/fuzz_*; do
        [ -f "$binary" ] && [ -x "$binary" ] && targets+=("${binary##*/fuzz_}")
    done
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
mkdir -p build-fuzz/findings
failed=()
for name in "${targets[@]}"; do
    binary=build-fuzz/fuzz/fuzz_$name
    # New inputs go to a working corpus; the seeds in the tree stay as committed.
    work=build-fuzz/corpus/$name
    mkdir -p "$work"
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    log=build-fuzz/findings/$name.log
    if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$name-" "$work" "${seeds[@]}" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        echo "fuzz $name: ${runs:-?} runs, ${rate:-?} exec/s, no finding"
    else
        echo "fuzz $name: FAILED (build-fuzz/findings/$name-*)"
        tail -n 60 "$log"
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets with findings: ${failed[*]}"
    exit 1
fi
