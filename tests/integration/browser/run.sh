#!/usr/bin/env bash
# The page in headless Chromium: starts Apache with the module, installs playwright-core (npm,
# into the build folder) when missing, runs page_test.js, stops Apache in every case.
# Usage: run.sh BUILD_DIR SOURCE_DIR. Exits 77 (skipped) only when a prerequisite is missing.
set -euo pipefail
build="$(cd "$1" && pwd)"
source="$(cd "$2" && pwd)"
here="$source/tests/integration/browser"

for tool in /usr/bin/chromium node npm zbarimg; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (scripts/setup.sh installs it)"
    exit 77
  fi
done

# playwright-core only drives the browser; Debian's Chromium is the browser.
deps="$build/tests/integration/browser"
mkdir -p "$deps"
if ! cmp -s "$here/package-lock.json" "$deps/package-lock.json" || [ ! -d "$deps/node_modules/playwright-core" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$deps/"
  (cd "$deps" && npm ci --no-audit --no-fund --loglevel=error)
fi

work="$(mktemp -d /tmp/ribbonweb-browser-XXXXXX)"
chmod 755 "$work"
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
export RIBBON_BUILD_DIR="$build" RIBBON_WEB_ROOT="$work/server" RIBBON_WEB_PORT="$port" RIBBON_WEB_THREADS=16
cleanup() {
  "$source/scripts/web-stop.sh" --quiet || true
  rm -rf "$work"
}
trap cleanup EXIT
"$source/scripts/web-start.sh" >/dev/null

NODE_PATH="$deps/node_modules" node "$here/page_test.js" "http://127.0.0.1:$port/ribbon/" "$work"
