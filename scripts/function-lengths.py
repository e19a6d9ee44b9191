#!/usr/bin/env python3
"""Lists the functions of product code longer than a limit (80 lines, first to last line) and
fails when there is one. Reads the function spans from universal-ctags (Debian's
universal-ctags, JSON output with end lines).

A function that is a table (its body mostly data rows) may be exempted by a comment
"function-length: table" on its first line, so the exemption is visible where it applies.
"""

import argparse
import json
import re
import shutil
import subprocess
import sys
from pathlib import Path

FOLDERS = ("base", "graphics", "vector", "framework", "data", "engine", "components", "library",
           "web", "webdemo", "cli", "qt")
SUFFIXES = {".cpp", ".h", ".hpp", ".cc"}
EXEMPT = "function-length: table"


def functions(root, files):
    """(path, line, end, name) of every function defined in files."""
    out = subprocess.run(
        ["ctags", "--output-format=json", "--fields=+ne", "--kinds-C++=f", "--language-force=C++",
         "-f", "-", *[str(f.relative_to(root)) for f in files]],
        cwd=root, capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        tag = json.loads(line)
        if tag.get("_type") == "tag" and "end" in tag:
            scope = re.sub(r"__anon[0-9a-f]+", "(anonymous)", tag.get("scope", ""))
            name = f"{scope}::{tag['name']}" if scope else tag["name"]
            yield tag["path"], tag["line"], tag["end"], name


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=Path, default=Path(__file__).resolve().parent.parent)
    parser.add_argument("--limit", type=int, default=80)
    args = parser.parse_args()
    root = args.root.resolve()
    if not shutil.which("ctags"):
        print("function-lengths: universal-ctags is not installed (scripts/setup.sh installs it)",
              file=sys.stderr)
        return 1
    files = sorted(f for d in FOLDERS for f in (root / d).rglob("*")
                   if f.suffix in SUFFIXES and f.is_file())
    long = []
    for path, first, last, name in functions(root, files):
        length = last - first + 1
        if length <= args.limit:
            continue
        lines = (root / path).read_text(errors="replace").splitlines()
        if EXEMPT in lines[first - 1]:
            continue
        long.append((length, path, first, name))
    for length, path, first, name in sorted(long, reverse=True):
        print(f"{path}:{first}: {name} is {length} lines (over {args.limit})")
    sys.stdout.flush()
    if long:
        print(f"{len(long)} function(s) over {args.limit} lines; split them into named steps",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
