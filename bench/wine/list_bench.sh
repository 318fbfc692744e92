#!/usr/bin/env bash
# Builds the Windows benchmarks, makes a tree of 100,000 files in 1,000 folders inside a private
# Wine prefix, and times the program's list load/show/save and the folder scan under Wine beside
# `find` over the same tree run natively.
set -euo pipefail
cd "$(dirname "$0")/../.."

source bench/lib.sh
bench_start_wine list_bench Velumar

root="$WINEPREFIX/drive_c/velumar-bench"
if [ ! -f "$root/.ready" ]; then
    rm -rf "$root"
    mkdir -p "$root/tree"
    (cd "$root/tree" && for d in $(seq -w 0 999); do
        mkdir "folder $d"
        (cd "folder $d" && touch $(seq -f "image%03g.jpg" 0 99))
    done)
    touch "$root/.ready"
fi

out=$(wine build/bench-windows/bin/list_bench.exe 'C:\velumar-bench\tree' 'C:\velumar-bench\big.vlt')
echo "$out"
scan=$(echo "$out" | awk -F': *' '/^folder scan/ {print $2+0}')

start=$(date +%s%N)
count=$(find "$root/tree" -type f | wc -l)
end=$(date +%s%N)
awk -v n="$count" -v s="$start" -v e="$end" -v scan="$scan" 'BEGIN {
    f = (e - s) / 1e9
    printf "find over the same tree (native): %d files in %.3f s\n", n, f
    printf "scan under Wine / find natively:  %.1f\n", scan / f
}'
