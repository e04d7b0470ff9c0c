#!/usr/bin/python3
"""Start-up figures of the program beside two baselines, measured in the same run, offscreen.

For each program: time from process start to the main window shown, time to the first local
channel page finished in the main view, and PSS of the whole process tree once started and once
the page is there (each after a 1 s settle). Median of N runs, with min..max."""
import argparse
import os
import select
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from proctree import pss_kib, tree  # noqa: E402


def pss_mb(pid):
    pids = tree(pid)
    return pss_kib(pids) / 1024.0, len(pids)


def run_once(cmd, env, stop_at, timeout):
    """Runs cmd until marker `stop_at` ("shown" or "page"), then measures PSS after a 1 s settle."""
    t0 = time.monotonic_ns()
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    marks, buf, result = {}, b"", {}
    deadline = time.monotonic() + timeout
    settle_until = None
    try:
        # Reads marks until stop_at, then 1 s more (the settle), so that a window re-created after
        # its first paint is seen: "shown" then counts from the replacement's paint.
        while time.monotonic() < (settle_until or deadline):
            r, _, _ = select.select([proc.stdout], [], [], 0.05)
            if r:
                chunk = os.read(proc.stdout.fileno(), 4096)
                if not chunk:
                    break
                buf += chunk
                while b"\n" in buf:
                    line, buf = buf.split(b"\n", 1)
                    parts = line.decode(errors="replace").split()
                    if len(parts) == 3 and parts[0] == "ZELMO_BENCH":
                        marks[parts[1]] = (int(parts[2]) - t0) / 1e6
                        if parts[1] == "recreated":
                            result["recreated"] = result.get("recreated", 0) + 1
            if settle_until is None and stop_at in marks:
                settle_until = time.monotonic() + 1.0
        if stop_at in marks:
            result["pss"], result["procs"] = pss_mb(proc.pid)
    finally:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()
    result.update(marks)
    return result


def fmt(values, unit):
    values = [v for v in values if v is not None]
    if not values:
        return "n/a"
    med = statistics.median(values)
    return f"{med:.0f} {unit} ({min(values):.0f}..{max(values):.0f})"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--timeout", type=float, default=30)
    ap.add_argument("--channel", default="ОРТ")
    ap.add_argument("--page", default="channel/public/ort.htm")
    ap.add_argument("--xvfb", action="store_true", help="under the X server in DISPLAY, not offscreen")
    a = ap.parse_args()

    appdir = os.path.abspath(os.path.join(a.build, "AppDir"))
    bench = os.path.abspath(os.path.join(a.build, "bench"))
    if a.xvfb:
        env = {k: v for k, v in os.environ.items() if k != "QT_QPA_PLATFORM"}
    else:
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        env.update(QT_QPA_PLATFORM="offscreen")
    env.update(ZELMO_BENCH="1", QT_LOGGING_RULES="qt.webenginecontext.info=false")
    # Chromium resolves no host names: the program's remote start page must not wait on a resolver.
    env["QTWEBENGINE_CHROMIUM_FLAGS"] = '--host-resolver-rules="MAP * ~NOTFOUND"'
    env.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp(prefix="zelmo-bench-xdg-"))
    os.chmod(env["XDG_RUNTIME_DIR"], 0o700)
    base_env = dict(env, QTWEBENGINE_DISABLE_SANDBOX="1")  # the program sets this itself as root
    prog_env = dict(env, ZELMO_BENCH_CHANNEL=a.channel)

    programs = {
        "zelmo-player": ([os.path.join(appdir, "zelmo-player")], prog_env, True),
        "bare Qt + WebEngine libs": ([os.path.join(bench, "bench_bare_windows")], base_env, False),
        "one web view": ([os.path.join(bench, "bench_one_webview"), os.path.join(appdir, a.page)], base_env, True),
    }
    if a.xvfb:
        # Without a graphics device the program draws in software; the baselines keep Qt's default
        # (OpenGL, emulated on the CPU). The program made to draw as they do, for comparison:
        programs["zelmo-player, OpenGL"] = ([os.path.join(appdir, "zelmo-player")],
                                            dict(prog_env, QSG_RHI_BACKEND="opengl"), True)
    rows = {name: {"shown": [], "page": [], "shown_pss": [], "page_pss": [], "procs_shown": [], "procs_page": [],
                   "recreated": [], "steps": []} for name in programs}
    for i in range(a.runs):
        for name, (cmd, e, has_page) in programs.items():
            started = run_once(cmd, e, "shown", a.timeout)
            rows[name]["shown"].append(started.get("shown"))
            rows[name]["shown_pss"].append(started.get("pss"))
            rows[name]["procs_shown"].append(started.get("procs"))
            rows[name]["recreated"].append(started.get("recreated"))
            if not has_page:
                rows[name]["steps"].append(started)
            if has_page:
                paged = run_once(cmd, e, "page", a.timeout)
                rows[name]["steps"].append(paged)
                rows[name]["page"].append(paged.get("page"))
                rows[name]["page_pss"].append(paged.get("pss"))
                rows[name]["procs_page"].append(paged.get("procs"))
        print(f"run {i + 1}/{a.runs} done", file=sys.stderr)

    names = list(programs)
    where = "Under Xvfb" if a.xvfb else "Offscreen"
    print(f"{where}, median of {a.runs} runs (min..max); channel {a.channel!r}; "
          f"load {open('/proc/loadavg').read().split()[:3]}")
    print(f"{'':34}" + "".join(f"{n:>26}" for n in names))
    for label, key, unit in [("start -> main window shown", "shown", "ms"),
                             ("start -> first local page done", "page", "ms"),
                             ("PSS, started (+1 s)", "shown_pss", "MB"),
                             ("PSS, after one page (+1 s)", "page_pss", "MB"),
                             ("processes, started", "procs_shown", ""),
                             ("processes, after one page", "procs_page", "")]:
        print(f"{label:34}" + "".join(f"{fmt(rows[n][key], unit):>26}" for n in names))
    # Where the time goes: each program's marks in the order they came, median ms from process start.
    for n in names:
        runs = rows[n]["steps"] or []
        keys = sorted({k for r in runs for k, v in r.items() if isinstance(v, float) and k not in ("pss",)},
                      key=lambda k: statistics.median([r[k] for r in runs if k in r]))
        if keys:
            print(f"steps, {n}: " + ", ".join(
                f"{k.removeprefix('step-')} {statistics.median([r[k] for r in runs if k in r]):.0f}" for k in keys))
    recreated = sum(r or 0 for n in names for r in rows[n]["recreated"])
    print(f"main window re-created after its first paint: {recreated} times")
    med = {n: {k: statistics.median([v for v in rows[n][k] if v is not None] or [0]) for k in ("shown", "page")}
           for n in names}
    if med["bare Qt + WebEngine libs"]["shown"] and med["one web view"]["page"]:
        for n in [n for n in names if n.startswith("zelmo-player")]:
            print(f"ratios ({n}): shown {med[n]['shown'] / med['bare Qt + WebEngine libs']['shown']:.2f}x the bare "
                  f"program (bound 1.3x); first local page {med[n]['page'] / med['one web view']['page']:.2f}x "
                  f"the one-view program (bound 1.1x)")


if __name__ == "__main__":
    main()
