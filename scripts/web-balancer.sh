#!/usr/bin/env bash
# Several serving machines, on one host: N back-end Apaches, each running ribbonweb.so with its
# own module folder (its own picture cache), behind a front Apache whose mod_proxy_balancer
# spreads new sessions over them and keeps every session on the back end that holds it.
#
#   scripts/web-balancer.sh N        start N back ends and the front (prints the page's address)
#   scripts/web-balancer.sh --stop   stop the front and every back end
#
# A session lives in the memory of one back end, so routing must be sticky. The front answers
# the first response of a browser with a cookie "ROUTEID=.<route>" naming the back end it chose;
# later requests carrying the cookie go to that back end (stickysession=ROUTEID). Requests
# without the cookie are spread by request count (lbmethod_byrequests).
#
# Settings (environment):
#   RIBBON_WEB_PORT      the front's port (default 8080); back end i listens on port + i
#   RIBBON_WEB_ROOT      the folder of the front and the back ends (default <build>/apache-balancer)
#   RIBBON_WEB_MODULE, RIBBON_WEB_HTTPD, RIBBON_WEB_THREADS   as for scripts/web-start.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${RIBBON_BUILD_DIR:-$root/build}"
port="${RIBBON_WEB_PORT:-8080}"
cluster="${RIBBON_WEB_ROOT:-$build/apache-balancer}"
module="${RIBBON_WEB_MODULE:-$build/webdemo/apache/ribbonweb.so}"
httpd="${RIBBON_WEB_HTTPD:-/usr/sbin/apache2}"
source "$root/scripts/web-conf.sh"

die() { echo "web-balancer: $*" >&2; exit 1; }

stop_all() {
  [ -d "$cluster" ] || return 0
  RIBBON_WEB_ROOT="$cluster/front" "$root/scripts/web-stop.sh" --quiet || true
  for backend in "$cluster"/backend*; do
    [ -d "$backend" ] && RIBBON_WEB_ROOT="$backend" "$root/scripts/web-stop.sh" --quiet || true
  done
}

case "${1:-}" in
  --stop) stop_all; echo "web-balancer: stopped"; exit 0 ;;
  ''|*[!0-9]*) die "usage: scripts/web-balancer.sh N | --stop   (N back ends, 1 or more)" ;;
esac
count="$1"
((count >= 1 && count <= 64)) || die "the number of back ends must be 1 to 64, not $count"
[[ "$port" =~ ^[0-9]+$ ]] && ((port > 0 && port + count < 65536)) || die "RIBBON_WEB_PORT must leave room for $count ports after it"
[ -f "$module" ] || die "no module at $module (build it: scripts/build.sh)"
for m in proxy proxy_http proxy_balancer lbmethod_byrequests slotmem_shm headers remoteip; do
  [ -f "$modules/mod_$m.so" ] || die "Apache lacks mod_$m (install apache2: scripts/setup.sh)"
done

stop_all
mkdir -p "$cluster"
cluster="$(cd "$cluster" && pwd)"
members=""
for i in $(seq 1 "$count"); do
  backend="$cluster/backend$i"
  # The module's folder holds its picture cache: one folder per back end.
  mkdir -p "$backend/module"
  cp "$module" "$backend/module/"
  cp "$(dirname "$module")/Back.bmp" "$backend/module/"
  chmod 755 "$cluster" "$backend" "$backend/module"
  # Every request reaches a back end from the front's address; the module's limits per client
  # must see the browser's address, which the front sends in X-Forwarded-For.
  web_conf forwarded >"$backend/forwarded.conf"
  RIBBON_WEB_ROOT="$backend" RIBBON_WEB_PORT=$((port + i)) RIBBON_WEB_EXTRA="$backend/forwarded.conf" \
    RIBBON_WEB_MODULE="$backend/module/$(basename "$module")" RIBBON_WEB_HTTPD="$httpd" \
    "$root/scripts/web-start.sh" >/dev/null || { stop_all; die "back end $i did not start"; }
  members+="  BalancerMember \"http://127.0.0.1:$((port + i))\" route=b$i keepalive=On"$'\n'
done

front="$(web_conf_dirs "$cluster/front")"
conf="$front/conf/httpd.conf"
web_conf front "$front" "$port" "$members" >"$conf"

status=0
web_launch "$httpd" "$conf" "$port" || status=$?
if [ $status -eq 0 ]; then
  echo "Serving the barcode preview page at http://127.0.0.1:$port/ribbon/ from $count back ends (ports $((port + 1))..$((port + count)))"
  echo "Stop it with: scripts/run.sh --stop   (or scripts/web-balancer.sh --stop)"
  exit 0
fi
stop_all
[ $status -eq 1 ] && die "the front did not start; see $front/logs/error.log"
die "the front started but does not answer on 127.0.0.1:$port; see $front/logs/error.log"
