#!/usr/bin/env bash
# Load on the real server: starts Apache with ribbonweb.so, opens 50 sessions, and lets wrk press
# "View" from 50 connections, each on a session of its own, for a bounded time. Prints requests
# per second and latency percentiles, then stops the server.
#   bench/load/run.sh                 50 sessions, 15 s
#   SESSIONS=20 DURATION=30s bench/load/run.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${RIBBON_BUILD_DIR:-$root/build}"
sessions="${SESSIONS:-50}"
duration="${DURATION:-15s}"
threads="${THREADS:-2}"
port="${RIBBON_WEB_PORT:-8089}"

command -v wrk >/dev/null || { echo "load: wrk is missing (scripts/setup.sh installs it)" >&2; exit 1; }
[[ "$sessions" =~ ^[0-9]+$ ]] && ((sessions >= threads)) || { echo "load: SESSIONS must be a number >= THREADS" >&2; exit 2; }
[ -f "$build/webdemo/apache/ribbonweb.so" ] || "$root/scripts/build.sh" >/dev/null

work="$(mktemp -d /tmp/ribbonweb-load-XXXXXX)"
chmod 755 "$work"
export RIBBON_BUILD_DIR="$build" RIBBON_WEB_ROOT="$work/server" RIBBON_WEB_PORT="$port"
export RIBBON_WEB_THREADS="${RIBBON_WEB_THREADS:-64}"
cleanup() {
  "$root/scripts/web-stop.sh" --quiet || true
  rm -rf "$work"
}
trap cleanup EXIT
"$root/scripts/web-start.sh" >/dev/null
url="http://127.0.0.1:$port"

# One session per connection: each GET of the page starts one; its form action names it.
for _ in $(seq 1 "$sessions"); do
  curl -fsS "$url/ribbon/" | grep -o 'action="[^"]*/EXEC/[0-9]*/[0-9a-f]*"' | sed 's/^action="//; s/"$//'
done >"$work/sessions.txt"
opened=$(wc -l <"$work/sessions.txt")
((opened == sessions)) || { echo "load: only $opened of $sessions sessions opened" >&2; exit 1; }

echo "wrk -t$threads -c$sessions -d$duration --latency -s bench/load/view.lua $url  ($sessions sessions posting \"View\")"
RIBBON_LOAD_SESSIONS="$work/sessions.txt" RIBBON_LOAD_THREADS="$threads" \
  wrk -t"$threads" -c"$sessions" -d"$duration" --timeout 10s --latency -s "$root/bench/load/view.lua" "$url"
