#!/bin/sh
# The Windows program against the Linux one, each the real program:
#  - a job on the sample drawing: started with --simulate on a virtual display
#    (Xvfb), Run Tool clicked with the mouse, left through File, Exit; the
#    job's trace.txt, the production log log.dat and every byte to and from
#    the controller (ctrace.txt) must be the same byte for byte;
#  - zel --measure on every sample and test drawing: the same table (Windows
#    ends its lines with CR LF on the console) and the same exit status.
# Usage: desktop.sh WINDOWS_ZEL LINUX_ZEL SOURCE_DIR WORK_DIR
set -u
win_zel=$1 linux_zel=$2 src=$3 work=$4
if [ ! -x "$linux_zel" ]; then
    echo "the Linux program $linux_zel is not built: make build first" >&2
    exit 1
fi
rm -rf "$work" && mkdir -p "$work" || exit 1
# A prefix of its own: Wine's desktop process stays tied to its first display.
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
sh "$src/tests/windows/wine-prefix.sh" "$WINEPREFIX" || exit 1
failed=0
fail() {
    echo "FAILED: $*" >&2
    failed=1
}

# job NAME KIND [stop]: the program of KIND ("linux" or "windows") through a
# job in the machine folder NAME; with "stop", a continuous job stopped with
# Esc while it runs.
job() {
    dir="$work/$1" kind=$2 stop=${3:-}
    mkdir -p "$dir" && cp "$src"/examples/machine/setup.dat "$src"/examples/machine/setup2.dat \
        "$src"/examples/machine/log.dat "$dir"/
    if [ "$kind" = linux ]; then
        start="\"$linux_zel\" --dir \"$dir\" --simulate \"$src/examples/drawings/letters.dxf\""
    else
        start="wine \"$win_zel\" --dir \"Z:$dir\" --simulate \"Z:$src/examples/drawings/letters.dxf\""
    fi
    xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
        '"$start"' >"'"$dir"'/out.txt" 2>&1 &
        program=$!
        window=""
        for i in $(seq 1 150); do
            window=$(xdotool search --onlyvisible --name "^zel - letters.dxf" 2>/dev/null | head -n 1)
            [ -n "$window" ] && break
            sleep 0.2
        done
        [ -n "$window" ] || { echo "no window" >&2; kill $program; exit 1; }
        sleep 1
        if [ -n "'"$stop"'" ]; then
            xdotool windowfocus --sync "$window" key alt+o
            sleep 0.5
            xdotool key c
            sleep 0.5
        fi
        xdotool mousemove --window "$window" 336 52 click 1
        if [ -n "'"$stop"'" ]; then
            for i in $(seq 1 100); do
                [ -s "'"$dir"'/trace.txt" ] && [ $(wc -l <"'"$dir"'/trace.txt") -ge 50 ] && break
                sleep 0.1
            done
            xdotool key Escape
        fi
        # The job is over when its line is in the job history.
        for i in $(seq 1 300); do
            [ -s "'"$dir"'/jobs.csv" ] && [ $(wc -l <"'"$dir"'/jobs.csv") -ge 2 ] && break
            sleep 0.2
        done
        sleep 0.5
        # The message that says the job stopped.
        [ -n "'"$stop"'" ] && xdotool key Return && sleep 0.5
        xdotool windowfocus --sync "$window" key alt+f
        sleep 0.5
        xdotool key x
        for i in $(seq 1 100); do
            kill -0 $program 2>/dev/null || break
            sleep 0.2
        done
        kill -0 $program 2>/dev/null && { echo "the program did not end" >&2; kill $program; exit 1; }
        wait $program
        wineserver -k 2>/dev/null
        echo ran >"'"$dir"'/ran"
    '
    # xvfb-run may fail to clean up after itself: what counts is the run.
    [ -f "$dir/ran" ] || fail "$kind: the job did not run through the window"
}

job linux linux
job windows windows
job windows-stop windows stop
tail -n 1 "$work/windows-stop/trace.txt" | grep -q "^Job stopped by the operator at wall" ||
    fail "Esc did not stop the job: $(tail -n 1 "$work/windows-stop/trace.txt")"
for f in trace.txt log.dat ctrace.txt; do
    if ! cmp -s "$work/linux/$f" "$work/windows/$f"; then
        fail "$f differs between Linux and Windows"
        diff "$work/linux/$f" "$work/windows/$f" | head -20 >&2
    fi
done
[ -s "$work/windows/trace.txt" ] || fail "the Windows job left no trace.txt"

# --measure, on the settings of the sample machine folder.
mkdir -p "$work/measure-linux" "$work/measure-windows"
cp "$src"/examples/machine/setup.dat "$work/measure-linux/"
cp "$src"/examples/machine/setup.dat "$work/measure-windows/"
count=0
for drawing in "$src"/examples/drawings/*.dxf "$src"/tests/import/data/*.dxf \
               "$src"/tests/fuzz/corpus/*.dxf; do
    # Lettering (text_*.dxf) is read with the font libraries, which Windows has not.
    case $(basename "$drawing") in text_*) continue ;; esac
    "$linux_zel" --measure --dir "$work/measure-linux" "$drawing" >"$work/linux.txt" 2>/dev/null
    linux_status=$?
    wine "$win_zel" --measure --dir "Z:$work/measure-windows" "Z:$drawing" 2>/dev/null |
        tr -d '\r' >"$work/windows.txt"
    windows_status=$(wine "$win_zel" --measure --dir "Z:$work/measure-windows" "Z:$drawing" \
                     >/dev/null 2>&1; echo $?)
    if [ "$linux_status" != "$windows_status" ] || ! cmp -s "$work/linux.txt" "$work/windows.txt"; then
        fail "--measure $(basename "$drawing"): Linux $linux_status, Windows $windows_status"
        diff "$work/linux.txt" "$work/windows.txt" | head -10 >&2
    fi
    count=$((count + 1))
done
echo "--measure: $count drawings compared"
exit $failed
