#!/usr/bin/env python3
"""mpv switching between two streams COUNT times through its IPC socket, printing its resident
memory, open descriptors and anonymous memory in the same lines as bench_stream_switches.
Usage: mpv_switches.py tv|radio URL1 URL2 COUNT
"""
import json
import os
import socket
import subprocess
import sys
import tempfile
import time

PLAY_WAIT_S = 20
SETTLE_S = 1.0
OFF_SETTLE_S = 3.0


def status_kb(pid, field):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return -1


def fds(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))


def main():
    kind, urls, count = sys.argv[1], sys.argv[2:4], int(sys.argv[4])
    work = tempfile.mkdtemp()
    path = os.path.join(work, "mpv.sock")
    args = ["mpv", "--idle=yes", "--no-config", "--no-terminal", "--ao=pulse", f"--input-ipc-server={path}"]
    args += ["--vo=null"] if kind == "tv" else ["--no-video"]
    mpv = subprocess.Popen(args, stdin=subprocess.DEVNULL)
    try:
        # The socket's file appears a moment before mpv listens on it.
        sock = socket.socket(socket.AF_UNIX)
        for attempt in range(200):
            try:
                sock.connect(path)
                break
            except (FileNotFoundError, ConnectionRefusedError):
                if attempt == 199:
                    raise
                time.sleep(0.05)
        sock.settimeout(0.2)
        buf = b""

        def send(*command):
            sock.sendall(json.dumps({"command": list(command)}).encode() + b"\n")

        def wait_event(name, timeout):
            nonlocal buf
            end = time.monotonic() + timeout
            while time.monotonic() < end:
                while b"\n" in buf:
                    line, buf = buf.split(b"\n", 1)
                    if json.loads(line).get("event") == name:
                        return True
                try:
                    buf += sock.recv(65536)
                except socket.timeout:
                    pass
            return False

        def report(what, n):
            print(what, n, status_kb(mpv.pid, "VmRSS"), fds(mpv.pid), status_kb(mpv.pid, "RssAnon"), flush=True)

        time.sleep(0.5)
        report("BEFORE", 0)
        for i in range(1, count + 1):
            send("loadfile", urls[i % 2], "replace")
            if not wait_event("playback-restart", PLAY_WAIT_S):
                print(f"switch {i}: not playing", file=sys.stderr)
            time.sleep(SETTLE_S)
            report("SWITCH", i)
        send("stop")
        time.sleep(OFF_SETTLE_S)
        report("OFF", count)
        send("quit")
    finally:
        try:
            mpv.wait(5)
        except subprocess.TimeoutExpired:
            mpv.kill()
            mpv.wait()


if __name__ == "__main__":
    main()
