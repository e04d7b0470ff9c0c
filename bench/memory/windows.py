#!/usr/bin/python3
"""Memory that comes back: the program with every window that can hold a web view open, then 30 s
after they all closed, beside the one-view program (one window, one local page), both under
bench/xsession.sh.

The program shows a channel page (Спорт, first slot), then opens by clicks: the programme window,
Ovego (Научные / National Gegraphic), Korbina (Зарубежные / Разные / Юмор ТВ), the favourites window
and from it Browser2 (a favourite "ОРТ 2" written into Setting.ini) and the settings window (modal,
last); My Radio (no web view, modal) is opened and closed once before them. All are then closed the way a window manager closes them
(WM_DELETE_WINDOW). Figures: RSS and PSS summed over the whole process tree, renderer processes,
all processes. With BASELINE_APPDIR (another build of the program, e.g. main before a change), that
build runs too, interleaved with the others in every run, and its rows are marked "baseline".
Usage: windows.py APPDIR ONE_VIEW_BINARY RUNS [BASELINE_APPDIR]   (under bench/xsession.sh)"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from proctree import pss_kib, renderers, rss_kib, tree  # noqa: E402
from xwin import MAIN, TOOL, accessible_window, click, close, press, shown, viewable, wait_for  # noqa: E402

SETTLE_S = float(os.environ.get("BENCH_SETTLE_SECONDS", "30"))
LOAD_S = 3.0  # a page (or its error page) is there well within this, even on a busy machine


def figures(pid):
    pids = tree(pid)
    return {"rss": rss_kib(pids) / 1024, "main": rss_kib([pid]) / 1024, "pss": pss_kib(pids) / 1024,
            "renderers": renderers(pids), "procs": len(pids)}


def program(appdir, work):
    app = os.path.join(work, "AppDir")
    shutil.rmtree(app, ignore_errors=True)
    shutil.copytree(appdir, app, symlinks=True)
    with open(os.path.join(app, "Setting.ini"), "w", encoding="utf-8") as f:
        f.write("[Favorite]\nfa=ОРТ 2\n")  # a favourite that opens Browser2
    proc = subprocess.Popen([os.path.join(app, "zelmo-player")], cwd=work, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        main = wait_for("the main window", lambda: shown(MAIN))
        time.sleep(LOAD_S)
        acc = accessible_window("Zelmo Player")
        press(acc, "Спорт")
        press(acc, "Россия 2")
        time.sleep(LOAD_S)
        out = {"main window only": figures(proc.pid)}
        # My Radio holds no web view and is modal: opened and closed once before the others.
        before = set(viewable())
        press(acc, "Радио")
        click(main, TOOL["My Radio"])
        my_radio = wait_for("the My Radio window", lambda: [x for x in viewable() if x not in before])
        time.sleep(1)
        for x in my_radio:
            close(x)
        wait_for("My Radio to close", lambda: not [x for x in viewable() if x in my_radio], 30)
        before = set(viewable())
        opened = []

        def expect_new(what):
            w = wait_for(what, lambda: [x for x in viewable() if x not in before and x not in opened])
            opened.extend(w)
            time.sleep(LOAD_S)
            for x in w:  # out of the way of the main window's buttons
                subprocess.run(["xdotool", "windowmove", str(x), "0", "800"], capture_output=True)

        click(main, TOOL["programme"])
        expect_new("the programme window")
        for caption in ("Научные", "National Gegraphic"):
            press(acc, caption)
        expect_new("the Ovego window")
        for caption in ("Зарубежные", "Разные", "Юмор ТВ"):
            press(acc, caption)
        expect_new("the Korbina window")
        press(acc, "Назад")
        click(main, TOOL["favourites"])
        expect_new("the favourites window")
        press_favourite()
        expect_new("the Browser2 window")
        click(main, TOOL["settings"])
        expect_new("the settings window")
        out["all windows open"] = figures(proc.pid)
        out["all windows open"]["windows"] = len(opened)
        for w in reversed(opened):  # the modal settings window first
            close(w)
            time.sleep(0.5)
        wait_for("every secondary window to close", lambda: not [x for x in viewable() if x in opened], 30)
        time.sleep(SETTLE_S)
        out[f"{SETTLE_S:.0f} s after closing"] = figures(proc.pid)
        return out
    finally:
        try:
            os.killpg(proc.pid, 9)
        except ProcessLookupError:
            pass
        proc.wait()


def press_favourite():
    # The favourites window's first slot holds "ОРТ 2"; its window has no title to find it by.
    import pyatspi
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Zelmo Player":
            for i in range(app.childCount):
                w = app.getChildAtIndex(i)
                if w is not None and w.getState().contains(pyatspi.STATE_SHOWING):
                    hit = pyatspi.findDescendant(w, lambda a: a.getRoleName() == "push button"
                                                 and a.name == "ОРТ 2")
                    if hit is not None:
                        hit.queryAction().doAction(0)
                        return
    raise RuntimeError("favourite 'ОРТ 2' not found")


def one_view(binary, page):
    env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1")
    proc = subprocess.Popen([binary, page], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env,
                            start_new_session=True)
    try:
        for line in proc.stdout:
            if line.startswith(b"ZELMO_BENCH page"):
                break
        time.sleep(LOAD_S)
        return figures(proc.pid)
    finally:
        os.killpg(proc.pid, 9)
        proc.wait()


def main():
    appdir, binary, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    baseline = sys.argv[4] if len(sys.argv) > 4 else None
    page = os.path.join(appdir, "channel", "sport", "sport-1.htm")
    if not os.path.exists(page):
        page = os.path.join(appdir, "channel", "public", "ort.htm")
    work = tempfile.mkdtemp(prefix="zelmo-bench-mem-")
    rows, loads = {}, []
    try:
        for i in range(runs):
            loads.append(float(open("/proc/loadavg").read().split()[0]))
            if baseline:
                for k, v in program(baseline, work).items():
                    rows.setdefault(f"baseline: {k}", []).append(v)
            for k, v in program(appdir, work).items():
                rows.setdefault(k, []).append(v)
            rows.setdefault("one-view program", []).append(one_view(binary, page))
            print(f"run {i + 1}/{runs} done", file=sys.stderr)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    base = statistics.median(r["rss"] for r in rows["one-view program"])
    print(f"Under Xvfb with a window manager, median of {runs}; whole process tree; "
          f"load average {min(loads):.1f}..{max(loads):.1f}")
    print("| | RSS | x one view | main process RSS | PSS | renderers | processes |")
    print("|---|---|---|---|---|---|---|")
    for name, rs in rows.items():
        med = {k: statistics.median(r[k] for r in rs) for k in ("rss", "main", "pss", "renderers", "procs")}
        extra = f" ({statistics.median(r['windows'] for r in rs):.0f} windows)" if "windows" in rs[0] else ""
        print(f"| {name}{extra} | {med['rss']:.0f} MB | {med['rss'] / base:.2f}x | {med['main']:.0f} MB "
              f"| {med['pss']:.0f} MB "
              f"| {med['renderers']:.0f} | {med['procs']:.0f} |")
    for prefix in (["baseline: "] if baseline else []) + [""]:
        after = statistics.median(r["rss"] for r in rows[f"{prefix}{SETTLE_S:.0f} s after closing"])
        left = statistics.median(r["renderers"] for r in rows[f"{prefix}{SETTLE_S:.0f} s after closing"])
        start = statistics.median(r["renderers"] for r in rows[f"{prefix}main window only"])
        print(f"{prefix}bound: RSS {SETTLE_S:.0f} s after the last close <= 1.2x the one-view program: "
              f"{after / base:.2f}x ({'holds' if after / base <= 1.2 else 'missed'}); renderers back to the "
              f"main window's ({left:.0f} vs {start:.0f}: {'holds' if left <= start else 'missed'})")


main()
