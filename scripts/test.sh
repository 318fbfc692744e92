#!/usr/bin/env bash
# Builds the presets and runs every test: the native unit tests, a few seconds of each fuzzer,
# then the Windows unit, adapter, end-to-end and installer tests under Wine on a private X
# display and Wine prefix.
# A subset: scripts/test.sh PATTERN [FILTER] runs only the ctest tests matching PATTERN (the
# native tests are one ctest test each; under Wine each program is one: unit_tests, win32_tests,
# e2e_tests), and FILTER, a GoogleTest filter, picks tests inside the Windows programs, e.g.
#   scripts/test.sh e2e_tests 'WindowTest.*'
set -euo pipefail
pattern=${1:-}
filter=${2:-}
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native --no-tests=ignore ${pattern:+-R "$pattern"}
if [ -z "$pattern" ]; then
    # A few seconds of each parser's fuzzer on the seeds kept in fuzz/corpus.
    scripts/fuzz.sh 5
fi

cmake --preset windows >/dev/null
cmake --build --preset windows
# The downloads, which the installer test installs and uninstalls.
scripts/package.sh

source scripts/lib/wine-env.sh
trap velumar_stop_wine_env EXIT
velumar_start_xvfb
velumar_use_prefix test fresh
if [ -n "$filter" ]; then
    export GTEST_FILTER="$filter"
fi
ctest --preset windows --no-tests=ignore ${pattern:+-R "$pattern"}
