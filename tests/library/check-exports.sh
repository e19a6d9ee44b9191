#!/usr/bin/env bash
# Compares the dynamic symbols of libribbonkit.so (demangled, with their version) with the
# checked-in export list, and checks the soname. Changing the list is deliberate:
#   check-exports.sh LIB LIST --update
set -euo pipefail
lib="$1" list="$2"
if [[ -n "${RIBBON_SANITIZED:-}" && "${3:-}" != --update ]]; then
  echo "skipped: the sanitizer build's library is not the one whose exports are listed"
  exit 77
fi
actual="$(nm -D --defined-only -C "$lib" | cut -d' ' -f2- | LC_ALL=C sort -u)"
if [[ "${3:-}" == --update ]]; then
  printf '%s\n' "$actual" > "$list"
  echo "wrote $list"
  exit 0
fi
soname="$(readelf -d "$lib" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')"
if [[ "$soname" != libribbonkit.so.1 ]]; then
  echo "soname is '$soname', expected libribbonkit.so.1" >&2
  exit 1
fi
if ! diff -u "$list" <(printf '%s\n' "$actual"); then
  echo "The exports differ from $list (- listed, + exported)." >&2
  echo "If the change is meant, run: $0 $lib $list --update" >&2
  exit 1
fi
echo "$(wc -l < "$list") exports as listed; soname $soname"
