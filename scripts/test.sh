#!/usr/bin/env bash
# Builds everything (warnings as errors) and runs the whole test suite. Installs what is
# missing first.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DRIBBON_WERROR=ON
cd "${RIBBON_BUILD_DIR:-$root/build}"
# The Debian packages (label "debian") are a stage of .ci/run of their own.
ctest --output-on-failure -j"${RIBBON_JOBS:-2}" -LE debian
