#!/usr/bin/env bash
# Runs a Windows program under Wine in the test environment that scripts/test.sh prepared.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "wine-run.sh: WINEPREFIX and DISPLAY are not set; run the tests through scripts/test.sh" >&2
    exit 2
fi
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
