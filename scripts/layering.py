#!/usr/bin/env python3
"""Checks the layering of docs/architecture.md: which folder may include which, and which
library may link which.

    scripts/layering.py [--build DIR]

Includes are read from every product source file. With --build, the targets' link graph is read
from CMake (cmake --graphviz, in a configuration of its own) and the Apache module's needed
libraries from the module built in DIR.
Prints each arrow that is not allowed and exits 1 when there is one."""
import argparse
import pathlib
import re
import subprocess
import sys
import tempfile

# Folder -> the folders its files may include (besides its own).
INCLUDES = {
    "base": set(),
    "graphics": {"base"},
    "vector": {"graphics", "base"},
    "framework": {"graphics", "base"},
    "data": {"framework", "graphics", "base"},
    "engine": {"graphics", "base"},
    "web": {"graphics", "base"},
    "webdemo": {"web", "engine", "graphics", "base"},
    "components": {"engine", "data", "framework", "vector", "graphics", "base"},
    "library": {"include", "components", "engine", "data", "framework", "vector", "graphics",
                "base"},
    "cli": {"components", "engine", "data", "framework", "vector", "graphics", "base"},
    "qt": {"components", "engine", "data", "framework", "vector", "graphics", "base"},
}
# Single files allowed one arrow more than their folder.
FILE_EXCEPTIONS = {
    "engine/Print.cpp": {"vector"},  # printing draws on the printer's vector pages
}
# Library target -> folder, for the link graph.
TARGETS = {
    "ribbon_base": "base", "ribbon_graphics": "graphics", "ribbon_vector": "vector",
    "ribbon_framework": "framework", "ribbon_data": "data", "ribbon_engine": "engine",
    "ribbon_engine_print": "engine", "ribbon_web": "web",
    "ribbon_webdemo": "webdemo", "ribbon_components": "components",
}
# Target -> what it may link beyond its folder's arrows: printing draws on vector pages.
LINK_EXCEPTIONS = {"ribbon_engine_print": {"vector"}}
# Folder -> system libraries (pkg-config targets) it alone may link.
SYSTEM = {
    "graphics": {"RIBBON_RASTER"}, "vector": {"RIBBON_CAIRO"}, "data": {"RIBBON_SQLITE"},
}
# Libraries the Apache module must not need: it neither prints nor reads data sets.
MODULE_FORBIDDEN = ("libsqlite3", "libcairo")

INCLUDE = re.compile(r'^\s*#\s*include\s+"(?:\.\./)?([a-z]+)/', re.M)


def include_faults(root):
    faults = []
    for folder, allowed in INCLUDES.items():
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            name = path.relative_to(root).as_posix()
            ok = allowed | {folder} | FILE_EXCEPTIONS.get(name, set())
            for target in INCLUDE.findall(path.read_text(errors="replace")):
                if target in INCLUDES and target not in ok:
                    faults.append(f"{name} includes {target}/ ({folder} may include: "
                                  f"{', '.join(sorted(allowed)) or 'nothing of ours'})")
    return faults


def link_faults(root, build):
    faults = []
    # A configuration of its own, so that the build folder is left as it is.
    with tempfile.TemporaryDirectory() as tmp:
        dot = pathlib.Path(tmp) / "graph.dot"
        subprocess.run(["cmake", "-S", str(root), "-B", str(pathlib.Path(tmp) / "build"),
                        "-DRIBBON_BUILD_TESTS=OFF", "-DRIBBON_BUILD_BENCH=OFF",
                        f"--graphviz={dot}"], check=True, stdout=subprocess.DEVNULL)
        text = dot.read_text()
    names = dict(re.findall(r'"(node\d+)"\s*\[\s*label\s*=\s*"([^"]+)"', text))
    for a, b in re.findall(r'"(node\d+)"\s*->\s*"(node\d+)"', text):
        source, target = names.get(a, a), names.get(b, b)
        if source not in TARGETS:
            continue
        folder = TARGETS[source]
        if target in TARGETS:
            other = TARGETS[target]
            ok = INCLUDES[folder] | {folder} | LINK_EXCEPTIONS.get(source, set())
            if other not in ok:
                faults.append(f"{source} links {target} ({folder} may not use {other}/)")
        else:
            for owner, libraries in SYSTEM.items():
                if any(lib in target for lib in libraries) and owner != folder:
                    faults.append(f"{source} links {target}, which only {owner} may link")
    if not names:
        faults.append("cmake --graphviz wrote no targets: the link graph was not checked")
    modules = list(build.glob("webdemo/**/ribbonweb.so"))
    if not modules:
        faults.append(f"no ribbonweb.so under {build}/webdemo: build it before checking")
    for module in modules:
        dynamic = subprocess.run(["readelf", "-d", str(module)], check=True,
                                 capture_output=True, text=True).stdout
        for needed in re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", dynamic):
            if needed.startswith(MODULE_FORBIDDEN):
                faults.append(f"{module.name} needs {needed}")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", type=pathlib.Path, help="a configured and built build folder")
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    faults = include_faults(root)
    if args.build:
        faults += link_faults(root, args.build.resolve())
    for fault in faults:
        print(fault)
    print(f"layering: {len(faults)} arrow(s) not allowed" if faults else "layering: every arrow allowed")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
