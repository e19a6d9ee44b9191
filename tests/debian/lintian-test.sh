#!/usr/bin/env bash
# Debian's checker on every package that scripts/debian-packages.sh made: no error and no
# warning (overrides in debian/*.lintian-overrides carry their reason).
#   lintian-test.sh DEB_DIR
set -euo pipefail
dir="$1"
command -v lintian >/dev/null ||
  { echo "skipped: lintian is not installed (scripts/setup.sh installs it)"; exit 77; }
shopt -s nullglob
debs=("$dir"/*.deb)
[[ ${#debs[@]} -gt 0 ]] || { echo "no packages in $dir" >&2; exit 1; }

names="$(for d in "${debs[@]}"; do dpkg-deb -f "$d" Package; done | sort | tr '\n' ' ')"
expected="libapache2-mod-ribbonweb libapache2-mod-ribbonweb-dbgsym libribbonkit-dev"
expected+=" libribbonkit1 libribbonkit1-dbgsym ribbon-tools ribbon-tools-dbgsym "
[[ "$names" == "$expected" ]] || { echo "packages: $names, expected $expected" >&2; exit 1; }

# The symbols file rides in the runtime package's control area.
runtime="$(printf '%s\n' "${debs[@]}" | grep '/libribbonkit[0-9]*_')"
dpkg-deb --ctrl-tarfile "$runtime" | tar -t | grep -qx './symbols' ||
  { echo "$runtime has no symbols file" >&2; exit 1; }

lintian --fail-on error,warning --display-level '>=warning' "${debs[@]}"
echo "lintian: no error and no warning on ${#debs[@]} packages"
