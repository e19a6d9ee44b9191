#!/usr/bin/env bash
# Labels per second of `ribbon labels` over a database of 100,000 EAN-13 articles: to PNG files,
# to SVG files, and to one PDF (one label a page, and a 3x8 grid on A4). Wall time of the whole
# command, reading the database included, and its peak memory.
#
#   bench/labels.sh [RECORDS]        (default 100000; RIBBON_BUILD_DIR picks the build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ribbon="${RIBBON_BUILD_DIR:-$root/build}/cli/ribbon"
records="${1:-100000}"
[ -x "$ribbon" ] || { echo "labels.sh: build the tool first ($ribbon)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "labels.sh: needs /usr/bin/time (scripts/setup.sh installs it)" >&2; exit 2; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$work/items.db" "$records" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("CREATE TABLE items(id INTEGER PRIMARY KEY, sku TEXT, name TEXT)")
def ean13(n):
    s = "%012d" % n
    total = sum(int(c) * (3 if i % 2 else 1) for i, c in enumerate(s))
    return s + str((10 - total % 10) % 10)
db.executemany("INSERT INTO items VALUES (?, ?, ?)",
               ((i, ean13(400638100000 + i), "item%06d" % i) for i in range(1, int(sys.argv[2]) + 1)))
db.commit()
PY

# Wall time, the processor time of the run (user + system, all threads: on a shared machine it
# says what the work costs when the wall time is stretched by others) and the peak memory (the
# largest resident set), which stays the same however many records there are. /usr/bin/time,
# not the shell's, as only it tells the memory.
run() {
  local what="$1"; shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$ribbon" labels --db "$work/items.db" \
      --query "SELECT sku, name FROM items" --column sku --name-column name --type ean13 \
      --modul 2 --text barcode "$@" >"$work/summary.json" 2>/dev/null || true
  python3 - "$what" "$(tail -1 "$work/time")" "$work/summary.json" <<'PY'
import json, sys
what, times, summary = sys.argv[1], sys.argv[2].split(), sys.argv[3]
real, cpu, peak = float(times[0]), float(times[1]) + float(times[2]), int(times[3]) / 1024
n = json.load(open(summary))["written"]
print("%-22s %7d labels in %6.1f s: %7.0f labels/s (%.0f labels per processor-second), "
      "peak %.1f MB" % (what, n, real, n / real, n / cpu, peak))
PY
}

echo "ribbon labels, $records records, $(nproc) cores, load average $(cut -d" " -f1-3 /proc/loadavg)"
run "PNG files" --out-dir "$work/png"
du -sh "$work/png" | awk '{print "  PNG folder: " $1}'
rm -rf "$work/png"
run "SVG files" --format svg --out-dir "$work/svg"
rm -rf "$work/svg"
run "PDF, a label a page" --out "$work/pages.pdf"
ls -l "$work/pages.pdf" | awk '{printf "  PDF: %d bytes\n", $5}'
run "PDF, 3x8 grid on A4" --out "$work/grid.pdf" --grid 3x8 --paper a4 --dpi 300
ls -l "$work/grid.pdf" | awk '{printf "  PDF: %d bytes\n", $5}'
