#!/bin/sh
# Makes the Wine prefix the Windows tests run in, without a question: no
# Mono or Gecko download prompts, no debug output. Usage: wine-prefix.sh DIR
set -eu
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] && exit 0
wineboot --init >/dev/null 2>&1 || true
wineserver -w
test -f "$WINEPREFIX/system.reg"
