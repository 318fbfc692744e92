#!/usr/bin/env bash
# Runs the two-monitor scenario of the end-to-end tests: an X screen of its own, 3200 pixels wide,
# split into a 1920 x 1080 and a 1280 x 1024 RandR monitor that Wine reads through Xinerama (no
# virtual desktop, "UseXRandR" N before the wineserver starts), in a Wine prefix of its own. The
# test asks for xrandr steps by writing a file into a shared folder; the script answers with a
# ".done" file. Usage: monitors_e2e.sh E2E_TESTS_EXE
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
            touch "$signals/remove-right.done"
        fi
        sleep 0.1
    done
) &
watcher=$!
VELUMAR_MONITOR_SIGNALS=$(winepath -w "$signals") wine "$exe" --gtest_filter='MonitorsTest.*'
