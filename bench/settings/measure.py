#!/usr/bin/python3
"""Time from process start to the main window shown, for Setting.ini files of three sizes.

Each program directory is copied to a temporary place and given the Setting.ini under test; the
program prints "ZELMO_BENCH shown <ns>" (ZELMO_BENCH=1). The big files hold the usual keys after a
large section of stored links, the shape of a file that grew by hand or by joining files.
Median of N runs with min..max; with --baseline, the same runs for another build beside it."""
import argparse
import os
import select
import shutil
import signal
import statistics
import subprocess
import tempfile
import time

NORMAL = """[Language]
useLanguage=Русский [Rus]
[Skin]
useSkin=Neutral (internal)
[Proxy]
useProxy=0
useIP=
usePort=
[OnTop]
useOnTop=0
[InTray]
useInTray=1
[SecretCode]
useSecretCode=759
SelectSecretCode=1
[Favorite]
fa=ОРТ
fb=НТВ
[MyRadio]
MyRNa1=Станция
MyRa1=http://127.0.0.1:9/live
"""


def setting_ini(size):
    if size == 0:
        return NORMAL.encode()
    line_no, chunks, total = 0, [b"[History]\n"], 0
    while total < size:
        line = "link%d=http://radio.example/stream/%d?from=history\n" % (line_no, line_no)
        chunks.append(line.encode())
        total += len(line)
        line_no += 1
    return b"".join(chunks) + NORMAL.encode()


def run_once(program, env, timeout):
    t0 = time.monotonic_ns()
    proc = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    buf, shown = b"", None
    deadline = time.monotonic() + timeout
    try:
        while shown is None and time.monotonic() < deadline:
            r, _, _ = select.select([proc.stdout], [], [], 0.2)
            if not r:
                continue
            chunk = os.read(proc.stdout.fileno(), 4096)
            if not chunk:
                break
            buf += chunk
            for line in buf.split(b"\n"):
                parts = line.decode(errors="replace").split()
                if len(parts) == 3 and parts[:2] == ["ZELMO_BENCH", "shown"]:
                    shown = (int(parts[2]) - t0) / 1e6
    finally:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()
    return shown


def measure(build, label, runs, timeout):
    env = dict(os.environ, ZELMO_BENCH="1", QT_QPA_PLATFORM="offscreen", QTWEBENGINE_DISABLE_SANDBOX="1")
    env.pop("DISPLAY", None)
    with tempfile.TemporaryDirectory() as tmp:
        appdir = os.path.join(tmp, "AppDir")
        shutil.copytree(os.path.join(build, "AppDir"), appdir, symlinks=True)
        for name, size in (("normal", 0), ("1 MB", 1 << 20), ("50 MB", 50 << 20)):
            ini = os.path.join(appdir, "Setting.ini")
            with open(ini, "wb") as f:
                f.write(setting_ini(size))
            # An old file, as at a real start: not one written a moment ago.
            old = time.time() - 3600
            os.utime(ini, (old, old))
            times = [run_once(os.path.join(appdir, "zelmo-player"), env, timeout) for _ in range(runs)]
            ok = [t for t in times if t is not None]
            if ok:
                print("%-10s %-7s shown: median %8.0f ms  (%.0f..%.0f, %d/%d runs)"
                      % (label, name, statistics.median(ok), min(ok), max(ok), len(ok), runs), flush=True)
            else:
                print("%-10s %-7s shown: no window within %d s" % (label, name, timeout), flush=True)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--build", default="build")
    p.add_argument("--baseline", help="another build directory to measure beside this one")
    p.add_argument("--runs", type=int, default=3)
    p.add_argument("--timeout", type=int, default=180)
    a = p.parse_args()
    if a.baseline:
        measure(a.baseline, "baseline", a.runs, a.timeout)
    measure(a.build, "this", a.runs, a.timeout)


if __name__ == "__main__":
    main()
