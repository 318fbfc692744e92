#!/usr/bin/env bash
# Runs the monitor-mode scenarios of the end-to-end tests: an X screen of its own, 3200 pixels
# wide, split into a 1920 x 1080 primary and a 1280 x 1024 RandR monitor at its right, which Wine
# reads through Xinerama ("UseXRandR" N before the wineserver starts, no virtual desktop), in a
# Wine prefix of its own. Without a virtual desktop no wallpaper is painted: the tests check the
# bitmap file and the stored values. Usage: monitor_modes_e2e.sh E2E_TESTS_EXE
set -euo pipefail
exe=$1
source "$(dirname "$0")/../../scripts/lib/wine-env.sh"
trap velumar_stop_wine_env EXIT
# -noreset: without it the monitors vanish when xrandr disconnects.
velumar_start_xvfb 3200x1080x24 -noreset
xrandr --setmonitor LEFT 1920/508x1080/286+0+0 screen
xrandr --setmonitor RIGHT 1280/338x1024/270+1920+0 none
velumar_use_prefix monitor-modes fresh
velumar_wine_quiet reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f
velumar_wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f
wineserver -k
wineserver -w
wineserver -p
velumar_wine_quiet cmd /c exit
VELUMAR_TEST_MONITOR_MODES=1 wine "$exe" --gtest_filter='MonitorModesTest.*'
