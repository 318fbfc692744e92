#!/usr/bin/env bash
# Times, under Wine, how long the real program's open dialog takes to show the thumbnail of a
# 6000 x 4000 JPEG after it is selected (while its window keeps answering), beside WIC's decode
# of the same file alone and the image library's thumbnail of it, both measured in the same run,
# and native `vips thumbnail` of the same file to the same box. Under Wine, making a WIC decoder
# decodes the whole JPEG, so a thumbnail can cost no less than one decode.
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/lib.sh
export BENCH_RUNS=${BENCH_RUNS:-3}

bench_prepare_wine thumbnail_bench Velumar

photos="$WINEPREFIX/drive_c/velumar-thumbnail"
mkdir -p "$photos"
cp "$work/photo.jpg" "$photos/photo.jpg"
out=$(wine build/bench-windows/bin/thumbnail_bench.exe 'C:\velumar-thumbnail' "$BENCH_RUNS")
echo "$out"
shown=$(echo "$out" | awk '{print $3}')
wait=$(echo "$out" | awk '{print $10}')
decode=$(echo "$out" | awk '{print $15}')
library=$(echo "$out" | awk '{print $19}')
# The pane's frame inside the panel is about 100 x 90 pixels; the thumbnail fits 8 less.
vips=$(bench_best_ms vips thumbnail "$work/photo.jpg" "$work/pane.v" 92 --height 84)
awk -v s="$shown" -v d="$decode" -v l="$library" -v w="$wait" -v v="$vips" 'BEGIN {
    printf "6000 x 4000 JPEG into the open dialog'"'"'s preview (best of runs):\n"
    printf "  WIC decode alone under Wine:  %7.1f ms\n", d
    printf "  library thumbnail alone:      %7.1f ms  (/ decode %.2f)\n", l, l / d
    printf "  thumbnail shown in the dialog:%7.1f ms  (/ decode %.2f, target at most 1.10)\n", s, s / d
    printf "  longest wait for an answer:   %7.1f ms\n", w
    printf "  native vips thumbnail:        %7.1f ms  (shown / vips %.2f)\n", v, s / v
}'
