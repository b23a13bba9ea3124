#!/bin/sh
# Runs the fuzz target of the drawing reader and the planner (built with
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer by the clang
# sanitizer build): replays the seed drawings, then fuzzes for FUZZ_SECONDS
# (10 by default). Any crash, sanitizer report, broken table or wall that is
# not a length fails the run; the input that did it is kept beside the target.
#   tests/fuzz/run.sh FUZZ_TARGET
set -eu
here=$(cd "$(dirname "$0")" && pwd)
target=$1
out=$(dirname "$target")/fuzz
seconds=${FUZZ_SECONDS:-10}

# The planner writes its reports (curf.txt) into the working directory.
mkdir -p "$out/work" && cd "$out/work"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "dxf_fuzz: replaying the seed drawings"
"$target" -artifact_prefix="$out/" "$here"/corpus/* 2>"$out/replay.log" ||
    { cat "$out/replay.log"; exit 1; }

echo "dxf_fuzz: fuzzing for $seconds s"
rm -rf "$out/corpus" && mkdir -p "$out/corpus"
"$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" "$here/corpus" \
    2>"$out/fuzz.log" || { tail -n 60 "$out/fuzz.log"; exit 1; }
tail -n 12 "$out/fuzz.log"
