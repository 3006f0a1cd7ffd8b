#!/usr/bin/env bash
# The browser panel emulator on the demo site with the three plug-ins loaded:
# installs the Debian packages the build needs where missing, builds kovo-host
# and the plug-ins (the default preset's target "emulator", no test programs;
# the build's output goes to build/default/serve-build.log) and starts
# kovo-host serve. Open the address it prints; Ctrl-C stops it. The names live
# in a store of their own under build/, so your other stores stay untouched;
# pass --fresh-db to start it again from the site's name files. Other options
# go to kovo-host serve (for example --port 9000).
# Usage: tools/serve.sh [kovo-host serve options]
set -euo pipefail
cd "$(dirname "$0")/.."

. tools/common.sh

log=build/default/serve-build.log
mkdir -p build/default
: >"$log"
started=$SECONDS
fail() {
  echo "serve: $1 failed; the end of $log:" >&2
  tail -n 25 "$log" >&2
  exit 1
}

echo "serve: 1/3 Debian packages the build needs (apt-get, where missing)"
tools/setup.sh --emulator >>"$log" 2>&1 || fail "installing the packages"
if [ -x build/default/bin/kovo-host ]; then
  echo "serve: 2/3 building kovo-host and the plug-ins (up to date: seconds)"
else
  echo "serve: 2/3 building kovo-host and the plug-ins: the first time takes about a minute on"
  echo "           2 cores (output in $log)"
fi
{ cmake --preset default && cmake --build --preset default -j "$(kovo_jobs)" --target emulator; } \
  >>"$log" 2>&1 || fail "the build"
echo "serve: 3/3 starting kovo-host serve (built in $((SECONDS - started)) s; Ctrl-C stops it)"
exec build/default/bin/kovo-host serve --db build/default/serve-demo.sqlite \
  --load ws=Tavisk:workstation=12 --load cv=Corvane:workstation=12 \
  --load map=Lindqar:workstation=12 "$@"
