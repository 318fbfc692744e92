#!/usr/bin/env bash
# Runs the end-to-end scenarios that need two monitors, each layout on an X screen of its own
# split into RandR monitors, which Wine reads through Xinerama (no virtual desktop, "UseXRandR"
# N), in a Wine prefix of its own; the tests check the bitmap file and the stored values. A test
# asks for a step with a file in a shared folder and the script answers with a ".done" file.
# Wine reads the X monitors once per process, so a process started after the xrandr change sets
# the display mode to pass the new layout on. Usage: monitors_e2e.sh E2E_TESTS_EXE
set -euo pipefail
exe=$1
source "$(dirname "$0")/../../scripts/lib/wine-env.sh"
signals=$(mktemp -d)
watcher=
cleanup() {
    [ -n "$watcher" ] && kill "$watcher" 2>/dev/null || true
    watcher=
    velumar_stop_wine_env
}
trap 'cleanup; rm -rf "$signals"' EXIT

# run_layout SCREEN FILTER MONITOR...: the tests of the filter on a screen split into monitors
# (xrandr --setmonitor arguments; the first carries the X output and is the primary).
run_layout() {
    local screen=$1 filter=$2
    shift 2
    # -noreset: without it the monitors vanish when xrandr disconnects.
    velumar_start_xvfb "$screen" -noreset
    local output=screen monitor
    for monitor in "$@"; do
        xrandr --setmonitor $monitor $output
        output=none
    done
    velumar_use_prefix monitors fresh
    velumar_wine_quiet reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f
    velumar_wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f
    wineserver -k
    wineserver -w
    wineserver -p
    velumar_wine_quiet cmd /c exit
    rm -f "$signals"/*
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
    local status=0
    VELUMAR_MONITOR_SIGNALS=$(winepath -w "$signals") wine "$exe" --gtest_filter="$filter" ||
        status=1
    cleanup
    return $status
}

status=0
# A test that removes a monitor runs last on its screen.
for filter in 'MonitorModesTest.*' 'MonitorsTest.*'; do
    run_layout 3200x1080x24 "$filter" \
        "LEFT 1920/508x1080/286+0+0" "RIGHT 1280/338x1024/270+1920+0" || status=1
done
# A portrait primary at the left of a wide monitor.
run_layout 3000x1920x24 'MonitorItemsTest.*' \
    "PORTRAIT 1080/286x1920/508+0+0" "WIDE 1920/508x1080/286+1080+0" || status=1
exit $status
