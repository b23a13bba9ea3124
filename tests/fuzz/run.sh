#!/bin/sh
# Builds the fuzz target of the drawing reader and the planner with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, replays the seed drawings,
# then fuzzes for a while (FUZZ_SECONDS, 60 by default). Any crash, sanitizer
# report, broken table or wall that is not a length fails the run.
#   tests/fuzz/run.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$(mkdir -p "${1:-$root/build}/fuzz" && cd "${1:-$root/build}/fuzz" && pwd)
seconds=${FUZZ_SECONDS:-60}
cxx=${CLANGXX:-clang++}

# The program's own code without the window system and main(): the fuzz
# target resets every record with the program's own reset. The fonts layer
# is the one without its libraries (whose caches the leak checker would
# report): TEXT and MTEXT are read to their plain text and then passed over.
sources=$(ls "$root"/platform/*.cpp "$root"/resources/*.cpp "$root"/records/*.cpp \
    "$root"/fonts/outline.cpp "$root"/fonts/without_libraries.cpp \
    "$root"/geometry/*.cpp "$root"/import/*.cpp "$root"/planning/*.cpp "$root"/controller/*.cpp \
    "$root"/sequencing/*.cpp "$root"/shell/*.cpp "$root"/app/reset.cpp)
flags="-std=c++20 -O1 -g -Wall -Wextra -Werror -ffp-contract=off -I$root
       -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -D_GLIBCXX_ASSERTIONS"
rm -rf "$out/obj" && mkdir -p "$out/obj"
# shellcheck disable=SC2086
echo "$sources" | xargs -P "$(nproc)" -I{} sh -c \
    'o="$1/obj/$(echo "$2" | tr / _).o"; exec "$3" $4 -c "$2" -o "$o"' _ "$out" {} "$cxx" "$flags"
# shellcheck disable=SC2086
"$cxx" $flags -fsanitize=fuzzer "$here/dxf_fuzz.cpp" "$out"/obj/*.o -o "$out/dxf_fuzz"

# The planner writes its reports (curf.txt) into the working directory.
mkdir -p "$out/work" && cd "$out/work"

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
