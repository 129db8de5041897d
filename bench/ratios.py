#!/usr/bin/env python3
"""Ratios from the routine benchmarks of one run.

    bench/ratios.py RESULT.json...

Reads Google Benchmark JSON results and prints, for every post size, how the
one-pass conversion compares with the step-by-step reference and with a plain
copy, how the tag check and the colouring of every line compare with the
conversion, how the Big5 codec compares with a one-pass widening or narrowing
of the same bytes, and how the UTF-8 check compares with a strict decode.
Ratios are of bytes per second of CPU time, so they hold for the same run on
a busy machine. The tag check on the posts made to be its worst cases is
given in milliseconds, the slowest beside the check of the plain 10 MB post.
"""

import json
import sys

# label, measured benchmark, baseline benchmark, what the ratio says
PAIRS = [
    ("conversion speed-up", "ConvertYbbToHtml", "ConvertYbbToHtmlReference",
     "reference time / one-pass time"),
    ("conversion vs copy", "CopyText", "ConvertYbbToHtml", "one-pass time / copy time"),
    ("stripping vs copy", "CopyText", "StripHtmlTags", "strip time / copy time"),
    ("tag check vs conversion", "ConvertYbbToHtml", "CheckTags",
     "check time / one-pass conversion time"),
    ("tag colours vs conversion", "ConvertYbbToHtml", "TagColours",
     "colouring every line / conversion time"),
    ("Big5 decode vs widen", "WidenLatin1", "DecodeBig5", "decode time / Latin-1 time"),
    ("Big5 encode vs narrow", "NarrowLatin1", "EncodeBig5", "encode time / Latin-1 time"),
    ("UTF-8 check speed-up", "ValidateUtf8", "DecodeUtf8Strictly",
     "strict decode time / check time"),
]


def main():
    speeds = {}
    times = {}  # CPU milliseconds
    for path in sys.argv[1:]:
        with open(path) as result:
            for bench in json.load(result)["benchmarks"]:
                if "bytes_per_second" in bench:
                    speeds[bench["name"]] = bench["bytes_per_second"]
                    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[bench["time_unit"]]
                    times[bench["name"]] = bench["cpu_time"] * scale
    sizes = sorted({int(name.split("/")[1]) for name in speeds
                    if name.count("/") == 1 and name.split("/")[1].isdigit()})
    print(f"{'ratio':<24}" + "".join(f"{str(s) + ' MB':>10}" for s in sizes) + "   meaning")
    for label, fast, slow, meaning in PAIRS:
        cells = []
        for size in sizes:
            a, b = speeds.get(f"{fast}/{size}"), speeds.get(f"{slow}/{size}")
            cells.append(f"{a / b:>9.1f}x" if a and b else f"{'-':>10}")
        if any(c.strip() != "-" for c in cells):
            print(f"{label:<24}" + "".join(cells) + f"   {meaning}")
    crafted = {name.split("/", 1)[1]: ms for name, ms in times.items()
               if name.startswith("CheckTagsCrafted/")}
    if crafted and "CheckTags/10" in times:
        plain = times["CheckTags/10"]
        worst = max(crafted, key=crafted.get)
        print(f"tag check, worst of {len(crafted)} crafted 10 MB posts: {crafted[worst]:.0f} ms "
              f"({worst}), {crafted[worst] / plain:.1f}x the plain 10 MB post's {plain:.0f} ms")


if __name__ == "__main__":
    main()
