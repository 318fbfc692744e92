#!/usr/bin/env bash
# Builds both presets and runs every test: the native unit tests, then the Windows unit,
# adapter and end-to-end tests under Wine on a private X display and Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

cmake --preset windows >/dev/null
cmake --build --preset windows

source scripts/lib/wine-env.sh
trap velumar_stop_wine_env EXIT
velumar_start_xvfb
velumar_use_prefix test fresh
ctest --preset windows
