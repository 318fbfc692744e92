#!/usr/bin/env bash
# Builds the presets and runs every test: the native unit tests, a few seconds of each fuzzer,
# then the Windows unit, adapter, end-to-end and installer tests under Wine on a private X
# display and Wine prefix.
# A subset: scripts/test.sh PATTERN [FILTER] runs only the ctest tests matching PATTERN (the
# native tests are one ctest test each; under Wine each program is one: unit_tests, win32_tests,
# e2e_tests, and the scripted end-to-end runs e2e_dpi_layout and e2e_monitors), and FILTER, a
# GoogleTest filter, picks tests inside the Windows programs, e.g.
#   scripts/test.sh e2e_tests 'WindowTest.*'
# A PATTERN that matches no test, or a FILTER that matches no test of a program it runs, fails.
# A PATTERN that matches only native tests leaves the Windows build and Wine alone. At the end
# it prints how many tests passed, failed and were skipped in each program, and in all.
set -euo pipefail
pattern=${1:-}
filter=${2:-}
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# The Windows preset's ctest tests, read from their definitions, so that a pattern that picks
# none of them needs neither the decoders nor the Windows build to find that out (ctest reads
# the pattern as an extended regular expression, as grep -E does).
windows_candidates=$(sed -n 's/^add_test(NAME \([A-Za-z0-9_]*\).*/\1/p' tests/CMakeLists.txt |
    grep -cE -- "${pattern:-.}" || true)

# The bundled image decoders build for Windows (the first time only: minutes, into a cache
# outside the clone) while the native build and tests run; the Windows build waits for them.
mkdir -p build
decoders_running=0
stop_decoders() {
    if [ "$decoders_running" = 1 ]; then
        kill -TERM -- "-$decoders_pid" 2>/dev/null || true
        wait "$decoders_pid" 2>/dev/null || true
    fi
}
trap stop_decoders EXIT
if [ "$windows_candidates" -gt 0 ]; then
    setsid scripts/decoders.sh >build/decoders.log 2>&1 &
    decoders_pid=$!
    decoders_running=1
fi

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

# Prints passed, failed and skipped tests per program and in all: the native tests from
# ctest's JUnit report, the Windows programs from their GoogleTest summaries in ctest's log
# (the scripted DPI and monitor runs count under e2e_tests). A ctest test that failed without
# a GoogleTest failure (a crash, a timeout, a script's own error) counts as one failure.
native_report=$PWD/build/native/Testing/native-junit.xml
windows_log=$PWD/build/windows/Testing/Temporary/LastTest.log
print_summary() {
    local native=/dev/null windows=/dev/null
    [ "$native_tests" -gt 0 ] && [ -f "$native_report" ] && native=$native_report
    [ "${windows_ran:-0}" = 1 ] && [ -f "$windows_log" ] && windows=$windows_log
    echo
    awk '
        function add(program, p, f, s) {
            if (!(program in passed)) { order[++count] = program }
            passed[program] += p; failed[program] += f; skipped[program] += s
        }
        FNR == 1 { native = (FILENAME == ARGV[1]) }
        { sub(/\r$/, "") }
        native && /^<testsuite / { suite = 1 }
        native && suite && match($0, /(tests|failures|skipped|disabled)="[0-9]+"/) {
            split(substr($0, RSTART, RLENGTH), pair, "=")
            gsub(/"/, "", pair[2])
            junit[pair[1]] = pair[2]
        }
        native && suite && /^\t>/ {
            suite = 0
            add("native unit tests", junit["tests"] - junit["failures"] - junit["skipped"] - \
                junit["disabled"], junit["failures"], junit["skipped"] + junit["disabled"])
        }
        native { next }
        /^[0-9]+\/[0-9]+ Test: / {
            program = ($3 ~ /^e2e_/) ? "e2e_tests" : $3
            add(program, 0, 0, 0)
            reported = 0; passing = 0
        }
        /^Output:$/ { output = 1 }
        /^<end of output>$/ { output = 0 }
        output && /^\[  PASSED  \] [0-9]+ tests?\./ { add(program, $4, 0, 0) }
        output && /^\[  FAILED  \] [0-9]+ tests?, listed below:/ { add(program, 0, $4, 0); reported = 1 }
        output && /^\[  SKIPPED \] [0-9]+ tests?, listed below:/ { add(program, 0, 0, $4) }
        !output && /^Test Passed\./ { passing = 1 }
        !output && /^"[^"]*" end time:/ && !passing && !reported { add(program, 0, 1, 0) }
        END {
            for (i = 1; i <= count; ++i) {
                p = order[i]
                printf "%-18s %6d passed, %d failed, %d skipped\n", p, passed[p], failed[p], skipped[p]
                tp += passed[p]; tf += failed[p]; ts += skipped[p]
            }
            printf "%-18s %6d passed, %d failed, %d skipped\n", "total", tp, tf, ts
        }' "$native" "$windows"
}

native_tests=$(count_tests native)
status=0
if [ "$native_tests" -gt 0 ]; then
    ctest --preset native --no-tests=error ${pattern:+-R "$pattern"} \
        --output-junit "$native_report" || status=$?
    if [ "$status" != 0 ]; then
        print_summary
        exit "$status"
    fi
fi
if [ -z "$pattern" ]; then
    # A few seconds of each parser's fuzzer on the seeds kept in fuzz/corpus.
    scripts/fuzz.sh 5
fi

if [ "$windows_candidates" -eq 0 ]; then
    if [ "$native_tests" -eq 0 ]; then
        echo "scripts/test.sh: no test matches '$pattern'; 'ctest --preset native -N' and" \
            "'ctest --preset windows -N' list them" >&2
        exit 1
    fi
    echo "No Windows test program matches '$pattern'."
    print_summary
    exit 0
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
    print_summary
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
windows_ran=1
ctest --preset windows --no-tests=error ${pattern:+-R "$pattern"} || status=$?
print_summary
exit "$status"
