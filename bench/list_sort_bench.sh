#!/usr/bin/env bash
# Sorts 100,000 rows of the wallpaper list by each column natively (optimised build), beside
# `sort -f` of the same names.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
export BENCH_RUNS=${BENCH_RUNS:-5}

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target list_sort_tool >/dev/null
work=build/bench/sort
mkdir -p "$work"
out=$(build/bench/bin/list_sort_tool "$work/names.txt" 100000 "$BENCH_RUNS")
echo "$out"
sortms=$(bench_best_ms sort -f "$work/names.txt")
name=$(echo "$out" | awk '/^filename/ {print $2}')
folder=$(echo "$out" | awk '/^folder/ {print $2}')
awk -v n="$name" -v f="$folder" -v s="$sortms" 'BEGIN {
    printf "100,000 rows (best of runs; target under 150 ms):\n"
    printf "  by Filename:          %7.1f ms\n", n
    printf "  by Folder:            %7.1f ms\n", f
    printf "  sort -f of the names: %7.1f ms\n", s
}'
