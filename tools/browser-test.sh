#!/usr/bin/env bash
# Runs the browser tests of kovo-host serve (tests/browser) against a built
# kovo-host, in headless Chromium. Screenshots, downloaded recordings and the
# measured names-editor timing are kept in build/browser-artifacts/.
# Usage: tools/browser-test.sh [preset]   (default: default; it must be built)
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:-default}
tools/setup-browser.sh
host="$PWD/build/$preset/bin/kovo-host"
[ -x "$host" ] || { echo "browser tests: $host is not built" >&2; exit 2; }
out="$PWD/build/browser-artifacts"
rm -rf "$out"
cd tests/browser
KOVO_HOST="$host" KOVO_BROWSER_OUT="$out" PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 \
  timeout 300 npx playwright test
