#!/usr/bin/env bash
# Runs a command on a virtual display of its own (Xvfb, 24-bit colour), so that GUI tests running side by side never
# share a pointer grab or a window stack. Listing GoogleTest cases needs no display and runs directly.
set -uo pipefail

for arg in "$@"; do
    [ "$arg" = "--gtest_list_tests" ] && exec "$@"
done

folder=$(mktemp -d "${TMPDIR:-/tmp}/pelorin-display.XXXXXX")
server=
command_pid=
# The server goes with this script however it ends, also when CTest stops a test that ran past its time: a server
# left behind would keep CTest's output pipe open, and CTest would wait for it.
finish() {
    [ -z "$command_pid" ] || kill "$command_pid" 2>/dev/null
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null
        wait "$server" 2>/dev/null
    fi
    rm -rf "$folder"
}
trap 'finish; exit 143' TERM
trap 'finish; exit 130' INT
trap 'finish; exit 129' HUP

# Xvfb picks a free display number itself and writes it to the descriptor, so parallel starts cannot collide.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$folder/display" >"$folder/log" 2>&1 </dev/null &
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
    finish
    exit 1
fi

# In the background, so that a signal to this script reaches the traps above at once.
DISPLAY=":$(head -n1 "$folder/display")" "$@" &
command_pid=$!
wait "$command_pid"
status=$?
command_pid=
finish
exit $status
