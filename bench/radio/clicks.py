#!/usr/bin/python3
"""Click -> sound in the program a user runs, beside mpv fed the same URLs over its IPC socket.

The program runs under Xvfb with two stations of its own (My Radio); a station is started by an
X click on its button, as a user would, and the time is taken from the click to the first loud
10 ms on the PulseAudio null sink's monitor. The button is pressed through XTEST from this process
and timed from its release (a button acts on release): the start-up of a helper program such as
xdotool (~0.1 s on a busy machine) is no part of the player's reaction. The two stations carry
sound on one channel each (left, right), so a switch is heard the moment the new station plays.
mpv runs idle and gets "loadfile" on its socket at the same moments. Each run is a fresh start of
both players:
  first   the first station after start, 3 s after the window showed (a user looking first)
  switch  the other station, while the first plays
  again   back to the first one, while the other plays
With BASE_APPDIR (another build of the program, e.g. the main branch) it runs too, interleaved.
Usage: clicks.py APPDIR LEFT_URL RIGHT_URL RUNS [BASE_APPDIR]   (DISPLAY, PULSE_SERVER set; mpv optional)"""
import ctypes
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from proctree import cpu_ticks, pss_kib, rss_kib, tree  # noqa: E402
from sinkmonitor import Monitor  # noqa: E402

IDLE_S = 3.0
PLAY_S = float(os.environ.get("BENCH_PLAY_SECONDS", "15"))
TICK = os.sysconf("SC_CLK_TCK")


def playing_load(pid):
    """CPU (% of one core) of the process tree over PLAY_S while it plays, its PSS and RSS (MB)."""
    t0, c0 = time.monotonic(), cpu_ticks(tree(pid))
    time.sleep(PLAY_S)
    pids = tree(pid)
    cpu = 100.0 * (cpu_ticks(pids) - c0) / TICK / (time.monotonic() - t0)
    return {"cpu": cpu, "pss": pss_kib(pids) / 1024, "rss": rss_kib(pids) / 1024}


class Pointer:
    """Presses the left button at a screen position through XTEST, without starting a process."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.x11.XOpenDisplay(None)
        if not self.dpy:
            raise OSError("no X display")

    def press(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
        self.x11.XSync(self.dpy, 0)
        time.sleep(0.05)

    def release(self):
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 0, 0)
        self.x11.XSync(self.dpy, 0)


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def geometry(win):
    info = {}
    for line in subprocess.run(["xdotool", "getwindowgeometry", "--shell", win], capture_output=True,
                               text=True).stdout.splitlines():
        k, _, v = line.partition("=")
        info[k] = int(v) if v.lstrip("-").isdigit() else v
    return info


def wait_for(fn, timeout=60):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        v = fn()
        if v:
            return v
        time.sleep(0.05)
    return None


def timed(mon, channel, action, before=None):
    if before:
        before()
    t0 = time.monotonic()
    action()
    t = mon.first(t0, channel)
    return None if t is None else (t - t0) * 1000


def program_run(mon, appdir, left, right, work, measure_load):
    app = os.path.join(work, "AppDir")
    if not os.path.isdir(app):
        shutil.copytree(appdir, app, symlinks=True)
    with open(os.path.join(app, "Setting.ini"), "w") as f:
        f.write(f"[MyRadio]\nMyRNa=Left\nMyRNb=Right\nMyRa={left}\nMyRb={right}\n")
    env = dict(os.environ, QT_LOGGING_RULES="qt.webenginecontext.info=false")
    proc = subprocess.Popen([os.path.join(app, "zelmo-player")], env=env, cwd=work, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        main = wait_for(lambda: xdo("search", "--onlyvisible", "--name", "^Zelmo Player$"))
        if not main:
            return {}
        time.sleep(IDLE_S)
        g = geometry(main[0])
        before = set(xdo("search", "--onlyvisible", "--class", "zelmo"))
        xdo("mousemove", str(g["X"] + 128), str(g["Y"] + 18), "click", "1")  # category "Радио" shows the strip
        time.sleep(1)
        # "Мое радио" in the radio strip: panel (5, 35) + strip (602, 365) + button (135, 5), 32 x 32.
        xdo("mousemove", str(g["X"] + 758), str(g["Y"] + 421), "click", "1")
        mine = wait_for(lambda: [w for w in xdo("search", "--onlyvisible", "--class", "zelmo") if w not in before
                                 and geometry(w).get("WIDTH") == 229], 20)
        if not mine:
            return {}
        m = geometry(mine[0])
        time.sleep(0.5)

        pointer = Pointer()

        def press(slot):  # station buttons at (15 + 66 * column, 8), 64 x 38
            return lambda: pointer.press(m["X"] + 15 + 66 * slot + 32, m["Y"] + 27)

        out = {"first": timed(mon, 0, pointer.release, press(0))}
        time.sleep(2)
        out["switch"] = timed(mon, 1, pointer.release, press(1))
        time.sleep(2)
        out["again"] = timed(mon, 0, pointer.release, press(0))
        if measure_load:
            out.update(playing_load(proc.pid))
        return out
    finally:
        try:
            os.killpg(proc.pid, 9)
        except ProcessLookupError:
            pass
        proc.wait()


def mpv_run(mon, left, right, work, measure_load):
    sock = os.path.join(work, "mpv.sock")
    proc = subprocess.Popen(["mpv", "--no-config", "--idle", "--no-video", "--really-quiet", "--ao=pulse",
                             f"--input-ipc-server={sock}"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for(lambda: os.path.exists(sock), 20):
            return {}
        time.sleep(IDLE_S)
        s = socket.socket(socket.AF_UNIX)
        s.connect(sock)

        def load(url):
            return lambda: s.sendall((json.dumps({"command": ["loadfile", url]}) + "\n").encode())

        out = {"first": timed(mon, 0, load(left))}
        time.sleep(2)
        out["switch"] = timed(mon, 1, load(right))
        time.sleep(2)
        out["again"] = timed(mon, 0, load(left))
        if measure_load:
            out.update(playing_load(proc.pid))
        s.close()
        return out
    finally:
        proc.kill()
        proc.wait()


def main():
    appdir, left, right, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    base = sys.argv[5] if len(sys.argv) > 5 else None
    have_mpv = shutil.which("mpv") is not None
    mon = Monitor()
    work = tempfile.mkdtemp(prefix="zelmo-bench-clicks-")
    results = {"zelmo-player": [], "baseline": [], "mpv": []}
    try:
        for i in range(runs):  # interleaved, so all see the same machine
            last = i == runs - 1
            mon.quiet()
            results["zelmo-player"].append(program_run(mon, appdir, left, right, work, last))
            if base:
                mon.quiet()
                results["baseline"].append(program_run(mon, base, left, right, os.path.join(work, "base"), last))
            if have_mpv:
                mon.quiet()
                results["mpv"].append(mpv_run(mon, left, right, work, last))
            print(f"run {i + 1}/{runs}: {results['zelmo-player'][-1]} baseline {results['baseline'][-1:]} "
                  f"mpv {results['mpv'][-1:]}", file=sys.stderr)
    finally:
        mon.close()
        shutil.rmtree(work, ignore_errors=True)

    def med(name, key):
        v = sorted(r[key] for r in results[name] if r.get(key) is not None)
        return (statistics.median(v), v[0], v[-1], len(v)) if v else None

    print(f"click -> sound (ms), median (min..max) of {runs} fresh starts; load {open('/proc/loadavg').read().split()[:3]}")
    for key, bound in (("first", 1.2), ("switch", 1.2), ("again", 1.2)):
        z, b, m = med("zelmo-player", key), med("baseline", key), med("mpv", key)

        def show(v):
            return f"{v[0]:.0f} ({v[1]:.0f}..{v[2]:.0f}, n={v[3]})" if v else "n/a"

        ratio = f"{z[0] / m[0]:.2f}x (bound {bound}x)" if z and m else ""
        if b and m:
            ratio += f", baseline {b[0] / m[0]:.2f}x"
        based = f" baseline {show(b):24}" if base else ""
        print(f"  {key:7} zelmo-player {show(z):24}{based} mpv {show(m):24} {ratio}")
    for name in ("zelmo-player", "baseline", "mpv"):
        r = (results[name] or [{}])[-1]
        if "cpu" in r:
            print(f"  playing {PLAY_S:.0f} s, {name}: CPU {r['cpu']:.1f} % of one core, process tree "
                  f"PSS {r['pss']:.0f} MB, RSS {r['rss']:.0f} MB")


main()
