#!/usr/bin/env bash
# Idle memory under Wine: the real program switching at a long interval through a list of two
# 6000 x 4000 JPEGs, measured after its start switch and the preparation of the next item, beside
# a bare Win32 dialog started the same way; also the CPU time the program uses while idle.
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/lib.sh
bench_prepare_wine Velumar bare_dialog

photos="$WINEPREFIX/drive_c/velumar-idle"
mkdir -p "$photos"
cp "$work/photo.jpg" "$photos/a.jpg"
cp "$work/photo.jpg" "$photos/b.jpg"
printf '\r\nC:\\velumar-idle\\a.jpg 0 ""\r\nC:\\velumar-idle\\b.jpg 0 ""\r\n' >"$photos/list.vlt"
key='HKCU\Software\Quorwick\Velumar\Settings'
wine reg add "$key" /v CF /d 'C:\velumar-idle\list.vlt' /f >/dev/null
wine reg add "$key" /v WH /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v PE /d '1:0:0' /f >/dev/null
wine reg add "$key" /v SA /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v SW /t REG_DWORD /d 0 /f >/dev/null

# Resident memory (kB) of the Unix process running the Windows program, after it settled.
settled_rss() {
    local pid=
    for _ in $(seq 100); do
        pid=$(pgrep -f "$1" | head -1 || true)
        [ -n "$pid" ] && break
        sleep 0.2
    done
    sleep "$2"
    awk '/^VmRSS/ {print $2}' "/proc/$pid/status"
    echo "$pid" >"$work/idle.pid"
}

wine build/bench-windows/bin/Velumar.exe &
program=$(settled_rss 'Velumar\.exe' 15)
pid=$(cat "$work/idle.pid")
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
before=$(ticks "$pid")
sleep 10
after=$(ticks "$pid")
wineserver -k || true
wine build/bench-windows/bin/bare_dialog.exe 20 &
bare=$(settled_rss 'bare_dialog\.exe' 5)
wineserver -k || true
awk -v p="$program" -v b="$bare" -v c=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN {
    printf "idle resident memory under Wine:\n"
    printf "  Velumar, switching, next prepared: %6.1f MB\n", p / 1024
    printf "  bare Win32 dialog:                 %6.1f MB  (difference %.1f MB, target at most 8)\n", b / 1024, (p - b) / 1024
    printf "  CPU used in 10 idle seconds:       %6.2f s (ticks of the 1-second timer only)\n", c / hz
}'
