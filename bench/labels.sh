#!/usr/bin/env bash
# Labels per second of `ribbon labels` over a database of 100,000 EAN-13 articles: to PNG files,
# to SVG files, and to one PDF (one label a page, and a 3x8 grid on A4). Wall time of the whole
# command, reading the database included.
#
#   bench/labels.sh [RECORDS]        (default 100000; RIBBON_BUILD_DIR picks the build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ribbon="${RIBBON_BUILD_DIR:-$root/build}/cli/ribbon"
records="${1:-100000}"
[ -x "$ribbon" ] || { echo "labels.sh: build the tool first ($ribbon)" >&2; exit 2; }
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

run() {
  local what="$1"; shift
  local start end
  start=$(date +%s.%N)
  "$ribbon" labels --db "$work/items.db" --query "SELECT sku, name FROM items" --column sku \
    --name-column name --type ean13 --modul 2 --text barcode "$@" >"$work/summary.json" 2>/dev/null
  end=$(date +%s.%N)
  python3 - "$what" "$start" "$end" "$work/summary.json" <<'PY'
import json, sys
what, start, end, summary = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
s = json.load(open(summary))
seconds = end - start
print("%-22s %7d labels in %6.1f s: %7.0f labels/s" % (what, s["written"], seconds, s["written"] / seconds))
PY
}

echo "ribbon labels, $records records, $(nproc) cores"
run "PNG files" --out-dir "$work/png"
du -sh "$work/png" | awk '{print "  PNG folder: " $1}'
rm -rf "$work/png"
run "SVG files" --format svg --out-dir "$work/svg"
rm -rf "$work/svg"
run "PDF, a label a page" --out "$work/pages.pdf"
ls -l "$work/pages.pdf" | awk '{printf "  PDF: %d bytes\n", $5}'
run "PDF, 3x8 grid on A4" --out "$work/grid.pdf" --grid 3x8 --paper a4 --dpi 300
ls -l "$work/grid.pdf" | awk '{printf "  PDF: %d bytes\n", $5}'
