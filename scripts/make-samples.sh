#!/usr/bin/env bash
# Makes the decoders' test pictures in OUTDIR with Debian's encoders, from a 64x48 PNG of four
# 32x24 quadrants (red, green / blue, white): lossless four.webp, four.avif, four.heic and
# four.jxl, an animated anim.webp whose first frame is those four colours, and cmyk.jpg (the
# four colours in Adobe's inverted CMYK). A file already there is kept.
#   scripts/make-samples.sh OUTDIR
set -euo pipefail
out=${1:?usage: scripts/make-samples.sh OUTDIR}
mkdir -p "$out"
cd "$out"

# Makes FILE with the command that follows, unless it exists; a temporary name first, so an
# interrupted run leaves no half-made file.
make() {
    local file=$1
    shift
    [ -s "$file" ] && return 0
    local tmp=".tmp.$file"
    rm -f "$tmp"
    local log
    if ! log=$("$@" "$tmp" 2>&1); then
        echo "make-samples.sh: $file: $log" >&2
        exit 1
    fi
    mv -f "$tmp" "$file"
}
four_png() {
    convert -size 32x24 'xc:#ff0000' 'xc:#00ff00' +append \
        \( -size 32x24 'xc:#0000ff' 'xc:#ffffff' +append \) -append +repage -depth 8 "png24:$1"
}
grey_png() { convert -size 64x48 'xc:#808080' -depth 8 "png24:$1"; }
webp() { cwebp -quiet -lossless four.png -o "$1"; }
# Lossless 4:4:4 YCbCr: Debian's heif-enc writes no identity matrix, so a decoder's colours may
# be 1 off the pure ones (254, 0, 0 for red).
avif() { heif-enc -A -L -p chroma=444 four.png -o "$1"; }
heic() { heif-enc -L -p chroma=444 four.png -o "$1"; }
jxl() { cjxl --quiet -d 0 four.png "$1"; }
anim() { img2webp -lossless four.png -d 500 grey.png -d 500 -o "$1"; }
cmyk() { convert four.png -colorspace CMYK -quality 95 "jpg:$1"; }

make four.png four_png
make grey.png grey_png
make four.webp webp
make four.avif avif
make four.heic heic
make four.jxl jxl
make anim.webp anim
make cmyk.jpg cmyk
