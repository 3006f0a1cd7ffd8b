#!/usr/bin/env bash
# Fetches and unpacks the Debian source package behind an installed binary
# package, at the installed version, into a cache outside the source tree:
#   ${KOVO_DEBIAN_SOURCE_CACHE:-$HOME/.cache/kovo-debian-sources}/<source>_<version>
# and prints that folder. A second call finds it there. Needs deb-src entries
# (tools/setup-windows.sh adds them).
# Usage: tools/debian-source.sh <binary-package>
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 <binary-package>" >&2; exit 2; }
log() { echo "debian-source: $*" >&2; }

fields=$(dpkg-query -W -f='${source:Package} ${source:Version}' "$1" 2>/dev/null) ||
  { log "package $1 is not installed (run tools/setup-windows.sh)"; exit 1; }
read -r source version <<<"$fields"
cache=${KOVO_DEBIAN_SOURCE_CACHE:-$HOME/.cache/kovo-debian-sources}
dir=$cache/${source}_${version//[^A-Za-z0-9.+~-]/_}
mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9
if [ ! -f "$dir/.complete" ]; then
  work=$(mktemp -d "$cache/.fetch.XXXXXX")
  chmod 755 "$work"  # apt-get source downloads as the unprivileged _apt user
  trap 'rm -rf "$work"' EXIT
  log "fetching the Debian source of $source $version"
  (cd "$work" && apt-get source -qq --download-only "$source=$version") >&2 ||
    { log "apt-get source failed: are deb-src entries enabled? (tools/setup-windows.sh)"; exit 1; }
  dpkg-source --no-check -x "$work"/"${source}"_*.dsc "$work/tree" >/dev/null
  touch "$work/tree/.complete"
  rm -rf "$dir"
  mv "$work/tree" "$dir"
fi
echo "$dir"
