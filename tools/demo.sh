#!/usr/bin/env bash
# Sets up what the build needs, builds the default preset, then runs every demo
# session (sites/demo/sessions/*.kovo, in name order) in the host simulator,
# printing the transcripts. All sessions share one fresh temporary name store,
# so the names in the source tree and in your own store stay untouched.
# Usage: tools/demo.sh
set -euo pipefail
cd "$(dirname "$0")/.."

. tools/common.sh

tools/setup.sh
build_preset default

host=build/default/bin/kovo-host
store_dir=$(mktemp -d)
trap 'rm -rf "$store_dir"' EXIT

failed=()
for session in sites/demo/sessions/*.kovo; do
  echo
  echo "=================== $session"
  if ! "$host" run --check --db "$store_dir/demo.sqlite" "$session"; then
    failed+=("$session")
  fi
done
echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "Sessions that failed: ${failed[*]}"
  exit 1
fi
echo "Every demo session ran as expected."
