#!/bin/sh
# The whole program with its window on a virtual display, in a job that waits
# on a controller that answers every command of the job 5 s late (the start-up
# handshake at once): the processor time of the process, window included, and
# how often its main thread wakes. SECONDS is how long it is measured.
# Usage: bench/window_wait.sh [BUILD_DIR] [SECONDS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-20}
dir=$(mktemp -d /tmp/zel-window-wait-XXXXXX)
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    rm -rf "$dir"
}
trap cleanup EXIT
cp "$root"/examples/machine/setup.dat "$root"/examples/machine/setup2.dat "$dir"/
"$build/zel-sim" --slo-syn --dir "$dir" --delay 5000 --delay-from 2 >"$dir/sim.log" 2>&1 &
pids="$!"
sleep 0.5
exec 3>"$dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
pids="$pids $!"
for _ in $(seq 50); do [ -s "$dir/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$dir/display")"
"$build/zel" --dir "$dir" "$root/examples/drawings/letters.dxf" >"$dir/zel.log" 2>&1 &
zel=$!
pids="$pids $zel"
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --classname '^zel$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "window_wait: no window" >&2; cat "$dir/zel.log" >&2; exit 1; }
sleep 1
xdotool mousemove --window "$window" 336 52 click 1   # Run Tool
sleep 2   # the job is under way

# Nanoseconds on a processor, every thread of the process.
cpu_ns() { cat /proc/"$zel"/task/*/schedstat | awk '{ s += $1 } END { printf "%d\n", s }'; }
switches() { awk '/^voluntary_ctxt_switches/ { v = $2 } /^nonvoluntary_ctxt_switches/ { n = $2 } END { print v + n }' "/proc/$zel/status"; }
[ -n "${ZEL_BENCH_SHOT:-}" ] && import -window root "$ZEL_BENCH_SHOT"
[ -n "${ZEL_BENCH_STRACE:-}" ] && timeout 3 strace -tt -p "$zel" -o "$ZEL_BENCH_STRACE" 2>/dev/null || true
t0=$(cpu_ns); s0=$(switches)
sleep "$seconds"
t1=$(cpu_ns); s1=$(switches)
awk -v t="$((t1 - t0))" -v s="$((s1 - s0))" -v secs="$seconds" 'BEGIN {
    printf "processor time %.1f ms in %d s: %.3f%% of one core; the main thread woke %.1f times a second\n",
           t / 1e6, secs, 100 * t / 1e9 / secs, s / secs }'
