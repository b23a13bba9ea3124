#!/bin/sh
# Installs the Debian packages that building, running and testing ZEL need,
# and those named as arguments (e.g. imagemagick for scripts/screenshots.sh).
# "windows" names what the Windows build needs besides: the MinGW-w64 cross
# compiler (posix threads), Wine to run its tests, NSIS for its installer and
# ImageMagick for its icon.
# Does nothing when they are all present; never asks a question.
set -eu

extra=""
for a in "$@"; do
    case "$a" in
    windows) extra="$extra g++-mingw-w64-x86-64-posix wine wine64 nsis imagemagick" ;;
    *) extra="$extra $a" ;;
    esac
done

# The first line ends with the X connection library the window watches the
# display through. The third line: letters from installed fonts (outlines,
# shaping and kerning, the font list, merging overlapping parts of a letter).
# The fourth: the icons drawn from their SVG, and the Debian package built
# (dpkg-shlibdeps, file) and checked (desktop entry, AppStream metadata,
# manual pages).
packages="cmake make g++ pkg-config libgtest-dev libgmock-dev qt6-base-dev libxcb1-dev
          clang libclang-rt-dev libbenchmark-dev xvfb xauth xdotool fonts-dejavu-core
          libfreetype-dev libharfbuzz-dev libfontconfig-dev libpolyclipping-dev
          librsvg2-bin dpkg-dev file desktop-file-utils appstream groff-base $extra"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "install-deps: installing$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q </dev/null
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $missing </dev/null
