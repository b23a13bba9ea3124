#!/bin/sh
# zel.exe on a serial port end to end: the simulated controller (the Linux
# zel-sim) answers on a pseudo-terminal that Wine shows as COM1, and
# zel.exe --check brings each controller family up through the Win32
# communications API; every byte each way (ctrace.txt) must be what the
# Linux program exchanges with the same controller. A controller that stays
# silent gives the message that names the port.
# Wine takes COM1 from HKLM\Software\Wine\Ports and rewrites the link
# dosdevices/com1 at each start: the link alone is not enough.
# Usage: serial.sh WINDOWS_ZEL LINUX_BUILD SOURCE_DIR WORK_DIR
set -u
win_zel=$1 linux_build=$2 src=$3 work=$4
for p in zel zel-sim; do
    [ -x "$linux_build/$p" ] || { echo "$linux_build/$p is not built: make build first" >&2; exit 1; }
done
rm -rf "$work" && mkdir -p "$work" || exit 1
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
sh "$src/tests/windows/wine-prefix.sh" "$WINEPREFIX" || exit 1
failed=0
fail() {
    echo "FAILED: $*" >&2
    failed=1
}

# check KIND MODEL [SIM OPTIONS]: zel --check on Linux and on Windows against
# a fresh simulator each; prints nothing when they agree.
check() {
    name=$1 model=$2
    shift 2
    for side in linux windows; do
        dir="$work/$name-$side"
        mkdir -p "$dir/sim" && cp "$src"/examples/machine/setup2.dat "$dir/"
        # The sample's settings with the model asked for (the 16th field).
        awk -v m="$model" '{ $16 = m; print }' "$src/examples/machine/setup.dat" >"$dir/setup.dat"
        "$linux_build/zel-sim" "$@" --dir "$dir/sim" >"$dir/sim.log" 2>&1 &
        sim=$!
        for i in $(seq 1 50); do [ -L "$dir/sim/COM1" ] && break; sleep 0.1; done
        pts=$(readlink "$dir/sim/COM1")
        if [ "$side" = linux ]; then
            ln -s "$pts" "$dir/COM1"
            "$linux_build/zel" --check --dir "$dir" >"$dir/out.txt" 2>&1
        else
            wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$pts" /f >/dev/null 2>&1
            wineserver -k 2>/dev/null
            wineserver -w 2>/dev/null
            wine "$win_zel" --check --dir "Z:$dir" 2>&1 | tr -d '\r' >"$dir/out.txt"
        fi
        kill -INT $sim
        wait $sim
    done
    if ! cmp -s "$work/$name-linux/ctrace.txt" "$work/$name-windows/ctrace.txt"; then
        fail "$name: the bytes on the line differ"
        diff "$work/$name-linux/ctrace.txt" "$work/$name-windows/ctrace.txt" | head -10 >&2
    fi
}

check slo-syn 1 --slo-syn
grep -q "^Controller ready" "$work/slo-syn-windows/out.txt" || fail "slo-syn: $(cat "$work/slo-syn-windows/out.txt")"
check galil 4 --galil
grep -q "^Controller ready" "$work/galil-windows/out.txt" || fail "galil: $(cat "$work/galil-windows/out.txt")"
check silent 1 --slo-syn --silent-after 0
grep -q 'did not answer' "$work/silent-windows/out.txt" && grep -q '\\\\.\\COM1' "$work/silent-windows/out.txt" ||
    fail "silent: $(cat "$work/silent-windows/out.txt")"
[ $failed = 0 ] && echo "COM1 through Wine: Slo-Syn and Galil ready, a silent controller reported"
exit $failed
