#!/usr/bin/env bash
# Writes THIRD-PARTY-NOTICES.txt at the repository's root from the licence files that
# scripts/decoders.sh keeps in its prefix: for each bundled library a header (name, the Debian
# source version it is built from, its licence, its home page), then its licence texts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$("$root/scripts/decoders.sh")
out=$root/THIRD-PARTY-NOTICES.txt

rule=$(printf '=%.0s' {1..78})
# One library: PACKAGE NAME LICENCE HOME-PAGE FILE...; left out when it was not built.
entry() {
    local package=$1 name=$2 licence=$3 home=$4 dir=$prefix/licenses/$1 file
    shift 4
    [ -d "$dir" ] || return 0
    printf '\n\n%s\n%s\n  Debian source package: %s %s\n  Licence: %s\n  Home page: %s\n%s\n' \
        "$rule" "$name" "$package" "$(cat "$dir/VERSION")" "$licence" "$home" "$rule"
    for file in "$@"; do
        case $file in
            *:*)
                # FILE:SECTION takes only that section of a README: its title, its underline
                # and the text up to the next underlined title.
                printf '\n--- %s, section %s ---\n\n' "${file%%:*}" "${file#*:}"
                awk -v title="${file#*:}" '
                    $0 == title { on = 1 }
                    on && NR > start + 2 && /^=+$/ { exit }
                    on { if (!start) start = NR; lines[++n] = $0 }
                    END { for (i = 1; i < n; i++) print lines[i] }' "$dir/${file%%:*}"
                ;;
            *)
                printf '\n--- %s ---\n\n' "$file"
                cat "$dir/$file"
                ;;
        esac
    done
}
{
    cat <<'HEAD'
Velumar includes the following libraries, built from Debian's source packages (with Debian's
patches) and linked statically into Velumar.exe to decode JPEG, WebP, HEIF/HEIC, AVIF and
JPEG XL pictures. Their licences follow.

libheif and libde265 are licensed under the GNU Lesser General Public License, version 3
(LGPL-3.0), and are statically linked into Velumar.exe. Velumar's complete source code is
published under the MIT License, together with the build scripts that rebuild these libraries
from Debian's sources (scripts/decoders.sh, with the versions in scripts/decoders.pins), so you
can rebuild Velumar.exe with a modified version of either library and relink it.
HEAD
    entry libjpeg-turbo libjpeg-turbo "IJG License, BSD-3-Clause and Zlib" \
        https://libjpeg-turbo.org/ LICENSE.md "README.ijg:LEGAL ISSUES"
    entry libwebp "libwebp (libwebpdecoder, libwebpdemux)" \
        "BSD-3-Clause, with an additional patent grant" https://developers.google.com/speed/webp \
        COPYING PATENTS
    entry libheif libheif LGPL-3.0-or-later https://github.com/strukturag/libheif COPYING
    entry libde265 libde265 LGPL-3.0-or-later https://github.com/strukturag/libde265 COPYING
    entry dav1d dav1d BSD-2-Clause https://code.videolan.org/videolan/dav1d COPYING
    entry jpeg-xl "libjxl (decoder)" "BSD-3-Clause, with an additional patent grant" \
        https://github.com/libjxl/libjxl LICENSE PATENTS
    entry highway Highway Apache-2.0 https://github.com/google/highway LICENSE
    entry brotli "Brotli (decoder)" MIT https://github.com/google/brotli LICENSE
} >"$out"
echo "Wrote $out"
