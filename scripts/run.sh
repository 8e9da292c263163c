#!/usr/bin/env bash
# Builds the release configuration and starts the program (arguments go to it, e.g. a site file to open).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --parallel "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built $build/bin/pelorin, but there is no display to show its window on (DISPLAY is not set)." >&2
    echo "Start it from a desktop session, or on a virtual display: xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi
exec "$build/bin/pelorin" "$@"
