#!/usr/bin/env python3
"""Runs a video player command and measures it from outside:

measure.py first REPEATS REGEX -- CMD...  -> ms from process start to the first stdout line matching
                                             REGEX (median, min, max), plus the in-process figure
                                             when the line carries one ("FIRST_FRAME <ms>")
measure.py load SECONDS -- CMD...         -> CPU % of one core and PSS MiB (mean, max) of the process
                                             tree over SECONDS, after 3 s of warm-up, and the last
                                             "UI_MAX_GAP <ms>" line the command printed, if any
"""
import os, re, signal, statistics, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from proctree import cpu_ticks, pss_kib, tree  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")


def stop(proc):
    if proc.poll() is None:
        proc.send_signal(signal.SIGINT)
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def first(repeats, pattern, cmd):
    rx = re.compile(pattern)
    outside, inside = [], []
    for _ in range(repeats):
        t0 = time.monotonic()
        proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        for line in proc.stdout:
            if rx.search(line):
                outside.append((time.monotonic() - t0) * 1000)
                m = re.match(r"FIRST_FRAME ([\d.]+)", line)
                if m:
                    inside.append(float(m.group(1)))
                break
        stop(proc)
        time.sleep(0.5)
    if not outside:
        return "no picture"
    text = (f"median {statistics.median(outside):.0f} ms (min {min(outside):.0f}, max {max(outside):.0f}, "
            f"n={len(outside)}) from process start")
    if inside:
        text += f"; click to picture median {statistics.median(inside):.0f} ms"
    return text


def load(seconds, cmd):
    said = tempfile.TemporaryFile(mode="w+")
    proc = subprocess.Popen(cmd, stdout=said, stderr=subprocess.DEVNULL)
    time.sleep(3)
    pids = tree(proc.pid)
    c0, t0 = cpu_ticks(pids), time.monotonic()
    pss = []
    while time.monotonic() - t0 < seconds and proc.poll() is None:
        time.sleep(0.5)
        pids = tree(proc.pid)
        pss.append(pss_kib(pids) / 1024)
    cpu = 100 * (cpu_ticks(pids) - c0) / TICK / (time.monotonic() - t0)
    stop(proc)
    if not pss:
        return "ended early"
    text = f"cpu_pct={cpu:.1f} pss_mib_mean={statistics.mean(pss):.0f} pss_mib_max={max(pss):.0f}"
    # The program's own figure of how long its UI thread was held, if it prints one.
    said.seek(0)
    gaps = [line.split()[1] for line in said if line.startswith("UI_MAX_GAP ")]
    if gaps:
        text += f" ui_thread_max_gap_ms={gaps[-1]}"
    return text


if __name__ == "__main__":
    mode = sys.argv[1]
    sep = sys.argv.index("--")
    cmd = sys.argv[sep + 1:]
    if mode == "first":
        print(first(int(sys.argv[2]), sys.argv[3], cmd))
    else:
        print(load(float(sys.argv[2]), cmd))
