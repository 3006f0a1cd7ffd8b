#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages the build needs and are missing.
# Usage: tools/setup.sh [--emulator]   (--emulator: only what building
# kovo-host and the plug-ins in the default preset needs, no clang or benchmarks)
set -euo pipefail
. "$(dirname "$0")/common.sh"

packages=(cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libpugixml-dev libsqlite3-dev
          libcsv-dev libcpp-httplib-dev nlohmann-json3-dev)
if [ "${1:-}" != "--emulator" ]; then
  clang=$(kovo_clang_version)
  packages+=(libbenchmark-dev "clang-$clang" "libfuzzer-$clang-dev")
fi
"$kovo_root/tools/apt-install.sh" "${packages[@]}"
