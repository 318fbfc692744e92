#!/usr/bin/env bash
# Runs the two-monitor scenario of the end-to-end tests on an X screen split into a 1920 x 1080
# and a 1280 x 1024 RandR monitor, which Wine reads through Xinerama (no virtual desktop,
# "UseXRandR" N), in a Wine prefix of its own. The test asks for a step with a file in a shared
# folder; the script answers with a ".done" file. Wine reads the X monitors once per process, so
# a process started after the xrandr change sets the display mode to pass the new layout on.
# Usage: monitors_e2e.sh E2E_TESTS_EXE
set -euo pipefail
exe=$1
source "$(dirname "$0")/../../scripts/lib/wine-env.sh"
signals=$(mktemp -d)
watcher=
cleanup() {
    [ -n "$watcher" ] && kill "$watcher" 2>/dev/null || true
    velumar_stop_wine_env
    rm -rf "$signals"
}
trap cleanup EXIT
# -noreset: without it the monitors vanish when xrandr disconnects.
velumar_start_xvfb 3200x1080x24 -noreset
xrandr --setmonitor LEFT 1920/508x1080/286+0+0 screen
xrandr --setmonitor RIGHT 1280/338x1024/270+1920+0 none
velumar_use_prefix monitors fresh
velumar_wine_quiet reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f
velumar_wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f
wineserver -k
wineserver -w
wineserver -p
velumar_wine_quiet cmd /c exit
(
    while true; do
        if [ -f "$signals/remove-right" ] && [ ! -f "$signals/remove-right.done" ]; then
            xrandr --delmonitor RIGHT
            wine "$(dirname "$exe")/reapply_display_mode.exe"
            touch "$signals/remove-right.done"
        fi
        sleep 0.1
    done
) &
watcher=$!
VELUMAR_MONITOR_SIGNALS=$(winepath -w "$signals") wine "$exe" --gtest_filter='MonitorsTest.*'
