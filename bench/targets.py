#!/usr/bin/env python3
"""The drawing and View speed figures side by side, from one run of the benchmarks:

  Z_DrawBar against libzint at the right angles (same symbol, same size), with text against
  without, at 30 degrees against 0 degrees, and the page's View against the bare JPEG encoding
  of its picture; and, as the floor of an upright symbol, setting its rows' bytes alone.

  bench/targets.py [BUILD_DIR]      (default: build; run scripts/build.sh first)

Medians of the benchmarks' repetitions. Run it on an otherwise idle machine: the ratios move
with the load."""

import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build"))


def medians(program, pattern, repetitions):
    """Median real time in ns of each benchmark that matches `pattern`, by name."""
    out = subprocess.run([os.path.join(BUILD, "bench", program), "--benchmark_filter=" + pattern,
                          "--benchmark_repetitions=%d" % repetitions,
                          "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    return {b["run_name"]: b["real_time"] * scale[b["time_unit"]]
            for b in json.loads(out)["benchmarks"] if b.get("aggregate_name") == "median"}


def main():
    draw = medians("ribbon_bench", "^((DrawBar|Zint)/(EAN13|Code128B)_|Rows/)", 3)
    print("| symbol | angle | ours, no text | zint | ours / zint | with text / without |")
    print("|---|---:|---:|---:|---:|---:|")
    for symbol in ("EAN13", "Code128B"):
        for angle in (0, 90, 180, 270, 30):
            plain = draw["DrawBar/%s_NoText_%d" % (symbol, angle)]
            text = draw["DrawBar/%s_Text_%d" % (symbol, angle)]
            zint = draw.get("Zint/%s_NoText_%d" % (symbol, angle))
            print("| %s | %d | %.2f us | %s | %s | %.2fx |" % (
                symbol, angle, plain / 1e3, "%.2f us" % (zint / 1e3) if zint else "-",
                "%.2fx" % (plain / zint) if zint else "-", text / plain))
        print("| %s | setting its rows alone | %.2f us | | %.2fx | |" % (
            symbol, draw["Rows/" + symbol] / 1e3,
            draw["Rows/" + symbol] / draw["Zint/%s_NoText_0" % symbol]))
        print("| %s | 30 against 0 | | | | %.1fx |" % (
            symbol, draw["DrawBar/%s_NoText_30" % symbol] / draw["DrawBar/%s_NoText_0" % symbol]))

    web = medians("ribbon_web_bench", "^(BM_ViewRequest/1|BM_JpegEncode/0)$", 5)
    view, jpeg = web["BM_ViewRequest/1"], web["BM_JpegEncode/0"]
    print()
    print("View with the background picture: %.0f us, its JPEG alone: %.0f us, %.2fx "
          "(picture cache in %s)" % (view / 1e3, jpeg / 1e3, view / jpeg,
                                     os.environ.get("TMPDIR", "/tmp")))


if __name__ == "__main__":
    main()
