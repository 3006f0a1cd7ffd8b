#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages the build needs and are missing.
set -euo pipefail
. "$(dirname "$0")/common.sh"

clang=$(kovo_clang_version)
"$kovo_root/tools/apt-install.sh" cmake g++ make pkg-config libgtest-dev libgmock-dev \
  libbenchmark-dev libpugixml-dev libsqlite3-dev libcsv-dev libcpp-httplib-dev nlohmann-json3-dev \
  "clang-$clang" "libfuzzer-$clang-dev"
