#!/usr/bin/env python3
"""Runs a player command and measures, from the null sink's monitor and /proc:
first-sound latency (process start to first non-silent audio), CPU and PSS over a window.

measure.py latency REPEATS -- CMD...     -> median/min/max ms to first sound
measure.py load SECONDS -- CMD...        -> CPU % of one core and PSS MiB (mean, max) of the process
                                            tree over SECONDS, counted from its first sound
"""
import os, signal, subprocess, sys, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from proctree import cpu_ticks, pss_kib, tree  # noqa: E402
from sinkmonitor import Monitor  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")


def stop(proc):
    if proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def main():
    mode, arg = sys.argv[1], sys.argv[2]
    cmd = sys.argv[sys.argv.index("--") + 1:]
    mon = Monitor(threshold=0.01)
    try:
        if mode == "latency":
            times = []
            for _ in range(int(arg)):
                mon.quiet()
                t0 = time.monotonic()
                proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                t = mon.first(t0)
                stop(proc)
                times.append(None if t is None else (t - t0) * 1000)
            ok = sorted(x for x in times if x is not None)
            if not ok:
                print("latency_ms none")
            else:
                print(f"latency_ms median={ok[len(ok) // 2]:.0f} min={ok[0]:.0f} max={ok[-1]:.0f} n={len(ok)}/{len(times)}")
        else:
            seconds = float(arg)
            mon.quiet()
            t0 = time.monotonic()
            proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if mon.first(t0) is None:
                print("load no-sound")
                stop(proc)
                return
            ticks0 = cpu_ticks(tree(proc.pid))
            start = time.monotonic()
            samples = []
            while time.monotonic() - start < seconds and proc.poll() is None:
                time.sleep(1)
                samples.append(pss_kib(tree(proc.pid)))
            pids = tree(proc.pid)
            ticks = cpu_ticks(pids) - ticks0
            elapsed = time.monotonic() - start
            stop(proc)
            cpu = 100.0 * ticks / TICK / elapsed
            print(f"cpu_pct={cpu:.1f} pss_mib_mean={sum(samples) / len(samples) / 1024:.1f} "
                  f"pss_mib_max={max(samples) / 1024:.1f} procs={len(pids)}")
    finally:
        mon.close()


main()
