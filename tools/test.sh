#!/usr/bin/env bash
# Sets up what the build needs, then configures, builds and runs every test, in
# the optimised preset and under AddressSanitizer + UndefinedBehaviorSanitizer,
# and the Windows builds under wine where mingw-w64, clang and wine can be
# installed (tools/setup-windows.sh): the MinGW test rig, then the Microsoft-ABI
# DLLs, whose session scripts run in the rig's simulator and are compared with
# the default preset's transcripts. Then the browser tests of the panel
# emulator run against the first preset's build, beside the validator and the
# fuzz targets.
# Usage: tools/test.sh [preset ...]   (default: default asan, and windows windows-msvc)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

# step NAME: a heading with the time so far, so a slow step shows in CI's log.
step() { echo "== $* (at $((SECONDS / 60))m$((SECONDS % 60))s)"; }
trap 'echo "== finished with status $? after $((SECONDS / 60))m$((SECONDS % 60))s"' EXIT
# background LOG COMMAND...: runs the command beside the steps, its output in
# LOG; the caller keeps $! to wait for it. niced LOG COMMAND... does so niced,
# for builds that only fill the cores the steps leave idle.
background() {
  local log=$1
  shift
  "$@" > "$log" 2>&1 &
}
niced() {
  local log=$1
  shift
  ( renice -n 10 -p "$BASHPID" >/dev/null; "$@" ) > "$log" 2>&1 &
}
# finish PID LOG WHAT: waits for a background job; on failure shows its log.
finish() {
  wait "$1" || { cat "$2" >&2; echo "$3 failed" >&2; exit 1; }
}

tools/setup.sh
mkdir -p build
presets=("$@")
implicit_windows=false
if [ ${#presets[@]} -eq 0 ]; then
  presets=(default asan windows windows-msvc)
  implicit_windows=true
fi
# What later steps need installs and builds beside the first presets (apt-get
# and downloads mostly wait on the network and the disk): the browser tests'
# packages, and the Windows toolchain and wine, then the Windows libraries
# cross-built (mostly serial configure steps), which the windows preset's
# configure then finds in the cache.
background build/setup-browser.log tools/setup-browser.sh
browser_setup=$!
windows_deps=""
if [[ " ${presets[*]} " == *" windows"* ]]; then
  background build/windows-deps.log \
    bash -c 'tools/setup-windows.sh || exit 3; KOVO_JOBS=1 tools/windows-deps.sh'
  windows_deps=$!
fi
# Waits for the Windows toolchain and libraries before the first Windows
# preset. Without the toolchain, the default run goes on without both Windows
# presets (an explicit one fails).
windows_ready() {
  [ -n "$windows_deps" ] || return 0
  local status=0
  wait "$windows_deps" || status=$?
  windows_deps=""
  if [ $status -eq 3 ] && $implicit_windows; then
    echo "== presets windows and windows-msvc skipped: mingw-w64 and wine could not be installed"
    cat build/windows-deps.log
    return 1
  fi
  [ $status -eq 0 ] || { cat build/windows-deps.log >&2; echo "the Windows libraries do not build" >&2; exit 1; }
}
fuzzing=false
command -v "clang++-$(kovo_clang_version)" >/dev/null && fuzzing=true
# The fuzz targets build in the background from the last preset's tests on
# (under wine they leave the cores mostly idle) until the fuzz step.
fuzz_build=""
start_fuzz_build() {
  if $fuzzing && [ -z "$fuzz_build" ]; then
    niced build/fuzz-build.log build_preset fuzz
    fuzz_build=$!
  fi
}
# The Microsoft-ABI DLLs build in the background while the preset before them
# runs its tests under wine, which leaves the cores mostly idle.
msabi_build=""
last=${presets[${#presets[@]}-1]}
for i in "${!presets[@]}"; do
  preset=${presets[$i]}
  next=${presets[$((i + 1))]:-}
  if [[ $preset == windows* ]] && ! windows_ready; then
    [ "$preset" = "$last" ] && start_fuzz_build
    continue
  fi
  step "preset $preset"
  if [ "$preset" = windows-msvc ] && [ -n "$msabi_build" ]; then
    finish "$msabi_build" build/windows-msvc-build.log "building the Microsoft-ABI DLLs"
  else
    build_preset "$preset"
  fi
  if [ "$next" = windows-msvc ]; then
    niced build/windows-msvc-build.log build_preset windows-msvc
    msabi_build=$!
  fi
  { [ "$preset" = "$last" ] || [ "$next" = windows-msvc ]; } && start_fuzz_build
  ctest --preset "$preset"
done

# The last steps share the two cores: the browser tests (against the first
# preset's build) run in the background while the validator checks the three
# plug-ins in the sanitizer build and the fuzz targets run. Any failure or
# finding fails the run.
finish "$browser_setup" build/setup-browser.log "installing what the browser tests need"
step "browser tests (preset ${presets[0]}), in the background: build/browser-test.log"
background build/browser-test.log tools/browser-test.sh "${presets[0]}"
browser_test=$!

# The validator on the three plug-ins at once, with fixed seeds (about 20 s of
# processor time in all).
if [[ " ${presets[*]} " == *" asan "* ]]; then
  step "kovo-host validate (asan)"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  plugins=(Tavisk Lindqar Corvane)
  validators=()
  for plugin in "${plugins[@]}"; do
    build/asan/bin/kovo-host validate "$plugin" --seed 1 --runs 18 --steps 120 \
      --shrink-budget 10000 --out "build/asan/validate/$plugin" \
      --junit "build/asan/validate/$plugin.xml" > "build/asan/validate-$plugin.log" 2>&1 &
    validators+=($!)
  done
  status=0
  for j in "${!plugins[@]}"; do
    wait "${validators[$j]}" || status=1
    cat "build/asan/validate-${plugins[$j]}.log"
  done
  [ $status -eq 0 ] || { echo "kovo-host validate found faults (see above)" >&2; exit 1; }
fi
# Each fuzz target for a few seconds (about 40 s of processor time in all).
if $fuzzing; then
  step "fuzz targets"
  start_fuzz_build
  finish "$fuzz_build" build/fuzz-build.log "building the fuzz targets"
  tools/fuzz.sh all 4
fi
step "browser tests (preset ${presets[0]})"
status=0
wait "$browser_test" || status=$?
cat build/browser-test.log
[ $status -eq 0 ] || { echo "the browser tests failed" >&2; exit 1; }
