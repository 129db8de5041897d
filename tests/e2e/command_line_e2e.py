#!/usr/bin/env python3
"""Starts the real program from the command line as a user would. Run under
scripts/with-xvfb.sh.

usage: command_line_e2e.py PATH-TO-QUILLPOST
       command_line_e2e.py --installed BUILD-DIR
The second form first installs the build into a fresh temporary prefix and
runs the installed program from another folder.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from xdriver import check, failures, wait_for, xdotool

work = tempfile.mkdtemp()


def windows_of(process):
    found = xdotool("search", "--onlyvisible", "--pid", str(process.pid), "--name", "")
    named = {xdotool("getwindowname", w): w for w in found.split()}
    named.pop("", None)  # Qt's own unnamed helper windows
    return named


def without_display():
    env = dict(os.environ, LANG="C.UTF-8")
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    return env


def answers_on_terminal(quillpost):
    """--help, --version and mistakes need no display and open no window."""
    cases = [
        (["--help"], 0, "stdout", "用法：quillpost [選項] [檔案]\n"),
        (["--version"], 0, "stdout", "Quillpost 4.0 版\n"),
        (["--no-such-option"], 2, "stderr", "quillpost：不明的選項「--no-such-option」。\n"),
        (["a.txt", "b.txt"], 2, "stderr", "quillpost：一次只能開啟一個檔案。\n"),
        (["http://example.com/a.txt"], 2, "stderr",
         "quillpost：「http://example.com/a.txt」不是本機檔案。\n"),
    ]
    for arguments, status, stream, first_line in cases:
        run = subprocess.run([quillpost, *arguments], capture_output=True, env=without_display(),
                             timeout=30)
        out = (run.stdout if stream == "stdout" else run.stderr).decode("utf-8")
        check(f"{' '.join(arguments)}: exit status", run.returncode, status)
        check(f"{' '.join(arguments)}: first line on {stream}",
              out.splitlines(keepends=True)[:1], [first_line])


def opens_given_file(quillpost, folder, as_address=False, name="post.txt"):
    """A Big5 file given by a relative path (or as a file:// address, as some
    launchers pass it) opens bound to its full path. A name with a colon is
    a name, not an address."""
    post = os.path.join(work, name)
    big5 = "中文\r\n第二行\r\n".encode("cp950")
    with open(post, "wb") as f:
        f.write(big5)
    env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", LANG="C.UTF-8")
    given = "file://" + post if as_address else os.path.relpath(post, folder)
    editor = subprocess.Popen([quillpost, given], cwd=folder, env=env)
    try:
        caption = "Quillpost 4.0--" + name
        window = wait_for(lambda: windows_of(editor).get(caption), 30)
        check("caption names the given file", bool(window), True)
        if not window:
            return
        xdotool("windowactivate", "--sync", window)
        xdotool("windowfocus", "--sync", window)
        time.sleep(0.5)
        # Typed at the start and saved with Ctrl+S: no dialog, written back to
        # the same file, still Big5.
        xdotool("key", "--clearmodifiers", "ctrl+Home")
        xdotool("type", "--delay", "30", "x")
        xdotool("key", "--clearmodifiers", "ctrl+s")
        wait_for(lambda: open(post, "rb").read() != big5, 10)
        with open(post, "rb") as f:
            check("Save writes the given file back as Big5", f.read(), b"x" + big5)
        check("no question asked", sorted(windows_of(editor)), [caption])
    finally:
        editor.kill()
        editor.wait()


def missing_file_goes_on_untitled(quillpost):
    missing = os.path.join(work, "missing.txt")
    env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", LANG="C.UTF-8")
    editor = subprocess.Popen([quillpost, missing], env=env)
    try:
        names = wait_for(lambda: (lambda w: w if "Quillpost 4.0" in w else None)(
            windows_of(editor)), 30) or {}
        check("error box and untitled window", sorted(names),
              ["Quillpost 4.0", "Quillpost 4.0--未命名"])
        if "Quillpost 4.0" in names:
            xdotool("windowactivate", "--sync", names["Quillpost 4.0"])
            xdotool("key", "--clearmodifiers", "Return")
            gone = wait_for(lambda: "Quillpost 4.0" not in windows_of(editor), 10)
            check("the program goes on after the box", (bool(gone), editor.poll()), (True, None))
    finally:
        editor.kill()
        editor.wait()


def fits_the_screen_at_scale(factor):
    """At a large scale factor on a small screen the whole window stays on
    the screen, menus and status bar included."""
    env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", LANG="C.UTF-8",
               QT_SCALE_FACTOR=str(factor))
    editor = subprocess.Popen([quillpost], env=env)
    try:
        window = wait_for(lambda: windows_of(editor).get("Quillpost 4.0--未命名"), 30)
        screen = [int(n) for n in xdotool("getdisplaygeometry").split()]
        time.sleep(0.5)  # placed once shown
        shape = xdotool("getwindowgeometry", "--shell", window) if window else ""
        box = dict(line.split("=") for line in shape.split() if "=" in line)
        x, y, w, h = (int(box.get(k, -1)) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        check(f"window on the screen at scale {factor}",
              x >= 0 and y >= 0 and x + w <= screen[0] and y + h <= screen[1], True)
    finally:
        editor.kill()
        editor.wait()


try:
    if sys.argv[1] == "--installed":
        prefix = os.path.join(work, "prefix")
        subprocess.run(["cmake", "--install", sys.argv[2], "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        for path in ["bin/quillpost",
                     "share/applications/org.quillpost.Quillpost.desktop",
                     "share/metainfo/org.quillpost.Quillpost.metainfo.xml"]:
            check(f"installed {path}", os.path.isfile(os.path.join(prefix, path)), True)
        quillpost = os.path.join(prefix, "bin", "quillpost")
        # Started from an unrelated folder, as from a menu entry.
        opens_given_file(quillpost, tempfile.gettempdir(), as_address=True)
    else:
        quillpost = sys.argv[1]
        answers_on_terminal(quillpost)
        opens_given_file(quillpost, work)
        opens_given_file(quillpost, work, name="file:notes.txt")
        missing_file_goes_on_untitled(quillpost)
        fits_the_screen_at_scale(2)
finally:
    shutil.rmtree(work, ignore_errors=True)

print("FAILED: " + ", ".join(failures) if failures else "all passed", flush=True)
sys.exit(1 if failures else 0)
