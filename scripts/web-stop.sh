#!/usr/bin/env bash
# Stops the Apache that scripts/web-start.sh started (the same RIBBON_WEB_ROOT / build folder).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${RIBBON_BUILD_DIR:-$root/build}"
server_root="${RIBBON_WEB_ROOT:-$build/apache}"
quiet=0
[ "${1:-}" = "--quiet" ] && quiet=1
say() { [ $quiet -eq 1 ] || echo "web-stop: $*"; }

pidfile="$server_root/run/httpd.pid"
if [ ! -f "$pidfile" ]; then
  say "no server running from $server_root"
  exit 0
fi
pid="$(cat "$pidfile" 2>/dev/null || true)"
if ! [[ "$pid" =~ ^[0-9]+$ ]] || ! kill -0 "$pid" 2>/dev/null; then
  rm -f "$pidfile"
  say "no server running from $server_root (removed a stale pid file)"
  exit 0
fi
kill -TERM "$pid"
# The parent waits for its child to finish the requests in hand; give it a few seconds.
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || { rm -f "$pidfile"; say "stopped (pid $pid)"; exit 0; }
  sleep 0.1
done
children="$(pgrep -P "$pid" || true)"
kill -KILL "$pid" $children 2>/dev/null || true
rm -f "$pidfile"
say "stopped (pid $pid, forced)"
