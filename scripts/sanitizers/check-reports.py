#!/usr/bin/env python3
"""Goes through the AddressSanitizer and LeakSanitizer reports that a
sanitized run left (ASAN_OPTIONS=log_path=DIR/asan) and fails on every one
but the two known kinds from the system's libraries:

- the new-delete-type-mismatch of Qt WebEngine, whose WebContentsAdapter
  (in ~WebContentsAdapter, or later from the event loop) frees an engine
  object through a type of another size: the engine itself calls delete;
- leaks whose allocation never passes through our code (the browser engine,
  D-Bus, plug-ins unloaded at exit).

usage: check-reports.py LOG-DIR SOURCE-ROOT
"""
import glob
import os
import re
import sys

log_dir, root = sys.argv[1], os.path.realpath(sys.argv[2])
start = re.compile(r"^==\d+==ERROR: (AddressSanitizer|LeakSanitizer): (\S+)")
frame = re.compile(r"^\s+#(\d+) ")


def ours(line):
    return root in line or re.search(r"(^|[\s(])\.\./(src|tests)/", line) is not None


def engine_mismatch(text):
    # The frame that called operator delete, before the allocation's stack.
    for line in text:
        match = frame.match(line)
        if match and match.group(1) == "1":
            return "libQt6WebEngineCore.so" in line
    return False


def system_leaks(text):
    # Every leaked block's allocation stack stays outside our code.
    return not any(frame.match(line) and ours(line) for line in text)


known = {"engine new-delete-type-mismatch": 0, "system library leaks": 0}
other = []
for path in sorted(glob.glob(os.path.join(log_dir, "asan.*"))):
    with open(path, errors="replace") as log:
        lines = log.read().splitlines()
    reports = []
    for line in lines:
        match = start.match(line)
        if match:
            reports.append((match.group(2), [line]))
        elif reports:
            reports[-1][1].append(line)
    if not reports and any(line.strip() for line in lines):
        reports.append(("unrecognised", lines))
    for kind, text in reports:
        if kind == "new-delete-type-mismatch" and engine_mismatch(text):
            known["engine new-delete-type-mismatch"] += 1
        elif kind == "detected" and system_leaks(text):
            known["system library leaks"] += 1
        else:
            other.append((path, "\n".join(text)))

for path, body in other:
    print(f"--- {path}\n{body}\n")
print("sanitizer reports:", ", ".join(f"{n} {k} (known)" for k, n in known.items()),
      f"and {len(other)} other")
sys.exit(1 if other else 0)
