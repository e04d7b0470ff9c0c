#!/usr/bin/env python3
"""Loopback HTTP server for the radio tests and benchmark.

Serves the files of one directory the way internet radio does: no length, connection closed at the
end, optionally paced (?rate=bytes per second) and looped (?loop=1). Playlists are served whole.
Special paths: /hang accepts and never answers; /headers-only sends headers and then nothing;
/status/404 answers 404. ?type=... overrides the content type.
ICY: a client that asks with "Icy-MetaData: 1" gets "icy-metaint" and a StreamTitle block in the
stream; /set-title?text=<UTF-8 text>&enc=<codec> changes the title (sent as that codec's bytes),
/drop closes every running stream; ?stall=<bytes> goes silent (connection open) after that much.
/flood?seconds=N: a hostile station, "icy-metaint: 1" and after every byte of audio a full 4,080-byte
metadata block with a new title, as fast as the client reads, for N seconds.
/outage?seconds=N: drops every running stream, and streams asked for in the next N seconds get 503. An optional second argument fixes the port (for restarts).
Prints "PORT <n>" once listening on 127.0.0.1.
"""
import os
import sys
import time
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import urlparse, parse_qs, unquote

TYPES = {
    ".mp3": "audio/mpeg",
    ".ogg": "audio/ogg",
    ".wma": "video/x-ms-asf",
    ".m3u": "audio/x-mpegurl",
    ".pls": "audio/x-scpls",
    ".asx": "video/x-ms-asf",
    ".xspf": "application/xspf+xml",
    ".m3u8": "application/vnd.apple.mpegurl",
}
LISTS = (".m3u", ".pls", ".asx", ".xspf", ".m3u8")
ROOT = sys.argv[1]
PORT = int(sys.argv[2]) if len(sys.argv) > 2 else 0
STOP = threading.Event()
DROP_GENERATION = [0]
METAINT = 8192
TITLE = {"bytes": b"", "generation": 0}
TITLE_LOCK = threading.Lock()
OUTAGE = {"until": 0.0}


def icy_block(title):
    text = b"StreamTitle='" + title + b"';"
    padded = len(text) + (-len(text)) % 16
    return bytes([padded // 16]) + text.ljust(padded, b"\0")


class IcyWriter:
    """Inserts a metadata block after every METAINT bytes of audio; the title goes out once per change."""

    def __init__(self, out, generation):
        self.out = out
        self.left = METAINT
        self.generation = generation

    def write(self, data):
        while data:
            piece = data[:self.left]
            self.out.write(piece)
            data = data[len(piece):]
            self.left -= len(piece)
            if self.left == 0:
                with TITLE_LOCK:
                    changed = TITLE["generation"] != self.generation
                    self.generation = TITLE["generation"]
                    title = TITLE["bytes"]
                self.out.write(icy_block(title) if changed else b"\0")
                self.left = METAINT

    def flush(self):
        self.out.flush()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        url = urlparse(self.path)
        query = parse_qs(url.query)
        path = unquote(url.path)
        if path == "/hang":
            STOP.wait(120)
            return
        if path == "/headers-only":
            self.send_response(200)
            self.send_header("Content-Type", "audio/mpeg")
            self.end_headers()
            self.wfile.flush()
            STOP.wait(120)
            return
        if path == "/set-title":
            text = query.get("text", [""])[0]
            enc = query.get("enc", ["utf-8"])[0]
            with TITLE_LOCK:
                TITLE["bytes"] = text.encode(enc)
                TITLE["generation"] += 1
            self.send_response(204)
            self.end_headers()
            return
        if path == "/drop":
            DROP_GENERATION[0] += 1
            self.send_response(204)
            self.end_headers()
            return
        if path == "/flood":
            self.flood(float(query.get("seconds", ["5"])[0]))
            return
        if path == "/outage":
            OUTAGE["until"] = time.monotonic() + float(query.get("seconds", ["10"])[0])
            DROP_GENERATION[0] += 1
            self.send_response(204)
            self.end_headers()
            return
        if path.startswith("/status/"):
            self.send_error(int(path.split("/")[2]))
            return
        file = os.path.join(ROOT, path.lstrip("/"))
        if not os.path.isfile(file):
            self.send_error(404)
            return
        if time.monotonic() < OUTAGE["until"] and os.path.splitext(file)[1].lower() not in LISTS:
            self.send_error(503)
            return
        with open(file, "rb") as f:
            data = f.read()
        ext = os.path.splitext(file)[1].lower()
        ctype = query.get("type", [TYPES.get(ext, "application/octet-stream")])[0]
        self.send_response(200)
        self.send_header("Content-Type", ctype)
        if ext in LISTS or "type" in query:
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)
            return
        self.send_header("Connection", "close")
        out = self.wfile
        if self.headers.get("Icy-MetaData") == "1":
            self.send_header("icy-metaint", str(METAINT))
            self.send_header("icy-name", "Loopback FM")
            out = IcyWriter(self.wfile, -1)
        self.end_headers()
        rate = int(query.get("rate", ["0"])[0])
        loop = query.get("loop", ["0"])[0] == "1"
        stall = int(query.get("stall", ["0"])[0])
        try:
            self.stream(out, data, rate, loop, stall)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def flood(self, seconds):
        self.send_response(200)
        self.send_header("Content-Type", "audio/mpeg")
        self.send_header("icy-metaint", "1")
        self.send_header("icy-name", "Flood FM")
        self.end_headers()
        end = time.monotonic() + seconds
        n = 0
        try:
            while time.monotonic() < end and not STOP.is_set():
                n += 1
                text = b"StreamTitle='Flood %d " % n
                text = text + b"x" * (4080 - len(text) - 2) + b"';"
                self.wfile.write(b"\xff" + bytes([255]) + text)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def stream(self, out, data, rate, loop, stall=0):
        generation = DROP_GENERATION[0]
        if not rate:
            while DROP_GENERATION[0] == generation:
                out.write(data)
                if not loop:
                    return
            return
        chunk = max(1, rate // 20)
        start = time.monotonic()
        sent = 0
        burst = rate  # one second ahead, as radio servers do for a quick start
        pos = 0
        while not STOP.is_set() and DROP_GENERATION[0] == generation:
            if pos >= len(data):
                if not loop:
                    return
                pos = 0
            due = start + max(0, sent - burst) / rate
            delay = due - time.monotonic()
            if delay > 0:
                time.sleep(delay)
            piece = data[pos:pos + chunk]
            out.write(piece)
            pos += len(piece)
            sent += len(piece)
            if stall and sent >= stall:
                out.flush()
                STOP.wait(120)  # the connection stays open and silent
                return


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


server = Server(("127.0.0.1", PORT), Handler)
print("PORT", server.server_address[1], flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
finally:
    STOP.set()
