#!/bin/sh
# One line after make test: the tests of every ctest log given, run, passed,
# skipped and failed, and the time since STARTED (seconds since the epoch).
#   scripts/test-summary.sh STARTED CTEST_LOG...
started=$1
shift
awk -v started="$started" -v now="$(date +%s)" '
    / tests passed, / { failed += $4; run += $NF }
    /\(Skipped\)$/ { skipped++ }
    END {
        took = now - started
        printf "make test: %d tests run, %d passed, %d skipped, %d failed, in %d min %02d s\n",
               run, run - failed - skipped, skipped, failed, took / 60, took % 60
    }' "$@"
