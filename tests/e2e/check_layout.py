#!/usr/bin/python3
"""Reads the running program's main window through the accessibility bus and checks where its
controls stand, in client coordinates, and what the category buttons do to the grid.
Exit status 1 with a message on the first difference."""
import sys
import time

import pyatspi

CATEGORIES = {  # caption: (left edge, width); all at y = 4, 28 high
    "Общественные": (5, 82), "Радио": (89, 78), "Музыкальные": (169, 78), "Развлечения": (249, 78),
    "Научные": (329, 78), "Спорт": (409, 78), "Кино": (489, 78), "Мультики": (569, 78),
    "Записи": (649, 78), "Зарубежные": (729, 78),
}
PUBLIC = ["ОРТ", "Россия 1", "Москва 24", "НТВ", "Россия 2", "Ю", "ТНТ", "Россия К", "Пятница", "СТС",
          "Россия 24", "ТВ-2", "Перец", "РБК", "ТНВ", "ТВЦ", "РИА   Новости", "ТРО Союз", "Звезда",
          "РТР   Планета", "Euronews", "Мир ТВ", "Домашний", "BBC CNN", "Рен ТВ", "5 Канал",
          "Russia   Today", "ТВ-3", "Союз", "ОТР "]
TOOL_X = [5, 50, 95, 140, 630, 675, 720, 765]  # every tool button at y = 495, 40 x 40


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def children(acc):
    return [acc.getChildAtIndex(i) for i in range(acc.childCount)]


def main_window():
    for _ in range(60):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Zelmo Player":
                for w in children(app):
                    if w.name == "Zelmo Player" and showing(w):
                        return w
        time.sleep(0.5)
    fail("main window not found on the accessibility bus")


def relative(acc, origin):
    x, y, w, h = extents(acc)
    return x - origin[0], y - origin[1], w, h


def expect(what, actual, wanted):
    if tuple(actual) != tuple(wanted):
        fail(f"{what} at {tuple(actual)}, expected {tuple(wanted)}")


window = main_window()
origin = extents(window)
expect("main window size", origin[2:], (807, 543))


def bar():
    return {b.name: b for b in children(window) if b.getRoleName() == "push button" and showing(b)}


def panel():
    frames = [c for c in children(window) if c.getRoleName() == "frame"]
    if not frames:
        fail("main panel not found")
    return frames[0]


def grid():
    """Showing slots as {(column, row): caption}, headings as {caption: position} (panel coordinates)."""
    p = panel()
    po = extents(p)
    slots, headings = {}, {}
    for c in children(p):
        if not showing(c):
            continue
        x, y, w, h = relative(c, po)
        if c.getRoleName() == "push button":
            if (w, h) != (64, 42) or x not in (600, 666, 732) or (y - 4) % 44:
                fail(f"slot {c.name!r} at {(x, y, w, h)}")
            slots[((x - 600) // 66, (y - 4) // 44)] = c.name
        elif c.getRoleName() == "label":
            headings[c.name] = (x, y)
    return slots, headings


def press(caption):
    b = bar().get(caption)
    if b is None:
        fail(f"category button {caption!r} not shown")
    b.queryAction().doAction(0)
    time.sleep(0.5)


buttons = bar()
for caption, (x, w) in CATEGORIES.items():
    if caption not in buttons:
        fail(f"category button {caption!r} not shown")
    expect(f"category {caption!r}", relative(buttons[caption], origin), (x, 4, w, 28))
tools = sorted(relative(b, origin) for b in children(window)
               if b.getRoleName() == "push button" and showing(b) and extents(b)[2:] == (40, 40))
expect("tool buttons", tools, [(x, 495, 40, 40) for x in TOOL_X])
expect("main panel", relative(panel(), origin), (5, 35, 800, 450))

slots, headings = grid()
wanted = {((k % 3), k // 3): PUBLIC[k] for k in range(30)}
if slots != wanted:
    fail(f"start grid differs from the public layout: {slots}")
if headings:
    fail(f"headings shown at start: {headings}")

press("Зарубежные")
back = bar().get("Назад")
if back is None or "Научные" in bar():
    fail("the foreign set did not replace the main set")
expect("back button", relative(back, origin), (729, 5, 78, 28))
press("СНГ")
slots, headings = grid()
expect("CIS headings", sorted(headings.items(), key=lambda kv: kv[1][1]),
       [("Грузия", (670, 20)), ("Казахстан", (670, 145)), ("Армения", (670, 280))])
if len(slots) != 18 or any(row in (0, 3, 6, 9) for _, row in slots):
    fail(f"CIS layout shows slots {sorted(slots)}")
press("Назад")
slots, headings = grid()
if len(slots) != 30 or headings or "Зарубежные" not in bar():
    fail("going back did not restore the public layout")

press("Радио")
strip = [c for c in children(panel()) if c.getRoleName() == "frame" and showing(c)]
if not strip:
    fail("radio strip not shown in the radio layout")
expect("radio strip", relative(strip[0], extents(panel())), (602, 365, 190, 77))
press("Общественные")
print("layout OK")
