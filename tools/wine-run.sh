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
      wineboot -i >/dev/null 2>&1 9>&-
      wineserver -w
      touch "$WINEPREFIX/.kovo-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# One server for the whole run, kept 30 s after its last program: with the
# default few seconds, a program starting just as the server shuts down loses
# its connection ("recvmsg: Connection reset by peer") and fails a test that did
# nothing wrong. Whoever starts the server also starts wine's system services,
# away from its own output: services started by a test would hold that test's
# output open, and CTest would wait for the server's end to finish it.
(
  flock 9
  if wineserver -p30 </dev/null >/dev/null 2>&1 9>&-; then
    wineboot </dev/null >/dev/null 2>&1 9>&- || true
  fi
) 9>"$WINEPREFIX.lock"
exec wine "$@"
