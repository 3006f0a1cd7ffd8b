#!/usr/bin/env bash
# Takes the pictures of docs/screenshots/ again: each plug-in's panels in the
# browser emulator on the demo site, at 1024x768 and 1280x1024, made small with
# pngquant (installed from Debian when missing).
# Usage: tools/serve-screenshots.sh [preset]   (default: default; it must be built)
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:-default}
tools/setup-browser.sh
tools/apt-install.sh pngquant
host="$PWD/build/$preset/bin/kovo-host"
[ -x "$host" ] || { echo "screenshots: $host is not built" >&2; exit 2; }
out="$PWD/docs/screenshots"
mkdir -p "$out"
(cd tests/browser &&
  KOVO_HOST="$host" KOVO_SCREENSHOTS="$out" KOVO_BROWSER_OUT="$PWD/../../build/browser-artifacts" \
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 timeout 300 npx playwright test docs-screenshots.test.js)
pngquant --force --skip-if-larger --ext .png --quality 60-85 --speed 1 "$out"/*.png
ls -l "$out"
