#!/usr/bin/python3
"""Responsiveness of the program a user runs, beside the smallest programs that do the same, under
bench/xsession.sh (Xvfb, openbox, accessibility bus).

Channel click -> page: an X click (xdotool) on a channel button of the Спорт category to the main
view's "page finished" mark (the program's and the baseline's loadFinished, both printed with
ZELMO_BENCH=1), beside a one-view switcher whose buttons load the same local pages. Five channels a
start, each click 1.5 s after the page before; fresh starts, interleaved. The first click of a start
is reported apart from the later ones as well as with them. The buttons are located
once over the accessibility bus; the measured starts run without it.
Idle CPU of the whole process tree over BENCH_IDLE_SECONDS: the main window shown (3 s after its
channel page), minimised to the taskbar, and hidden in the tray (a notification area that docks
nothing, with [InTray] useInTray=1); the one-view program shown beside it.
Usage: measure.py APPDIR SWITCHER_BINARY RUNS"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from proctree import cpu_ticks, tree  # noqa: E402
from xwin import MAIN, accessible_window, info, run, shown, stacking, wait_for  # noqa: E402

CHANNELS = ["Рыбалка ТВ", "Спорт 1", "Автоплюс", "Eurosport", "Россия 2"]
IDLE_S = float(os.environ.get("BENCH_IDLE_SECONDS", "20"))
TICK = os.sysconf("SC_CLK_TCK")


class Marks:
    """Reads "ZELMO_BENCH <what> <ns>" lines from a process's stdout."""

    def __init__(self, proc):
        self.marks, self.lock = [], threading.Lock()
        threading.Thread(target=self.read, args=(proc.stdout,), daemon=True).start()

    def read(self, stream):
        for line in stream:
            parts = line.split()
            if len(parts) == 3 and parts[0] == b"ZELMO_BENCH":
                with self.lock:
                    self.marks.append((parts[1].decode(), int(parts[2])))

    def after(self, what, t0):
        with self.lock:
            return next((t for w, t in self.marks if w == what and t > t0), None)


def start(cmd, env, cwd=None):
    return subprocess.Popen(cmd, env=env, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            start_new_session=True)


def stop(proc):
    try:
        os.killpg(proc.pid, 9)
    except ProcessLookupError:
        pass
    proc.wait()


def button_centre(window, caption):
    import pyatspi
    button = wait_for(f"button {caption!r}", lambda: pyatspi.findDescendant(
        window, lambda a: a.getRoleName() == "push button" and a.name == caption
        and a.getState().contains(pyatspi.STATE_SHOWING)))
    e = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width // 2, e.y + e.height // 2


def click_at(x, y):
    run("xdotool", "mousemove", str(x), str(y), "click", "1")


def window_origin():
    i = info(wait_for("the window", lambda: shown(MAIN)))
    return i[2], i[3]


def offsets(cmd, env, app_name, captions, cwd=None, category=None):
    """Where the buttons sit in the window (client coordinates), read once over the accessibility
    bus; the measured starts then run without it, as most users do, and click there."""
    proc = start(cmd, dict(env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"), cwd=cwd)
    try:
        ox, oy = window_origin()
        found = {}
        if category:
            x, y = button_centre(accessible_window(app_name, app_name), category)
            found[category] = (x - ox, y - oy)
            click_at(x, y)
        for caption in captions:
            x, y = button_centre(accessible_window(app_name, app_name), caption)
            found[caption] = (x - ox, y - oy)
        return found
    finally:
        stop(proc)


def clicks(cmd, env, where, captions, cwd=None, category=None):
    proc = start(cmd, {k: v for k, v in env.items() if k != "QT_LINUX_ACCESSIBILITY_ALWAYS_ON"}, cwd=cwd)
    marks = Marks(proc)
    try:
        ox, oy = window_origin()
        time.sleep(3)
        if category:
            click_at(ox + where[category][0], oy + where[category][1])
            time.sleep(1.5)
        times = []
        for caption in captions:
            t0 = time.monotonic_ns()
            click_at(ox + where[caption][0], oy + where[caption][1])
            t = wait_for(f"the page of {caption!r}", lambda: marks.after("page", t0), 30)
            times.append((t - t0) / 1e6)
            time.sleep(1.5)
        return times
    finally:
        stop(proc)


def cpu_over(pid, seconds):
    t0, c0 = time.monotonic(), cpu_ticks(tree(pid))
    time.sleep(seconds)
    return 100.0 * (cpu_ticks(tree(pid)) - c0) / TICK / (time.monotonic() - t0)


def main_window_id():
    return wait_for("the main window", lambda: shown(MAIN))


def program_idle(appdir, work, tray):
    app = os.path.join(work, "AppDir")
    shutil.rmtree(app, ignore_errors=True)
    shutil.copytree(appdir, app, symlinks=True)
    with open(os.path.join(app, "Setting.ini"), "w", encoding="utf-8") as f:
        f.write(f"[InTray]\nuseInTray={1 if tray else 0}\n")
    tray_proc = subprocess.Popen(["/usr/bin/python3", os.path.join(HERE, "..", "fake_tray.py")]) if tray else None
    time.sleep(0.5)
    env = {k: v for k, v in os.environ.items() if k != "QT_LINUX_ACCESSIBILITY_ALWAYS_ON"}
    proc = start([os.path.join(app, "zelmo-player")], dict(env, ZELMO_BENCH="1", ZELMO_BENCH_CHANNEL="Спорт 1"),
                 cwd=work)
    marks = Marks(proc)
    try:
        main = main_window_id()
        wait_for("the first channel page", lambda: marks.after("page", 0), 30)
        time.sleep(3)
        out = {}
        if not tray:
            out["shown"] = cpu_over(proc.pid, IDLE_S)
        run("xdotool", "windowminimize", str(main))
        if tray:  # hidden, not minimised: the window manager no longer lists it
            wait_for("the main window to go into the tray", lambda: main not in stacking(), 20)
        else:
            wait_for("the main window to be minimised", lambda: shown(MAIN) is None, 20)
        time.sleep(2)
        out["tray" if tray else "minimised"] = cpu_over(proc.pid, IDLE_S)
        return out
    finally:
        stop(proc)
        if tray_proc:
            tray_proc.terminate()
            tray_proc.wait()


def switcher_idle(binary, page, at):
    env = {k: v for k, v in os.environ.items() if k != "QT_LINUX_ACCESSIBILITY_ALWAYS_ON"}
    proc = start([binary, page], dict(env, QTWEBENGINE_DISABLE_SANDBOX="1"))
    marks = Marks(proc)
    try:
        ox, oy = window_origin()
        click_at(ox + at[0], oy + at[1])
        wait_for("the page", lambda: marks.after("page", 0), 30)
        time.sleep(3)
        return cpu_over(proc.pid, IDLE_S)
    finally:
        stop(proc)


def catalog_pages(appdir):
    out = subprocess.run([os.path.join(appdir, "channel-catalog"), "list"], capture_output=True, text=True).stdout
    pages = {}
    for line in out.splitlines():
        f = line.split("\t")
        if len(f) > 4 and f[0] == "main" and f[3] == "MainView" and f[2] not in pages:
            pages[f[2]] = os.path.join(appdir, f[4].replace("\\", "/"))
    return [pages[c] for c in CHANNELS]


def fmt(values, unit, digits=0):
    if not values:
        return "n/a"
    return f"{statistics.median(values):.{digits}f} {unit} ({min(values):.{digits}f}..{max(values):.{digits}f})"


def main():
    appdir, switcher, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    pages = catalog_pages(appdir)
    work = tempfile.mkdtemp(prefix="zelmo-bench-resp-")
    z, zgl, s, idle, loads = [], [], [], {}, []
    prog, prog_env = [os.path.join(appdir, "zelmo-player")], dict(os.environ, ZELMO_BENCH="1")
    # Without a graphics device the program draws in software, while the switcher keeps Qt's
    # default (OpenGL, emulated on the CPU): the program made to draw as it does, for comparison.
    prog_gl_env = dict(prog_env, QSG_RHI_BACKEND="opengl")
    base, base_env = [switcher, *pages], dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1")
    names = [os.path.splitext(os.path.basename(p))[0] for p in pages]
    try:
        prog_at = offsets(prog, prog_env, "Zelmo Player", CHANNELS, cwd=work, category="Спорт")
        base_at = offsets(base, base_env, "One View Switcher", names)
        for i in range(runs):  # interleaved, so both see the same machine
            loads.append(float(open("/proc/loadavg").read().split()[0]))
            z += clicks(prog, prog_env, prog_at, CHANNELS, cwd=work, category="Спорт")
            zgl += clicks(prog, prog_gl_env, prog_at, CHANNELS, cwd=work, category="Спорт")
            s += clicks(base, base_env, base_at, names)
            for k, v in {**program_idle(appdir, work, False), **program_idle(appdir, work, True)}.items():
                idle.setdefault(k, []).append(v)
            idle.setdefault("one-view shown", []).append(switcher_idle(switcher, pages[1], base_at[names[0]]))
            print(f"run {i + 1}/{runs} done", file=sys.stderr)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"Under Xvfb with a window manager, {runs} fresh starts each, median (min..max); "
          f"load average {min(loads):.1f}..{max(loads):.1f}")
    print("| | zelmo-player | zelmo-player, OpenGL | one-view switcher | ratio, ratio OpenGL (bound 1.0x) |")
    print("|---|---|---|---|---|")
    # The first click of a start is shown apart: the program's view is on its remote start page, so
    # the first local page needs a renderer of its own, while the switcher's blank view has one.
    per_start = len(CHANNELS)
    for label, pick in (("all", lambda i: True), ("first of a start", lambda i: i % per_start == 0),
                        ("later", lambda i: i % per_start != 0)):
        zz, gg, ss = ([v for i, v in enumerate(x) if pick(i)] for x in (z, zgl, s))
        ratios = [statistics.median(x) / statistics.median(ss) for x in (zz, gg)]
        print(f"| channel click -> page finished, {label} ({len(zz)} clicks) | {fmt(zz, 'ms')} | {fmt(gg, 'ms')} | "
              f"{fmt(ss, 'ms')} | " + ", ".join(f"{r:.2f}x ({'holds' if r <= 1.0 else 'missed'})" for r in ratios) + " |")
    base = statistics.median(idle["one-view shown"])
    for key in ("shown", "minimised", "tray"):
        print(f"| idle CPU, window {key} ({IDLE_S:.0f} s) | {fmt(idle[key], '%', 2)} | – | {base:.2f} % (shown) | ~0 % |")


main()
