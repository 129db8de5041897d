#!/usr/bin/env python3
"""Start-up of the editor beside a plain QPlainTextEdit program.

Run on an X display with nothing else mapping windows (scripts/bench.sh
starts a private Xvfb):

    bench/startup.py QUILLPOST PLAIN_EDITOR [--runs N]

Starts the two programs in turn, N times each, and times each from the start
of the process to the moment the X server maps its first top-level window.
After each run it lets the program settle and reads its resident memory, the
memory the program holds before any preview. Prints min, median and max of
both and the ratios of the medians (editor / plain).
"""

import argparse
import ctypes
import ctypes.util
import os
import statistics
import subprocess
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class XMapEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("event", ctypes.c_ulong),
        ("window", ctypes.c_ulong),
        ("override_redirect", ctypes.c_int),
    ]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


class MapWatcher:
    """Reports top-level windows as the X server maps them."""

    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            sys.exit("startup.py: cannot open the X display")
        root = self.x.XDefaultRootWindow(self.display)
        self.x.XSelectInput(self.display, root, SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XFlush(self.display)
        self.fd = self.x.XConnectionNumber(self.display)

    def drain(self):
        event = XEvent()
        while self.x.XPending(self.display):
            self.x.XNextEvent(self.display, ctypes.byref(event))

    def wait_for_map(self, process, timeout):
        import select

        event = XEvent()
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self.x.XPending(self.display):
                self.x.XNextEvent(self.display, ctypes.byref(event))
                if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                    return time.monotonic()
            if process.poll() is not None:
                sys.exit(f"startup.py: {process.args[0]} exited early")
            select.select([self.fd], [], [], 0.05)
        sys.exit(f"startup.py: {process.args[0]} mapped no window in {timeout} s")


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def run_once(watcher, program, settle):
    watcher.drain()
    start = time.monotonic()
    process = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped = watcher.wait_for_map(process, 60)
    time.sleep(settle)
    memory = resident_kib(process.pid)
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    return (mapped - start) * 1000.0, memory / 1024.0


def summary(values):
    return min(values), statistics.median(values), max(values)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("editor")
    parser.add_argument("plain")
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--settle", type=float, default=1.0,
                        help="seconds between the mapped window and the memory reading")
    args = parser.parse_args()

    watcher = MapWatcher()
    times = {args.editor: [], args.plain: []}
    memory = {args.editor: [], args.plain: []}
    # One run of each first, not counted: it fills the file cache.
    for program in (args.editor, args.plain):
        run_once(watcher, program, 0.2)
    for index in range(args.runs):
        # Which goes first alternates: the first of a pair starts a little
        # slower (some 3 % with the same program twice).
        pair = (args.editor, args.plain) if index % 2 == 0 else (args.plain, args.editor)
        for program in pair:
            elapsed, resident = run_once(watcher, program, args.settle)
            times[program].append(elapsed)
            memory[program].append(resident)

    print(f"start-up to a mapped window, {args.runs} interleaved runs each")
    print(f"{'program':<16}{'min ms':>9}{'median ms':>11}{'max ms':>9}{'RSS MB':>9}")
    for label, program in (("editor", args.editor), ("plain editor", args.plain)):
        low, mid, high = summary(times[program])
        print(f"{label:<16}{low:>9.0f}{mid:>11.0f}{high:>9.0f}"
              f"{statistics.median(memory[program]):>9.1f}")
    time_ratio = statistics.median(times[args.editor]) / statistics.median(times[args.plain])
    memory_ratio = statistics.median(memory[args.editor]) / statistics.median(memory[args.plain])
    print(f"ratio editor/plain: start-up {time_ratio:.2f}x, resident memory {memory_ratio:.2f}x")


if __name__ == "__main__":
    main()
