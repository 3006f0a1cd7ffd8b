#!/usr/bin/env bash
# Sets up what the build needs, then configures, builds and runs every test, in
# the optimised preset and under AddressSanitizer + UndefinedBehaviorSanitizer.
# Then the browser tests of the panel emulator run against the first preset's build.
# Usage: tools/test.sh [preset ...]   (default: default asan)
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(default asan)
jobs=$(nproc 2>/dev/null || echo 2)
for preset in "${presets[@]}"; do
  echo "== preset $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset"
done
echo "== browser tests (preset ${presets[0]})"
tools/browser-test.sh "${presets[0]}"
