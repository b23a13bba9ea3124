#!/bin/sh
# Makes the README's pictures from the program itself, on a virtual display:
# docs/window.png, the window on the sample drawing with the simulated
# machine, docs/large.png and docs/dark.png, the same with Options, Large
# display and Dark theme, docs/setup.png, the Setup dialog, and
# docs/history.png, the job history as a table (of a few jobs written here),
# all on a screen of 1280 x 1024. Needs a build (make build);
# BUILD names another build folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}

if [ -z "${ZEL_SCREENSHOTS_DISPLAY:-}" ]; then
    "$root/scripts/install-deps.sh" imagemagick
    export ZEL_SCREENSHOTS_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0"
fi

machine=$(mktemp -d)
trap 'rm -rf "$machine"' EXIT
for f in setup.dat setup2.dat log.dat; do cp "$root/examples/machine/$f" "$machine/"; done
letters="$root/examples/drawings/letters.dxf"
printf '%s\r\n' \
    'start,end,drawing,figure,start point,divide point,walls,inches planned,inches fed,30-degree notches,100-degree notches,dimples,indicates,flange bends,shears,images,result,inches counted' \
    "2026-12-07T08:02:10+01:00,2026-12-07T08:04:25+01:00,$letters,1,\"(0.000, 0.000)\",,104,135.544,147.544,88,4,4,6,9,1,1,done,135.544" \
    "2026-12-07T08:10:02+01:00,2026-12-07T08:11:20+01:00,$letters,2,\"(0.000, 0.000)\",,52,78.466,90.466,44,2,2,4,5,1,1,done,78.466" \
    "2026-12-07T08:20:40+01:00,2026-12-07T08:21:31+01:00,$letters,3,\"(0.000, 0.000)\",,202,132.527,60.250,80,3,3,5,4,0,0,stopped by operator,60.250" \
    > "$machine/jobs.csv"

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

# Options, Large display, then Dark theme; each chosen again to end it.
options() {
    xdotool windowfocus --sync "$window" key alt+o
    sleep 0.5
    xdotool key "$1"
    sleep 1
}
options l
import -window "$window" "$root/docs/large.png"
options l
options k
import -window "$window" "$root/docs/dark.png"
options k

# A dialog opened from a menu (its Alt key, then the item's key), its title,
# and the picture it makes.
dialog_shot() {
    xdotool windowfocus --sync "$window" key "alt+$1"
    sleep 0.5
    xdotool key "$2"
    dialog=$(find_window --name "^$3\$")
    sleep 1
    import -window "$dialog" "$root/docs/$4.png"
    xdotool key Escape
}
dialog_shot t s Setup setup
sleep 0.5
dialog_shot o h 'Job history' history

# File, Exit
sleep 0.5
xdotool windowfocus --sync "$window" key alt+f
sleep 0.5
xdotool key x
wait "$zel"
echo "screenshots: docs/window.png docs/large.png docs/dark.png docs/setup.png docs/history.png"
