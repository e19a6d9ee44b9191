#!/usr/bin/env bash
# Whole `ribbon` processes against Debian's zint on the same data, in one run, and the targets
# table with the ratios:
#
#   - `ribbon render` of one EAN-13 PNG with its digits against `zint -b 13 -d ...`, and the
#     same without the digits against `zint --notext`;
#   - `ribbon labels` writing one EAN-13 PNG file per record of an SQLite table against
#     `zint --batch -i LIST` writing the same files: wall time, and processor time (user and
#     system, all threads) per label;
#   - the bytes of a label file, both at 2 pixels a module (zint's default --scale 1) with bars
#     100 pixels high and the digits;
#   - the peak memory (maximum resident set) of `labels` at the list's size and at 100,000
#     records.
#
#   bench/cli.sh [LIST]     LIST: EAN-13 numbers, one a line (default: 5,000 made up here)
#
# RIBBON_BUILD_DIR picks the build (default build/), CLI_BENCH_RUNS the runs of each render
# command in each of CLI_BENCH_ROUNDS rounds (default 40 and 3: ribbon and zint alternate
# between rounds, so a change of load hits both), CLI_BENCH_LABEL_RUNS the runs of each labels
# command (default 3), CLI_BENCH_BIG=0 leaves out the 100,000-record memory run (about two
# minutes). Needs hyperfine, zint, GNU time and python3 (scripts/setup.sh installs them).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ribbon="${RIBBON_BUILD_DIR:-$root/build}/cli/ribbon"
runs="${CLI_BENCH_RUNS:-40}"
rounds="${CLI_BENCH_ROUNDS:-3}"
label_runs="${CLI_BENCH_LABEL_RUNS:-3}"
big="${CLI_BENCH_BIG:-1}"

fail() {
  echo "cli.sh: $*" >&2
  exit 2
}
[ $# -le 1 ] || fail "usage: bench/cli.sh [LIST]"
[ -x "$ribbon" ] || fail "build the tool first ($ribbon)"
for tool in hyperfine zint python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The records: the given list (blank lines dropped), or made-up articles with their check digits.
make_list() {
  python3 - "$1" "$2" <<'PY'
import sys
def ean13(n):
    s = "%012d" % n
    total = sum(int(c) * (3 if i % 2 else 1) for i, c in enumerate(s))
    return s + str((10 - total % 10) % 10)
with open(sys.argv[1], "w") as out:
    for i in range(int(sys.argv[2])):
        out.write(ean13(400638100000 + i) + "\n")
PY
}
if [ $# -eq 1 ]; then
  [ -r "$1" ] || fail "cannot read the list $1"
  grep -v '^[[:space:]]*$' "$1" >"$work/list" || true
  [ -s "$work/list" ] || fail "the list $1 holds no numbers"
else
  make_list "$work/list" 5000
fi
# One table of the records for labels, in the list's order.
make_db() {
  python3 - "$1" "$2" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[2])
db.execute("CREATE TABLE items(id INTEGER PRIMARY KEY, sku TEXT)")
with open(sys.argv[1]) as f:
    db.executemany("INSERT INTO items(sku) VALUES (?)", ((line.strip(),) for line in f))
db.commit()
PY
}
make_db "$work/list" "$work/items.db"
records=$(wc -l <"$work/list")
first=$(head -n1 "$work/list")

# The same picture from both: 2 pixels a module, bars 100 pixels high (zint's default height of
# 50 modules), the digits under the bars.
look="--type ean13 --modul 2 --height 100"
q() { printf '%q ' "$@"; }  # a command line for hyperfine, which splits it as a shell would
labels_on() {  # the labels command over the table in $1, writing its files into $2
  echo "$(q "$ribbon" labels --db "$1" --query "SELECT sku FROM items" --column sku) $look" \
       "--text barcode $(q --out-dir "$2")"
}
conditions="$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(zint --version | head -n1)"
echo "bench/cli.sh: $conditions, load average $(cut -d' ' -f1-3 /proc/loadavg), $records records" >&2
load_before=$(cut -d' ' -f1 /proc/loadavg)

# One round times ribbon and zint back to back, the order swapped every other round.
time_pair() {  # NAME ROUND RIBBON_COMMAND ZINT_COMMAND
  local one="$3" other="$4"
  if [ $(($2 % 2)) -eq 0 ]; then one="$4" other="$3"; fi
  hyperfine -N --style none --warmup 3 --runs "$runs" --export-json "$work/$1-$2.json" \
    "$one" "$other" >/dev/null
}
for round in $(seq "$rounds"); do
  echo "  render, round $round of $rounds" >&2
  time_pair text "$round" "$(q "$ribbon") render $look --text barcode $(q --data "$first" --out "$work/r.png")" \
    "zint -b 13 $(q -d "$first" -o "$work/z.png")"
  time_pair plain "$round" "$(q "$ribbon") render $look $(q --data "$first" --out "$work/r.png")" \
    "zint -b 13 --notext $(q -d "$first" -o "$work/z.png")"
done

echo "  labels: $records PNG files, $label_runs runs each" >&2
hyperfine -N --style none --runs "$label_runs" --export-json "$work/labels.json" \
  --prepare "rm -rf $(q "$work/ribbon-out")" "$(labels_on "$work/items.db" "$work/ribbon-out")" \
  --prepare "bash -c $(q "rm -rf '$work/zint-out' && mkdir '$work/zint-out'")" \
  "zint --batch -b 13 $(q -i "$work/list" -o "$work/zint-out/~~~~~~.png")" >/dev/null
count() { find "$1" -name '*.png' | wc -l; }
[ "$(count "$work/ribbon-out")" -eq "$records" ] || fail "ribbon labels did not write $records files"
[ "$(count "$work/zint-out")" -eq "$records" ] || fail "zint --batch did not write $records files"
bytes() { find "$1" -name '*.png' -printf '%s\n' | awk '{s += $1} END {print s}'; }
ribbon_bytes=$(bytes "$work/ribbon-out")
zint_bytes=$(bytes "$work/zint-out")

peak_kb() {  # the maximum resident set of `ribbon labels` over the records of $1, in KB
  rm -rf "$work/mem-out"
  eval "/usr/bin/time -f %M -o $(q "$work/rss") $(labels_on "$1" "$work/mem-out")" \
    >/dev/null 2>"$work/mem-err" || { cat "$work/mem-err" >&2; fail "labels failed on $1"; }
  rm -rf "$work/mem-out"
  tail -n1 "$work/rss"
}
echo "  labels: peak memory at $records records" >&2
rss_small=$(peak_kb "$work/items.db")
rss_big=""
if [ "$big" != 0 ]; then
  echo "  labels: peak memory at 100,000 records" >&2
  make_list "$work/big-list" 100000
  make_db "$work/big-list" "$work/big.db"
  rss_big=$(peak_kb "$work/big.db")
fi

python3 - "$work" "$rounds" "$records" "$ribbon_bytes" "$zint_bytes" "$rss_small" "$rss_big" \
  "$load_before" "$conditions" <<'PY'
import json, re, statistics, sys
work, rounds, records = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
ribbon_bytes, zint_bytes = int(sys.argv[4]), int(sys.argv[5])
rss_small, rss_big, load_before = int(sys.argv[6]), sys.argv[7], sys.argv[8]
conditions = sys.argv[9]

commands = []  # what was compared, for the record

def pooled(what, files):
    """Median wall time and mean processor time (user + system) of ribbon's and zint's runs."""
    out, ran = {}, {}
    for name in files:
        for r in json.load(open(name))["results"]:
            who = "zint" if r["command"].startswith("zint") else "ribbon"
            wall, cpu = out.setdefault(who, ([], []))
            wall.extend(r["times"])
            cpu.append(r["user"] + r["system"])
            ran[who] = re.sub(" +", " ", r["command"].replace(work, "$TMP")).strip()
    commands.append((what, ran["ribbon"], ran["zint"]))
    return {who: (statistics.median(w), statistics.mean(c)) for who, (w, c) in out.items()}

def ms(s):
    return "%.1f ms" % (s * 1e3)

rows = []
for pair, what, target in (("text", "`ribbon render` EAN-13 PNG with text, whole process, vs `zint` the same", 1.2),
                           ("plain", "`ribbon render` without text vs `zint --notext`", 1.0)):
    t = pooled("render " + pair, ["%s/%s-%d.json" % (work, pair, i) for i in range(1, rounds + 1)])
    (rw, rc), (zw, zc) = t["ribbon"], t["zint"]
    rows.append((what, "%s (%s processor)" % (ms(rw), ms(rc)), "%s (%s)" % (ms(zw), ms(zc)),
                 rw / zw, "%.2fx wall, %.2fx processor" % (rw / zw, rc / zc), target))

t = pooled("labels", ["%s/labels.json" % work])
(rw, rc), (zw, zc) = t["ribbon"], t["zint"]
rows.append(("`ribbon labels` %s EAN-13 PNG files vs `zint --batch`, wall" % format(records, ","),
             "%.2f s" % rw, "%.2f s" % zw, rw / zw, "%.2fx" % (rw / zw), 0.7))
rows.append(("the same, processor time per label", "%.0f us" % (rc / records * 1e6),
             "%.0f us" % (zc / records * 1e6), rc / zc, "%.2fx" % (rc / zc), 1.5))
rb, zb = ribbon_bytes / records, zint_bytes / records
rows.append(("bytes per label file, same module size, with text", "%.0f" % rb, "%.0f" % zb,
             rb / zb, "%.2fx" % (rb / zb), 1.5))
if rss_big:
    growth = int(rss_big) / rss_small
    rows.append(("peak memory of `labels` over 100,000 records",
                 "%.1f MB (%.1f MB at %s)" % (int(rss_big) / 1024, rss_small / 1024, format(records, ",")),
                 "", growth, "%.2fx its value at %s" % (growth, format(records, ",")), 1.1))
else:
    rows.append(("peak memory of `labels` at %s records" % format(records, ","),
                 "%.1f MB" % (rss_small / 1024), "", None, "(CLI_BENCH_BIG=0: not measured at 100,000)", 1.1))

with open("/proc/loadavg") as f:
    load_after = f.read().split()[0]
print("| What | ribbon | zint | ratio | target | ratio / target |")
print("|---|---:|---:|---:|---:|---:|")
for what, ours, theirs, ratio, shown, target in rows:
    print("| %s | %s | %s | %s | <= %.1fx | %s |" % (what, ours, theirs, shown, target,
          "" if ratio is None else "%.2f" % (ratio / target)))
print("\n%s; load average %s before, %s after; wall times are medians, processor times means"
      % (conditions, load_before, load_after))
print("\nCompared ($TMP: the script's temporary folder):")
for what, ribbon, zint in commands:
    print("  %-13s %s\n  %-13s %s" % (what + ":", ribbon, "", zint))
PY
