#!/bin/sh
# Runs a Windows program under Wine on a virtual display of its own, in a Wine
# prefix of its own: Wine's desktop process stays tied to the display it
# started on, so two displays must not share a prefix.
# Usage: on-display.sh PREFIX PROGRAM [ARGUMENTS...]
set -u
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
shift
sh "$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX" || exit 1
xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$@"; status=$?; wineserver -k; exit $status' \
    sh "$@"
