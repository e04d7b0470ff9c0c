#!/usr/bin/env python3
"""Loopback HTTP server for the radio tests and benchmark.

Serves the files of one directory the way internet radio does: no length, connection closed at the
end, optionally paced (?rate=bytes per second) and looped (?loop=1). Playlists are served whole.
Special paths: /hang accepts and never answers; /headers-only sends headers and then nothing;
/status/404 answers 404. ?type=... overrides the content type.
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
}
ROOT = sys.argv[1]
STOP = threading.Event()


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
        if path.startswith("/status/"):
            self.send_error(int(path.split("/")[2]))
            return
        file = os.path.join(ROOT, path.lstrip("/"))
        if not os.path.isfile(file):
            self.send_error(404)
            return
        with open(file, "rb") as f:
            data = f.read()
        ext = os.path.splitext(file)[1].lower()
        ctype = query.get("type", [TYPES.get(ext, "application/octet-stream")])[0]
        self.send_response(200)
        self.send_header("Content-Type", ctype)
        if ext in (".m3u", ".pls") or "type" in query:
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)
            return
        self.send_header("Connection", "close")
        self.end_headers()
        rate = int(query.get("rate", ["0"])[0])
        loop = query.get("loop", ["0"])[0] == "1"
        try:
            self.stream(data, rate, loop)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def stream(self, data, rate, loop):
        if not rate:
            while True:
                self.wfile.write(data)
                if not loop:
                    return
        chunk = max(1, rate // 20)
        start = time.monotonic()
        sent = 0
        burst = rate  # one second ahead, as radio servers do for a quick start
        pos = 0
        while not STOP.is_set():
            if pos >= len(data):
                if not loop:
                    return
                pos = 0
            due = start + max(0, sent - burst) / rate
            delay = due - time.monotonic()
            if delay > 0:
                time.sleep(delay)
            piece = data[pos:pos + chunk]
            self.wfile.write(piece)
            pos += len(piece)
            sent += len(piece)


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


server = Server(("127.0.0.1", 0), Handler)
print("PORT", server.server_address[1], flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
finally:
    STOP.set()
