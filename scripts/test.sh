#!/usr/bin/env bash
# Installs what is missing, builds the Debug configuration with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test through CTest (GUI tests under a virtual display); before that, the same tests in an
# optimised clang build (PELORIN_SKIP_CLANG=1 skips it).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=${PELORIN_TEST_BUILD:-build/debug-asan}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELORIN_SANITIZE=ON
cmake --build "$build" --parallel "$(nproc)"

# The same sources must be correct under clang++ too (it honours vector alignment differently from g++): an
# optimised clang build runs every test first.
if [ -z "${PELORIN_SKIP_CLANG:-}" ]; then
    cmake -S . -B build/clang -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=Release -DPELORIN_BENCHMARKS=OFF
    cmake --build build/clang --parallel "$(nproc)"
    xvfb-run -a ctest --test-dir build/clang --output-on-failure --parallel "$(nproc)"
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
xvfb-run -a ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
