#!/bin/sh
# Builds the drawing reader's fuzz target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, replays the seed drawings, then fuzzes for a
# while (FUZZ_SECONDS, 60 by default). Any crash, sanitizer report or broken
# table fails the run.
#   tests/fuzz/run.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$(mkdir -p "${1:-$root/build}/fuzz" && cd "${1:-$root/build}/fuzz" && pwd)
seconds=${FUZZ_SECONDS:-60}
cxx=${CLANGXX:-clang++}

sources="$root/import/*.cpp $root/shell/notice.cpp $root/shell/settings.cpp
         $root/shell/window_state.cpp $root/shell/progdir.cpp
         $root/platform/files.cpp $root/platform/text.cpp"
# shellcheck disable=SC2086
"$cxx" -std=c++20 -O1 -g -Wall -Wextra -Werror -ffp-contract=off -I"$root" \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -D_GLIBCXX_ASSERTIONS \
    "$here/dxf_fuzz.cpp" $sources -o "$out/dxf_fuzz"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "dxf_fuzz: replaying the seed drawings"
"$out/dxf_fuzz" -artifact_prefix="$out/" "$here"/corpus/* 2>"$out/replay.log" ||
    { cat "$out/replay.log"; exit 1; }

echo "dxf_fuzz: fuzzing for $seconds s"
rm -rf "$out/corpus" && mkdir -p "$out/corpus"
"$out/dxf_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" "$here/corpus" \
    2>"$out/fuzz.log" || { tail -n 60 "$out/fuzz.log"; exit 1; }
tail -n 12 "$out/fuzz.log"
