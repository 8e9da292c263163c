#!/usr/bin/env bash
# Installs what is missing, builds the Debug configuration with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test through CTest (GUI tests under a virtual display).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=${PELORIN_TEST_BUILD:-build/debug-asan}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELORIN_SANITIZE=ON
cmake --build "$build" --parallel "$(nproc)"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
xvfb-run -a ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
