#!/usr/bin/python3
"""Memory that comes back: the program with secondary web windows open, then 30 s after they closed,
beside the one-view program (one window, one local page), both under Xvfb.

The program shows a channel (Sport, first slot), opens the programme window and the settings
window (each with a web view) by X clicks, then both are closed the way a window manager closes
them (WM_DELETE_WINDOW). Figures: RSS and PSS summed over the whole process tree, and how many
renderer processes run. Usage: windows.py APPDIR ONE_VIEW_BINARY RUNS   (DISPLAY set)"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from proctree import pss_kib, tree  # noqa: E402

CLOSE = os.path.join(HERE, "..", "..", "tests", "e2e", "close_window.py")
SETTLE_S = float(os.environ.get("BENCH_SETTLE_SECONDS", "30"))


def figures(pid):
    pids = tree(pid)
    rss, renderers = 0, 0
    for p in pids:
        try:
            with open(f"/proc/{p}/status") as f:
                rss += next(int(l.split()[1]) for l in f if l.startswith("VmRSS:"))
            with open(f"/proc/{p}/cmdline", "rb") as f:
                renderers += b"--type=renderer" in f.read().split(b"\0")
        except (OSError, StopIteration):
            pass
    # Zygote-forked renderers keep the zygote's command line: "renderers" undercounts; "procs" is exact.
    return {"rss": rss / 1024, "pss": pss_kib(pids) / 1024, "renderers": renderers, "procs": len(pids)}


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def geometry(win):
    info = {}
    for line in subprocess.run(["xdotool", "getwindowgeometry", "--shell", win], capture_output=True,
                               text=True).stdout.splitlines():
        k, _, v = line.partition("=")
        info[k] = int(v) if v.isdigit() else v
    return info


def wait_for(fn, timeout=60):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        v = fn()
        if v:
            return v
        time.sleep(0.1)
    return None


def program(appdir, work):
    app = os.path.join(work, "AppDir")
    if not os.path.isdir(app):
        shutil.copytree(appdir, app, symlinks=True)
    proc = subprocess.Popen([os.path.join(app, "zelmo-player")], cwd=work, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True,
                            env=dict(os.environ, QT_LOGGING_RULES="qt.webenginecontext.info=false"))
    try:
        main = wait_for(lambda: xdo("search", "--onlyvisible", "--name", "^Zelmo Player$"))[0]
        g = geometry(main)
        x0, y0 = g["X"], g["Y"]
        time.sleep(3)
        xdo("mousemove", str(x0 + 448), str(y0 + 18), "click", "1")  # category "Sport"
        time.sleep(1)
        xdo("mousemove", str(x0 + 637), str(y0 + 60), "click", "1")  # its first channel
        time.sleep(3)
        out = {"main only": figures(proc.pid)}
        before = set(xdo("search", "--onlyvisible", "--class", "zelmo"))
        xdo("mousemove", str(x0 + 695), str(y0 + 515), "click", "1")  # programme window
        time.sleep(3)
        xdo("mousemove", str(x0 + 70), str(y0 + 515), "click", "1")  # settings window
        time.sleep(5)
        opened = [w for w in xdo("search", "--onlyvisible", "--class", "zelmo") if w not in before]
        out["windows open"] = figures(proc.pid)
        out["windows open"]["windows"] = len(opened)
        for w in reversed(opened):  # the modal settings window first
            subprocess.run(["/usr/bin/python3", CLOSE, w], capture_output=True)
            time.sleep(1)
        time.sleep(SETTLE_S)
        out[f"{SETTLE_S:.0f} s after closing"] = figures(proc.pid)
        return out
    finally:
        try:
            os.killpg(proc.pid, 9)
        except ProcessLookupError:
            pass
        proc.wait()


def one_view(binary, page):
    env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", QT_LOGGING_RULES="qt.webenginecontext.info=false")
    proc = subprocess.Popen([binary, page], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env,
                            start_new_session=True)
    try:
        for line in proc.stdout:
            if line.startswith(b"ZELMO_BENCH page"):
                break
        time.sleep(3)
        return figures(proc.pid)
    finally:
        os.killpg(proc.pid, 9)
        proc.wait()


def main():
    appdir, binary, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    page = os.path.join(appdir, "channel", "sport", "sport-1.htm")
    if not os.path.exists(page):
        page = os.path.join(appdir, "channel", "public", "ort.htm")
    work = tempfile.mkdtemp(prefix="zelmo-bench-mem-")
    rows = {}
    try:
        for i in range(runs):
            for k, v in program(appdir, work).items():
                rows.setdefault(k, []).append(v)
            rows.setdefault("one-view program", []).append(one_view(binary, page))
            print(f"run {i + 1}/{runs} done", file=sys.stderr)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    base = statistics.median(r["rss"] for r in rows["one-view program"])
    print(f"Under Xvfb, median of {runs}; process tree; load {open('/proc/loadavg').read().split()[:3]}")
    for name, rs in rows.items():
        med = {k: statistics.median(r[k] for r in rs) for k in ("rss", "pss", "renderers", "procs")}
        print(f"  {name:22} RSS {med['rss']:5.0f} MB ({med['rss'] / base:.2f}x one view)  PSS {med['pss']:5.0f} MB"
              f"  renderers {med['renderers']:.0f}  processes {med['procs']:.0f}")
    print("  bound: 30 s after the last secondary window closed, RSS <= 1.2x the one-view program, "
          "renderers back to the main window's")


main()
