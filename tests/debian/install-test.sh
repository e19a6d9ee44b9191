#!/usr/bin/env bash
# Installs the four packages scripts/debian-packages.sh made on this machine with apt-get, uses
# them as their users would, then purges them and checks that nothing of them is left:
#   - `ribbon types` and a rendered picture from /usr/bin/ribbon, its manual page;
#   - a consumer built against /usr with find_package and with pkg-config, no extra flags;
#   - Debian's own Apache configuration with `a2enmod ribbonweb`, started on a loopback port
#     (a copy of /etc/apache2 with only the port changed), serving the page, a View's picture
#     read back by zbarimg;
#   - `apt-get purge`: no file of the packages, no configuration, no cache left.
# It changes the system, so it runs only as root with RIBBON_DEBIAN_INSTALL=1 (CI sets it).
#   install-test.sh DEB_DIR SOURCE_DIR
set -euo pipefail
dir="$(cd "$1" && pwd)" source="$(cd "$2" && pwd)"
packages=(libribbonkit1 libribbonkit-dev ribbon-tools libapache2-mod-ribbonweb)

skip() { echo "skipped: $*"; exit 77; }
[[ "${RIBBON_DEBIAN_INSTALL:-}" == 1 ]] ||
  skip "installs into the system: run as root with RIBBON_DEBIAN_INSTALL=1 (CI does)"
[[ "$(id -u)" -eq 0 ]] || skip "installing packages needs root"
for tool in apt-get apache2ctl a2enmod zbarimg cmake c++ pkg-config python3; do
  command -v "$tool" >/dev/null || skip "$tool is missing (scripts/setup.sh installs it)"
done
for p in "${packages[@]}"; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q installed; then
    skip "$p is installed already; this test installs and purges it itself"
  fi
done

tmp="$(mktemp -d)"
apache_env=()
fail() { echo "install-test: $*" >&2; exit 1; }
cleanup() {
  if [[ ${#apache_env[@]} -gt 0 ]]; then env "${apache_env[@]}" apache2ctl stop >/dev/null 2>&1 || true; fi
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${packages[@]}" >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT

debs=()
for p in "${packages[@]}"; do debs+=("$(ls "$dir/${p}_"*.deb)"); done
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${debs[@]}" \
  >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log" >&2; fail "apt-get install failed"; }
for p in "${packages[@]}"; do dpkg -L "$p" >>"$tmp/files"; done
echo "installed: ${packages[*]}"

# The tool, as a user finds it.
[[ "$(command -v ribbon)" == /usr/bin/ribbon ]] || fail "ribbon is not /usr/bin/ribbon"
count="$(ribbon types | wc -l)"
[[ "$count" -eq 23 ]] || fail "ribbon types listed $count symbologies, expected 23"
(cd "$tmp" && ribbon render --type code128b --data Debian-12 --text barcode --out tool.png >/dev/null)
[[ "$(zbarimg --quiet --raw "$tmp/tool.png" 2>/dev/null)" == Debian-12 ]] || fail "ribbon render: not read back"
for page in ribbon ribbon-designer; do
  [[ -f /usr/share/man/man1/$page.1.gz ]] || fail "the manual page of $page is missing"
done
echo "ribbon: types, render read back by zbarimg, manual pages"

# A consumer of the library under /usr: no prefix, no PKG_CONFIG_PATH, no LD_LIBRARY_PATH.
consumer="$source/tests/library/consumer"
cmake -S "$consumer" -B "$tmp/cmake-build" >/dev/null && cmake --build "$tmp/cmake-build" >/dev/null ||
  fail "find_package(ribbonkit) build against /usr failed"
mkdir "$tmp/pc"
# shellcheck disable=SC2046
c++ -Werror "$consumer/draw.cpp" -o "$tmp/pc/draw_cpp" $(pkg-config --cflags --libs ribbonkit) &&
  cc -Werror "$consumer/draw.c" -o "$tmp/pc/draw_c" $(pkg-config --cflags --libs ribbonkit-c) ||
  fail "pkg-config build against /usr failed"
for build in "$tmp/cmake-build" "$tmp/pc"; do
  rm -f "$tmp/cpp.png" "$tmp/c.png"
  "$build/draw_cpp" "$tmp/cpp.png" >/dev/null || fail "$build/draw_cpp failed"
  "$build/draw_c" "$tmp/c.png" >/dev/null || fail "$build/draw_c failed"
  [[ "$(zbarimg --quiet --raw "$tmp/cpp.png" 2>/dev/null)" == 5901234123457 &&
     "$(zbarimg --quiet --raw "$tmp/c.png" 2>/dev/null)" == Ribbon-42 ]] || fail "$build: pictures not read back"
done
echo "consumer: find_package and pkg-config builds against /usr, pictures read back"

# Debian's Apache. The package enabled the module; a2enmod says so again.
[[ -L /etc/apache2/mods-enabled/ribbonweb.load && -L /etc/apache2/mods-enabled/ribbonweb.conf ]] ||
  fail "the package did not enable the module"
a2enmod ribbonweb >/dev/null || fail "a2enmod ribbonweb failed"
[[ "$(stat -c %U /var/lib/ribbonweb/Cache)" == www-data ]] || fail "the cache is not www-data's"
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
conf="$tmp/apache2"
cp -a /etc/apache2 "$conf"
echo "Listen 127.0.0.1:$port" >"$conf/ports.conf"
mkdir -p "$tmp/run" "$tmp/log"
cat >"$conf/envvars" <<VARS
export APACHE_RUN_USER=www-data APACHE_RUN_GROUP=www-data LANG=C
export APACHE_PID_FILE=$tmp/run/apache2.pid APACHE_RUN_DIR=$tmp/run APACHE_LOCK_DIR=$tmp/run
export APACHE_LOG_DIR=$tmp/log
VARS
# Started directly even where systemd runs (apache2ctl would hand a start to systemctl).
apache_env=(APACHE_CONFDIR="$conf" APACHE_STARTED_BY_SYSTEMD=1)
env "${apache_env[@]}" apache2ctl start || { cat "$tmp/log/error.log" >&2; fail "Apache did not start"; }
for _ in $(seq 1 100); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done
"$source/tests/debian/view_page.py" "$port" "$tmp" || { cat "$tmp/log/error.log" >&2; fail "the page"; }
[[ -n "$(find /var/lib/ribbonweb/Cache -type f -user www-data)" ]] ||
  fail "the picture is not in /var/lib/ribbonweb/Cache"
env "${apache_env[@]}" apache2ctl stop
apache_env=()
echo "apache2: module enabled with a2enmod, the page served on 127.0.0.1:$port"

# Purge: every file the packages held, their configuration and the cache are gone.
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${packages[@]}" >/dev/null
left=()
while read -r path; do
  if [[ -e "$path" && ! -d "$path" ]] || [[ -L "$path" ]]; then left+=("$path"); fi
done <"$tmp/files"
for path in /var/lib/ribbonweb /etc/apache2/mods-available/ribbonweb.load \
  /etc/apache2/mods-available/ribbonweb.conf /etc/apache2/mods-enabled/ribbonweb.load \
  /etc/apache2/mods-enabled/ribbonweb.conf /usr/include/ribbonkit; do
  [[ -e "$path" || -L "$path" ]] && left+=("$path")
done
[[ ${#left[@]} -eq 0 ]] || fail "left after the purge: ${left[*]}"
echo "purge: nothing left"
