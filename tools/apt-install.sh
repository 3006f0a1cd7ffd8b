#!/usr/bin/env bash
# Installs, with apt-get, those of the given Debian packages that are missing.
# Installs started at once (tools/test.sh installs in the background while it
# builds) take turns instead of failing on apt's lock.
# Usage: tools/apt-install.sh PACKAGE...
set -euo pipefail

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
mapfile -t wanted < <(missing "$@")
[ ${#wanted[@]} -gt 0 ] || exit 0
exec 9>"${TMPDIR:-/tmp}/kovo-apt-install.lock"
flock 9
# Another install may have brought them while this one waited.
mapfile -t wanted < <(missing "${wanted[@]}")
[ ${#wanted[@]} -gt 0 ] || exit 0
echo "Installing: ${wanted[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
  "${wanted[@]}"
