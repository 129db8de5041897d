#!/usr/bin/env python3
"""The command-line Markdown export of a 10 MB Big5 post beside pandoc.

    bench/export_command_line.py QUILLPOST WRITE_POST [--runs N] [--megabytes M]

Writes a generated post as a Big5 file, and the converter's HTML of it
("QUILLPOST --to-html") as UTF-8 for pandoc, which reads no Big5. Then, in
turns, "QUILLPOST --to-markdown FILE -o OUT" and "pandoc -f html -t
commonmark" on the HTML, whole processes from start to exit, with each
process's peak resident memory. Prints the medians and the ratios.
"""

import os
import statistics
import subprocess
import tempfile

from command_line import arguments, timed


def main():
    args = arguments(runs=3)
    environment = dict(os.environ)
    environment.pop("DISPLAY", None)

    with tempfile.TemporaryDirectory() as work:
        post = os.path.join(work, "post.txt")
        subprocess.run([args.write_post, str(args.megabytes), post], check=True)
        page = os.path.join(work, "page.html")
        html = subprocess.run([args.quillpost, "--to-html", post], check=True, env=environment,
                              capture_output=True).stdout
        with open(page, "wb") as out:
            out.write(html.decode("big5", errors="replace").encode("utf-8"))
        commands = {
            "quillpost": [args.quillpost, "--to-markdown", post, "-o", os.path.join(work, "q.md")],
            "pandoc": ["pandoc", "-f", "html", "-t", "commonmark", page,
                       "-o", os.path.join(work, "p.md")],
        }
        runs = {name: [] for name in commands}
        for i in range(args.runs):
            order = list(commands) if i % 2 == 0 else list(reversed(commands))
            for name in order:
                runs[name].append(timed(commands[name], os.devnull,
                                        os.path.join(work, "time.txt")))
        wall = {name: statistics.median(r[0] for r in runs[name]) for name in runs}
        cpu = {name: statistics.median(r[1] for r in runs[name]) for name in runs}
        peak = {name: max(r[2] for r in runs[name]) for name in runs}
        print(f"post: {os.path.getsize(post) / 2**20:.1f} MB Big5, {args.runs} runs each")
        for name in runs:
            print(f"{name:10} {wall[name]:7.2f} s (cpu {cpu[name]:.2f} s), "
                  f"peak {peak[name] / 2**20:.0f} MB")
        print(f"--to-markdown is {wall['pandoc'] / wall['quillpost']:.1f}x faster than pandoc "
              f"and takes {peak['quillpost'] / peak['pandoc']:.2f}x its peak memory")


if __name__ == "__main__":
    main()
