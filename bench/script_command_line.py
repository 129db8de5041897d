#!/usr/bin/env python3
"""Simplified to Traditional Chinese of a 10 MB post beside OpenCC's command.

    bench/script_command_line.py QUILLPOST WRITE_POST [--runs N] [--megabytes M]

Writes the generated post, made UTF-8 with a byte-order mark so that either
script can be written back, and converts it in turns with "QUILLPOST
--convert=s2twp FILE -o OUT" (the text between the tags) and "opencc -c
s2twp" (the whole file), whole processes, with their peak memory.
"""

import os
import statistics
import subprocess
import tempfile

from command_line import arguments, timed


def main():
    args = arguments(runs=3)

    with tempfile.TemporaryDirectory() as work:
        big5 = os.path.join(work, "big5.txt")
        subprocess.run([args.write_post, str(args.megabytes), big5], check=True)
        post = os.path.join(work, "post.txt")
        with open(big5, "rb") as source, open(post, "wb") as out:
            out.write(b"\xef\xbb\xbf" + source.read().decode("big5", errors="replace").encode())
        commands = {
            "quillpost": [args.quillpost, "--convert=s2twp", post, "-o", os.path.join(work, "q")],
            "opencc": ["opencc", "-c", "s2twp", "-i", post, "-o", os.path.join(work, "o")],
        }
        runs = {name: [] for name in commands}
        for i in range(args.runs):
            for name in (list(commands) if i % 2 == 0 else list(reversed(commands))):
                runs[name].append(timed(commands[name], os.devnull,
                                        os.path.join(work, "time.txt")))
        wall = {name: statistics.median(r[0] for r in runs[name]) for name in runs}
        peak = {name: max(r[2] for r in runs[name]) for name in runs}
        for name in runs:
            print(f"{name:10} {wall[name]:6.2f} s, peak {peak[name] / 2**20:.0f} MB")
        print(f"--convert=s2twp takes {wall['quillpost'] / wall['opencc']:.2f}x the time of opencc")


if __name__ == "__main__":
    main()
