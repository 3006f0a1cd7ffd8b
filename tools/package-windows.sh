#!/usr/bin/env bash
# Lays out what a panel host machine needs, from the windows preset's build, in
# one zip: the three plug-in DLLs with their layout files, the two stand-in
# DLLs and a README. Builds what it takes of the windows preset first.
# Usage: tools/package-windows.sh [output.zip]
#        (default: build/windows/kovo_panels-<version>-windows.zip)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
root=$(pwd)
build=$root/build/windows

build_preset windows --target Tavisk Corvane Lindqar kovo_string kovo_config

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=kovo_panels-${version:-unknown}-windows
output=${1:-$build/$name.zip}
case $output in /*) ;; *) output=$root/$output ;; esac

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
top=$stage/$name
mkdir -p "$top/bin"
cp "$build/bin/kovo_string.dll" "$build/bin/kovo_config.dll" "$top/bin/"
for plugin in Corvane Lindqar Tavisk; do
  dir=$top/panels/System/$plugin
  mkdir -p "$dir"
  cp "$build/lib/$plugin.dll" "$dir/"
  find "panels/System/$plugin" -maxdepth 1 -name '*.kovo_ui' -exec cp {} "$dir/" \;
done

# The build keeps debug information; the machine gets the DLLs without it.
find "$top" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-debug {} +

sed "s/@VERSION@/${version:-unknown}/" >"$top/README.txt" <<'README'
kovo panels @VERSION@ for Windows (64-bit)
==========================================

Contents
  bin\kovo_string.dll, bin\kovo_config.dll
      The string and configuration libraries that every plug-in uses.
  panels\System\Corvane\Corvane.dll   matrix package editor, with its layouts
  panels\System\Lindqar\Lindqar.dll   matrix map editor, with its layouts
  panels\System\Tavisk\Tavisk.dll     workstation shutdown, with its layouts

Installing on a panel host machine
  1. Copy the panels folder into the panel host's panel directory, so that
     each plug-in lies in panels\System\<name>\ beside its *.kovo_ui layouts.
  2. Copy the two DLLs of bin into the folder of the panel host's program (or
     into a folder on PATH): Windows looks for a plug-in's libraries there.
  3. Set the environment the plug-ins read: RX_ROOT and RX_SYSTEM (the site's
     configuration lies in %RX_ROOT%\%RX_SYSTEM%\config\system) and
     RX_WORKSTATION (this workstation's number).
  Settings are read when a plug-in is loaded; a change takes effect at the
  next load.

Nothing else is needed: the C++ runtime is linked into each DLL, which
depends only on the system's own DLLs (KERNEL32.dll, msvcrt.dll) and on the
two libraries of bin. Each plug-in exports only load_kovo_client_script.
Diagnostics go to the debug output (OutputDebugString); a debug output
viewer shows them.
README
sed -i 's/$/\r/' "$top/README.txt"

rm -f "$output"
(cd "$stage" && zip -qr "$output" "$name")
echo "$output"
