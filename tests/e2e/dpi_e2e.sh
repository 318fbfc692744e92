#!/usr/bin/env bash
# Runs the layout scenario of the end-to-end tests once per display DPI, each in a Wine prefix
# of its own whose "LogPixels" is set before its wineserver starts. Uses the X display of the
# calling test run. Usage: dpi_e2e.sh E2E_TESTS_EXE
set -euo pipefail
exe=$1
source "$(dirname "$0")/../../scripts/lib/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
    echo "dpi_e2e.sh: DISPLAY is not set; run the tests through scripts/test.sh" >&2
    exit 2
fi
trap "wineserver -k >/dev/null 2>&1 || true" EXIT
status=0
for dpi in ${VELUMAR_TEST_DPIS:-96 120 144 192}; do
    echo "=== $dpi DPI"
    velumar_use_prefix "dpi-$dpi" fresh
    velumar_wine_quiet reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    wineserver -k
    wineserver -w
    wineserver -p
    velumar_wine_quiet cmd /c exit
    VELUMAR_TEST_DPI=$dpi wine "$exe" --gtest_filter='DpiLayoutTest.*' || status=1
    wineserver -k
    wineserver -w
done
exit $status
