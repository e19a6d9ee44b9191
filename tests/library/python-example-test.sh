#!/usr/bin/env bash
# Runs the Python example of README.md (the python block after "<!-- python-example -->") against
# the built library and reads the label it writes back with zbarimg.
set -euo pipefail
readme="$1" libdir="$2"
source "$(dirname "$0")/../readers.sh"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
awk '/<!-- python-example -->/ {found=1; next}
     found && /^```python/ {inside=1; next}
     inside && /^```/ {exit}
     inside {print}' "$readme" > "$tmp/example.py"
[[ -s "$tmp/example.py" ]] || { echo "no python example in $readme" >&2; exit 1; }
preload=()
if [[ -n "${RIBBON_SANITIZED:-}" ]]; then
  # The sanitizer runtime must come first; the interpreter's own allocations are not ours.
  preload=(env "LD_PRELOAD=$(${CXX:-c++} -print-file-name=libasan.so)" ASAN_OPTIONS=detect_leaks=0)
fi
(cd "$tmp" && LD_LIBRARY_PATH="$libdir" "${preload[@]}" python3 example.py)
got="$(zbar_read "$tmp/label.png")"
[[ "$got" == 5901234123457 ]] || { echo "zbarimg read '$got'" >&2; exit 1; }
echo "README example: label.png reads 5901234123457"
