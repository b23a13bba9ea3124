#!/bin/sh
# Makes the README's pictures from the program itself, on a virtual display:
# docs/window.png, the window on the sample drawing with the simulated
# machine, and docs/setup.png, the Setup dialog. Needs a build (make build);
# BUILD names another build folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}

if [ -z "${ZEL_SCREENSHOTS_DISPLAY:-}" ]; then
    "$root/scripts/install-deps.sh" imagemagick
    export ZEL_SCREENSHOTS_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0"
fi

machine=$(mktemp -d)
trap 'rm -rf "$machine"' EXIT
for f in setup.dat setup2.dat log.dat; do cp "$root/examples/machine/$f" "$machine/"; done

# Waits up to 30 s for a shown window matching the xdotool search arguments.
find_window() {
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    echo "screenshots: no window for $*" >&2
    return 1
}

"$build/zel" --simulate --dir "$machine" "$root/examples/drawings/letters.dxf" &
zel=$!
window=$(find_window --classname '^zel$')
sleep 1
mkdir -p "$root/docs"
import -window "$window" "$root/docs/window.png"

# Tools, Setup
xdotool windowfocus --sync "$window" key alt+t
sleep 0.5
xdotool key s
setup=$(find_window --name '^Setup$')
sleep 1
import -window "$setup" "$root/docs/setup.png"
xdotool key Escape

# File, Exit
sleep 0.5
xdotool windowfocus --sync "$window" key alt+f
sleep 0.5
xdotool key x
wait "$zel"
echo "screenshots: docs/window.png docs/setup.png"
