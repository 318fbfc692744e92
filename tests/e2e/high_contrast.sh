#!/usr/bin/env bash
# Screenshots of the main window (with a list of three pictures, one selected) and of the
# properties' General page under the "High Contrast Black" system colours, for a person to look
# at: every text must be legible. Wine has no themes, so the scheme's colours are written to
# HKCU\Control Panel\Colors of a prefix of its own before Velumar starts.
# Usage: tests/e2e/high_contrast.sh [OUTPUT_FOLDER] (default build/high-contrast); needs a built
# build/windows/bin/Velumar.exe.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(mkdir -p "${1:-build/high-contrast}" && cd "${1:-build/high-contrast}" && pwd)
exe=$PWD/build/windows/bin/Velumar.exe

source scripts/lib/wine-env.sh
trap velumar_stop_wine_env EXIT
velumar_start_xvfb
velumar_use_prefix high-contrast fresh

colors=(
    "ActiveBorder=128 128 128" "ActiveTitle=0 0 0" "AppWorkspace=0 0 0" "Background=0 0 0"
    "ButtonAlternateFace=192 192 192" "ButtonDkShadow=255 255 255" "ButtonFace=0 0 0"
    "ButtonHilight=255 255 255" "ButtonLight=255 255 255" "ButtonShadow=128 128 128"
    "ButtonText=255 255 255" "GradientActiveTitle=0 0 0" "GradientInactiveTitle=0 0 0"
    "GrayText=63 242 63" "Hilight=26 235 255" "HilightText=0 0 0" "HotTrackingColor=255 255 0"
    "InactiveBorder=128 128 128" "InactiveTitle=0 0 0" "InactiveTitleText=255 255 255"
    "InfoText=255 255 255" "InfoWindow=0 0 0" "Menu=0 0 0" "MenuBar=0 0 0"
    "MenuHilight=26 235 255" "MenuText=255 255 255" "Scrollbar=0 0 0" "TitleText=255 255 255"
    "Window=0 0 0" "WindowFrame=255 255 255" "WindowText=255 255 255"
)
for pair in "${colors[@]}"; do
    velumar_wine_quiet reg add 'HKCU\Control Panel\Colors' /v "${pair%%=*}" /d "${pair#*=}" /f
done
# Windows draws every control without visual styles in a high-contrast scheme; Wine's prefix
# comes with its light theme, which would paint list headers and the like white regardless.
velumar_wine_quiet reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
    /v ThemeActive /d 0 /f

# Three small pictures and a list of them; switching only at start-up (the default), so
# "Start Switching" shows greyed.
pictures=$WINEPREFIX/drive_c/pictures
mkdir -p "$pictures"
python3 - "$pictures" <<'EOF'
import struct, sys
for name, (r, g, b) in {"dawn.bmp": (230, 120, 40), "sea.bmp": (20, 90, 200),
                        "forest.bmp": (30, 140, 60)}.items():
    w, h = 160, 120
    row = bytes([b, g, r]) * w
    data = row * h
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(f"{sys.argv[1]}/{name}", "wb").write(header + info + data)
EOF
printf '\r\nC:\\pictures\\dawn.bmp 0 ""\r\nC:\\pictures\\sea.bmp 0 ""\r\nC:\\pictures\\forest.bmp 0 ""\r\n' \
    >"$pictures/list.vlt"
key='HKCU\Software\Quorwick\Velumar\Settings'
velumar_wine_quiet reg add "$key" /v CF /d 'C:\pictures\list.vlt' /f
velumar_wine_quiet reg add "$key" /v SW /t REG_DWORD /d 0 /f

# Wine's windows live inside the one X window of its virtual desktop, so the keys go to whichever
# window Wine has active: Velumar's main window once it is up.
wine "$exe" </dev/null >/dev/null 2>&1 &
sleep "${VELUMAR_SCREENSHOT_DELAY:-10}"
# The second row selected by keyboard, so the highlight and the thumbnail show.
xdotool key Home Down
sleep 3
import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$out/main-window.png"
xdotool key F6
sleep 4
import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$out/general-page.png"
echo "Screenshots: $out/main-window.png $out/general-page.png"
