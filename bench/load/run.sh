#!/usr/bin/env bash
# Load on the real server: starts Apache with ribbonweb.so and, for each number of connections,
# opens that many sessions and lets wrk press "View" from as many connections, each on a session
# of its own, for a bounded time. Prints wrk's report per step and, at the end, the load curve:
# pages with a picture per second, latency p50 / p99, failed requests and replaced sessions.
#   bench/load/run.sh                       1, 8, 50 and 200 connections, 15 s each
#   SESSIONS=50 DURATION=30s bench/load/run.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${RIBBON_BUILD_DIR:-$root/build}"
steps="${SESSIONS:-1 8 50 200}"
duration="${DURATION:-15s}"
max_threads="${THREADS:-2}"
port="${RIBBON_WEB_PORT:-8089}"

command -v wrk >/dev/null || { echo "load: wrk is missing (scripts/setup.sh installs it)" >&2; exit 1; }
for n in $steps; do
  [[ "$n" =~ ^[0-9]+$ ]] && ((n > 0)) || { echo "load: SESSIONS must be positive numbers" >&2; exit 2; }
done
[[ "$max_threads" =~ ^[0-9]+$ ]] && ((max_threads > 0)) || { echo "load: THREADS must be a positive number" >&2; exit 2; }
[ -f "$build/webdemo/apache/ribbonweb.so" ] || "$root/scripts/build.sh" >/dev/null

work="$(mktemp -d /tmp/ribbonweb-load-XXXXXX)"
chmod 755 "$work"
export RIBBON_BUILD_DIR="$build" RIBBON_WEB_ROOT="$work/server" RIBBON_WEB_PORT="$port"
cleanup() {
  "$root/scripts/web-stop.sh" --quiet || true
  rm -rf "$work"
}
trap cleanup EXIT
"$root/scripts/web-start.sh" >/dev/null
url="http://127.0.0.1:$port"

table="| connections | Views/s | p50 ms | p99 ms | failed requests | sessions replaced |
|---:|---:|---:|---:|---:|---:|"
for sessions in $steps; do
  threads=$((sessions < max_threads ? sessions : max_threads))
  # One session per connection: each GET of the page starts one; its form action names it.
  for _ in $(seq 1 "$sessions"); do
    curl -fsS "$url/ribbon/" | grep -o 'action="[^"]*/EXEC/[0-9]*/[0-9a-f]*"' | sed 's/^action="//; s/"$//'
  done >"$work/sessions.txt"
  opened=$(wc -l <"$work/sessions.txt")
  ((opened == sessions)) || { echo "load: only $opened of $sessions sessions opened" >&2; exit 1; }

  echo "wrk -t$threads -c$sessions -d$duration --latency -s bench/load/view.lua $url  ($sessions sessions posting \"View\")"
  RIBBON_LOAD_SESSIONS="$work/sessions.txt" RIBBON_LOAD_THREADS="$threads" \
    wrk -t"$threads" -c"$sessions" -d"$duration" --timeout 10s --latency -s "$root/bench/load/view.lua" "$url" |
    tee "$work/wrk.txt"
  read -r views p50 p99 failed lost < <(sed -n 's/^curve: //p' "$work/wrk.txt")
  table+=$'\n'"| $sessions | $views | $p50 | $p99 | $failed | $lost |"
done
echo
echo "$table"
