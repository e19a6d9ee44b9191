#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over the project's sources, using the compile
# commands of a configured build folder (default build-tidy, configured here if missing).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${RIBBON_TIDY_DIR:-$root/build-tidy}"
[ -f "$build/compile_commands.json" ] ||
  cmake -S "$root" -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cd "$root"
git ls-files -z -- 'base/*.cpp' 'graphics/*.cpp' 'vector/*.cpp' 'framework/*.cpp' 'data/*.cpp' 'engine/*.cpp' 'web/*.cpp' 'webdemo/*.cpp' 'cli/*.cpp' \
  'components/*.cpp' 'qt/*.cpp' |
  xargs -0 -n 8 -P "${RIBBON_JOBS:-2}" clang-tidy -p "$build" --quiet
