#!/usr/bin/env bash
# Builds Velumar.exe and starts it in a Wine virtual desktop: on your X display when there is
# one, otherwise on a private Xvfb display, where it saves a screenshot and says where.
# The Wine prefix build/wine/user keeps Velumar's settings and list between runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# The bundled image decoders: built once into a cache outside the clone (a few minutes).
scripts/decoders.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target Velumar
exe=build/windows/bin/Velumar.exe

source scripts/lib/wine-env.sh
trap velumar_stop_wine_env EXIT

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    velumar_use_prefix user
    echo "Velumar runs on display $DISPLAY; it ends with File > Exit."
    wine "$exe"
    exit 0
fi

velumar_start_xvfb
velumar_use_prefix user
wine "$exe" &
pid=$!
sleep "${VELUMAR_SCREENSHOT_DELAY:-5}"
shot=$PWD/build/velumar-screenshot.png
import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$shot"
echo "No X display: Velumar runs on a private display ($DISPLAY). Screenshot: $shot"
if [ "${VELUMAR_KEEP_RUNNING:-0}" = 1 ]; then
    echo "Waiting for Velumar to end (VELUMAR_KEEP_RUNNING=1)."
    wait "$pid" || true
fi
