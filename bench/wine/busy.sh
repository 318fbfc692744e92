#!/usr/bin/env bash
# The longest time the real program's window thread was kept busy (as another program asking it
# for its title sees it) during 20 switches of a 6000 x 4000 JPEG under Wine: forward and random,
# prepared ahead and not, against the 50 ms a window may take before it feels stuck.
set -euo pipefail
cd "$(dirname "$0")/../.."
switches=${1:-20}

source bench/lib.sh
bench_prepare_wine busy_bench Velumar
mkdir -p "$WINEPREFIX/drive_c/velumar-busy"
cp "$work/photo.jpg" "$WINEPREFIX/drive_c/velumar-busy/photo.jpg"

echo "Window thread busy during $switches switches (limit 50 ms):"
wine build/bench-windows/bin/busy_bench.exe 'C:\velumar-busy\photo.jpg' 'C:\velumar-busy' \
    "$switches"
