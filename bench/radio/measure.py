#!/usr/bin/env python3
"""Runs a player command and measures, from the null sink's monitor and /proc:
first-sound latency (process start to first non-silent audio), CPU and PSS over a window.

measure.py latency REPEATS -- CMD...     -> median/min/max ms to first sound
measure.py load SECONDS -- CMD...        -> CPU % of one core and PSS MiB (mean, max) of the process
                                            tree over SECONDS, counted from its first sound
"""
import math, os, signal, struct, subprocess, sys, threading, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from proctree import cpu_ticks, pss_kib, tree  # noqa: E402

SINK = os.environ.get("BENCH_SINK", "testsink")
TICK = os.sysconf("SC_CLK_TCK")


class Monitor:
    """Reads the monitor continuously; first_sound(after) gives the time of the first loud 10 ms."""

    def __init__(self):
        self.proc = subprocess.Popen(
            ["parec", "--raw", f"--device={SINK}.monitor", "--format=s16le", "--rate=44100",
             "--channels=2", "--latency-msec=10"], stdout=subprocess.PIPE)
        self.loud_at = []
        self.lock = threading.Lock()
        threading.Thread(target=self.run, daemon=True).start()
        time.sleep(0.5)

    def run(self):
        block = 441 * 4  # 10 ms
        while True:
            data = self.proc.stdout.read(block)
            if not data:
                return
            now = time.monotonic()
            n = len(data) // 2
            samples = struct.unpack(f"<{n}h", data[: n * 2])
            rms = math.sqrt(sum(s * s for s in samples) / max(1, n)) / 32768
            if rms > 0.01:
                with self.lock:
                    self.loud_at.append(now)
                    del self.loud_at[:-50]

    def first_sound_after(self, t0, timeout=15):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            with self.lock:
                hits = [t for t in self.loud_at if t > t0]
            if hits:
                return hits[0]
            time.sleep(0.005)
        return None

    def wait_silence(self, seconds=0.5, timeout=10):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            with self.lock:
                last = self.loud_at[-1] if self.loud_at else 0
            if time.monotonic() - last > seconds:
                return
            time.sleep(0.05)

    def close(self):
        self.proc.kill()
        self.proc.wait()


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
    mon = Monitor()
    try:
        if mode == "latency":
            times = []
            for _ in range(int(arg)):
                mon.wait_silence()
                t0 = time.monotonic()
                proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                t = mon.first_sound_after(t0)
                stop(proc)
                times.append(None if t is None else (t - t0) * 1000)
            ok = sorted(x for x in times if x is not None)
            if not ok:
                print("latency_ms none")
            else:
                print(f"latency_ms median={ok[len(ok) // 2]:.0f} min={ok[0]:.0f} max={ok[-1]:.0f} n={len(ok)}/{len(times)}")
        else:
            seconds = float(arg)
            mon.wait_silence()
            t0 = time.monotonic()
            proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if mon.first_sound_after(t0) is None:
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
