#!/usr/bin/env bash
# Soak under Wine: SWITCHES (default 10000) switches of small images sent to the real program
# from another process, printing the program's resident memory from Linux at the start and
# every ten seconds, and whether the list file's entries are the same at the end.
set -euo pipefail
cd "$(dirname "$0")/../.."
switches=${1:-10000}

source bench/lib.sh
bench_start_wine soak_bench Velumar
mkdir -p "$WINEPREFIX/drive_c/velumar-soak"

wine build/bench-windows/bin/soak_bench.exe 'C:\velumar-soak' "$switches" &
driver=$!
rss() { awk '/^VmRSS|^VmHWM/ {printf "%s %s kB  ", $1, $2}' "/proc/$1/status" 2>/dev/null; }
pid=
for _ in $(seq 100); do
    pid=$(pgrep -f 'Velumar\.exe' | head -1 || true)
    [ -n "$pid" ] && break
    sleep 0.2
done
[ -n "$pid" ] && echo "start: $(rss "$pid")"
last=
while kill -0 "$driver" 2>/dev/null; do
    sleep 1
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        sample=$(rss "$pid")
        if [ -n "$sample" ]; then
            last=$sample
            [ $((SECONDS % 10)) -eq 0 ] && echo "$(date +%T): $last"
        fi
    fi
done
echo "last sample: $last"
wait "$driver"
