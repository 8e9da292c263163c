#!/usr/bin/env bash
# Measures the program's start beside the smallest wxWidgets program with a window (start_reference), both on a
# private virtual display: the time from starting the process until its main window is mapped, and the memory the
# process holds (VmRSS) a second later. Each runs the given number of times, alternating, with settings of its own in
# a scratch folder; the medians and their ratios are printed. With an earlier build folder, its program is started by
# turns with the other two and reported beside them, so that a change is measured before and after in one run.
#
#     bash scripts/start_time.sh [build folder, default build/release] [runs, default 7] [earlier build folder]
#
# Use a Release build (see README.md, Benchmarks); a sanitizer build measures the sanitizers.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
runs=${2:-7}
earlier=${3:-}

if [ -z "${START_TIME_ON_DISPLAY:-}" ]; then
    for program in pelorin start_reference; do
        if [ ! -x "$build/bin/$program" ]; then
            echo "start_time.sh: $build/bin/$program is missing: build the targets pelorin and start_reference" >&2
            exit 1
        fi
    done
    if [ -n "$earlier" ] && [ ! -x "$earlier/bin/pelorin" ]; then
        echo "start_time.sh: $earlier/bin/pelorin is missing" >&2
        exit 1
    fi
    START_TIME_ON_DISPLAY=1 exec bash "$here/with_display.sh" bash "$0" "$build" "$runs" "$earlier"
fi

# Prints the milliseconds until a window whose name starts with title is mapped, then the process's VmRSS in
# kilobytes one second later; the process is ended afterwards.
measure() {
    local program=$1 title=$2 scratch
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelorin-start.XXXXXX")
    mkdir -p "$scratch/config" "$scratch/data" "$scratch/home"
    local start end pid
    start=$(date +%s%N)
    HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
        "$program" >"$scratch/log" 2>&1 &
    pid=$!
    # A window is on the screen once it is mapped; the limit only guards against a program that never shows one.
    local deadline=$((SECONDS + 60)) shown=0
    while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$pid" 2>/dev/null; do
        if xwininfo -root -tree 2>/dev/null | grep -q "\"$title"; then
            for id in $(xwininfo -root -tree | grep "\"$title" | awk '{print $1}'); do
                if xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then
                    shown=1
                    break
                fi
            done
        fi
        [ "$shown" = 1 ] && break
        sleep 0.005
    done
    end=$(date +%s%N)
    sleep 1
    local rss
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    rm -rf "$scratch"
    if [ "$shown" != 1 ] || [ -z "$rss" ]; then
        echo "failed"
        return
    fi
    echo "$(((end - start) / 1000000)) $rss"
}

median() {
    sort -n | awk '{a[NR] = $1} END {if (NR == 0) print "nan"; else if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2}'
}

times_ours=() rss_ours=() times_ref=() rss_ref=() times_earlier=() rss_earlier=()
for ((run = 0; run < runs; ++run)); do
    if [ -n "$earlier" ]; then
        read -r t m < <(measure "$earlier/bin/pelorin" "Tallowmere Pelorin")
        [ "$t" != failed ] && times_earlier+=("$t") rss_earlier+=("$m")
    fi
    read -r t m < <(measure "$build/bin/pelorin" "Tallowmere Pelorin")
    [ "$t" != failed ] && times_ours+=("$t") rss_ours+=("$m")
    read -r t m < <(measure "$build/bin/start_reference" "Start reference")
    [ "$t" != failed ] && times_ref+=("$t") rss_ref+=("$m")
done

if [ "${#times_ours[@]}" = 0 ] || [ "${#times_ref[@]}" = 0 ]; then
    echo "start_time.sh: a program showed no window" >&2
    exit 1
fi
ours_t=$(printf '%s\n' "${times_ours[@]}" | median)
ours_m=$(printf '%s\n' "${rss_ours[@]}" | median)
ref_t=$(printf '%s\n' "${times_ref[@]}" | median)
ref_m=$(printf '%s\n' "${rss_ref[@]}" | median)
awk -v ot="$ours_t" -v rt="$ref_t" -v om="$ours_m" -v rm="$ref_m" -v on="${#times_ours[@]}" -v rn="${#times_ref[@]}" 'BEGIN {
    printf "start to mapped main window: pelorin %s ms, start_reference %s ms, ratio %.2f (%d and %d runs)\n", ot, rt, ot / rt, on, rn
    printf "memory a second later (VmRSS): pelorin %.1f MB, start_reference %.1f MB, ratio %.2f\n", om / 1024, rm / 1024, om / rm
}'
if [ -n "$earlier" ] && [ "${#times_earlier[@]}" != 0 ]; then
    earlier_t=$(printf '%s\n' "${times_earlier[@]}" | median)
    earlier_m=$(printf '%s\n' "${rss_earlier[@]}" | median)
    awk -v et="$earlier_t" -v rt="$ref_t" -v em="$earlier_m" -v rm="$ref_m" -v en="${#times_earlier[@]}" 'BEGIN {
        printf "the earlier build in the same run: %s ms, ratio %.2f; %.1f MB, ratio %.2f (%d runs)\n", et, et / rt, em / 1024, em / rm, en
    }'
fi
