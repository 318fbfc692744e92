#!/usr/bin/env bash
# Times, under Wine, a whole RenderWallpaper of a 6000 x 4000 JPEG to a 1920 x 1080 desktop with
# an edge mask, beside WIC's decode of the same file alone and native `vips thumbnail` of it.
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/lib.sh
export BENCH_RUNS=${BENCH_RUNS:-3}

scripts/install-deps.sh
bench_install_tools
cmake --preset bench >/dev/null
cmake --build --preset bench --target imagelib_tool >/dev/null
cmake -S . -B build/bench-windows --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DVELUMAR_BENCH=ON >/dev/null
cmake --build build/bench-windows --target render_tool -j 2 >/dev/null

work=$PWD/build/bench/wine
mkdir -p "$work"
if [ ! -f "$work/photo.jpg" ]; then
    build/bench/bin/imagelib_tool make "$work/photo.bmp" 6000 4000
    "$BENCH_CONVERT" "$work/photo.bmp" -quality 92 "$work/photo.jpg"
    rm -f "$work/photo.bmp"
fi

source scripts/lib/wine-env.sh
trap velumar_stop_wine_env EXIT
velumar_start_xvfb
velumar_use_prefix bench

out=$(wine build/bench-windows/bin/render_tool.exe "Z:${work//\//\\}\\photo.jpg" \
    "Z:${work//\//\\}" "$BENCH_RUNS")
decode=$(echo "$out" | awk '{print $2}')
render=$(echo "$out" | awk '{print $5}')
thumb=$(bench_best_ms vips thumbnail "$work/photo.jpg" "$work/thumb.v" 1920 --height 1080 \
    --size force)
awk -v d="$decode" -v r="$render" -v t="$thumb" 'BEGIN {
    printf "6000 x 4000 JPEG to a 1920 x 1080 desktop with an edge mask (best of runs):\n"
    printf "  WIC decode alone under Wine:  %7.1f ms\n", d
    printf "  whole render under Wine:     %7.1f ms  (render / decode %.2f)\n", r, r / d
    printf "  native vips thumbnail:       %7.1f ms  (render / vips thumbnail %.2f)\n", t, r / t
}'
