#!/usr/bin/env bash
# Times, under Wine, the library's work on a 6000 x 4000 JPEG (quality 92): decoding through
# WIC, reducing to 1920 x 1080 by Average Colors and saving the bitmap, as the Windows build of
# imagelib_tool reports it and as a whole run, beside vips thumbnail and vips resize of the same
# file (best of BENCH_RUNS, default 3).
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
export BENCH_RUNS=${BENCH_RUNS:-3}

bench_prepare_wine imagelib_tool

windows_path() {
    echo "Z:${1//\//\\}"
}
exe=build/bench-windows/bin/imagelib_tool.exe
jpg=$(windows_path "$work/photo.jpg")
out=$(windows_path "$work/ours.bmp")

echo "6000 x 4000 JPEG -> 1920 x 1080 bitmap, Average Colors, under Wine:"
echo "  steps (best of $BENCH_RUNS): $(wine "$exe" resize "$jpg" "$out" 1920 1080 3 "$BENCH_RUNS")"
ours_ms=$(bench_best_ms wine "$exe" resize "$jpg" "$out" 1920 1080 3)
thumb_ms=$(bench_best_ms vips thumbnail "$work/photo.jpg" "$work/thumb.v" 1920 --height 1080 \
    --size force)
resize_ms=$(bench_best_ms vips resize "$work/photo.jpg" "$work/resize.v" 0.32 --vscale 0.27)
echo "  whole run: ours under Wine ${ours_ms} ms; native vips thumbnail ${thumb_ms} ms" \
    "(ratio $(bench_ratio "$ours_ms" "$thumb_ms")), vips resize ${resize_ms} ms" \
    "(ratio $(bench_ratio "$ours_ms" "$resize_ms"))"
