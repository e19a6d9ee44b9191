#!/usr/bin/env bash
# The main job: builds everything and serves the barcode preview page through a real Apache on
# 127.0.0.1 (port 8080, or RIBBON_WEB_PORT), printing the page's address.
#   scripts/run.sh          install what is missing, build, (re)start the server
#   scripts/run.sh --stop   stop the server
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
case "${1:-}" in
  --stop) exec "$root/scripts/web-stop.sh" ;;
  "") ;;
  *) echo "usage: scripts/run.sh [--stop]" >&2; exit 2 ;;
esac
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null
exec "$root/scripts/web-start.sh"
