#!/usr/bin/env bash
# Times, under Wine, what the bundled decoders do for a 6000 x 4000 JPEG (quality 92): an
# unprepared switch fitting a 1024 x 768 desktop beside native `vips thumbnail` to the same size
# and WIC's full decode of the same file, the information box and the library's thumbnail for the
# open dialog's preview, and one switch's peak memory through the bundled decoder and through WIC
# alone (as before). Then the WebP, AVIF and HEIC decoders beside Debian's dwebp, avifdec and
# heif-convert on the same 3000 x 2000 files (best of BENCH_RUNS, default 3).
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/lib.sh
export BENCH_RUNS=${BENCH_RUNS:-3}

bench_prepare_wine photo_tool

win() {
    echo "Z:${1//\//\\}"
}
tool=build/bench-windows/bin/photo_tool.exe
out=$(wine "$tool" time "$(win "$work/photo.jpg")" "$(win "$work")" "$BENCH_RUNS")
field() {
    echo "$out" | awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) print $(i + 1) }'
}
ours_mib=$(wine "$tool" memory "$(win "$work/photo.jpg")" "$(win "$work")" ours | awk '{print $2}')
wic_mib=$(wine "$tool" memory "$(win "$work/photo.jpg")" "$(win "$work")" wic | awk '{print $2}')
thumb=$(bench_best_ms vips thumbnail "$work/photo.jpg" "$work/thumb.v" 1024 --height 768)
awk -v d="$(field wic-decode)" -v s="$(field switch)" -v w="$(field wic-switch)" \
    -v i="$(field info)" -v t="$(field thumbnail)" -v v="$thumb" -v om="$ours_mib" \
    -v wm="$wic_mib" 'BEGIN {
    printf "6000 x 4000 JPEG fitted to a 1024 x 768 desktop (best of runs):\n"
    printf "  unprepared switch:        %7.1f ms  (/ vips thumbnail %.2f, target at most 0.75;\n", s, s / v
    printf "                                       / WIC full decode %.2f, target at most 0.40)\n", s / d
    printf "  the same switch via WIC:  %7.1f ms  (/ vips thumbnail %.2f)\n", w, w / v
    printf "  WIC full decode:          %7.1f ms\n", d
    printf "  native vips thumbnail:    %7.1f ms\n", v
    printf "  information box:          %7.2f ms  (target under 150 ms)\n", i
    printf "  preview thumbnail:        %7.1f ms  (target under 150 ms)\n", t
    printf "  switch peak memory:       %7.1f MiB (via WIC %.1f MiB: %.2f, target at most 0.25)\n", om, wm, om / wm
}'

# The other formats, made once from the same photo at 3000 x 2000.
[ -f "$work/photo.png" ] || vips resize "$work/photo.jpg" "$work/photo.png" 0.5
[ -f "$work/photo.webp" ] || cwebp -quiet -q 85 "$work/photo.png" -o "$work/photo.webp"
[ -f "$work/photo.avif" ] || avifenc -s 8 --min 20 --max 30 "$work/photo.png" "$work/photo.avif" >/dev/null
[ -f "$work/photo.heic" ] || heif-enc -q 70 "$work/photo.png" -o "$work/photo.heic" >/dev/null
echo "3000 x 2000 pictures, full decode (best of runs): ours under Wine / Debian's tool natively"
for format in webp avif heic; do
    ours=$(wine "$tool" decode "$(win "$work/photo.$format")" "$BENCH_RUNS" | awk '{print $2}')
    case $format in
        webp) name=dwebp; theirs=$(bench_best_ms dwebp -quiet "$work/photo.webp" -ppm -o "$work/dwebp.ppm") ;;
        avif) name=avifdec; theirs=$(bench_best_ms avifdec "$work/photo.avif" "$work/avifdec.y4m") ;;
        heic) name=heif-convert; theirs=$(bench_best_ms heif-convert "$work/photo.heic" "$work/heif.y4m") ;;
    esac
    awk -v f="$format" -v o="$ours" -v n="$name" -v t="$theirs" \
        'BEGIN { printf "  %-5s ours %7.1f ms, %s %7.1f ms (%.2f)\n", f, o, n, t, o / t }'
done
