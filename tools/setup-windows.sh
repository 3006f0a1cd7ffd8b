#!/usr/bin/env bash
# Installs, with apt-get, what the windows and windows-msvc presets need: the
# MinGW-w64 cross compilers (posix thread flavour), clang, lld and the LLVM
# tools for the Microsoft-ABI DLLs (which use mingw-w64's headers and import
# libraries of the Universal CRT), wine to run the tests, and the tools
# that tools/windows-deps.sh uses to build pugixml, SQLite and GoogleTest from
# Debian's sources; and enables Debian's source entries (deb-src) for
# apt-get source when they are missing. Fails when it cannot.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
. tools/common.sh
clang=$(kovo_clang_version)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# Source entries beside the binary ones Debian configured: a copy with
# deb-src in place of deb.
if ! apt-cache showsrc pugixml 2>/dev/null | grep '^Package: pugixml' >/dev/null; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/kovo-deb-src.sources >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/kovo-deb-src.list >/dev/null
  else
    echo "setup-windows: no Debian source entries found to copy" >&2
    exit 1
  fi
  "${sudo_cmd[@]}" apt-get update -qq
fi
tools/apt-install.sh gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev "clang-$clang" "lld-$clang" "llvm-$clang" \
  wine wine64 dpkg-dev tcl googletest nlohmann-json3-dev libcsv-dev libcpp-httplib-dev zip
