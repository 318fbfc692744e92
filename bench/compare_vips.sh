#!/usr/bin/env bash
# Reduces a 6000 x 4000 photograph to 1920 x 1080 with each of the library's four methods and
# times it beside libvips (vips resize) and ImageMagick (convert -resize and -scale) on the same
# pixels, each as a whole run (load, resize, save; best of BENCH_RUNS, default 5), and prints
# the ratios ours / theirs: at most 1.00 means at least as fast. Then runs the Google Benchmark
# programs of the pixel operations.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh

scripts/install-deps.sh
bench_install_tools
cmake --preset bench >/dev/null
cmake --build --preset bench --target imagelib_tool imagelib_bench >/dev/null

tool=build/bench/bin/imagelib_tool
work=build/bench/compare
mkdir -p "$work"
[ -f "$work/photo.bmp" ] || "$tool" make "$work/photo.bmp" 6000 4000
# libvips' own format, which it maps without decoding.
[ -f "$work/photo.v" ] || vips copy "$work/photo.bmp" "$work/photo.v"

vips_ms=$(bench_best_ms vips resize "$work/photo.v" "$work/vips.v" 0.32 --vscale 0.27)
im_resize_ms=$(bench_best_ms "$BENCH_CONVERT" "$work/photo.bmp" -resize '1920x1080!' "$work/im.bmp")
im_scale_ms=$(bench_best_ms "$BENCH_CONVERT" "$work/photo.bmp" -scale '1920x1080!' "$work/im.bmp")

echo "6000 x 4000 -> 1920 x 1080, whole runs (best of ${BENCH_RUNS:-5}):"
echo "  vips resize ${vips_ms} ms, convert -resize ${im_resize_ms} ms, convert -scale ${im_scale_ms} ms"
printf '  %-18s %9s %12s %10s %14s %13s\n' method "ours ms" "(resize ms)" "/ vips" "/ IM -resize" "/ IM -scale"
names=("Eliminate Pixels" "Favor Black" "Favor White" "Average Colors")
for method in 0 1 2 3; do
    ours_ms=$(bench_best_ms "$tool" resize "$work/photo.bmp" "$work/ours.bmp" 1920 1080 "$method")
    resize_ms=$("$tool" resize "$work/photo.bmp" "$work/ours.bmp" 1920 1080 "$method" 5 |
        sed -n 's/.*resize \([0-9.]*\) ms.*/\1/p')
    printf '  %-18s %9s %12s %10s %14s %13s\n' "${names[$method]}" "$ours_ms" "($resize_ms)" \
        "$(bench_ratio "$ours_ms" "$vips_ms")" "$(bench_ratio "$ours_ms" "$im_resize_ms")" \
        "$(bench_ratio "$ours_ms" "$im_scale_ms")"
done

echo
build/bench/bin/imagelib_bench --benchmark_counters_tabular=true
