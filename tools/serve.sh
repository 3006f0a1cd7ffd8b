#!/usr/bin/env bash
# Sets up what the build needs, builds the default preset, and starts the
# browser panel emulator on the demo site with the three plug-ins loaded.
# Open the address it prints; Ctrl-C stops it. The names live in a store of
# their own under build/, so your other stores stay untouched; pass --fresh-db
# to start it again from the site's name files. Other options go to
# kovo-host serve (for example --port 9000).
# Usage: tools/serve.sh [kovo-host serve options]
set -euo pipefail
cd "$(dirname "$0")/.."

. tools/common.sh

tools/setup.sh
build_preset default

exec build/default/bin/kovo-host serve --db build/default/serve-demo.sqlite \
  --load ws=Tavisk:workstation=12 --load cv=Corvane:workstation=12 \
  --load map=Lindqar:workstation=12 "$@"
