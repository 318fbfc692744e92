#!/usr/bin/env bash
# Fault benchmark under Wine: a program saving a wallpaper list in a loop is killed at a random
# moment, ROUNDS times (default 200). After every kill the list file must be one of the two
# lists whole, never a mix or a cut one; after one more save no temporary file may be left.
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-200}

source bench/lib.sh
bench_start_wine save_fault_tool
dir="$WINEPREFIX/drive_c/velumar-fault"
rm -rf "$dir"
mkdir -p "$dir"
tool=build/bench-windows/bin/save_fault_tool.exe
wine "$tool" 'C:\velumar-fault\list.vlt' reference
whole=0
cut=0
leftovers=0
for round in $(seq "$rounds"); do
    wine "$tool" 'C:\velumar-fault\list.vlt' 1000000 &
    sleep "0.$(printf '%03d' $((RANDOM % 900 + 100)))"
    pkill -9 -f save_fault_tool.exe || true
    wait $! 2>/dev/null || true
    if [ ! -f "$dir/list.vlt" ] || cmp -s "$dir/list.vlt" "$dir/list.vlt.a" ||
        cmp -s "$dir/list.vlt" "$dir/list.vlt.b"; then
        whole=$((whole + 1))
    else
        cut=$((cut + 1))
    fi
    [ -f "$dir/list.vlt.tmp" ] && leftovers=$((leftovers + 1))
done
wine "$tool" 'C:\velumar-fault\list.vlt' 1
echo "$rounds kills during saves: $whole left a whole list, $cut a cut or mixed one"
echo "a temporary file was left after $leftovers kills (written over by the next save)"
if [ -f "$dir/list.vlt.tmp" ]; then
    echo "a temporary file is still there after the next save" >&2
    exit 1
fi
echo "after the next save: no temporary file"
[ "$cut" -eq 0 ]
