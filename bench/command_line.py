#!/usr/bin/env python3
"""The command-line conversion of a 10 MB Big5 post beside sed.

    bench/command_line.py QUILLPOST WRITE_POST [--runs N] [--megabytes M]

Writes a generated post (WRITE_POST, the routine benchmarks' mixture) as a
Big5 file and converts it N times each, in turns, with "QUILLPOST --to-html
FILE" and with sed running the converter's 35 replacements
(bench/ybb_to_html.sed), both writing to a file. Times the whole process
from start to exit, and reads each process's peak resident memory. Prints
the medians, how many times faster the conversion is than sed, and its peak
memory as a multiple of the file's size, to standard output and with "-o
FILE" (which writes the file as Save does, through a copy renamed over it).
"""

import argparse
import os
import statistics
import subprocess
import tempfile
import time

SED_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ybb_to_html.sed")


def timed(command, output, report):
    """Wall time (s), CPU time (s) and peak resident memory (bytes). GNU time
    starts the command: a process started from Python would count Python's
    own memory, which it had before it became the command, in its peak."""
    with open(output, "wb") as out:
        start = time.perf_counter()
        subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", report, *command], stdout=out,
                       env=dict(os.environ, LC_ALL="C"), check=True)
        wall = time.perf_counter() - start
    with open(report) as figures:
        user, system, kilobytes = figures.read().split()[-3:]
    return wall, float(user) + float(system), int(kilobytes) * 1024


def arguments(runs):
    """The program, the post writer, and how many runs of how large a post."""
    parser = argparse.ArgumentParser()
    parser.add_argument("quillpost")
    parser.add_argument("write_post")
    parser.add_argument("--runs", type=int, default=runs)
    parser.add_argument("--megabytes", type=int, default=10)
    return parser.parse_args()


def main():
    args = arguments(runs=5)

    with tempfile.TemporaryDirectory() as work:
        post = os.path.join(work, "post.txt")
        subprocess.run([args.write_post, str(args.megabytes), post], check=True)
        size = os.path.getsize(post)
        runs = {"quillpost": [], "sed": [], "quillpost -o": []}
        commands = {"quillpost": [args.quillpost, "--to-html", post],
                    "sed": ["sed", "-f", SED_SCRIPT, post],
                    "quillpost -o": [args.quillpost, "--to-html", post,
                                     "-o", os.path.join(work, "written.html")]}
        for i in range(args.runs):
            # Taking turns at going first, so that none always finds the
            # file's pages just read by another.
            order = list(runs)[i % 3:] + list(runs)[:i % 3]
            for name in order:
                runs[name].append(timed(commands[name], os.path.join(work, name + ".html"),
                                        os.path.join(work, "time.txt")))

    def median(name, field):
        return statistics.median(run[field] for run in runs[name])

    print(f"{size / 2**20:.1f} MB Big5 post, median of {args.runs} runs each:")
    for name in runs:
        print(f"  {name:<13} {median(name, 0) * 1000:7.0f} ms wall, "
              f"{median(name, 1) * 1000:7.0f} ms CPU, peak memory {median(name, 2) / 2**20:6.1f} MB")
    print(f"--to-html vs sed: {median('sed', 0) / median('quillpost', 0):.1f}x faster "
          f"(CPU time {median('sed', 1) / median('quillpost', 1):.1f}x); "
          f"peak memory {median('quillpost', 2) / size:.1f}x the file's size; "
          f"with -o {median('quillpost -o', 2) / size:.1f}x")


if __name__ == "__main__":
    main()
