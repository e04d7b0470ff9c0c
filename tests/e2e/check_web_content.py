#!/usr/bin/python3
"""With the desktop's screen reader setting on, the main window's web view exposes its page:
a "document web" object with content of its own. Opens a local channel page first."""
import sys
import time

import pyatspi
from gi.repository import GLib


def children(acc):
    return [acc.getChildAtIndex(i) for i in range(acc.childCount)]


def walk(acc, depth=0):
    for c in children(acc):
        if c is None:
            continue
        yield c
        if depth < 12:
            yield from walk(c, depth + 1)


def main_window():
    for _ in range(100):
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == "Zelmo Player":
                for w in children(a):
                    if w.name == "Zelmo Player":
                        return w
        time.sleep(0.2)
    print("FAIL: main window not on the accessibility bus")
    sys.exit(1)


window = main_window()
# A channel of the first category: its local page loads into the view.
for c in walk(window):
    if c.getRoleName() == "push button" and c.name == "ОРТ":
        c.queryAction().doAction(0)
        break
for _ in range(150):
    try:
        for doc in (c for c in walk(main_window()) if c.getRoleName() == "document web"):
            content = [d for d in walk(doc) if d.name.strip() or d.getRoleName() in ("paragraph", "heading", "link")]
            if content:
                print(f"document web with {len(content)} objects of content")
                sys.exit(0)
    except GLib.GError:
        pass  # a page replaced while it was read: its objects are gone, read the new one
    time.sleep(0.2)
print("FAIL: no web document with content on the accessibility bus")
sys.exit(1)
