#!/usr/bin/env bash
# Installs what is missing, builds the Debug configuration with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test through CTest (GUI tests under a virtual display); before that, the headless core's tests in an
# optimised clang build (PELORIN_SKIP_CLANG=1 skips it).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=${PELORIN_TEST_BUILD:-build/debug-asan}
# Line tables (-g1) are all the sanitizers' reports need, and they build faster than full debug information.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELORIN_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DCMAKE_C_FLAGS_DEBUG=-g1
cmake --build "$build" --parallel "$(nproc)"

# The core must be correct under clang++'s optimiser too (it honours vector alignment differently from g++): an
# optimised clang build of the headless core runs its tests first. The windows are glue over the core and are
# tested in the sanitizer build. Built without precompiled headers, it also shows that each file includes what it
# uses.
if [ -z "${PELORIN_SKIP_CLANG:-}" ]; then
    cmake -S . -B build/clang -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=Release -DPELORIN_BENCHMARKS=OFF -DPELORIN_GUI=OFF -DPELORIN_PCH=OFF
    cmake --build build/clang --parallel "$(nproc)"
    ctest --test-dir build/clang --output-on-failure --parallel "$(nproc)"
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
xvfb-run -a ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
