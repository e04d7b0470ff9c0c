"""Finding and driving the program's windows from outside under bench/xsession.sh: windows by client
size from the window manager's list, clicks by xdotool, buttons by caption over the accessibility
bus, closing as the window manager does (WM_DELETE_WINDOW)."""
import os
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CLOSE = os.path.join(HERE, "..", "tests", "e2e", "close_window.py")

MAIN = (807, 543)
# Client coordinates of the main window's tool buttons and radio strip (modal windows open from
# some of them, so they are clicked, not pressed over the accessibility bus).
TOOL = {"settings": (70, 515), "favourites": (650, 515), "programme": (695, 515), "My Radio": (758, 421)}


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=30).stdout


def wait_for(what, fn, timeout=60):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        v = fn()
        if v:
            return v
        time.sleep(0.1)
    raise RuntimeError(f"timed out waiting for {what}")


def stacking():
    out = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
    if "#" not in out:
        return []
    return [int(w, 16) for w in out.split("#", 1)[1].replace(",", " ").split()]


def info(window):
    """(width, height, x, y, viewable) of a client window, or None once it is gone."""
    values = {}
    for line in run("xwininfo", "-id", str(window)).splitlines():
        key, _, value = line.strip().partition(":")
        values[key] = value.strip()
    try:
        return (int(values["Width"]), int(values["Height"]), int(values["Absolute upper-left X"]),
                int(values["Absolute upper-left Y"]), values.get("Map State") == "IsViewable")
    except (KeyError, ValueError):
        return None


def viewable():
    return [w for w in stacking() if (i := info(w)) and i[4]]


def shown(size):
    found = [w for w in stacking() if (i := info(w)) and i[:2] == size and i[4]]
    return found[0] if len(found) == 1 else None


def click(window, point):
    """Clicks at a point of the window's client area, the window raised first (others may cover it)."""
    run("xdotool", "windowraise", str(window))
    time.sleep(0.3)
    i = info(window)
    run("xdotool", "mousemove", str(i[2] + point[0]), str(i[3] + point[1]), "click", "1")


def close(window):
    subprocess.run(["/usr/bin/python3", CLOSE, str(window)], capture_output=True)


def _atspi():
    import pyatspi  # Debian's python3-pyatspi, for /usr/bin/python3
    return pyatspi


def accessible_window(name, app_name="Zelmo Player"):
    pyatspi = _atspi()

    def find():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == app_name:
                for i in range(app.childCount):
                    w = app.getChildAtIndex(i)
                    if w is not None and w.name == name and w.getState().contains(pyatspi.STATE_SHOWING):
                        return w
        return None
    return wait_for(f"window {name!r}", find)


def press(root, caption):
    """Presses the showing push button of that caption (spaces exact) inside root."""
    pyatspi = _atspi()
    button = wait_for(f"button {caption!r}", lambda: pyatspi.findDescendant(
        root, lambda a: a.getRoleName() == "push button" and a.name == caption
        and a.getState().contains(pyatspi.STATE_SHOWING)))
    button.queryAction().doAction(0)
