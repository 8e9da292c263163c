#!/usr/bin/env bash
# Runs a command on a virtual display of its own (Xvfb, 24-bit colour), so that GUI tests running side by side never
# share a pointer grab or a window stack. Listing GoogleTest cases needs no display and runs directly.
set -uo pipefail

for arg in "$@"; do
    [ "$arg" = "--gtest_list_tests" ] && exec "$@"
done

folder=$(mktemp -d "${TMPDIR:-/tmp}/pelorin-display.XXXXXX")
# Xvfb picks a free display number itself and writes it to the descriptor, so parallel starts cannot collide.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$folder/display" 2>"$folder/log" &
server=$!
# It starts in a fraction of a second; the minute is only a guard against a server that hangs, far enough that a
# busy machine never reaches it.
deadline=$((SECONDS + 60))
while [ "$SECONDS" -lt "$deadline" ]; do
    [ -s "$folder/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$folder/display" ]; then
    echo "with_display.sh: Xvfb did not start:" >&2
    cat "$folder/log" >&2
    kill "$server" 2>/dev/null
    rm -rf "$folder"
    exit 1
fi

DISPLAY=":$(head -n1 "$folder/display")" "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -rf "$folder"
exit $status
