#!/usr/bin/env bash
# Builds the presets and runs every test: the native unit tests, a few seconds of each fuzzer,
# then the Windows unit, adapter, end-to-end and installer tests under Wine on a private X
# display and Wine prefix.
# A subset: scripts/test.sh PATTERN [FILTER] runs only the ctest tests matching PATTERN (the
# native tests are one ctest test each; under Wine each program is one: unit_tests, win32_tests,
# e2e_tests), and FILTER, a GoogleTest filter, picks tests inside the Windows programs, e.g.
#   scripts/test.sh e2e_tests 'WindowTest.*'
# A PATTERN that matches no test, or a FILTER that matches no test of a program it runs, fails.
set -euo pipefail
pattern=${1:-}
filter=${2:-}
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# The bundled image decoders build for Windows (the first time only: minutes, into a cache
# outside the clone) while the native build and tests run; the Windows build waits for them.
mkdir -p build
setsid scripts/decoders.sh >build/decoders.log 2>&1 &
decoders_pid=$!
decoders_running=1
stop_decoders() {
    if [ "$decoders_running" = 1 ]; then
        kill -TERM -- "-$decoders_pid" 2>/dev/null || true
        wait "$decoders_pid" 2>/dev/null || true
    fi
}
trap stop_decoders EXIT

# The decoders' test pictures, made with Debian's encoders; native and Windows tests read them
# from VELUMAR_SAMPLES.
scripts/make-samples.sh build/samples
VELUMAR_SAMPLES=$(cd build/samples && pwd)
export VELUMAR_SAMPLES

cmake --preset native >/dev/null
cmake --build --preset native

# How many tests of a preset the pattern picks.
count_tests() {
    ctest --preset "$1" -N ${pattern:+-R "$pattern"} | sed -n 's/^Total Tests: //p'
}
native_tests=$(count_tests native)
if [ "$native_tests" -gt 0 ]; then
    ctest --preset native --no-tests=error ${pattern:+-R "$pattern"}
fi
if [ -z "$pattern" ]; then
    # A few seconds of each parser's fuzzer on the seeds kept in fuzz/corpus.
    scripts/fuzz.sh 5
fi

decoders_running=0
if ! wait "$decoders_pid"; then
    echo "scripts/test.sh: building the image decoders failed (build/decoders.log):" >&2
    tail -n 40 build/decoders.log >&2
    exit 1
fi
cmake --preset windows >/dev/null
windows_tests=$(count_tests windows)
if [ "$((native_tests + windows_tests))" -eq 0 ]; then
    echo "scripts/test.sh: no test matches '$pattern'; 'ctest --preset native -N' and" \
        "'ctest --preset windows -N' list them" >&2
    exit 1
fi
if [ "$windows_tests" -eq 0 ]; then
    echo "No Windows test program matches '$pattern'."
    exit 0
fi

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
status=0
ctest --preset windows --no-tests=error ${pattern:+-R "$pattern"} || status=$?
# ctest shows a program's output only when it fails: say how many tests each one ran.
awk '/^[0-9]+\/[0-9]+ Test: / { name = $3 }
     /^\[==========\] [0-9]+ tests? from .* ran\./ { print name ": " $2 " tests ran" }' \
    build/windows/Testing/Temporary/LastTest.log
exit "$status"
