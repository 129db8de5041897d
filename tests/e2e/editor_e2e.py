#!/usr/bin/env python3
"""Drives the real editor on an X display as a user would: xdotool for the
keyboard and mouse, xclip for the clipboard. Run under scripts/with-xvfb.sh.

usage: editor_e2e.py PATH-TO-QUILLPOST
"""
import os
import subprocess
import sys
import tempfile
import time

QUILLPOST = sys.argv[1]
from xdriver import check, failures, wait_for, xdotool


def window_named(name):
    ids = xdotool("search", "--onlyvisible", "--name", "^" + name + "$").split()
    return ids[0] if ids else None


def visible_windows():
    return set(xdotool("search", "--onlyvisible", "--pid", str(editor.pid), "--name", "").split())


def loaded(library):
    with open(f"/proc/{editor.pid}/maps") as maps:
        return library in maps.read().lower()


def engine_loaded():
    return loaded("webengine")


def clipboard():
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True).stdout


def set_clipboard(text):
    # xclip keeps serving the selection in the background until someone
    # else takes it.
    proc = subprocess.Popen(["xclip", "-i", "-selection", "clipboard"], stdin=subprocess.PIPE)
    proc.stdin.write(text.encode("utf-8"))
    proc.stdin.close()
    proc.wait(timeout=10)


def key(*names):
    xdotool("key", "--clearmodifiers", *names)
    time.sleep(0.3)


def click_in(window, x, y):
    xdotool("mousemove", "--window", window, str(x), str(y))
    xdotool("click", "1")
    time.sleep(0.3)


env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", LANG="C.UTF-8")
editor = subprocess.Popen([QUILLPOST], env=env)
work = tempfile.mkdtemp()
try:
    window = wait_for(lambda: window_named("Quillpost 4.0--未命名"))
    check("window title at start", xdotool("getwindowname", window) if window else None,
          "Quillpost 4.0--未命名")
    if not window:
        sys.exit(1)
    # The browser engine is loaded by the first preview, not at start-up.
    check("no browser engine before the first preview", engine_loaded(), False)
    # Nor Qt's printing support before the first print.
    check("no printing support before the first print", loaded("printsupport"), False)
    # Nor any image plug-in: the window's pictures are PNGs read by Qt itself.
    check("no image plug-ins at start-up", loaded("imageformats"), False)
    geometry = xdotool("getwindowgeometry", window)
    print(geometry, flush=True)
    xdotool("windowactivate", "--sync", window)
    xdotool("windowfocus", "--sync", window)
    time.sleep(0.5)

    # Type a word, select it, press the bold button of the markup toolbar
    # (second row of buttons, first button), send everything to the clipboard.
    xdotool("type", "--delay", "30", "abc")
    key("ctrl+a")
    menu_bar = 18
    click_in(window, 16, menu_bar + 32 + 16)
    key("F12")
    check("bold button wraps the selection", clipboard(), "[b]abc[/b]".encode())

    # Pick "red" from the colour box's list with the keyboard: one wrap.
    key("ctrl+a")
    click_in(window, 312, 93)
    key("Down")
    key("Return")
    xdotool("windowfocus", "--sync", window)
    key("F12")
    check("colour pick wraps once", clipboard(), " [red] [b]abc[/b][/red] ".encode())

    # A symbol button from the bar at the bottom at the end of the text (a
    # click below the text puts the caret there), then a skeleton and the
    # posting time from the menu "文章格式(&K)" and F5.
    click_in(window, 400, 300)
    click_in(window, 73, 479)
    key("alt+k")
    key("Return")
    key("F5")
    key("F12")
    lines = clipboard().decode("utf-8").split("\n")
    check("symbol, skeleton and posting time", lines[:3],
          [" [red] [b]abc[/b][/red] 【】", "【主題】", "【內文】"])
    check("posting time line", lines[3].startswith("發表時間："), True)

    # "( YBB )->( HTML )" from the menu "轉換(&T)" on the worked example.
    click_in(window, 400, 300)
    key("ctrl+a")
    set_clipboard("[b]Notice[/b] [red] now[/red] \n[url=\"page.htm\"]more[/url]\n"
                  "[font=Arial] Hi[/font=Arial] [size=4] big[/size=4] \n[quote]Yes[/quote]")
    key("ctrl+v")
    key("alt+t")
    key("Return")
    key("F12")
    check("conversion of the worked example", clipboard().decode("utf-8").split("\n"), [
        '<HTML><body><Pre><b>Notice</b><font color="red">now</font id="red">',
        '<a href="page.htm">more</a>',
        '<font face="Arial">Hi</font id="Arial"><font size="4">big</font id="4">',
        '<blockquote id="quote"><font id="quote" size="2">引言:</font><hr height="1" noshade '
        'id="quote"><br/>Yes<br/><hr height="1" noshade id="quote"></blockquote id="quote">',
        '</Pre></body></HTML>'])

    # The first preview starts the browser engine inside the same window: the
    # window must not be destroyed and made again (it would blink away).
    click_in(window, 140, 119)
    time.sleep(3)
    check("window kept through the first preview",
          window_named("Quillpost 4.0--未命名"), window)
    check("browser engine loaded by the first preview", engine_loaded(), True)
    click_in(window, 50, 119)

    # Paste Chinese text, save through the real dialog, look at the bytes.
    click_in(window, 400, 300)
    key("ctrl+a")
    set_clipboard("中文\n第二行")
    key("ctrl+v")
    before = visible_windows()
    key("ctrl+s")
    dialog = wait_for(lambda: next(iter(visible_windows() - before), None))
    check("save dialog opens", dialog is not None, True)
    target = os.path.join(work, "post.txt")
    xdotool("windowfocus", "--sync", dialog)
    time.sleep(0.5)
    xdotool("type", "--delay", "20", target)
    key("Return")
    saved = wait_for(lambda: os.path.exists(target) and open(target, "rb").read())
    check("saved bytes are Big5 with CR LF", saved,
          "中文\r\n第二行".encode("cp950"))
    check("title after saving", wait_for(lambda: window_named("Quillpost 4.0--post.txt")) is not None,
          True)

    # F12 puts the whole text on the clipboard for another program.
    set_clipboard("something else")
    xdotool("windowfocus", "--sync", window)
    time.sleep(0.3)
    key("F12")
    check("clipboard holds the whole document", clipboard().decode("utf-8"), "中文\n第二行")

    def focus(target):
        xdotool("windowfocus", "--sync", target)
        time.sleep(0.3)

    def open_dialog(keys, title):
        """Presses keys in the main window; the dialog titled so, focused."""
        focus(window)
        key(keys)
        dialog = wait_for(lambda: window_named(title))
        check(f"{keys} opens {title}", dialog is not None, True)
        if dialog:
            focus(dialog)
        return dialog

    # Find: Ctrl+F opens the dialog; with case not to match, Find Next steps
    # through the occurrences (each copied from the editing area to see
    # which one is selected) and then reports the end.
    focus(window)
    key("ctrl+a")
    set_clipboard("one ONE two One")
    key("ctrl+v")
    key("ctrl+Home")
    find = open_dialog("ctrl+f", "尋找")
    xdotool("type", "--delay", "30", "one")
    key("alt+c")
    found = []
    for _ in range(3):
        key("Return")
        focus(window)
        key("ctrl+c")
        found.append(clipboard().decode("utf-8"))
        focus(find)
    check("find next steps through the occurrences", found, ["one", "ONE", "One"])
    key("Return")
    check("the end is reported", wait_for(lambda: window_named("Information")) is not None, True)
    focus(window_named("Information"))
    key("Return")
    focus(find)
    key("Escape")

    # Replace the first o, then all the others; one Ctrl+Z takes back all.
    replace = open_dialog("ctrl+r", "取代")
    xdotool("type", "--delay", "30", "o")
    key("Tab")
    xdotool("type", "--delay", "30", "0")
    key("alt+r")
    key("alt+a")
    focus(replace)
    key("Escape")
    focus(window)
    key("F12")
    check("replace, then replace all", clipboard().decode("utf-8"), "0ne ONE tw0 One")
    key("ctrl+z")
    key("F12")
    check("one undo takes back replace all", clipboard().decode("utf-8"), "0ne ONE two One")

    # Print 300 lines to a PDF file through the print dialog.
    set_clipboard("\n".join(f"line {i}" for i in range(1, 301)))
    key("ctrl+a")
    key("ctrl+v")
    open_dialog("ctrl+p", "列印")
    pdf = os.path.join(work, "post.pdf")
    key("alt+f")
    key("ctrl+a")
    xdotool("type", "--delay", "20", pdf)
    key("alt+p")
    done = wait_for(lambda: window_named("Quillpost 4.0"))
    check("completion message", done is not None, True)
    check("printing support loaded by the first print", loaded("printsupport"), True)
    pages = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    pages = int(next(l.split()[1] for l in pages.splitlines() if l.startswith("Pages:")))
    text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
    printed = [l for l in text.splitlines() if l.strip()]
    check("printed lines", (printed[0], printed[-1], len(printed)), ("line 1", "line 300", 300))
    check("several pages", pages > 1, True)
    if done:
        focus(done)
        key("Return")
finally:
    editor.kill()
    editor.wait()

sys.exit(1 if failures else 0)
