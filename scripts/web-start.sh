#!/usr/bin/env bash
# Starts a real Apache on 127.0.0.1 serving the preview page through ribbonweb.so, with a
# configuration generated under the build folder (its own ServerRoot, pid and log files; nothing
# is written to /etc). Prints the page's address. Stop it with scripts/web-stop.sh.
#
# Settings (environment):
#   RIBBON_WEB_PORT      port to listen on (default 8080)
#   RIBBON_WEB_ROOT      the server's folder for its configuration, pid and logs (default <build>/apache)
#   RIBBON_WEB_MODULE    the module to load (default <build>/webdemo/apache/ribbonweb.so)
#   RIBBON_WEB_HTTPD     the server executable (default /usr/sbin/apache2)
#   RIBBON_WEB_EXTRA     a file of further directives to include (the tests add locations this way)
#   RIBBON_WEB_THREADS   worker threads of the single serving process (default 256)
#   RIBBON_WEB_MAX_SESSIONS, RIBBON_WEB_MAX_SESSIONS_PER_CLIENT, RIBBON_WEB_CACHE_QUOTA_MB
#                        the module's limits (default: sized to the machine, a sixteenth of the
#                        sessions per client, 256 MB); the server passes them on to the module
#
# Sessions live in the memory of one process, so the configuration runs a threaded MPM (event)
# with exactly one child process: every request reaches the process that holds its session.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${RIBBON_BUILD_DIR:-$root/build}"
port="${RIBBON_WEB_PORT:-8080}"
server_root="${RIBBON_WEB_ROOT:-$build/apache}"
module="${RIBBON_WEB_MODULE:-$build/webdemo/apache/ribbonweb.so}"
httpd="${RIBBON_WEB_HTTPD:-/usr/sbin/apache2}"
threads="${RIBBON_WEB_THREADS:-256}"
source "$root/scripts/web-conf.sh"

die() { echo "web-start: $*" >&2; exit 1; }
[[ "$port" =~ ^[0-9]+$ ]] && ((port > 0 && port < 65536)) || die "RIBBON_WEB_PORT must be a port number, not '$port'"
[[ "$threads" =~ ^[0-9]+$ ]] && ((threads > 0)) || die "RIBBON_WEB_THREADS must be a positive number"
[ -x "$httpd" ] || die "no Apache at $httpd (install apache2: scripts/setup.sh)"
[ -f "$module" ] || die "no module at $module (build it: scripts/build.sh)"
module="$(cd "$(dirname "$module")" && pwd)/$(basename "$module")"

# A server of ours still running from an earlier start is stopped first, so a rebuilt module loads.
"$root/scripts/web-stop.sh" --quiet || true

server_root="$(web_conf_dirs "$server_root")"
conf="$server_root/conf/httpd.conf"
web_conf serve "$server_root" "$port" "$module" "$threads" >"$conf"
if [ -n "${RIBBON_WEB_EXTRA:-}" ]; then
  [ -f "$RIBBON_WEB_EXTRA" ] || die "RIBBON_WEB_EXTRA names no file: $RIBBON_WEB_EXTRA"
  echo "Include \"$RIBBON_WEB_EXTRA\"" >>"$conf"
fi

status=0
web_launch "$httpd" "$conf" "$port" || status=$?
case $status in
  0) echo "Serving the barcode preview page at http://127.0.0.1:$port/ribbon/"
     echo "Stop it with: scripts/run.sh --stop   (or scripts/web-stop.sh)" ;;
  1) die "Apache did not start; see $server_root/logs/error.log" ;;
  *) die "Apache started but does not answer on 127.0.0.1:$port; see $server_root/logs/error.log" ;;
esac
