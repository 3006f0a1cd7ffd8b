#!/usr/bin/env bash
# Sets up what the build needs, then configures, builds and runs every test, in
# the optimised preset and under AddressSanitizer + UndefinedBehaviorSanitizer,
# and the Windows builds under wine where mingw-w64, clang and wine can be
# installed (tools/setup-windows.sh): the MinGW test rig, then the Microsoft-ABI
# DLLs, whose session scripts run in the rig's simulator and are compared with
# the default preset's transcripts. Then the browser tests of the panel
# emulator run against the first preset's build.
# Usage: tools/test.sh [preset ...]   (default: default asan, and windows windows-msvc)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

# step NAME: a heading with the time so far, so a slow step shows in CI's log.
step() { echo "== $* (at $((SECONDS / 60))m$((SECONDS % 60))s)"; }
trap 'echo "== finished with status $? after $((SECONDS / 60))m$((SECONDS % 60))s"' EXIT

tools/setup.sh
presets=("$@")
if [ ${#presets[@]} -eq 0 ]; then
  presets=(default asan)
  if tools/setup-windows.sh; then
    presets+=(windows windows-msvc)
  else
    echo "== presets windows and windows-msvc skipped: mingw-w64 and wine could not be installed"
  fi
elif [[ " ${presets[*]} " == *" windows"* ]]; then
  tools/setup-windows.sh
fi
# The Windows libraries cross-build (mostly serial configure steps) beside the
# first presets; the windows preset's configure then finds them in the cache.
windows_deps=""
if [[ " ${presets[*]} " == *" windows "* ]]; then
  mkdir -p build
  KOVO_JOBS=1 tools/windows-deps.sh > build/windows-deps.log 2>&1 &
  windows_deps=$!
fi
# The fuzz targets build in the background, niced, from the last preset's tests
# on (under wine they leave the cores mostly idle) until the fuzz step.
fuzzing=false
command -v "clang++-$(kovo_clang_version)" >/dev/null && fuzzing=true
fuzz_build=""
start_fuzz_build() {
  if $fuzzing && [ -z "$fuzz_build" ]; then
    mkdir -p build
    ( renice -n 10 -p "$BASHPID" >/dev/null; build_preset fuzz ) > build/fuzz-build.log 2>&1 &
    fuzz_build=$!
  fi
}
# The Microsoft-ABI DLLs build in the background, niced, while the preset
# before them runs its tests under wine, which leaves the cores mostly idle.
msabi_build=""
start_msabi_build() {
  mkdir -p build
  ( renice -n 10 -p "$BASHPID" >/dev/null; build_preset windows-msvc ) > build/windows-msvc-build.log 2>&1 &
  msabi_build=$!
}
last=${presets[${#presets[@]}-1]}
for i in "${!presets[@]}"; do
  preset=${presets[$i]}
  next=${presets[$((i + 1))]:-}
  step "preset $preset"
  if [ "$preset" = windows ] && [ -n "$windows_deps" ]; then
    wait "$windows_deps" || { cat build/windows-deps.log >&2; echo "the Windows libraries do not build" >&2; exit 1; }
  fi
  if [ "$preset" = windows-msvc ] && [ -n "$msabi_build" ]; then
    wait "$msabi_build" || { cat build/windows-msvc-build.log >&2; echo "the Microsoft-ABI DLLs do not build" >&2; exit 1; }
  else
    build_preset "$preset"
  fi
  [ "$next" = windows-msvc ] && start_msabi_build
  { [ "$preset" = "$last" ] || [ "$next" = windows-msvc ]; } && start_fuzz_build
  ctest --preset "$preset"
done
step "browser tests (preset ${presets[0]})"
tools/browser-test.sh "${presets[0]}"

# The validator on the three plug-ins, with fixed seeds, in the sanitizer build
# (about 20 s in all), then each fuzz target for a few seconds (about 60 s in
# all). Any finding fails the run.
if [[ " ${presets[*]} " == *" asan "* ]]; then
  step "kovo-host validate (asan)"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  status=0
  for plugin in Tavisk Lindqar Corvane; do
    build/asan/bin/kovo-host validate "$plugin" --seed 1 --runs 18 --steps 120 \
      --shrink-budget 10000 --out "build/asan/validate/$plugin" \
      --junit "build/asan/validate/$plugin.xml" || status=1
  done
  [ $status -eq 0 ] || { echo "kovo-host validate found faults (see above)" >&2; exit 1; }
fi
if $fuzzing; then
  step "fuzz targets"
  start_fuzz_build
  wait "$fuzz_build" || { cat build/fuzz-build.log >&2; echo "the fuzz targets do not build" >&2; exit 1; }
  tools/fuzz.sh all 4
fi
