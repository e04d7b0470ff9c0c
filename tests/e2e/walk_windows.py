#!/usr/bin/python3
"""Walks every window of the running program through the accessibility bus, in the language the
program was started in, and checks what a user and a screen reader meet there:

- texts: in English and Chinese no Cyrillic text but the channel and station names (the catalog's
  captions) and the five language choices; in Ukrainian and Belarusian no text that the Russian
  run showed in the same window, but the words the languages share (SHARED below);
- names: every window and every control has a name, every text field a name or a label;
- keyboard: in every window Tab goes round and comes back, never stays on one control and never
  lands inside a web page; the controls listed in MUST_REACH are among its stops.

Usage: walk_windows.py <language> <pid> <work dir> <source dir>
The Russian run writes <work dir>/texts-ru.json, which the Ukrainian and Belarusian runs read."""
import configparser
import json
import os
import re
import subprocess
import sys
import time

import pyatspi

lang, pid, work, src = sys.argv[1:5]
PACK_FILES = {"ru": "Russian.lng", "uk": "Ukraine.lng", "en": "England.lng", "be": "Belarusian.lng",
              "zh": "Chinese.lng"}
CYRILLIC = re.compile("[\u0400-\u04FF]")
LANGUAGE_CHOICES = {"Русский [Ru]", "Украинский [Ua]", "Английский [En]", "Белорусский [Blr]", "Китайский [Chi]"}
# Spelt alike in Russian and the language (checked by a speaker of each).
SHARED = {
    "uk": {"Таймер", "Порт:", "секунд", "Спорт", "Назад", "Записи", "Плейлист:", "Казахстан", "Пароль", "Кодек",
           "Жанр", "Телеканал", "Азербайджан"},
    "be": {"Таймер", "Порт:", "секунд", "Спорт", "Назад", "Пароль", "Каналы", "Жанр", "Беларусь", "Казахстан", "Азербайджан"},
}
TEXT_ROLES = {"text", "password text", "entry"}
FOCUS_ROLES = {"push button", "toggle button", "check box", "radio button", "combo box", "text", "entry",
               "scroll bar", "slider", "page tab", "password text", "table", "tree table", "list", "table cell"}


def fail(message):
    print(f"FAIL [{lang}]:", message)
    sys.exit(1)


def pack(name):
    parser = configparser.RawConfigParser(strict=False, interpolation=None, delimiters=("=",))
    parser.optionxform = str.lower
    parser.read(os.path.join(src, "data", "Language", name), encoding="utf-8")
    return {(s.lower(), k): v.strip('"') for s in parser.sections() for k, v in parser.items(s)}


TEXT = pack(PACK_FILES[lang])


def t(section, key):
    return TEXT[(section.lower(), key.lower())]


def names_of_channels():
    """The catalog's captions and the layouts' captions: names, not texts."""
    names = set()
    out = subprocess.run([os.path.join(work, "AppDir", "channel-catalog"), "list"], capture_output=True,
                         text=True).stdout
    for line in out.splitlines():
        parts = line.split("\t")
        if len(parts) > 2:
            names.add(" ".join(parts[2].split()))
    for path in ("src/navigation/Layouts.cpp", "src/navigation/ChannelCatalog.cpp"):
        with open(os.path.join(src, path), encoding="utf-8") as f:
            for literal in re.findall(r'u"((?:[^"\\]|\\.)*)"', f.read()):
                names.add(" ".join(literal.split()))
    return names


CHANNELS = names_of_channels()


def children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(min(acc.childCount, 60))]
    except Exception:
        return []


def walk(acc):
    for c in children(acc):
        if c is None:
            continue
        role = c.getRoleName()
        if role == "document web":
            continue  # the page's own content
        yield c
        if role in ("table", "tree table", "tree", "list"):
            # Rows are data (channel and station names); the header and the first rows suffice.
            for cell in children(c)[:12]:
                if cell is not None:
                    yield cell
            continue
        yield from walk(c)


def has(acc, state):
    return acc.getState().contains(state)


def showing(acc):
    return has(acc, pyatspi.STATE_SHOWING)


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def application():
    for _ in range(100):
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == "Zelmo Player":
                return a
        time.sleep(0.2)
    fail("program not on the accessibility bus")


APP = application()


def windows():
    return [w for w in children(APP) if w is not None and showing(w)]


def window_named(name):
    found = wait_for(lambda: next((w for w in windows() if w.name == name), None), 60)
    if found is None:
        fail(f"window {name!r} not shown; shown: {[w.name for w in windows()]}")
    return found


def find(window, role, name):
    for c in walk(window):
        if c.getRoleName() == role and c.name == name and showing(c):
            return c
    fail(f"no {role} {name!r} in {window.name!r}")


def xdo(*args):
    subprocess.run(["xdotool", *args], check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


# Bounds for what the program does in answer to a key or a click: generous, because the walk runs
# beside other tests on a busy machine; a wait ends as soon as its condition holds.
SETTLE = 15.0


def wait_for(condition, seconds=SETTLE):
    """Polls until condition() returns something true; returns it, or None after the bound."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            return None
        time.sleep(0.1)


def click(acc, button="1"):
    """A real click: a press that opens a modal window would not return over the bus."""
    x, y, w, h = extents(acc)
    xdo("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
    xdo("click", button)


def x_window(window):
    """The X window of a top-level, found by its place on the screen."""
    for w in subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", pid], capture_output=True,
                            text=True).stdout.split():
        g = subprocess.run(["xwininfo", "-id", w], capture_output=True, text=True).stdout
        x = re.search(r"Absolute upper-left X:\s+(-?\d+)", g)
        y = re.search(r"Absolute upper-left Y:\s+(-?\d+)", g)
        if x and y and (int(x.group(1)), int(y.group(1))) == extents(window)[:2]:
            return w
    return None


def close(window):
    """Escape where the window takes it, the close box (as the window manager asks) otherwise."""
    activate(window)
    xdo("key", "Escape")
    if wait_for(lambda: not showing(window), 5):
        return
    xid = x_window(window)
    if xid:
        subprocess.run(["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "close_window.py"), xid])
    if not wait_for(lambda: not showing(window), 30):
        fail(f"{window.name}: does not close")


# ---- texts --------------------------------------------------------------------------------------

def texts(window):
    seen = []
    items = [window] + [c for c in walk(window) if showing(c)]
    for c in items:
        role = c.getRoleName()
        candidates = [c.name, c.description]
        if role in TEXT_ROLES:
            try:
                tx = c.queryText()
                candidates.append(tx.getText(0, tx.characterCount))
            except NotImplementedError:
                pass
        for s in candidates:
            s = (s or "").strip()
            if s:
                seen.append((role, s))
    return seen


def exempt(s):
    plain = " ".join(s.split())
    if plain in CHANNELS or plain in LANGUAGE_CHOICES:
        return True
    # "Station — Title" and tooltips of channel buttons: names again.
    return all(" ".join(part.split()) in CHANNELS for part in re.split(r"\s+[—-]\s+", plain) if part)


def check_texts(where, found, russian):
    bad = []
    for role, s in found:
        if exempt(s):
            continue
        if lang in ("en", "zh") and CYRILLIC.search(s):
            bad.append((role, s))
        elif lang in SHARED and CYRILLIC.search(s) and s in russian and s not in SHARED[lang]:
            bad.append((role, s))
    if bad:
        fail(f"{where}: untranslated {bad[:12]}")


# ---- names --------------------------------------------------------------------------------------

def check_names(window):
    if not window.name.strip():
        fail(f"a window without a name ({extents(window)})")
    for c in walk(window):
        if not showing(c):
            continue
        role = c.getRoleName()
        if role in TEXT_ROLES or role == "password text":
            labelled = any(r.getRelationType() == pyatspi.RELATION_LABELLED_BY for r in c.getRelationSet())
            if not c.name.strip() and not labelled:
                fail(f"{window.name}: a text field without name or label at {extents(c)}")
        elif role in FOCUS_ROLES - {"table cell", "table", "list", "scroll bar"} and not c.name.strip():
            fail(f"{window.name}: a {role} without a name at {extents(c)}")


# ---- keyboard -----------------------------------------------------------------------------------

def focused(window):
    """The focused control; a tab of a tab bar may keep its focused state after the bar lost the
    focus, so any other focused control comes first. A list's or table's current cell says it is
    focused whether or not its view has the focus (Qt marks the current index so): it counts
    only while the view itself has the focus."""
    tab = None
    for c in walk(window):
        if has(c, pyatspi.STATE_FOCUSED) and showing(c):
            role = c.getRoleName()
            if role == "table cell":
                view = c.parent
                if view is None or not has(view, pyatspi.STATE_FOCUSED):
                    continue
            if role != "page tab":
                return c
            tab = tab or c
    return tab


def describe(acc):
    return None if acc is None else (acc.getRoleName(), acc.name, extents(acc)[:2])


def tab_walk(window, must_reach, presses=45):
    """Tab round the window: returns the stops; fails when Tab stays put, leaves the program's
    controls (into a page or nowhere) or never comes back round."""
    stops = []
    names = set()
    first = None
    stops_possible = [c for c in walk(window) if showing(c) and has(c, pyatspi.STATE_FOCUSABLE)
                      and has(c, pyatspi.STATE_ENABLED) and c.getRoleName() in FOCUS_ROLES]
    # Into the window's Tab order first, wherever the focus was (a page, or nothing yet).
    xdo("key", "--clearmodifiers", "Tab")
    wait_for(lambda: focused(window), 5)
    for i in range(presses):
        before = describe(focused(window))
        xdo("key", "--clearmodifiers", "Tab")
        if len(stops_possible) == 1:
            # The window's one control: Tab has nowhere else to go.
            now = wait_for(lambda: describe(focused(window)))
            if now is None:
                fail(f"{window.name}: Tab left the focus on no control of the window (after {before})")
            return [now]
        now = wait_for(lambda: (lambda d: d if d is not None and d != before else None)(describe(focused(window))))
        if now is None:
            now = describe(focused(window))
            if now is None:
                fail(f"{window.name}: Tab press {i + 1} left the focus on no control of the window (after {before})")
            fail(f"{window.name}: Tab stays on {now}")
        stops.append(now)
        f = focused(window)
        if f is not None:
            names.add(f.name)
            if f.getRoleName() == "table cell" and f.parent is not None:
                names.add(f.parent.name)  # a list or table is the stop, its current cell the place
        if first is None:
            first = now
        elif now == first:
            break
    else:
        fail(f"{window.name}: Tab did not come round in {presses} presses: {stops}")
    names |= {s[1] for s in stops}
    missing = [m for m in must_reach if m not in names]
    if missing:
        fail(f"{window.name}: Tab never reaches {missing}; stops {stops}")
    return stops


def activate(window):
    xid = x_window(window)
    if xid:
        xdo("windowactivate", "--sync", xid)
        xdo("windowfocus", "--sync", xid)
    else:
        print(f"  (no X window found for {window.name!r})")
    time.sleep(0.4)


# ---- the walk -----------------------------------------------------------------------------------

report = {}
russian = {}
if lang in SHARED:
    with open(os.path.join(work, "texts-ru.json"), encoding="utf-8") as f:
        russian = {s for values in json.load(f).values() for s in values}


def visit(key, window, must_reach=(), walk_keys=True):
    found = texts(window)
    report[key] = sorted({s for _, s in found})
    check_texts(key, found, russian)
    check_names(window)
    if walk_keys:
        activate(window)
        tab_walk(window, must_reach)
    print(f"  {key}: {len(found)} texts, names and keyboard OK")


main = window_named("Zelmo Player")
# The radio category shows the strip: its buttons and the volume bar must both be Tab stops.
radio_caption = t("Category", "radio")
click(find(main, "push button", radio_caption))
find(main, "push button", t("RadioStrip", "myRadio"))
# Tab goes from group to group (the bar, the grid, the strip, the volume, the tool bar); the arrow
# keys move inside a group.
visit("main", main, must_reach=[t("RadioStrip", "record"), t("RadioStrip", "volume"), t("Access", "onTop")])


def press(window, key):
    """A key, then the focus it leads to once it has moved (None when it stayed)."""
    before = describe(focused(window))
    xdo("key", "--clearmodifiers", key)
    wait_for(lambda: describe(focused(window)) != before)
    return focused(window)


for _ in range(8):
    f = focused(main)
    if f is not None and f.name == t("RadioStrip", "record"):
        break
    press(main, "Tab")
else:
    fail(f"Tab does not come to {t('RadioStrip', 'record')!r}")
strip = []
for _ in range(4):
    f = press(main, "Right")
    strip.append(None if f is None else f.name)
for wanted in (t("RadioStrip", "radioOff"), t("RadioStrip", "miniRadio"), t("RadioStrip", "myRadio")):
    if wanted not in strip:
        fail(f"the arrows do not reach {wanted!r} in the radio strip: {strip}")
# The volume bar: Right is louder.
volume = find(main, "scroll bar", t("RadioStrip", "volume"))
f = press(main, "Tab")
if f is None or f.name != t("RadioStrip", "volume"):
    fail(f"Tab after the radio strip goes to {describe(f)}, not to the volume bar")
before = volume.queryValue().currentValue
xdo("key", "--clearmodifiers", "Left")
after = wait_for(lambda: (lambda v: v if v != before else None)(volume.queryValue().currentValue))
if after is None or not after < before:
    fail(f"Left on the volume bar went from {before} to {after}")

# Tool bar windows (picture buttons, found by their hints).
for key, hint in (("favourites", t("Hint", "favorites")), ("donation", t("Hint", "Donations")),
                  ("closed", t("Hint", "Closedsection"))):
    before = {w.name for w in windows()}
    click(find(main, "push button", hint))
    window = wait_for(lambda: next((w for w in windows() if w.name not in before), None), 60)
    if window is None:
        fail(f"{key}: no window opened")
    visit(key, window)
    close(window)

# The settings window, every tab.
click(find(main, "push button", t("Hint", "Settings")))
settings = window_named(t("Settings", "SettingsForm"))
tabs = [c for c in walk(settings) if c.getRoleName() == "page tab list"][0]
# The tab bar's scroll arrows are its children too; only the tabs are visited.
for tab in [c for c in children(tabs) if c is not None and c.getRoleName() == "page tab"]:
    click(tab)
    # Qt marks the current tab as focused (some versions as selected too), whether or not the bar has the focus.
    if not wait_for(lambda: has(tab, pyatspi.STATE_SELECTED) or has(tab, pyatspi.STATE_FOCUSED)):
        fail(f"the settings tab {tab.name!r} is not shown after a click on it")
    must = []
    if tab.name == "IPTV":
        # The sources list and the table are one stop each: Tab goes on to what follows them.
        must = [t("IptvTab", "load"), t("TvSources", "sources").rstrip(":："), t("Access", "iptvTable"),
                t("TvSources", "search")]
    visit(f"settings/{tab.name}", settings, must_reach=must)
close(settings)

# My Radio, its menu and the station directory.
click(find(main, "push button", t("RadioStrip", "myRadio")))
my_radio = window_named(t("Access", "myRadioWindow"))
visit("myradio", my_radio, must_reach=[t("MyRadioForm", "add")])
first_slot = [c for c in walk(my_radio) if c.getRoleName() == "push button" and extents(c)[2:] == (64, 38)][0]
click(first_slot, "3")
time.sleep(0.8)
menus = [w for w in windows() if w.getRoleName() in ("menu", "popup menu", "window") and w.name != my_radio.name
         and w.name != "Zelmo Player"]
menu_texts = [(c.getRoleName(), c.name) for m in menus for c in walk(m) if c.name]
report["myradio/menu"] = sorted({s for _, s in menu_texts})
check_texts("myradio/menu", menu_texts, russian)
if not menu_texts:
    print("  (the My Radio menu was not found on the bus: its texts are checked in the packs only)")
xdo("key", "Escape")
# Enter in the fields adds the station, as "Добавить" does.
fields = [c for c in walk(my_radio) if c.getRoleName() in TEXT_ROLES and showing(c)]
activate(my_radio)
for field, value in zip(fields, ("Walk FM", "http://127.0.0.1:9/walk")):
    click(field)
    xdo("type", "--delay", "20", value)
xdo("key", "Return")
if not wait_for(lambda: any(c.name == "Walk FM" for c in walk(my_radio) if c.getRoleName() == "push button")):
    fail("Enter in My Radio's fields did not add the station")
click(find(my_radio, "push button", t("MyRadioForm", "directoryHint")))
directory = window_named(t("DirectoryForm", "title"))
time.sleep(1)
visit("directory", directory, must_reach=[t("DirectoryForm", "search")])
close(directory)
close(my_radio)

with open(os.path.join(work, f"texts-{lang}.json"), "w", encoding="utf-8") as f:
    json.dump(report, f, ensure_ascii=False, indent=1)
print(f"PASS [{lang}]: {len(report)} windows and tabs walked")
