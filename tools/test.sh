#!/usr/bin/env bash
# Sets up what the build needs, then configures, builds and runs every test, in
# the optimised preset and under AddressSanitizer + UndefinedBehaviorSanitizer,
# and the Windows cross build under wine where mingw-w64 and wine can be
# installed (tools/setup-windows.sh). Then the browser tests of the panel
# emulator run against the first preset's build.
# Usage: tools/test.sh [preset ...]   (default: default asan, and windows)
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
presets=("$@")
if [ ${#presets[@]} -eq 0 ]; then
  presets=(default asan)
  if tools/setup-windows.sh; then
    presets+=(windows)
  else
    echo "== preset windows skipped: mingw-w64 and wine could not be installed"
  fi
elif [[ " ${presets[*]} " == *" windows "* ]]; then
  tools/setup-windows.sh
fi
jobs=$(nproc 2>/dev/null || echo 2)
for preset in "${presets[@]}"; do
  echo "== preset $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset"
done
echo "== browser tests (preset ${presets[0]})"
tools/browser-test.sh "${presets[0]}"
