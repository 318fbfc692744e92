#!/usr/bin/env bash
# Makes the screenshots in docs/ under Wine on a private display, with pictures it draws itself:
# at 100 % and 150 % scaling the main window with a list (a row selected, so its thumbnail
# shows), the icon's menu and the properties pages (all of them at 100 %, the General page at
# 150 %), and the wallpaper bitmap of a picture per monitor on two monitors. Each scaling runs in
# a Wine prefix of its own whose "LogPixels" is set before its wineserver starts.
#   scripts/screenshots.sh [OUTDIR]    (default docs)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mkdir -p "${1:-docs}" && cd "${1:-docs}" && pwd)

scripts/install-deps.sh
scripts/decoders.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target Velumar
exe=$PWD/build/windows/bin/Velumar.exe
work=$PWD/build/screenshots
mkdir -p "$work"
driver_exe=$work/screenshot_driver.exe
if [ ! "$driver_exe" -nt scripts/lib/screenshot_driver.cpp ]; then
    x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -Wall -Wextra -Werror -static \
        -o "$driver_exe" scripts/lib/screenshot_driver.cpp -lcomctl32
fi

# The pictures: a few colourful landscapes and a portrait one, one of them named in Greek (Wine
# here has no font for Japanese or Chinese names).
pictures=$work/pictures
mkdir -p "$pictures"
(
    cd "$pictures"
    convert -size 1600x1000 gradient:'#ff9a3c-#6a2c91' -fill '#ffe27a' \
        -draw 'circle 1050,560 1050,420' -fill '#1d2b53' \
        -draw 'polygon 0,700 300,640 700,690 1100,630 1600,680 1600,1000 0,1000' \
        -quality 90 'Sunset over the bay.jpg'
    convert -size 1600x1000 gradient:'#8fd3f4-#0b4f8a' -fill white \
        -draw 'rectangle 300,520 520,760' -draw 'rectangle 560,480 760,760' -fill '#2a7de1' \
        -draw 'circle 660,470 660,400' -fill '#f4e9d8' \
        -draw 'polygon 0,760 1600,700 1600,1000 0,1000' -quality 90 'Αιγαίο.jpg'
    convert -size 1600x1000 radial-gradient:'#ffd36b-#b3202a' -fill '#7a1020' \
        -draw 'circle 400,300 400,180' -fill '#e8601c' -draw 'circle 1200,650 1200,480' \
        -fill '#ffb000' -draw 'circle 800,820 800,760' -quality 90 'Autumn leaves.jpg'
    convert -size 1000x1500 gradient:'#f6e3b4-#c9803c' -fill '#a4582a' \
        -draw 'ellipse 500,1300 700,300 180,360' -fill '#fff6d8' \
        -draw 'circle 700,300 700,220' -quality 90 'Dunes.jpg'
    convert -size 1600x1000 gradient:'#c8f7c5-#1e7a3c' -fill '#ffef5e' \
        -draw 'circle 250,200 250,120' -fill '#14532d' \
        -draw 'polygon 0,1000 0,600 500,420 900,640 1300,480 1600,620 1600,1000' 'Meadow.png'
)
names=('Sunset over the bay.jpg' 'Αιγαίο.jpg' 'Autumn leaves.jpg' 'Dunes.jpg' 'Meadow.png')

source scripts/lib/wine-env.sh
trap velumar_stop_wine_env EXIT

driver() {
    wine "$driver_exe" "$@" </dev/null | tr -d '\r'
}
settings() {
    local name value
    for setting in "$@"; do
        name=${setting%%=*} value=${setting#*=}
        velumar_wine_quiet reg add 'HKCU\Software\Quorwick\Velumar\Settings' /v "$name" \
            /t REG_DWORD /d "$value" /f
    done
}

# A prefix of its own at a DPI, with the pictures in its Public Pictures folder and a list of
# them (UTF-8 after a byte-order mark, for the Greek name) as Velumar's list. The switch at
# start-up selects the first row, so its thumbnail shows.
use_prefix() {
    local name=$1 dpi=$2
    velumar_use_prefix "$name" fresh
    velumar_wine_quiet reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    local folder=$WINEPREFIX/drive_c/users/Public/Pictures/Holidays
    mkdir -p "$folder"
    cp "$pictures"/* "$folder/"
    {
        printf '\xef\xbb\xbf\r\n'
        for picture in "${names[@]}"; do
            printf '"C:\\users\\Public\\Pictures\\Holidays\\%s" 0 ""\r\n' "$picture"
        done
    } >"$folder/Holidays.vlt"
    velumar_wine_quiet reg add 'HKCU\Software\Quorwick\Velumar\Settings' /v CF \
        /d 'C:\users\Public\Pictures\Holidays\Holidays.vlt' /f
    # No welcome dialog over the window.
    settings SW=0
}
restart_wineserver() {
    wineserver -k
    wineserver -w
    wineserver -p
    velumar_wine_quiet cmd /c exit
}

# Saves the screen's rectangle (crop geometry) as a small PNG once it has not changed for a
# second, so that a window still painting is not caught half-drawn (at most 30 s).
shoot() {
    local geometry=$1 file=$2 previous=$work/previous.ppm current=$work/current.ppm same=0
    rm -f "$previous"
    for _ in $(seq 100); do
        import -display "$DISPLAY" -window root -crop "$geometry" +repage "$current"
        if [ -f "$previous" ] && cmp -s "$previous" "$current"; then
            same=$((same + 1))
            [ "$same" -ge 3 ] && break
        else
            same=0
        fi
        mv "$current" "$previous"
        sleep 0.3
    done
    convert "$current" -strip +dither -colors 128 "png8:$out/$file"
    echo "$out/$file"
}

# The main window, its icon's menu and the properties pages at a DPI on a virtual desktop of a
# size: SUFFIX names the files, and PAGES are the pages' indexes to take.
shoot_windows() {
    local dpi=$1 desktop=$2 suffix=$3
    shift 3
    use_prefix "shots-$dpi" "$dpi"
    velumar_wine_quiet reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "$desktop" /f
    restart_wineserver
    wine "$exe" </dev/null >/dev/null 2>&1 &
    local velumar=$!
    shoot "$(driver main)" "main-window$suffix.png"
    shoot "$(driver tray)" "tray-menu$suffix.png"
    driver close-menu
    local page_names=(general masking resizing keys monitors pictures) page
    driver command 32773 # Properties (F6)
    for page in "$@"; do
        shoot "$(driver page "$page")" "properties-${page_names[$page]}$suffix.png"
    done
    driver close-sheet
    driver command 32771 # Exit
    wait "$velumar" || true
    wineserver -k
    wineserver -w
}

velumar_start_xvfb 1920x1200x24
shoot_windows 96 1024x768 "" 0 1 2 3 4 5
# A screen at 150 % is a larger one: 1600 x 1000 pixels show what 1067 x 667 do at 100 %.
shoot_windows 144 1600x1000 "-150" 0
velumar_stop_wine_env

# A picture per monitor on a wide and a smaller monitor side by side: Wine paints no wallpaper
# without a virtual desktop, and a virtual desktop has one monitor, so the shot is the bitmap
# Velumar sets, scaled down.
velumar_start_xvfb 3200x1080x24 -noreset
xrandr --setmonitor LEFT 1920/508x1080/286+0+0 screen >/dev/null
xrandr --setmonitor RIGHT 1280/338x1024/270+1920+0 none >/dev/null
use_prefix shots-monitors 96
velumar_wine_quiet reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f
velumar_wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f
settings MM=2 RT=4 # a different picture on each monitor, filling it
restart_wineserver
bitmap="$WINEPREFIX/drive_c/windows/Quorwick Velumar.bmp"
rm -f "$bitmap"
wine "$exe" </dev/null >/dev/null 2>&1 &
velumar=$!
for _ in $(seq 300); do
    width=$(identify -format '%w' "$bitmap" 2>/dev/null || true)
    [ "$width" = 3200 ] && break
    sleep 0.2
done
driver command 32771 # Exit
wait "$velumar" || true
if [ "$width" != 3200 ]; then
    echo "scripts/screenshots.sh: no wallpaper bitmap around both monitors came" >&2
    exit 1
fi
convert "$bitmap" -resize 800x -strip +dither -colors 256 "png8:$out/desktop-two-monitors.png"
echo "$out/desktop-two-monitors.png"
