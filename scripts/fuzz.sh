#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) into build-fuzz/ (or
# $RIBBON_FUZZ_BUILD_DIR) and runs one of them for SECONDS (default 600).
# Usage: scripts/fuzz.sh TARGET [SECONDS]     TARGET: encode, draw, web, form, formfile, cinterface or bmp
# The run starts from the seeds in tests/fuzz/corpus/TARGET/ and keeps what it finds in the build
# folder's corpus/TARGET/; a crashing input lands in its artifacts/ and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${RIBBON_FUZZ_BUILD_DIR:-$root/build-fuzz}"
target="${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}"
target="${target#fuzz_}"
seconds="${2:-600}"
seeds="$root/tests/fuzz/corpus/$target"
if [ ! -f "$root/tests/fuzz/fuzz_$target.cpp" ]; then
  echo "fuzz.sh: no target '$target' (tests/fuzz/fuzz_*.cpp)" >&2
  exit 2
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DRIBBON_FUZZ=ON -DRIBBON_BUILD_TESTS=OFF -DRIBBON_BUILD_BENCH=OFF \
  >/dev/null
cmake --build "$build" -j"${RIBBON_JOBS:-2}" --target "fuzz_$target"

mkdir -p "$build/corpus/$target" "$build/artifacts"
cd "$build"
extra=()
# The web target keeps its sessions from one input to the next, which libFuzzer's per-input leak
# check takes for leaks (and stops the world to check); the sanitizer's check at exit remains.
[ "$target" = web ] && extra+=(-detect_leaks=0)
# Sessions and pictures of the web target go to the system's temporary folder.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# RIBBON_FUZZ_RUNS=N makes a run repeatable: a fixed seed and N inputs instead of a time limit.
limit=(-max_total_time="$seconds")
[ -n "${RIBBON_FUZZ_RUNS:-}" ] && limit=(-seed=1 -runs="$RIBBON_FUZZ_RUNS")
exec "./tests/fuzz/fuzz_$target" "corpus/$target" "$seeds" "${limit[@]}" \
  -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="artifacts/$target-" "${extra[@]}"
