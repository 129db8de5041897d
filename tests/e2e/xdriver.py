"""What the end-to-end scripts share: checks that are counted, xdotool, and
waiting for a condition."""
import subprocess
import time

failures = []


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: expected {expected!r}, got {actual!r}")
        print(f"FAIL {what}: expected {expected!r}, got {actual!r}", flush=True)
    else:
        print(f"ok   {what}", flush=True)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


def wait_for(predicate, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.2)
    return None
