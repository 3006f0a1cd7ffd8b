#!/usr/bin/env bash
# Runs a Windows program under wine, in a private wine prefix that is created
# non-interactively on first use. The windows preset names this script as the
# emulator of the cross build, so CTest and test discovery run every test
# program through it.
# Usage: tools/wine-run.sh <wine-prefix-dir> <program.exe> [arguments...]
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 <wine-prefix-dir> <program> [arguments...]" >&2; exit 2; }
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
# No prompts to install the .NET and browser runtimes: console programs need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/.kovo-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.kovo-ready" ]; then
      wineboot -i >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.kovo-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
