#!/usr/bin/env bash
# Runs the end-to-end tests that need two monitors: an X display of its own, one screen split
# into a 1080 x 1920 portrait monitor (the primary, left) and a 1920 x 1080 one at its right,
# which Wine reads through Xinerama; no virtual desktop, so tests check the bitmap file and the
# stored values. Usage: monitors_e2e.sh E2E_TESTS_EXE [GTEST_FILTER]
set -euo pipefail
exe=$1
filter=${2:-MonitorItemsTest.*}
source "$(dirname "$0")/../../scripts/lib/wine-env.sh"

mkdir -p "$VELUMAR_WINE_DIR"
fifo="$VELUMAR_WINE_DIR/monitors-display.$$"
rm -f "$fifo"
mkfifo "$fifo"
# Without -noreset the monitors vanish when xrandr disconnects.
Xvfb -displayfd 3 -screen 0 3000x1920x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$number"
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
xrandr --setmonitor PORTRAIT 1080/286x1920/508+0+0 screen >/dev/null
xrandr --setmonitor WIDE 1920/508x1080/286+1080+0 none >/dev/null

velumar_use_prefix monitors fresh
velumar_wine_quiet reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f
velumar_wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f
wineserver -k
wineserver -w
wineserver -p
velumar_wine_quiet cmd /c exit
wine "$exe" --gtest_filter="$filter"
