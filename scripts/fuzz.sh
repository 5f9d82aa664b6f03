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
    -DKORVALE_BENCH=OFF -DKORVALE_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
build_start=$SECONDS
cmake --build build-fuzz --target korvale_fuzzers --parallel "$(nproc)"
echo "fuzz build: $((SECONDS - build_start)) s"

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

# One target per core at a time: each run is single-threaded, so the machine's cores share them.
run_target() {
    local name=$1
    local binary=build-fuzz/fuzz/fuzz_$name
    # New inputs go to a working corpus; the seeds in the tree stay as committed.
    local work=build-fuzz/corpus/$name
    mkdir -p "$work"
    local seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    local log=build-fuzz/findings/$name.log
    if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$name-" "$work" "${seeds[@]}" >"$log" 2>&1; then
        local runs rate
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        echo "fuzz $name: ${runs:-?} runs, ${rate:-?} exec/s, no finding" >"$log.result"
    else
        echo "FAILED" >"$log.result"
    fi
}

runs_start=$SECONDS
jobs_at_once=$(nproc)
for name in "${targets[@]}"; do
    rm -f "build-fuzz/findings/$name.log.result"
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do
        wait -n || true
    done
    run_target "$name" &
done
wait

failed=()
for name in "${targets[@]}"; do
    log=build-fuzz/findings/$name.log
    if [ "$(cat "$log.result" 2>/dev/null)" = "FAILED" ] || [ ! -f "$log.result" ]; then
        echo "fuzz $name: FAILED (build-fuzz/findings/$name-*)"
        tail -n 60 "$log"
        failed+=("$name")
    else
        cat "$log.result"
    fi
done
echo "fuzz runs: $((SECONDS - runs_start)) s for ${#targets[@]} targets, $jobs_at_once at a time"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets with findings: ${failed[*]}"
    exit 1
fi
