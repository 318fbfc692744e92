#!/usr/bin/env bash
# Times, under Wine, a whole RenderWallpaper of a 6000 x 4000 JPEG to a 1920 x 1080 desktop with
# an edge mask, a switch to it unprepared and prepared ahead (also cropped to cover, and framed by
# a blurred copy with the picture's colour), and the information box's reading of it, beside WIC's decode of the same file alone and native `vips thumbnail` of it.
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/lib.sh
export BENCH_RUNS=${BENCH_RUNS:-3}

bench_prepare_wine render_tool

out=$(wine build/bench-windows/bin/render_tool.exe "Z:${work//\//\\}\\photo.jpg" \
    "Z:${work//\//\\}" "$BENCH_RUNS")
decode=$(echo "$out" | awk '{print $2}')
render=$(echo "$out" | awk '{print $5}')
unprepared=$(echo "$out" | awk '{print $8}')
prepared=$(echo "$out" | awk '{print $11}')
info=$(echo "$out" | awk '{print $14}')
defaults=$(echo "$out" | awk '{print $17}')
two=$(echo "$out" | awk '{print $20}')
twoPrepared=$(echo "$out" | awk '{print $23}')
cropPrepared=$(echo "$out" | awk '{print $26}')
framePrepared=$(echo "$out" | awk '{print $29}')
thumb=$(bench_best_ms vips thumbnail "$work/photo.jpg" "$work/thumb.v" 1920 --height 1080 \
    --size force)
awk -v d="$decode" -v r="$render" -v t="$thumb" -v u="$unprepared" -v p="$prepared" \
    -v i="$info" -v f="$defaults" -v w="$two" -v q="$twoPrepared" -v c="$cropPrepared" \
    -v m="$framePrepared" 'BEGIN {
    printf "6000 x 4000 JPEG to a 1920 x 1080 desktop with an edge mask (best of runs):\n"
    printf "  WIC decode alone under Wine:  %7.1f ms\n", d
    printf "  whole render under Wine:     %7.1f ms  (render / decode %.2f)\n", r, r / d
    printf "  native vips thumbnail:       %7.1f ms  (render / vips thumbnail %.2f)\n", t, r / t
    printf "  unprepared switch:           %7.1f ms  (/ decode %.2f, target at most 1.05)\n", u, u / d
    printf "  unprepared, default settings:%7.1f ms  (/ decode %.2f, target at most 1.05)\n", f, f / d
    printf "  prepared switch:             %7.1f ms  (/ vips thumbnail %.2f, target under 0.25)\n", p, p / t
    printf "  prepared, cropped to cover:  %7.1f ms  (target under 50 ms)\n", c
    printf "  prepared, framed, its colour:%7.1f ms  (target under 50 ms)\n", m
    printf "  information box:             %7.2f ms  (target under 5 ms; / decode %.4f)\n", i, i / d
    printf "A picture per monitor, the JPEG twice, 1920 x 1080 and 1280 x 1024 monitors:\n"
    printf "  unprepared switch:           %7.1f ms  (/ two decodes %.2f, target at most 1.1)\n", w, w / (2 * d)
    printf "  prepared switch:             %7.1f ms  (target under 50 ms; one monitor %.1f ms)\n", q, p
}'
