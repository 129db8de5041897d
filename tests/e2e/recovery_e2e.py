#!/usr/bin/env python3
"""Unsaved text survives a kill: types into the real editor, kills it with
SIGKILL, starts it again and answers the recovery question, on an X display
(run under scripts/with-xvfb.sh), with a state folder of its own.

usage: recovery_e2e.py PATH-TO-QUILLPOST
"""
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from xdriver import check, failures, wait_for, xdotool

QUILLPOST = sys.argv[1]
state = tempfile.mkdtemp()
work = tempfile.mkdtemp()
folder = os.path.join(state, "quillpost", "recovery")
env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", LANG="C.UTF-8", XDG_STATE_HOME=state)
editor = None


def window_named(name):
    ids = xdotool("search", "--onlyvisible", "--name", "^" + name + "$").split()
    return ids[0] if ids else None


def key(*names):
    xdotool("key", "--clearmodifiers", *names)
    time.sleep(0.3)


def clipboard():
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                          capture_output=True).stdout.decode("utf-8")


def set_clipboard(text):
    proc = subprocess.Popen(["xclip", "-i", "-selection", "clipboard"], stdin=subprocess.PIPE)
    proc.stdin.write(text.encode("utf-8"))
    proc.stdin.close()
    proc.wait(timeout=10)


def copies():
    return sorted(os.path.basename(p) for p in glob.glob(os.path.join(folder, "*.recovery")))


def start(question_expected):
    global editor
    editor = subprocess.Popen([QUILLPOST], env=env)
    if question_expected:
        question = wait_for(lambda: window_named("還原未存檔內容"))
        check("recovery question shown", question is not None, True)
        if question:
            xdotool("windowactivate", "--sync", question)
            time.sleep(0.5)
        return question
    window = wait_for(lambda: window_named("Quillpost 4.0--未命名"))
    check("main window shown without a question", window is not None, True)
    time.sleep(1)
    check("no question", window_named("還原未存檔內容"), None)
    return window


def focus_main(title="Quillpost 4.0--未命名"):
    window = wait_for(lambda: window_named(title))
    if window:
        xdotool("windowactivate", "--sync", window)
        xdotool("windowfocus", "--sync", window)
        time.sleep(0.5)
    return window


def kill_editor():
    editor.send_signal(signal.SIGKILL)
    editor.wait()


try:
    start(question_expected=False)
    focus_main()
    xdotool("type", "--delay", "30", "lost words ")
    set_clipboard("中文\n第二行")
    key("ctrl+v")
    check("copy written after a pause", wait_for(lambda: copies(), 10) is not None, True)
    left = copies()
    kill_editor()
    check("copy left by the killed program", copies(), left)

    # Restore: the text comes back, modified and still untitled.
    if start(question_expected=True):
        key("Return")
    focus_main()
    key("F12")
    check("restored text", clipboard(), "lost words 中文\n第二行")
    check("the copy is now the new program's own",
          wait_for(lambda: copies() and copies() != left and copies()) is not None, True)
    check("one copy", len(copies()), 1)

    # Kill again and decline: the copy is deleted and never offered again.
    kill_editor()
    if start(question_expected=True):
        key("Escape")
    check("declined copy deleted", wait_for(lambda: copies() == []) is not None or copies() == [],
          True)
    focus_main()
    set_clipboard("unchanged")
    key("F12")
    check("document empty after declining", clipboard(), "unchanged")
    kill_editor()
    start(question_expected=False)

    # Typed, then saved: the copy goes away with the save.
    focus_main()
    xdotool("type", "--delay", "30", "saved")
    check("copy written again", wait_for(lambda: copies(), 10) is not None, True)
    before = set(xdotool("search", "--onlyvisible", "--pid", str(editor.pid), "--name", "").split())
    key("ctrl+s")
    dialog = wait_for(lambda: next(iter(set(xdotool(
        "search", "--onlyvisible", "--pid", str(editor.pid), "--name", "").split()) - before),
        None))
    target = os.path.join(work, "post.txt")
    if dialog:
        xdotool("windowfocus", "--sync", dialog)
        time.sleep(0.5)
        xdotool("type", "--delay", "20", target)
        key("Return")
    check("saved", wait_for(lambda: os.path.exists(target)) is not None, True)
    check("no copy after the save", wait_for(lambda: copies() == []) is not None, True)
    kill_editor()
    start(question_expected=False)

    # Twenty seconds of typing without a pause, then a kill: all but the
    # last few seconds come back.
    focus_main()
    typed = "".join("w%03d " % i for i in range(80))
    started = time.monotonic()
    xdotool("type", "--delay", "100", typed)
    seconds = time.monotonic() - started
    kill_editor()
    if start(question_expected=True):
        key("Return")
    focus_main()
    key("F12")
    restored = clipboard()
    check("restored text is what was typed first", typed.startswith(restored), True)
    lost = (len(typed) - len(restored)) * seconds / len(typed)
    check("at most the last 5 s lost (%.1f s of %.1f)" % (lost, seconds), lost <= 5, True)
    kill_editor()
    if start(question_expected=True):
        key("Escape")

    # A normal exit leaves nothing behind.
    focus_main()
    key("alt+f")
    key("x")
    editor.wait(timeout=20)
    check("folder empty after a normal exit", os.listdir(folder), [])
finally:
    if editor and editor.poll() is None:
        editor.kill()
        editor.wait()
    shutil.rmtree(state, ignore_errors=True)
    shutil.rmtree(work, ignore_errors=True)

sys.exit(1 if failures else 0)
