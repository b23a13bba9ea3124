#!/bin/sh
# Builds the Debian package in a folder of its own and takes it apart: its
# files, its control fields, the desktop entry, the AppStream metadata, the
# manual pages, and the packaged program finding its sample machine folder.
# Usage: run.sh BUILD_DIR CPACK VERSION
set -eu
build=$1
cpack=$2
version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() {
    echo "package: $*" >&2
    failures=$((failures + 1))
}

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
deb=$out/zel_${version}_$arch.deb
[ -f "$deb" ] || { echo "package: no $deb" >&2; ls "$out" >&2; exit 1; }

# Every file, and nothing else: no report from a test run, no stray file.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$out/files"
sort >"$out/expected" <<FILES
./usr/bin/zel
./usr/bin/zel-machine
./usr/bin/zel-sim
./usr/share/applications/zel.desktop
./usr/share/icons/hicolor/128x128/apps/zel.png
./usr/share/icons/hicolor/16x16/apps/zel.png
./usr/share/icons/hicolor/256x256/apps/zel.png
./usr/share/icons/hicolor/32x32/apps/zel.png
./usr/share/icons/hicolor/48x48/apps/zel.png
./usr/share/icons/hicolor/64x64/apps/zel.png
./usr/share/icons/hicolor/scalable/apps/zel.svg
./usr/share/man/man1/zel-sim.1.gz
./usr/share/man/man1/zel.1.gz
./usr/share/metainfo/local.zel.Zel.metainfo.xml
./usr/share/zel/drawings/letters.dxf
./usr/share/zel/machine-folder.sh
./usr/share/zel/machine/log.dat
./usr/share/zel/machine/setup.dat
./usr/share/zel/machine/setup2.dat
FILES
diff -u "$out/expected" "$out/files" >&2 || fail "the files differ from the list above"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zel ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    field Depends | tr ',' '\n' | grep -q "^ *$dep\( \|$\)" || fail "Depends lacks $dep: $(field Depends)"
done
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
field Description | head -n 1 | grep -q "channel letters" || fail "Description: $(field Description)"

root=$out/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/zel.desktop
grep -qx 'Exec=/usr/bin/zel-machine %f' "$desktop" || fail "desktop entry Exec: $(grep Exec "$desktop")"
grep -qx 'TryExec=/usr/bin/zel-machine' "$desktop" || fail "desktop entry without TryExec"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" >&2 || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/local.zel.Zel.metainfo.xml" >&2 ||
        fail "appstreamcli validate"
fi
for size in 16 32 48 64 128 256; do
    file "$root/usr/share/icons/hicolor/${size}x$size/apps/zel.png" |
        grep -q "PNG image data, $size x $size" || fail "icon ${size}x$size"
done
for page in zel zel-sim; do
    text=$(zcat "$root/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -P -cbou -ww 2>"$out/groff.log")
    [ -s "$out/groff.log" ] && { cat "$out/groff.log" >&2; fail "$page(1) warnings"; }
    echo "$text" | grep -q "SYNOPSIS" || fail "$page(1) has no synopsis"
done
zcat "$root/usr/share/man/man1/zel.1.gz" | grep -q "ZEL_MACHINE" || fail "zel(1) does not name ZEL_MACHINE"

# The packaged program on a folder of the operator's own, made from the
# packaged sample; nothing is written beside the program.
machine=$out/operator/zel-machine
ZEL_MACHINE=$machine "$root/usr/bin/zel" --check --simulate >"$out/check.log" 2>&1 ||
    { cat "$out/check.log" >&2; fail "zel --check --simulate"; }
for f in setup.dat setup2.dat log.dat; do
    cmp -s "$root/usr/share/zel/machine/$f" "$machine/$f" || fail "$f not copied from the sample"
done
[ "$(ls "$root/usr/bin")" = "$(printf 'zel\nzel-machine\nzel-sim')" ] ||
    fail "something was written beside the program: $(ls "$root/usr/bin")"

if [ "$failures" -ne 0 ]; then
    echo "package: $failures failed" >&2
    exit 1
fi
echo "package: $(basename "$deb") checked"
