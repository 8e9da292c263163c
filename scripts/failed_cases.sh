#!/usr/bin/env bash
# Lists the GoogleTest cases that failed in the last CTest run of a build folder, group by group, from CTest's log:
# a case that reported a failure, and a case that was running when its group's process ended (a crash, a
# sanitizer's report, a timeout). Also lists the cases that skipped themselves. Prints nothing when all passed.
#   scripts/failed_cases.sh <build folder>
set -euo pipefail
log="$1/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0

awk -v source="$(cd "$(dirname "$0")/.." && pwd)" '
    # "<n>/<m> Test: <name>" opens the record of a test, "Test Passed." or "Test Failed." ends it.
    /^[0-9]+\/[0-9]+ Test: / { name = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", name); running = ""; failed = ""; next }
    /^\[ RUN      \] / { running = $4; next }
    /^\[       OK \] / { running = ""; next }
    /^\[  SKIPPED \] [^ ]+ \(/ { skipped[$4] = 1; running = ""; next }
    /^\[  FAILED  \] [^ ]+ \(/ {
        if (index(failed, "\n    " $4 "\n") == 0)
            failed = failed "\n    " $4 "\n"
        running = ""
        next
    }
    /^Test Failed\./ || /^Test Not Run/ {
        if (running != "")
            failed = failed "\n    " running " (running when its process ended)\n"
        if (failed == "")
            failed = "\n    (no case named: see the test'"'"'s output)\n"
        gsub(/\n\n/, "\n", failed)
        report = report "  " name ":" failed
        next
    }
    END {
        if (report != "") {
            print "\nFailed cases, by CTest test (their output is above and in " FILENAME "):"
            printf "%s", report
            print "Run one case alone: build/<config>/bin/<program> --gtest_filter=<Suite.Case> (a window test under " \
                  source "/scripts/with_display.sh)."
        }
        m = 0
        for (c in skipped)
            list[++m] = c
        if (m > 0) {
            print "\nCases that skipped themselves (" m "):"
            for (i = 1; i <= m; ++i)
                print "  " list[i]
        }
    }
' "$log"
