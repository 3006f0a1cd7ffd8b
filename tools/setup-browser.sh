#!/usr/bin/env bash
# Installs what the browser tests need and is missing: Node.js and npm, and
# Chromium from Debian (Playwright drives it; its own browser download is
# skipped), then the test packages of tests/browser as the lock file pins them.
set -euo pipefail
cd "$(dirname "$0")/.."

# A node or a Chromium (KOVO_CHROMIUM) of another origin will do as well.
missing=()
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
[ -x "${KOVO_CHROMIUM:-/usr/bin/chromium}" ] || missing+=(chromium)
[ ${#missing[@]} -eq 0 ] || tools/apt-install.sh "${missing[@]}"
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
if [ ! -d tests/browser/node_modules/@playwright/test ] ||
   [ tests/browser/package-lock.json -nt tests/browser/node_modules/.package-lock.json ]; then
  (cd tests/browser && npm ci --no-audit --no-fund)
fi
