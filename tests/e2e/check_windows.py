#!/usr/bin/python3
"""Stacking and lifetime of the program's windows, read from the X server under a window manager.

1. With the main window on top (its own button, then the settings window's button), every window
   the program opens (settings, donation, favourites, TV guide, closed-section prompt, My Radio
   and its message box, a partner window) must stand above the window that opened it in
   _NET_CLIENT_LIST_STACKING.
2. With the main window hidden behind the mini radio, closing the favourites window (close box)
   and the closed-section prompt (Escape) must not end the program.

Windows are told apart by their client size (each is fixed and distinct) and their ids are read
afresh every time, since a window may be re-created on its first showing.
Usage: check_windows.py <program pid>. Exit status 1 with a message on the first fault."""
import os
import subprocess
import sys
import time

import pyatspi

HERE = os.path.dirname(os.path.abspath(__file__))
PID = int(sys.argv[1])

MAIN = (807, 543)
SIZES = {
    "settings": (494, 328), "donation": (341, 132), "favourites": (224, 388), "guide": (564, 477),
    "closed prompt": (341, 148), "My Radio": (229, 278), "Korbina": (714, 423), "mini radio": (274, 37),
}
# Client coordinates of the buttons pressed by mouse (their handlers run modal windows).
TOOL = {"on top": (25, 515), "settings": (70, 515), "closed prompt": (115, 515), "favourites": (650, 515),
        "guide": (695, 515), "donation": (785, 515)}
STRIP = {"mini radio": (718, 421), "My Radio": (758, 421)}  # radio strip, shown in the radio category
ADD_STATION = (120, 252)  # "Добавить" of My Radio


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def run(*args):
    try:
        return subprocess.run(args, capture_output=True, text=True, timeout=30).stdout
    except subprocess.TimeoutExpired:
        fail(f"{args[0]} did not answer")


def alive():
    try:
        os.kill(PID, 0)
    except OSError:
        return False
    with open(f"/proc/{PID}/stat") as f:
        return f.read().split()[2] != "Z"


def stacking():
    """Managed client windows, bottom to top."""
    out = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
    if "#" not in out:
        return []
    return [int(w, 16) for w in out.split("#", 1)[1].replace(",", " ").split()]


def info(window):
    """(width, height, x, y, viewable) of a client window, or None once it is gone."""
    out = run("xwininfo", "-id", str(window))
    values = {}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        values[key] = value.strip()
    try:
        return (int(values["Width"]), int(values["Height"]), int(values["Absolute upper-left X"]),
                int(values["Absolute upper-left Y"]), values.get("Map State") == "IsViewable")
    except (KeyError, ValueError):
        return None


def wait_for(what, condition, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if not alive():
            fail(f"program ended while waiting for {what}")
        result = condition()
        if result:
            return result
        time.sleep(0.2)
    windows = [(hex(w), info(w)) for w in stacking()]
    fail(f"timed out waiting for {what}; windows bottom to top (w, h, x, y, viewable): {windows}")


def shown(size):
    """The id of the viewable managed window of that client size, if exactly one."""
    found = [w for w in stacking() if (i := info(w)) and i[:2] == size and i[4]]
    return found[0] if len(found) == 1 else None


def main_window():
    return wait_for("the main window", lambda: shown(MAIN))


def click(window, point):
    i = info(window)
    run("xdotool", "mousemove", str(i[2] + point[0]), str(i[3] + point[1]), "click", "1")


def close(window):
    subprocess.run(["/usr/bin/python3", os.path.join(HERE, "close_window.py"), str(window)], check=True)


def above(window, below):
    order = stacking()
    return window in order and below in order and order.index(window) > order.index(below)


def on_top(window):
    return "_NET_WM_STATE_ABOVE" in run("xprop", "-id", str(window), "_NET_WM_STATE")


def expect_above(name, window, opener):
    wait_for(f"{name} to stand above the window that opened it", lambda: above(window, opener), 10)


def gone(window):
    i = info(window)
    return i is None or not i[4]


def open_by_click(name, opener, point):
    click(opener, point)
    window = wait_for(f"the {name} window", lambda: shown(SIZES[name]))
    expect_above(name, window, opener)
    return window


def open_and_close(name, point):
    main = main_window()
    window = open_by_click(name, main, point)
    close(window)
    wait_for(f"the {name} window to close", lambda: gone(window))


def new_window_over(opener, before):
    """A newly mapped window that is none of the known ones (a message box)."""
    def find():
        for w in stacking():
            i = info(w)
            if w not in before and i and i[4] and i[:2] not in SIZES.values() and i[:2] != MAIN:
                return w
        return None
    return wait_for("a message box", find)


def accessible_window(name):
    """The showing top-level of the program with that accessible name."""
    for _ in range(60):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Zelmo Player":
                for i in range(app.childCount):
                    w = app.getChildAtIndex(i)
                    if w is not None and w.name == name and w.getState().contains(pyatspi.STATE_SHOWING):
                        return w
        time.sleep(0.5)
    fail(f"window {name!r} not found on the accessibility bus")


def find_button(root, name):
    """A showing push button of that caption (spaces exact), waited for."""
    def find():
        return pyatspi.findDescendant(root, lambda a: a.getRoleName() == "push button" and a.name == name
                                      and a.getState().contains(pyatspi.STATE_SHOWING))
    return wait_for(f"button {name!r}", find)


def press(acc):
    acc.queryAction().doAction(0)


def radio_category():
    """Shows the radio category (its grid and strip), from wherever the category bar is."""
    main = accessible_window("Zelmo Player")
    back = pyatspi.findDescendant(main, lambda a: a.getRoleName() == "push button" and a.name == "Назад"
                                  and a.getState().contains(pyatspi.STATE_SHOWING))
    if back is not None:
        press(back)
    press(find_button(main, "Радио"))
    find_button(main, "Европа+")


def windows_on_top_of(main):
    for name in ("favourites", "guide", "donation", "settings", "closed prompt"):
        open_and_close(name, TOOL[name])

    # My Radio, and the message box it opens, each above its opener.
    radio_category()
    main = main_window()
    my_radio = open_by_click("My Radio", main, STRIP["My Radio"])
    before = set(stacking())
    click(my_radio, ADD_STATION)  # both fields empty: a message
    box = new_window_over(my_radio, before)
    expect_above("the message box", box, my_radio)
    expect_above("the message box", box, main)
    close(box)
    wait_for("the message box to close", lambda: gone(box))
    close(my_radio)
    wait_for("My Radio to close", lambda: gone(my_radio))

    # A partner window, opened from a channel of the foreign category's miscellaneous set.
    main = main_window()
    for caption in ("Зарубежные", "Разные", "Юмор ТВ"):
        press(find_button(accessible_window("Zelmo Player"), caption))
    korbina = wait_for("the partner window", lambda: shown(SIZES["Korbina"]))
    expect_above("the partner window", korbina, main)
    close(korbina)
    wait_for("the partner window to close", lambda: gone(korbina))


def check_stacking():
    main = main_window()
    click(main, TOOL["on top"])
    wait_for("the main window to stay on top", lambda: on_top(main_window()), 10)
    windows_on_top_of(main)
    main = main_window()
    click(main, TOOL["on top"])  # the pair's other button: off again
    wait_for("the main window to leave the top", lambda: not on_top(main_window()), 10)

    # The settings window's own on-top button, pressed while it is open.
    settings = open_by_click("settings", main, TOOL["settings"])
    dialog = accessible_window("Настройки")
    tab = pyatspi.findDescendant(dialog, lambda a: a.getRoleName() == "page tab" and a.name == "Настройки")
    if tab is None:
        fail("the settings tab not found")
    press(tab)
    group = pyatspi.findDescendant(dialog, lambda a: "Поверх" in (a.name or ""))
    if group is None:
        fail("the settings window's on-top group not found")
    press(find_button(group, "Включить"))
    wait_for("the main window to stay on top", lambda: on_top(main_window()), 10)
    expect_above("the settings window", settings, main_window())
    close(settings)
    wait_for("the settings window to close", lambda: gone(settings))
    for name in ("donation", "favourites", "closed prompt"):
        open_and_close(name, TOOL[name])


def check_only_main_ends_program():
    main = main_window()
    favourites = open_by_click("favourites", main, TOOL["favourites"])
    prompt = open_by_click("closed prompt", main, TOOL["closed prompt"])
    # Both stand in front of the main window: move them off the radio strip.
    run("xdotool", "windowmove", "--sync", str(favourites), "0", "0")
    run("xdotool", "windowmove", "--sync", str(prompt), "0", "600")
    radio_category()
    click(main, STRIP["mini radio"])
    mini = wait_for("the mini radio", lambda: shown(SIZES["mini radio"]))
    wait_for("the main window to hide", lambda: gone(main))

    close(favourites)
    wait_for("the favourites window to close", lambda: gone(favourites))
    run("xdotool", "windowactivate", "--sync", str(prompt))
    run("xdotool", "key", "--clearmodifiers", "Escape")
    wait_for("the closed-section prompt to close on Escape", lambda: gone(prompt))
    time.sleep(2)  # an unwanted quit would have happened by now
    if not alive():
        fail("closing a window while the main window was hidden ended the program")
    if gone(mini):
        fail("the mini radio vanished")
    close(mini)
    wait_for("the main window to come back", lambda: shown(MAIN))


# Start from the main window alone (an earlier check may have left a window open).
for size in SIZES.values():
    if (left := shown(size)) is not None:
        close(left)
        wait_for("an earlier window to close", lambda: gone(left))
check_stacking()
check_only_main_ends_program()
print("windows: every window opens above its opener with the main window on top; "
      "only the main window's close ends the program")
