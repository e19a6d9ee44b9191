#!/usr/bin/env bash
# The main job: builds the ribbon tool and shows it at work on a sample Code 39 symbol, which it
# also renders to build/sample.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null
ribbon="${RIBBON_BUILD_DIR:-$root/build}/cli/ribbon"
echo "\$ ribbon encode --type code39 --data RIBBON-42 --checksum"
"$ribbon" encode --type code39 --data RIBBON-42 --checksum
echo "\$ ribbon measure --type code39 --data RIBBON-42 --checksum --modul 2 --height 60 --angle 30"
"$ribbon" measure --type code39 --data RIBBON-42 --checksum --modul 2 --height 60 --angle 30
sample="${RIBBON_BUILD_DIR:-$root/build}/sample.png"
echo "\$ ribbon render --type code39 --data RIBBON-42 --checksum --modul 2 --text barcode --out $sample"
"$ribbon" render --type code39 --data RIBBON-42 --checksum --modul 2 --text barcode --out "$sample"
