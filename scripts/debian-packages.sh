#!/usr/bin/env bash
# Builds the Debian packages from debian/ with dpkg-buildpackage (-us -uc -b) in a copy of the
# source tree, and puts the .deb files (with the .changes and .buildinfo) into OUT_DIR:
#   scripts/debian-packages.sh [OUT_DIR]      (default build/debian)
# The package build is a full release build (about 10 minutes on 2 cores); ccache is used
# when it is installed. RIBBON_JOBS sets the parallel jobs (default 2).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build/debian}"
die() { echo "debian-packages: $*" >&2; exit 1; }
for tool in dpkg-buildpackage dh dh_apache2 fakeroot; do
  command -v "$tool" >/dev/null || die "$tool is missing (scripts/setup.sh installs it)"
done

version="$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)"
src="$out/src/ribbonkit-$version"
rm -rf "$out/src"
mkdir -p "$src"
out="$(cd "$out" && pwd)"
# Packages of an earlier build must not pass for this one's.
rm -f "$out"/*.deb "$out"/*.changes "$out"/*.buildinfo
# The tracked files and the new ones, not the build trees.
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 cp --parents -t "$src" 2>/dev/null) || die "cannot copy the sources"
(cd "$root" && git ls-files -z --deleted | (cd "$src" && xargs -0 rm -f))

if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
export DEB_BUILD_OPTIONS="parallel=${RIBBON_JOBS:-2} ${DEB_BUILD_OPTIONS:-}"
(cd "$src" && dpkg-buildpackage -us -uc -b) >"$out/build.log" 2>&1 ||
  { tail -n 40 "$out/build.log" >&2; die "dpkg-buildpackage failed; the log is $out/build.log"; }
mv "$out"/src/*.deb "$out"/src/*.changes "$out"/src/*.buildinfo "$out"/
ls "$out"/*.deb
