#!/usr/bin/env python3
"""Loopback HTTP server for the TV tests and benchmark.

Serves the files of one directory: HLS playlists and segments whole, with a length. Query options:
?rate=N paces the body at N bytes a second and sends no length (a live MPEG-TS channel);
?stall=N sends the first N bytes of the body and then nothing, holding the connection.
Special paths: /hang accepts and never answers; /status/N answers with that status.
/sliding/NAME.m3u8 is the VOD playlist NAME.m3u8 as a live channel: a sliding window of three of its
segments that moves on in real time and starts over at the end (a master playlist is served as is).
/need/RULE/.../PATH answers 403 unless the request carries what each RULE asks for, then serves
PATH (relative addresses in playlists keep the prefix): ua=VALUE (the User-Agent), referer=VALUE,
h=NAME:VALUE (any header); values are percent-encoded.
Lines on stdin: "down" makes the server go silent (streams being sent pause, new requests get no
answer), "up" brings it back (paused streams and unanswered requests are dropped, as by a restart).
Prints "PORT <n>" once listening on 127.0.0.1, then one "GET <path> <user agent>" line per request
and one "DENY <path> <header>,..." line per request refused for lacking headers.
"""
import os
import re
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, unquote, urlparse

TYPES = {".m3u8": "application/vnd.apple.mpegurl", ".ts": "video/mp2t", ".mpd": "application/dash+xml",
         ".m4s": "video/iso.segment", ".mp4": "video/mp4"}
ROOT = sys.argv[1]
STOP = threading.Event()
LOCK = threading.Lock()
STARTED = time.monotonic()
UP = threading.Event()
UP.set()
EPOCH = [0]  # counts outages; a stream that sees it change was cut by a restart


def read_commands():
    for line in sys.stdin:
        word = line.strip()
        if word == "down":
            with LOCK:
                EPOCH[0] += 1
            UP.clear()
        elif word == "up":
            UP.set()


def live_playlist(name):
    with open(os.path.join(ROOT, name), encoding="utf-8") as f:
        lines = f.read().splitlines()
    segments = []
    duration = 0.0
    for line in lines:
        if line.startswith("#EXTINF:"):
            duration = float(line[8:].split(",")[0])
        elif line and not line.startswith("#"):
            segments.append((duration, line))
    if not duration:  # a master playlist: its variants go live themselves
        return ("\n".join(lines) + "\n").encode()
    target = max(d for d, _ in segments)
    sequence = int((time.monotonic() - STARTED) / target)
    out = ["#EXTM3U", "#EXT-X-VERSION:3", "#EXT-X-TARGETDURATION:%d" % round(target + 0.5),
           "#EXT-X-MEDIA-SEQUENCE:%d" % sequence]
    for n in range(sequence, sequence + 3):
        if n % len(segments) == 0 and n != sequence:
            out.append("#EXT-X-DISCONTINUITY")
        d, uri = segments[n % len(segments)]
        out += ["#EXTINF:%.6f," % d, uri]
    return ("\n".join(out) + "\n").encode()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def refused(self, path):
        """What /need/ rules at the start of path ask for and the request lacks; and the rest."""
        lacking = []
        parts = path.lstrip("/").split("/")
        if not parts or parts[0] != "need":
            return lacking, unquote(path)
        parts = parts[1:]
        while parts and re.match(r"^(ua|referer|h)=", parts[0]):
            kind, value = parts.pop(0).split("=", 1)
            value = unquote(value)
            if kind == "h":
                name, value = value.split(":", 1)
            else:
                name = {"ua": "User-Agent", "referer": "Referer"}[kind]
            if self.headers.get(name, "") != value:
                lacking.append(name)
        return lacking, unquote("/" + "/".join(parts))

    def do_GET(self):
        with LOCK:
            print("GET", self.path, self.headers.get("User-Agent", ""), flush=True)
            if os.environ.get("VIDEO_SERVER_HEADERS"):
                print("HEADERS", dict(self.headers), flush=True)
            epoch = EPOCH[0]
        if not UP.is_set():
            UP.wait(120)
            return
        url = urlparse(self.path)
        query = parse_qs(url.query)
        lacking, path = self.refused(url.path)
        if lacking:
            with LOCK:
                print("DENY", self.path, ",".join(lacking), flush=True)
            self.send_error(403, "missing " + ", ".join(lacking))
            return
        if path == "/hang":
            STOP.wait(120)
            return
        if path.startswith("/status/"):
            self.send_error(int(path.split("/")[2]))
            return
        if path.startswith("/sliding/") and path.endswith(".m3u8"):
            name = path[len("/sliding/"):]
            if not os.path.isfile(os.path.join(ROOT, name)):
                self.send_error(404)
                return
            data = live_playlist(name)
            self.send_response(200)
            self.send_header("Content-Type", TYPES[".m3u8"])
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)
            return
        if path.startswith("/sliding/"):
            path = path[len("/sliding"):]  # a live playlist's segments
        file = os.path.join(ROOT, path.lstrip("/"))
        if not os.path.isfile(file):
            self.send_error(404)
            return
        with open(file, "rb") as f:
            data = f.read()
        self.send_response(200)
        self.send_header("Content-Type", TYPES.get(os.path.splitext(file)[1], "application/octet-stream"))
        rate = int(query.get("rate", ["0"])[0])
        stall = int(query.get("stall", ["0"])[0])
        if not rate and not stall:
            self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        try:
            if stall:
                data = data[:stall]
            if rate:
                chunk = max(1, rate // 20)
                start = time.monotonic()
                for sent in range(0, len(data), chunk):
                    if not UP.is_set() or EPOCH[0] != epoch:
                        UP.wait(120)
                        return  # the server "restarted": this connection is gone
                    self.wfile.write(data[sent:sent + chunk])
                    self.wfile.flush()
                    delay = start + (sent + chunk) / rate - time.monotonic()
                    if delay > 0:
                        time.sleep(delay)
            else:
                self.wfile.write(data)
                self.wfile.flush()
            if stall:
                STOP.wait(120)
        except (BrokenPipeError, ConnectionResetError):
            pass


threading.Thread(target=read_commands, daemon=True).start()
server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print("PORT", server.server_address[1], flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
