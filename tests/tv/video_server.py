#!/usr/bin/env python3
"""Loopback HTTP server for the TV tests and benchmark.

Serves the files of one directory: HLS playlists and segments whole, with a length. Query options:
?rate=N paces the body at N bytes a second and sends no length (a live MPEG-TS channel);
?stall=N sends the first N bytes of the body and then nothing, holding the connection.
Special paths: /hang accepts and never answers; /status/N answers with that status.
Prints "PORT <n>" once listening on 127.0.0.1, then one "GET <path> <user agent>" line per request.
"""
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, unquote, urlparse

TYPES = {".m3u8": "application/vnd.apple.mpegurl", ".ts": "video/mp2t"}
ROOT = sys.argv[1]
STOP = threading.Event()
LOCK = threading.Lock()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        with LOCK:
            print("GET", self.path, self.headers.get("User-Agent", ""), flush=True)
        url = urlparse(self.path)
        query = parse_qs(url.query)
        path = unquote(url.path)
        if path == "/hang":
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


server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print("PORT", server.server_address[1], flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
