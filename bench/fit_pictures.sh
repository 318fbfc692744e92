#!/usr/bin/env bash
# Draws the help's pictures of the fits with the image library (a portrait picture and what the
# plain fit, the crop around what matters and the blurred frame make of it on a small wide
# display) and writes them as PNG files into help/; then times the three fits at 1920 x 1080 and
# 3840 x 2160 side by side (render_bench).
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh

scripts/install-deps.sh
bench_install_tools
cmake --preset bench >/dev/null
cmake --build --preset bench --target fit_pictures render_bench >/dev/null

work=build/bench/fits
mkdir -p "$work"
build/bench/bin/fit_pictures "$work"
# The picture itself at the height of the others.
convert "$work/picture.bmp" -resize x144 -strip help/fit_picture.png
for fit in plain crop frame; do
    convert "$work/fit_$fit.bmp" -strip "help/fit_$fit.png"
done
build/bench/bin/render_bench --benchmark_filter=Fits
