#!/usr/bin/python3
"""Keyboard and screen-reader reach of the running program, read through the accessibility bus:
every control of the main window has a name; Tab, Shift+Tab, the arrow keys and Enter move and
press inside and between the bar, the grid, the radio strip and the tool bar, with a visible focus
mark; Escape closes a secondary window. Keys are typed with xdotool.
Usage: check_access.py <program pid> <work dir>"""
import os
import subprocess
import sys
import time

import pyatspi

CONTROL_ROLES = {"push button", "toggle button", "check box", "radio button", "combo box", "text", "entry",
                 "scroll bar", "slider", "spin button", "label", "page tab", "menu item", "password text"}
PUBLIC = ["ОРТ", "Россия 1", "Москва 24", "НТВ", "Россия 2"]

pid, work = sys.argv[1], sys.argv[2]


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def children(acc):
    return [acc.getChildAtIndex(i) for i in range(acc.childCount)]


def walk(acc):
    """The program's own objects; a web page's content is the page's business."""
    for c in children(acc):
        if c is None or c.getRoleName() == "document web":
            continue
        yield c
        yield from walk(c)


def has(acc, state):
    return acc.getState().contains(state)


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.name == "Zelmo Player":
            return a
    fail("program not on the accessibility bus")


def main_window():
    for w in children(app()):
        if w.name == "Zelmo Player" and has(w, pyatspi.STATE_SHOWING):
            return w
    fail("main window not found on the accessibility bus")


def xdo(*args):
    subprocess.run(["xdotool", *args], check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def focused(window):
    for c in walk(window):
        if has(c, pyatspi.STATE_FOCUSED) and c.getRoleName() in CONTROL_ROLES:
            return c
    return None


def key_until(window, key, wanted, what, tries=1):
    """Types key (up to tries times) until wanted(focused control) holds; returns that control."""
    for _ in range(tries):
        xdo("key", "--clearmodifiers", key)
        for _ in range(40):
            f = focused(window)
            if f is not None and wanted(f):
                return f
            time.sleep(0.1)
    f = focused(window)
    xfocus = subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True).stdout.strip()
    print(f"X focus on {xfocus}, main window {main_xid}")
    fail(f"{what}: focus on {None if f is None else (f.getRoleName(), f.name)} after {key}")


def shot(path):
    subprocess.run(["import", "-window", "root", path], check=True, stderr=subprocess.DEVNULL)


def region_diff(a, b, box):
    x, y, w, h = box
    crop = f"{w}x{h}+{x}+{y}"
    out = subprocess.run(["convert", "(", a, "-crop", crop, "+repage", ")", "(", b, "-crop", crop, "+repage", ")",
                          "-compose", "difference", "-composite", "-format", "%[fx:mean]", "info:"],
                         capture_output=True, text=True, check=True)
    return float(out.stdout)


window = main_window()

# Names: every control and panel, shown or not, has one. ("filler" is a bare layout box, such as
# the web engine's drawing surface: readers pass over it.)
objects = [c for c in walk(window) if c.getRoleName() != "filler"]
unnamed = [(c.getRoleName(), extents(c)) for c in objects if not c.name.strip()]
if unnamed:
    fail(f"{len(unnamed)} of {len(objects)} objects have no accessible name: {unnamed[:10]}")
controls = [c for c in objects if c.getRoleName() in CONTROL_ROLES]
buttons = [c for c in controls if c.getRoleName() == "push button"]
print(f"{len(objects)} objects named: {len(controls)} controls, {len(buttons)} of them buttons")
tools = [b for b in buttons if has(b, pyatspi.STATE_SHOWING) and extents(b)[2:] == (40, 40)]
if len(tools) != 8 or any(len(t.name) < 3 for t in tools):
    fail(f"tool buttons and their names: {[t.name for t in tools]}")

# The public layout, whatever was clicked before.
for b in walk(window):
    if b.getRoleName() == "push button" and b.name == "Общественные":
        b.queryAction().doAction(0)
for _ in range(50):
    if any(c.name == PUBLIC[0] and has(c, pyatspi.STATE_SHOWING) for c in walk(window)):
        break
    time.sleep(0.1)
else:
    fail("the public layout did not come back")

# Keyboard: into the grid, along a row and down a column, back to the bar, press a category.
# The window is looked up now: its X window may have been re-created since it first showed.
main_xid = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Zelmo Player$"], capture_output=True,
                          text=True).stdout.split()
if not main_xid:
    fail("main window not found by xdotool")
xdo("windowfocus", "--sync", main_xid[0])
time.sleep(0.5)
slot = key_until(window, "Tab", lambda f: f.name == PUBLIC[0], "Tab into the grid", tries=6)
key_until(window, "Right", lambda f: f.name == PUBLIC[1], "Right in the grid")
key_until(window, "Down", lambda f: f.name == PUBLIC[4], "Down in the grid")
key_until(window, "Left", lambda f: f.name == "НТВ", "Left in the grid")
key_until(window, "shift+Tab", lambda f: f.name == "Общественные", "Shift+Tab to the category bar")
key_until(window, "Right", lambda f: f.name == "Радио", "Right in the category bar")
grid_before = slot.name
xdo("key", "Return")
for _ in range(50):
    if not any(c.name == PUBLIC[0] and has(c, pyatspi.STATE_SHOWING) for c in walk(window)):
        break
    time.sleep(0.1)
else:
    fail("Enter on the radio category did not relabel the grid")
key_until(window, "Tab", lambda f: extents(f)[2:] == (64, 42), "Tab into the radio grid")
strip = key_until(window, "Tab", lambda f: extents(f)[2:] == (32, 32), "Tab into the radio strip")
if not strip.name.strip():
    fail("radio strip button without a name")
# The volume bar is a stop of its own after the strip's buttons.
key_until(window, "Tab", lambda f: f.getRoleName() == "scroll bar", "Tab onto the volume bar")
tool = key_until(window, "Tab", lambda f: extents(f)[2:] == (40, 40), "Tab into the tool bar")

# The focus mark shows: the focused tool button looks different once focus has left it.
x, y, w, h = extents(tool)
shot(f"{work}/focus-on.png")
key_until(window, "Tab", lambda f: extents(f)[2:] != (40, 40), "Tab out of the tool bar")
time.sleep(0.3)
shot(f"{work}/focus-off.png")
d = region_diff(f"{work}/focus-on.png", f"{work}/focus-off.png", (x, y, w, h))
if d < 0.01:
    fail(f"no visible focus mark on a tool button (difference {d})")

# Back to the first category, so the window looks as it did.
for b in walk(window):
    if b.getRoleName() == "push button" and b.name == "Общественные":
        b.queryAction().doAction(0)

# Escape closes the TV programme window (x 675 in the tool bar), as its close box would.
ox, oy = extents(window)[:2]
programme = [t for t in tools if extents(t)[0] - ox == 675]
if not programme:
    fail("TV programme button not found")
before = set(subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", pid], capture_output=True,
                            text=True).stdout.split())
programme[0].queryAction().doAction(0)
opened = None
for _ in range(100):
    now = set(subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", pid], capture_output=True,
                             text=True).stdout.split())
    if now - before:
        opened = sorted(now - before)[0]
        break
    time.sleep(0.1)
if opened is None:
    fail("the TV programme window did not open")
xdo("windowfocus", "--sync", opened)
time.sleep(0.3)
xdo("key", "Escape")
for _ in range(100):
    now = set(subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", pid], capture_output=True,
                             text=True).stdout.split())
    if opened not in now:
        break
    time.sleep(0.1)
else:
    fail("Escape did not close the TV programme window")
print(f"keyboard OK (focus mark difference {d:.3f}), Escape closes a secondary window")
