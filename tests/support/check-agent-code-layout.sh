#!/usr/bin/env bash
# Checks that the functions the order file names lie together in the program, as the build lays
# them out (cmake/KorvaleCodeLayout.cmake): spread among the others, the idle agent keeps its
# whole code resident. Fails too when most of the names are not in the program (a stale list).
# Usage: check-agent-code-layout.sh PROGRAM ORDER_FILE
set -euo pipefail
program=$1 order=$2

declare -A wanted
listed=0
while IFS= read -r name; do
    [ -n "$name" ] || continue
    wanted[$name]=1
    listed=$((listed + 1))
done <"$order"

declare -A seen
found=0 total=0 low=-1 high=0
while read -r address size type name; do
    [[ $type == [tTwW] ]] || continue
    [ -n "${wanted[$name]:-}" ] || continue
    start=$((16#$address)) length=$((16#$size))
    # A local function's name can be in several files: each copy is laid out with the others.
    [ -n "${seen[$name]:-}" ] || found=$((found + 1))
    seen[$name]=1
    total=$((total + length))
    if [ "$low" -lt 0 ] || [ "$start" -lt "$low" ]; then low=$start; fi
    if [ $((start + length)) -gt "$high" ]; then high=$((start + length)); fi
done < <(nm -S --defined-only "$program")

span=$((high - low))
echo "$found of $listed listed functions in the program, $total bytes spread over $span"
if [ $((found * 2)) -lt "$listed" ]; then
    echo "most listed functions are missing: write the list again (scripts/order-agent-code.sh)"
    exit 1
fi
# Together: the span is their size, give or take alignment and the odd function between them.
if [ $((span * 4)) -gt $((total * 5 + 4 * 65536)) ]; then
    echo "the listed functions are spread through the program: it was not linked in their order"
    exit 1
fi
