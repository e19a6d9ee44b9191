#!/usr/bin/env python3
"""Runs the examples of README.md as written, in the order they stand, and checks what they print.

  readme-test.py --readme README.md --build BUILD_DIR --source SOURCE_DIR --library LIB
                 --cxx CXX --tool RIBBON [--header H ...] [--cxx-flag F ...] [--update]

The rules, as the README states them ("The README's examples are tests"):
- In a ```sh block, a line beginning "$ " is a command (continued by lines ending in a
  backslash); it runs through bash in a scratch folder holding a copy of docs/ and a link
  `build` to the build folder. The lines below it, up to the next command, are what it prints:
  all of its standard output, and those lines of its standard error that are worth showing
  (other lines of standard error, such as warnings and progress, may be left out). A line
  "..." stands for any number of lines, and "..." inside a line for any text. A command must
  exit with 0 unless lines of its standard error are shown. A ```sh block without "$ " lines is
  not run.
- A block right after "<!-- file: NAME -->" is written to NAME in the scratch folder.
- Every ```cpp block is the body of a function, compiled with the library's public headers
  and "using namespace ribbon;" against the built libribbonkit.so and run where it stands; it
  must return normally, and every page of every PDF and every PNG it writes must carry a symbol
  that zbarimg reads.
- The table between "<!-- form-properties -->" and "<!-- /form-properties -->" is what
  "ribbon control --list-properties" prints from the form files' property table.
(The ```python block after "<!-- python-example -->" is run by tests/library/python-example-test.sh.)

--update (or RIBBON_README_UPDATE=1 in the environment, for ctest) rewrites the README with the
outputs and the table found (review the diff); without it any difference is a failure.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import readers  # noqa: E402

FENCE = re.compile(r"^```(\w*)\s*$")
FILE_MARKER = re.compile(r"^<!-- file: (\S+) -->$")
TABLE_BEGIN, TABLE_END = "<!-- form-properties -->", "<!-- /form-properties -->"
COMMAND_TIMEOUT = 300  # a hung command fails the test instead of blocking it


class Block:
    def __init__(self, lang, start, lines, marker):
        self.lang, self.start, self.lines, self.marker = lang, start, lines, marker


class Command:
    """A "$ " command of a sh block: its text and the README lines of its shown output."""

    def __init__(self, line, text, shown, first, end):
        self.line, self.text, self.shown = line, text, shown
        self.first, self.end = first, end  # the shown lines' range in the README


def blocks(lines):
    marker, i = None, 0
    while i < len(lines):
        fence = FENCE.match(lines[i])
        if not fence:
            if lines[i].strip():
                marker = lines[i].strip()
            i += 1
            continue
        j = i + 1
        while j < len(lines) and not lines[j].startswith("```"):
            j += 1
        yield Block(fence.group(1), i + 1, lines[i + 1:j], marker)
        marker, i = None, j + 1


def commands(block):
    result, i = [], 0
    body = block.lines
    while i < len(body):
        if not body[i].startswith("$ "):
            i += 1
            continue
        line, text = block.start + i + 1, body[i][2:]
        while text.endswith("\\") and i + 1 < len(body):
            i += 1
            text += "\n" + body[i]
        j = i + 1
        while j < len(body) and not body[j].startswith("$ "):
            j += 1
        result.append(Command(line, text, body[i + 1:j], block.start + i + 1, block.start + j))
        i = j
    return result


def line_matches(pattern, line):
    pattern, line = pattern.rstrip(), line.rstrip()
    if "..." not in pattern:
        return pattern == line
    return re.fullmatch(".*".join(map(re.escape, pattern.split("..."))), line) is not None


def match_output(shown, out, err):
    """Assigns each shown line to standard output ("out"), standard error ("err") or "..."
    ("skip"); all of standard output must be shown. Returns the tags, or None."""
    memo = {}

    def walk(k, i, j):
        key = (k, i, j)
        if key in memo:
            return memo[key]
        result = None
        if k == len(shown):
            result = [] if i == len(out) else None
        elif shown[k].strip() == "...":
            for i2 in range(i, len(out) + 1):
                rest = walk(k + 1, i2, j)
                if rest is not None:
                    result = ["skip"] + rest
                    break
        else:
            if i < len(out) and line_matches(shown[k], out[i]):
                rest = walk(k + 1, i + 1, j)
                if rest is not None:
                    result = ["out"] + rest
            if result is None:
                for j2 in range(j, len(err)):
                    if line_matches(shown[k], err[j2]):
                        rest = walk(k + 1, i, j2 + 1)
                        if rest is not None:
                            result = ["err"] + rest
                            break
        memo[key] = result
        return result

    return walk(0, 0, 0)


def refreshed_output(shown, out, err, code):
    """What --update writes below a command: the shown lines of standard error and "..." lines
    that still hold (all of standard error for a failing command that would show none), then
    standard output (a shown line kept where it still matches)."""
    kept = [s for s in shown if s.strip() == "..." or any(line_matches(s, e) for e in err)]
    if code != 0 and all(s.strip() == "..." for s in kept):
        kept = err
    patterns, stdout = [s for s in shown if s not in kept], []
    for line in out:
        found = next((n for n, p in enumerate(patterns) if line_matches(p, line)), None)
        stdout.append(line if found is None else patterns[found])
        patterns = patterns if found is None else patterns[found + 1:]
    return kept + stdout


def run_command(command, scratch):
    try:
        done = subprocess.run(["bash", "-c", command.text], cwd=scratch, capture_output=True,
                              text=True, errors="replace", timeout=COMMAND_TIMEOUT)
    except subprocess.TimeoutExpired:
        return None, [], [f"timed out after {COMMAND_TIMEOUT} s"]
    return done.returncode, done.stdout.splitlines(), done.stderr.splitlines()


def check_command(command, scratch, failures, updates):
    code, out, err = run_command(command, scratch)
    tags = match_output(command.shown, out, err) if code is not None else None
    problem = None
    if tags is None:
        problem = "prints something else"
    elif code != 0 and "err" not in tags:
        problem = f"exits with {code} but no message of it is shown"
    if not problem:
        return
    message = (f"README.md:{command.line}: $ {command.text}\n  {problem} (exit status {code})"
               + "".join(f"\n  shown:  {s}" for s in command.shown)
               + "".join(f"\n  stdout: {o}" for o in out)
               + "".join(f"\n  stderr: {e}" for e in err))
    if code is None or problem != "prints something else":
        failures.append(message)
    else:
        updates.append((command.first, command.end, refreshed_output(command.shown, out, err, code),
                        message))


def snapshot(folder):
    found = {}
    for root, dirs, files in os.walk(folder):
        dirs[:] = [d for d in dirs if not os.path.islink(os.path.join(root, d))]
        for name in files:
            path = os.path.join(root, name)
            found[path] = os.stat(path).st_mtime_ns
    return found


def check_pictures(before, after, scratch, where, failures):
    """Every page of every PDF and every PNG the example wrote carries a readable symbol."""
    for path in sorted(p for p in after if after[p] != before.get(p)):
        if path.endswith(".png"):
            pages = [path]
        elif path.endswith(".pdf"):
            pages = readers.pdf_pages(path, tempfile.mkdtemp(dir=scratch))
        else:
            continue
        blank = [n + 1 for n, page in enumerate(pages) if not readers.zbar_read(page)]
        name = os.path.relpath(path, scratch)
        if blank:
            failures.append(f"README.md:{where}: {name} has {len(pages)} page(s); no symbol "
                            f"read on page(s) {blank}")
        else:
            print(f"README.md:{where}: {name}: {len(pages)} page(s), each with a symbol")


def compile_examples(cpp_blocks, args, scratch):
    """One program holding every C++ block; "examples N" runs block N."""
    source = ["// Made from README.md by tests/readme/readme-test.py."]
    source += [f'#include <ribbonkit/{h}>' for h in args.header]
    source += ["#include <cstdio>", "#include <cstdlib>", "#include <memory>", "#include <string>",
               "using namespace ribbon;"]
    for n, block in enumerate(cpp_blocks):
        source += [f"static void Example{n}() {{", f'#line {block.start + 1} "README.md"']
        source += block.lines + ["}"]
    source += ["int main(int argc, char** argv) {", "    if (argc != 2) return 2;",
               "    try {", "        switch (std::atoi(argv[1])) {"]
    source += [f"            case {n}: Example{n}(); break;" for n in range(len(cpp_blocks))]
    source += ["        }", "    } catch (const Exception& e) {",
               '        std::fprintf(stderr, "%s\\n", e.Message.c_str());', "        return 1;",
               "    } catch (const std::exception& e) {",
               '        std::fprintf(stderr, "%s\\n", e.what());', "        return 1;",
               "    }", "    return 0;", "}"]
    path = os.path.join(scratch, "examples.cpp")
    with open(path, "w") as f:
        f.write("\n".join(source) + "\n")
    program = os.path.join(scratch, "examples")
    libdir = os.path.dirname(args.library)
    done = subprocess.run([args.cxx, "-std=c++20", "-Wall", "-Wextra", "-Werror", *args.cxx_flag,
                           "-I", os.path.join(args.build, "include"), path,
                           "-o", program, args.library, f"-Wl,-rpath,{libdir}"],
                          cwd=scratch, capture_output=True, text=True)
    if done.returncode != 0:
        return None, done.stderr
    return program, None


def table_section(lines):
    try:
        begin, end = lines.index(TABLE_BEGIN), lines.index(TABLE_END)
    except ValueError:
        return None
    return begin + 1, end


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for name in ("readme", "build", "source", "library", "cxx", "tool"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--header", action="append", default=[])
    parser.add_argument("--cxx-flag", action="append", default=[])
    parser.add_argument("--update", action="store_true")
    args = parser.parse_args()

    with open(args.readme) as f:
        lines = f.read().splitlines()
    failures, updates = [], []

    scratch = tempfile.mkdtemp(prefix="readme-")
    try:
        shutil.copytree(os.path.join(args.source, "docs"), os.path.join(scratch, "docs"))
        os.symlink(os.path.abspath(args.build), os.path.join(scratch, "build"))
        all_blocks = list(blocks(lines))
        cpp_blocks = [b for b in all_blocks if b.lang == "cpp"]
        program = None
        if cpp_blocks:
            program, errors = compile_examples(cpp_blocks, args, scratch)
            if errors:
                failures.append("the C++ examples do not compile:\n" + errors)
        ran = 0
        for block in all_blocks:
            file_marker = FILE_MARKER.match(block.marker or "")
            if file_marker:
                with open(os.path.join(scratch, file_marker.group(1)), "w") as f:
                    f.write("\n".join(block.lines) + "\n")
            elif block.lang == "sh":
                for command in commands(block):
                    check_command(command, scratch, failures, updates)
                    ran += 1
            elif block.lang == "cpp" and program:
                before = snapshot(scratch)
                done = subprocess.run([program, str(cpp_blocks.index(block))], cwd=scratch,
                                      capture_output=True, text=True, timeout=COMMAND_TIMEOUT)
                if done.returncode != 0:
                    failures.append(f"README.md:{block.start}: the C++ example fails "
                                    f"(exit status {done.returncode}): {done.stderr.strip()}")
                check_pictures(before, snapshot(scratch), scratch, block.start, failures)
                ran += 1
        print(f"{ran} examples run")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    section = table_section(lines)
    table = subprocess.run([args.tool, "control", "--list-properties"], capture_output=True,
                           text=True, check=True).stdout.splitlines()
    if section is None:
        failures.append(f"README.md has no {TABLE_BEGIN} ... {TABLE_END} section")
    elif lines[section[0]:section[1]] != table:
        updates.append((section[0], section[1], table,
                        "README.md: the table of form properties differs from the property "
                        "table (ribbon control --list-properties prints it)"))

    if (args.update or os.environ.get("RIBBON_README_UPDATE") == "1") and updates:
        for first, end, new, _ in sorted(updates, reverse=True):
            lines[first:end] = new
        with open(args.readme, "w") as f:
            f.write("\n".join(lines) + "\n")
        print(f"updated {len(updates)} place(s) of {args.readme}; review the diff")
    else:
        failures += [message for *_, message in updates]
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
