#!/usr/bin/env bash
# Installs what is missing, builds the Debug configuration with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test through CTest (GUI tests under a virtual display); beside it, the headless core's tests in an
# optimised clang build, which also shows that the windows and the benchmarks build with clang (PELORIN_SKIP_CLANG=1
# skips it).
# Ends with the failed cases, if any, and the time each step took.
set -euo pipefail
cd "$(dirname "$0")/.."

started=$SECONDS
bash scripts/deps.sh
installed=$SECONDS

cores=$(nproc)
build=${PELORIN_TEST_BUILD:-build/debug-asan}

# The core must be correct under clang++'s optimiser too (it honours vector alignment differently from g++): an
# optimised clang build of the headless core runs its tests. Built without precompiled headers and file by file, the
# core also shows that each file includes what it uses. The windows are glue over the core and are tested in the
# sanitizer build; here they are built only to show that the whole tree, fuzz targets included, builds with clang
# (in batches, over precompiled wx headers, unoptimised: a fraction of a build for running). It is built beside the
# sanitizer build at the lowest priority, on the processors that build leaves idle (its last links, the tests).
clang_pid=
if [ -z "${PELORIN_SKIP_CLANG:-}" ]; then
    mkdir -p build
    # A process group of its own, stopped whole when this script ends early.
    setsid -w bash -c 'set -e
        cmake -S . -B build/clang -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
            -DCMAKE_BUILD_TYPE=Release -DPELORIN_BENCHMARKS=ON -DPELORIN_GUI=ON -DPELORIN_PCH=OFF \
            -DPELORIN_WINDOWS_BUILD_ONLY=ON
        nice -n 19 cmake --build build/clang --parallel "$1"' clang-build "$cores" \
        > build/clang-build.log 2>&1 &
    clang_pid=$!
    trap '[ -z "$clang_pid" ] || kill -- "-$clang_pid" 2>/dev/null || true' EXIT
fi

# Line tables (-g1) are all the sanitizers' reports need, and they build faster than full debug information. The
# benchmarks run by hand, not as tests: the clang build compiles them (a tenth of this build's processor time), so
# they keep building without standing in the way of the tests.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELORIN_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DCMAKE_C_FLAGS_DEBUG=-g1 -DPELORIN_BENCHMARKS=OFF
cmake --build "$build" --parallel "$cores"
built=$SECONDS

# The cases run in groups, a process (and a display) each, most of them busy on the processor: as many groups at
# once as there are processors keep them busy. Each takes up to about 0.4 GB under the sanitizers, which bounds the
# count on a machine with little memory.
available_kb=$(awk '/^MemAvailable:/ { print $2 }' /proc/meminfo)
jobs=$cores
by_memory=$(( available_kb / (400 * 1024) ))
[ "$by_memory" -ge "$jobs" ] || jobs=$(( by_memory > 0 ? by_memory : 1 ))

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
xvfb-run -a ctest --test-dir "$build" --output-on-failure --parallel "$jobs" || status=$?
bash scripts/failed_cases.sh "$build"
tested=$SECONDS

clang_tested=$SECONDS
if [ -n "$clang_pid" ]; then
    clang_built=0
    wait "$clang_pid" || clang_built=$?
    clang_pid=
    if [ "$clang_built" -ne 0 ]; then
        cat build/clang-build.log
        echo "The clang build failed (its output is above and in build/clang-build.log)." >&2
        exit 1
    fi
    clang_waited=$SECONDS
    ctest --test-dir build/clang --output-on-failure --parallel "$jobs" || status=$?
    bash scripts/failed_cases.sh build/clang
    clang_tested=$SECONDS
    echo "Waited $(( clang_waited - tested ))s for the clang build, its tests took $(( clang_tested - clang_waited ))s."
fi
echo "Install $(( installed - started ))s, sanitizer build $(( built - installed ))s," \
    "its tests $(( tested - built ))s; $(( clang_tested - started ))s in all."
exit "$status"
