#!/usr/bin/env bash
# Builds the release configuration and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --parallel "$(nproc)"

if [ -x "$build/bin/pelorin" ]; then
    exec "$build/bin/pelorin" "$@"
fi
echo "Built the libraries, their tests and benchmarks in $build."
echo "The program itself is not part of the build yet, so there is nothing to start."
