"""The null sink's monitor read continuously, shared by the radio benchmarks: when each channel
was last loud (RMS of a 10 ms block above a threshold)."""
import math
import os
import struct
import subprocess
import threading
import time

SINK = os.environ.get("BENCH_SINK", "testsink")


class Monitor:
    """first(after, channel) is the first loud 10 ms after `after` (either channel by default);
    quiet() waits until nothing was loud for a while."""

    def __init__(self, threshold=0.02):
        self.threshold = threshold
        self.proc = subprocess.Popen(["parec", "--raw", f"--device={SINK}.monitor", "--format=s16le",
                                      "--rate=44100", "--channels=2", "--latency-msec=10"],
                                     stdout=subprocess.PIPE)
        self.loud = {0: [], 1: []}
        self.lock = threading.Lock()
        threading.Thread(target=self.run, daemon=True).start()
        time.sleep(0.5)

    def run(self):
        block = 441 * 4  # 10 ms of stereo s16
        while True:
            data = self.proc.stdout.read(block)
            if not data:
                return
            now = time.monotonic()
            n = len(data) // 4
            frames = struct.unpack(f"<{n * 2}h", data[: n * 4])
            for ch in (0, 1):
                s = frames[ch::2]
                rms = math.sqrt(sum(v * v for v in s) / max(1, len(s))) / 32768
                if rms > self.threshold:
                    with self.lock:
                        self.loud[ch].append(now)
                        del self.loud[ch][:-100]

    def first(self, after, channel=None, timeout=15):
        channels = (0, 1) if channel is None else (channel,)
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            with self.lock:
                hits = sorted(t for ch in channels for t in self.loud[ch] if t > after)
            if hits:
                return hits[0]
            time.sleep(0.003)
        return None

    def quiet(self, seconds=0.5, timeout=10):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            with self.lock:
                last = max([0] + self.loud[0][-1:] + self.loud[1][-1:])
            if time.monotonic() - last > seconds:
                return
            time.sleep(0.05)

    def close(self):
        self.proc.kill()
        self.proc.wait()
