#!/usr/bin/env bash
# The main job: builds everything and serves the barcode preview page through a real Apache on
# 127.0.0.1 (port 8080, or RIBBON_WEB_PORT), printing the page's address.
#   scripts/run.sh          install what is missing, build, (re)start the server
#   scripts/run.sh --backends N   the same behind a balancing front: N back-end servers, each
#                                 session kept on its own (scripts/web-balancer.sh)
#   scripts/run.sh --stop   stop the server (and the back ends)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
usage() { echo "usage: scripts/run.sh [--stop | --backends N]" >&2; exit 2; }
backends=""
case "${1:-}" in
  --stop)
    "$root/scripts/web-balancer.sh" --stop >/dev/null
    exec "$root/scripts/web-stop.sh" ;;
  --backends)
    [[ "${2:-}" =~ ^[0-9]+$ ]] && (($2 >= 1)) || usage
    backends="$2" ;;
  "") ;;
  *) usage ;;
esac
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null
if [ -n "$backends" ]; then
  # One server or the other on the port, not both.
  "$root/scripts/web-stop.sh" --quiet || true
  exec "$root/scripts/web-balancer.sh" "$backends"
fi
"$root/scripts/web-balancer.sh" --stop >/dev/null
exec "$root/scripts/web-start.sh"
