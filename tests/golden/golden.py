#!/usr/bin/env python3
"""Pins the outputs of the ribbon tool and of the preview page byte for byte.

Runs every case (encode over types x data x ratio x check digit x edition x modul; render of
every symbology to PNG, SVG and PDF at 0, 90 and 30 degrees with and without text; measure,
print, control, labels; a scripted session of the preview page) and compares the SHA-256 digest
of each case's stdout, stderr, exit status and files with the manifests beside this script
(*.sha256: one "case digest" line per case, sorted). RIBBON_GOLDEN_UPDATE=1 (or --update)
rewrites the manifests instead: do so only when an output is meant to change, and say why in
the commit message.

Normalised before digesting, because they change from run to run: a PDF's /CreationDate
(cairo 1.16 writes the time of writing and does not honour SOURCE_DATE_EPOCH) and the speed
figures labels prints (its "seconds", labels/s, time left). The page's session id and cache
file name are normalised by golden_page.
"""

import argparse
import concurrent.futures
import hashlib
import os
import re
import shlex
import sqlite3
import subprocess
import sys
import tempfile
import time
from pathlib import Path

EDITIONS = ("desktop", "web")
RATIOS = ("2", "2.5", "3")

# (name, option, value): valid and invalid data for the various symbologies.
DATA = (
    ("empty", "--data", ""),
    ("d2", "--data", "12"),
    ("d5", "--data", "52495"),
    ("d6", "--data", "123456"),
    ("d7", "--data", "1234567"),
    ("d8", "--data", "12345670"),
    ("d11", "--data", "03600029145"),
    ("d12", "--data", "590123412345"),
    ("d13", "--data", "5901234123457"),
    ("d20", "--data", "12345678901234567890"),
    ("upper", "--data", "CODE 39-$/+%."),
    ("mixed", "--data", "Ab12"),
    ("lower", "--data", "hello world"),
    ("codabar", "--data", "A40156B"),
    ("ctrl", "--data-hex", "0941420a00"),  # tab, A, B, newline, NUL
    ("blanks", "--data-hex", "20093132330d0a"),  # digits amid blanks: the web edition trims
    ("high", "--data-hex", "c3a97f"),  # bytes above ASCII and DEL
)

# A datum each symbology draws as typed, by ordinal.
VALID = (
    "1234567890", "123456", "123456", "CODE39", "Code39e", "CODE128", "Code128b", "12345678",
    "CODE93", "Code93e", "123456", "12345", "A12345B", "12345670", "5901234123457",
    "036000291452", "0123457", "1123453", "12", "52495", "EAN128", "Ean128", "12345678",
)


class Case:
    """One run of a program: its argv, the files it writes (relative to the work folder)."""

    def __init__(self, name, argv, files=(), timed=False):
        self.name, self.argv, self.files = name, list(argv), list(files)
        self.timed = timed  # prints how long it took: the figures are blanked


def slug(name):
    return name.replace("/", "_")


def types_of(tool, edition):
    out = subprocess.run([tool, "types", "--edition", edition], capture_output=True, check=True)
    return [line.split("\t")[1] for line in out.stdout.decode().splitlines()]


# (modul, ratio, check digit) per edition: every ratio with and without the check digit, and a
# couple of modules; the editions differ in the data they accept, not in widths.
VARIANTS = {
    "desktop": [("1", r, c) for r in RATIOS for c in (False, True)] +
               [("2", "2", False), ("3", "3", True)],
    "web": [("1", "2.5", False), ("1", "2.5", True)],
}


def encode_cases(tool):
    cases = []
    for edition in EDITIONS:
        for ident in types_of(tool, edition):
            for dname, option, value in DATA:
                for modul, ratio, check in VARIANTS[edition]:
                    name = f"encode/{edition}/{ident}/{dname}/m{modul}/r{ratio}"
                    argv = [tool, "encode", "--type", ident, option, value, "--modul", modul,
                            "--ratio", ratio, "--edition", edition]
                    if check:
                        name += "/checksum"
                        argv.append("--checksum")
                    cases.append(Case(name, argv))
    return cases


def render_cases(tool):
    cases = []
    for edition in EDITIONS:
        for ordinal, ident in enumerate(types_of(tool, edition)):
            for fmt in ("png", "svg", "pdf"):
                for angle in ("0", "90", "30"):
                    for text in ("none", "both"):
                        name = f"render/{edition}/{ident}/{fmt}/a{angle}/{text}"
                        out = slug(name) + "." + fmt
                        cases.append(Case(name, [
                            tool, "render", "--type", ident, "--data", VALID[ordinal], "--angle",
                            angle, "--text", text, "--edition", edition, "--out", out], [out]))
    return cases


def file_case(name, argv, ext):
    out = slug(name) + "." + ext
    return Case(name, argv + ["--out", out], [out])


def tool_cases(tool, work):
    """types, usage errors, render options, measure, print, control and labels."""
    cases = [Case(f"types/{e}", [tool, "types", "--edition", e]) for e in EDITIONS]
    usage = {
        "no-type": ["encode", "--data", "1"],
        "unknown-type": ["encode", "--type", "qr", "--data", "1"],
        "bad-ratio": ["encode", "--type", "code39", "--data", "1", "--ratio", "abc"],
        "bad-modul": ["encode", "--type", "code39", "--data", "1", "--modul", "0"],
        "bad-hex": ["encode", "--type", "code39", "--data-hex", "4g"],
        "both-data": ["encode", "--type", "code39", "--data", "1", "--data-hex", "31"],
        "strict": ["encode", "--type", "ean13", "--data", "5901234123458", "--strict"],
        "bad-edition": ["encode", "--type", "code39", "--data", "1", "--edition", "mobile"],
        "unknown-command": ["draw"],
        "help": ["--help"],
        "render-no-out": ["render", "--type", "code39", "--data", "1"],
        "render-bad-colour": ["render", "--type", "code39", "--data", "1", "--bar-color",
                              "Mauve", "--out", "x.png"],
    }
    cases += [Case(f"usage/{n}", [tool] + a) for n, a in usage.items()]

    base = [tool, "render", "--type", "code128b", "--data", "Code 128", "--text", "both"]
    for pos in ("top-left", "top-right", "top-center", "bottom-left", "bottom-right",
                "bottom-center"):
        cases.append(file_case(f"render-options/position-{pos}", base + ["--text-position", pos],
                               "png"))
    options = {
        "styles": ["--bold", "--italic", "--underline", "--strikeout", "--font-size", "14"],
        "colours": ["--bar-color", "Navy", "--space-color", "#FFFFE0", "--text-background",
                    "Yellow", "--background", "Silver", "--font-color", "Red"],
        "font": ["--font", "Courier New", "--text", "barcode"],
        "placed": ["--size", "300x200", "--left", "30", "--top", "40", "--height", "70",
                   "--modul", "2", "--ratio", "3", "--checksum"],
        "bartype-angle-200": ["--text", "bartype", "--angle", "200"],
        "warning": ["--data-hex", "41e942", "--angle", "45"],
    }
    for n, extra in options.items():
        for fmt in ("png", "svg", "pdf"):
            cases.append(file_case(f"render-options/{n}/{fmt}", base + extra, fmt))
    cases.append(file_case("render-options/jpeg", base + ["--jpeg-quality", "75"], "jpg"))
    cases.append(file_case("render-options/jpeg-progressive", base + ["--progressive"], "jpg"))
    cases.append(file_case("render-options/bmp", base + ["--angle", "90"], "bmp"))
    for fmt in ("png", "svg", "pdf"):
        cases.append(Case(f"render-options/stdout/{fmt}", base + ["--out", "-", "--format", fmt]))

    measures = {
        "pixels": [],
        "turned": ["--height", "80", "--angle", "30", "--modul", "2", "--ratio", "3"],
        "web": ["--edition", "web", "--checksum"],
        "mm": ["--units", "mm", "--modul", "0.33", "--height", "20", "--angle", "90"],
        "inch": ["--units", "inch", "--modul", "0.013", "--height", "0.8", "--dpi", "300x600",
                 "--angle", "45"],
    }
    for ident, datum in (("code39", "CODE39"), ("ean13", "5901234123457"), ("i25", "12345")):
        for n, extra in measures.items():
            cases.append(Case(f"measure/{ident}/{n}",
                              [tool, "measure", "--type", ident, "--data", datum] + extra))

    (work / "lines.txt").write_text("4006381333931\n\n  \n5901234123457\n12\n")
    prints = {
        "ean13-mm": ["--type", "ean13", "--data", "5901234123457", "--units", "mm", "--modul",
                     "0.33", "--left", "20", "--top", "30", "--height", "25", "--text", "barcode"],
        "code39-letter": ["--type", "code39", "--data", "ONE", "--data", "TWO", "--units",
                          "inch", "--modul", "0.01", "--left", "1", "--top", "1", "--height", "1",
                          "--paper", "letter", "--angle", "90", "--text", "both", "--bold"],
        "data-file": ["--type", "ean13", "--data-file", "lines.txt", "--units", "mm", "--modul",
                      "0.3", "--left", "5", "--top", "5", "--height", "20", "--dpi", "300",
                      "--paper", "100x50mm", "--angle", "30", "--text", "both"],
        "off-paper": ["--type", "code128b", "--data", "far", "--units", "mm", "--modul", "0.5",
                      "--left", "200", "--top", "10", "--height", "10"],
    }
    for n, extra in prints.items():
        cases.append(file_case(f"print/{n}", [tool, "print"] + extra, "pdf"))

    controls = {
        "default": ["--type", "code39", "--data", "CODE39"],
        "framed": ["--type", "ean13", "--data", "590123412345", "--checksum", "--width", "240",
                   "--height", "90", "--bevel-inner", "lowered", "--bevel-width", "2",
                   "--border-width", "3", "--border-style", "single", "--ctl3d", "--color",
                   "Silver", "--text", "both", "--font-size", "8"],
        "turned": ["--type", "code128b", "--data", "Ctl", "--orientation", "top-bottom",
                   "--width", "60", "--height", "200", "--alignment", "left", "--bar-height",
                   "30", "--modul", "2"],
        "auto-width": ["--type", "i25", "--data", "1234", "--auto-width", "--hmargin", "12",
                       "--orientation", "right-left", "--text", "barcode", "--text-position",
                       "top-center"],
    }
    for n, extra in controls.items():
        cases.append(file_case(f"control/{n}", [tool, "control"] + extra, "png"))
    cases.append(file_case("control/jpeg", [tool, "control"] + controls["framed"], "jpg"))

    db = work / "labels.db"
    with sqlite3.connect(db) as con:
        con.execute("CREATE TABLE items (name TEXT, code TEXT)")
        con.executemany("INSERT INTO items VALUES (?, ?)", [
            ("a", "5901234123457"), ("b", "4006381333931"), ("c", "12A"), ("d", "590123412345"),
            ("a", "1234567890128"), ("e", "5901234123458")])
    con.close()
    labels = [tool, "labels", "--db", "labels.db", "--query",
              "SELECT name, code FROM items WHERE rowid > ?1 ORDER BY rowid", "--param", "0",
              "--column", "code", "--name-column", "name", "--type", "ean13", "--text",
              "barcode"]
    # SVG on one thread: cairo numbers its surfaces ("surface2") in the order threads make them.
    for fmt, jobs in (("png", "2"), ("svg", "1")):
        folder = f"labels-{fmt}"
        cases.append(Case(f"labels/dir-{fmt}",
                          labels + ["--jobs", jobs, "--out-dir", folder, "--format", fmt],
                          [f"{folder}/{n}.{fmt}" for n in "abcde"], timed=True))
    grid = file_case("labels/pdf-grid", labels + ["--jobs", "2", "--grid", "2x2", "--dpi", "150"], "pdf")
    grid.timed = True
    cases.append(grid)
    return cases


CREATION_DATE = re.compile(rb"/CreationDate \(D:[^)]*\)")
# What labels says about its speed: '"seconds": 0.014', '432 labels/s', '0:00 left', 'in 0.0 s'.
TIMINGS = (
    (re.compile(rb'"seconds": [-+0-9.eE]+'), b'"seconds": blanked'),
    (re.compile(rb"[0-9.]+ labels/s"), b"blanked labels/s"),
    (re.compile(rb"[0-9:]+ left"), b"blanked left"),
    (re.compile(rb"records in [0-9.]+ s"), b"records in blanked s"),
)


def normalised(data, timed):
    data = CREATION_DATE.sub(b"/CreationDate (D:blanked)", data)
    for pattern, blank in TIMINGS if timed else ():
        data = pattern.sub(blank, data)
    return data


def run_case(case, work, env):
    done = subprocess.run(case.argv, cwd=work, env=env, capture_output=True, timeout=120)
    digest = hashlib.sha256()
    for label, data in ((b"stdout", done.stdout), (b"stderr", done.stderr)):
        data = normalised(data, case.timed)
        digest.update(b"%s %d\n" % (label, len(data)) + data)
    digest.update(b"exit %d\n" % done.returncode)
    for name in case.files:
        path = work / name
        if path.exists():
            data = normalised(path.read_bytes(), False)
            digest.update(b"file %s %d\n" % (name.encode(), len(data)) + data)
        else:
            digest.update(b"no file %s\n" % name.encode())
    return digest.hexdigest()


def page_digests(page, back_bmp, work, env):
    """The scripted session of the preview page: one digest per response and picture."""
    module, out = work / "page-module", work / "page-out"
    module.mkdir()
    out.mkdir()
    subprocess.run([back_bmp, str(module / "Back.bmp")], env=env, check=True)
    subprocess.run([page, str(module), str(out)], env=env, check=True)
    found = {"page/Back.bmp": hashlib.sha256((module / "Back.bmp").read_bytes()).hexdigest()}
    for path in sorted(out.iterdir()):
        found["page/" + path.name] = hashlib.sha256(path.read_bytes()).hexdigest()
    return found


MANIFESTS = ("encode", "render", "tool", "page")


def manifest_of(name):
    first = name.split("/")[0]
    return first if first in MANIFESTS else "tool"


def read_manifests(folder):
    expected = {}
    for m in MANIFESTS:
        path = folder / f"{m}.sha256"
        if path.exists():
            for line in path.read_text().splitlines():
                name, digest = line.rsplit(" ", 1)
                expected[name] = digest
    return expected


def write_manifests(folder, found):
    for m in MANIFESTS:
        lines = sorted(f"{n} {d}" for n, d in found.items() if manifest_of(n) == m)
        (folder / f"{m}.sha256").write_text("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True, help="the built ribbon tool")
    parser.add_argument("--page", required=True, help="the built golden_page program")
    parser.add_argument("--back-bmp", required=True, help="the built ribbon_make_back_bmp")
    parser.add_argument("--manifests", required=True, type=Path, help="folder of *.sha256")
    parser.add_argument("--update", action="store_true",
                        help="rewrite the manifests (also RIBBON_GOLDEN_UPDATE=1)")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    args = parser.parse_args()
    update = args.update or os.environ.get("RIBBON_GOLDEN_UPDATE") == "1"
    # The cases run in a work folder: the programs by absolute path.
    args.tool, args.page, args.back_bmp = (
        str(Path(p).resolve()) for p in (args.tool, args.page, args.back_bmp))
    # Outputs must not depend on the caller's time zone or language.
    env = dict(os.environ, TZ="UTC", LC_ALL="C")

    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="ribbon-golden-") as temp:
        work = Path(temp)
        cases = encode_cases(args.tool) + render_cases(args.tool) + tool_cases(args.tool, work)
        names = [c.name for c in cases]
        assert len(set(names)) == len(names), "two cases share a name"
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            digests = pool.map(lambda c: run_case(c, work, env), cases)
            found = dict(zip(names, digests))
        found.update(page_digests(args.page, args.back_bmp, work, env))
    counts = {m: sum(manifest_of(n) == m for n in found) for m in MANIFESTS}
    summary = ", ".join(f"{counts[m]} {m}" for m in MANIFESTS)
    seconds = time.monotonic() - started

    if update:
        write_manifests(args.manifests, found)
        print(f"golden: manifests rewritten: {summary} cases ({seconds:.1f} s)")
        return 0

    expected = read_manifests(args.manifests)
    by_name = {c.name: c for c in cases}
    differ = [n for n in sorted(found) if n in expected and found[n] != expected[n]]
    missing = sorted(set(expected) - set(found))
    extra = sorted(set(found) - set(expected))
    for n in differ[:10]:
        how = shlex.join(by_name[n].argv) if n in by_name else "the scripted page session"
        print(f"golden: {n} differs\n    {how}")
    for label, group in (("no longer made", missing), ("new, not in the manifest", extra)):
        for n in group[:10]:
            print(f"golden: {n}: {label}")
    if differ or missing or extra:
        print(f"golden: FAILED: {len(differ)} differ, {len(missing)} missing, {len(extra)} new "
              f"of {len(expected)}; if the change is meant, RIBBON_GOLDEN_UPDATE=1 rewrites "
              "the manifests")
        return 1
    print(f"golden: all {len(found)} outputs as recorded: {summary} ({seconds:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
