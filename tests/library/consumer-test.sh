#!/usr/bin/env bash
# Builds and runs the consumer programs against an installed ribbonkit, once through
# find_package and once through pkg-config, and reads their pictures back with zbarimg.
#   consumer-test.sh install BUILD_DIR CONSUMER_DIR   # cmake --install into a temporary prefix
#   consumer-test.sh deb     BUILD_DIR CONSUMER_DIR   # cpack -G DEB, packages unpacked there
# Nothing is installed on the system.
set -euo pipefail
mode="$1" build="$2" consumer="$3"
if [[ -n "${RIBBON_SANITIZED:-}" ]]; then
  echo "skipped: consumers built outside the tree cannot load the sanitizer build's library"
  exit 77
fi
command -v zbarimg >/dev/null || { echo "zbarimg (zbar-tools) is missing" >&2; exit 1; }
command -v pkg-config >/dev/null || { echo "pkg-config is missing" >&2; exit 1; }
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

case "$mode" in
  install)
    prefix="$tmp/prefix"
    for component in runtime dev qt; do
      cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
    done
    ;;
  deb)
    (cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/debs" >/dev/null)
    debs=("$tmp"/debs/*.deb)
    names="$(for d in "${debs[@]}"; do dpkg-deb -f "$d" Package; done | sort | tr '\n' ' ')"
    [[ "$names" == "libribbonkit-dev libribbonkit1 " ]] || { echo "packages: $names" >&2; exit 1; }
    for d in "${debs[@]}"; do dpkg-deb -x "$d" "$tmp/root"; done
    prefix="$tmp/root/usr"
    ;;
  *) echo "usage: $0 install|deb BUILD_DIR CONSUMER_DIR" >&2; exit 2 ;;
esac

libdir="$(dirname "$(find "$prefix" -name libribbonkit.so.1 | head -1)")"
[[ -e "$libdir/libribbonkit.so" && -n "$(find "$prefix" -path '*/include/ribbonkit/ribbonkit.h')" ]] \
  || { echo "install tree incomplete under $prefix" >&2; exit 1; }
export LD_LIBRARY_PATH="$libdir"

check() {  # picture, expected zbar symbol
  local got
  got="$(zbarimg --quiet --raw "$1" 2>/dev/null || true)"
  [[ "$got" == "$2" ]] || { echo "$1: zbarimg read '$got', expected '$2'" >&2; exit 1; }
}

run_both() {  # directory with draw_cpp and draw_c
  "$1/draw_cpp" "$tmp/cpp.png" | grep -qx 'EAN13'
  check "$tmp/cpp.png" 5901234123457
  "$1/draw_c" "$tmp/c.png" | grep -qx 'Code128B'
  check "$tmp/c.png" Ribbon-42
}

# find_package; the consumers set no C++ standard: the target's usage requirement brings it.
cmake -S "$consumer" -B "$tmp/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$tmp/cmake-build" >/dev/null
run_both "$tmp/cmake-build"

# pkg-config: ribbonkit brings -std=c++20, ribbonkit-c nothing a C compiler would warn about.
export PKG_CONFIG_PATH="$libdir/pkgconfig"
mkdir "$tmp/pc-build"
c++ -Werror "$consumer/draw.cpp" -o "$tmp/pc-build/draw_cpp" $(pkg-config --cflags --libs ribbonkit)
cc -Werror "$consumer/draw.c" -o "$tmp/pc-build/draw_c" $(pkg-config --cflags --libs ribbonkit-c)
run_both "$tmp/pc-build"
# The Qt widget, installed as its own component (not part of the .deb packages).
if [[ "$mode" == install ]]; then
  cmake -S "$consumer-qt" -B "$tmp/qt-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$tmp/qt-build" >/dev/null
  QT_QPA_PLATFORM=offscreen "$tmp/qt-build/show_barcode" "$tmp/qt.png"
  check "$tmp/qt.png" Qt-7
fi
echo "consumer ($mode): find_package and pkg-config builds read back by zbarimg"
