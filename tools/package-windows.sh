#!/usr/bin/env bash
# Lays out the deliverable for a panel host machine in one zip: the three
# plug-in DLLs built with the Microsoft C++ ABI (preset windows-msvc) with
# their layout files, and a README saying what the machine must provide.
#
# With --vendor-sdk DIR the plug-ins are built against the facility's own
# kovo_string and kovo_config (DIR holding include/ and lib/ with the import
# libraries), in build/windows-msvc-vendor: that is the package for the
# facility. Without it they are built against the stand-ins, which the package
# then carries too: a plug-in compiles in the layout of the libraries' classes
# it was built against, so it runs only with those libraries.
# Usage: tools/package-windows.sh [--vendor-sdk DIR] [output.zip]
#        (default: <build>/kovo_panels-<version>-windows.zip)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
root=$(pwd)
vendor_sdk=""
if [ "${1:-}" = --vendor-sdk ]; then
  [ $# -ge 2 ] || { echo "usage: $0 [--vendor-sdk DIR] [output.zip]" >&2; exit 2; }
  vendor_sdk=$(cd "$2" && pwd)
  shift 2
fi

if [ -n "$vendor_sdk" ]; then
  build=$root/build/windows-msvc-vendor
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/clang-msvc-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKOVO_WERROR=ON -DKOVO_VENDOR_SDK="$vendor_sdk" >/dev/null
  cmake --build "$build" -j "$(kovo_jobs)" --target Tavisk Corvane Lindqar >/dev/null
else
  build=$root/build/windows-msvc
  build_preset windows-msvc --target Tavisk Corvane Lindqar kovo_string kovo_config >/dev/null
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=kovo_panels-${version:-unknown}-windows
output=${1:-$build/$name.zip}
case $output in /*) ;; *) output=$root/$output ;; esac

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
top=$stage/$name
for plugin in Corvane Lindqar Tavisk; do
  dir=$top/panels/System/$plugin
  mkdir -p "$dir"
  cp "$build/bin/$plugin.dll" "$dir/"
  find "panels/System/$plugin" -maxdepth 1 -name '*.kovo_ui' -exec cp {} "$dir/" \;
done

if [ -n "$vendor_sdk" ]; then
  libraries="The facility's own kovo_string.dll and kovo_config.dll, the
    ones whose headers and import libraries these plug-ins were built against"
  built_against="the facility's kovo_string and kovo_config"
else
  mkdir -p "$top/bin"
  cp "$build/bin/kovo_string.dll" "$build/bin/kovo_config.dll" "$top/bin/"
  libraries="The stand-in kovo_string.dll and kovo_config.dll of bin\\. A
    plug-in compiles in the layout of the library classes it was built
    against, so these plug-ins run with the stand-ins only: for the facility's
    own libraries, build the package with tools/package-windows.sh
    --vendor-sdk DIR"
  built_against="the project's stand-in libraries (bin\\)"
fi

{
  cat <<README
kovo panels ${version:-unknown} for Windows (64-bit)
==========================================

Contents
  panels\\System\\Corvane\\Corvane.dll   matrix package editor, with its layouts
  panels\\System\\Lindqar\\Lindqar.dll   matrix map editor, with its layouts
  panels\\System\\Tavisk\\Tavisk.dll     workstation shutdown, with its layouts
README
  [ -n "$vendor_sdk" ] || cat <<'README'
  bin\kovo_string.dll, bin\kovo_config.dll
      stand-ins for the facility's string and configuration libraries
README
  cat <<README

Built with the Microsoft C++ ABI, as the panel host and the facility's
libraries are: each plug-in exports only load_kovo_client_script, and its
panel object has the deleting destructor in the first slot of its table and
hostCallback in the second. Built against ${built_against}.

What the panel host machine must provide
  - A 64-bit panel host that loads plug-ins by load_kovo_client_script.
  - $libraries.
  - The Universal C Runtime (api-ms-win-crt-*.dll, ucrtbase.dll): part of
    Windows 10 and later; earlier versions get it from Windows Update.
  Nothing else: no C++ runtime is needed (the plug-ins carry the little they
  use), and they import only KERNEL32.dll besides these.

Installing
  1. Copy the panels folder into the panel host's panel directory, so that
     each plug-in lies in panels\\System\\<name>\\ beside its *.kovo_ui layouts.
  2. Put kovo_string.dll and kovo_config.dll where Windows finds a plug-in's
     libraries: the folder of the panel host's program, or a folder on PATH.
  3. Set the environment the plug-ins read: RX_ROOT and RX_SYSTEM (the site's
     configuration lies in %RX_ROOT%\\%RX_SYSTEM%\\config\\system) and
     RX_WORKSTATION (this workstation's number).
  Settings are read when a plug-in is loaded; a change takes effect at the
  next load. Diagnostics go to the debug output (OutputDebugString); a debug
  output viewer shows them.
README
} | sed 's/$/\r/' >"$top/README.txt"

rm -f "$output"
(cd "$stage" && zip -qr "$output" "$name")
echo "$output"
