#!/usr/bin/env python3
"""A hostile stand-in for the station directory: every request gets one JSON array of about
SIZE_MB megabytes (default 200) of well-formed station entries, whatever limit was asked, with no
Content-Length, sent as fast as the client reads. Prints "PORT <n>" once listening on 127.0.0.1;
prints "SENT <bytes>" for each answer when it ends (finished or cut off by the client)."""
import sys
import socket
import threading

SIZE = int(float(sys.argv[1]) * 1024 * 1024) if len(sys.argv) > 1 else 200 * 1024 * 1024


def entry(i):
    return ('{"changeuuid":"00000000-0000-0000-0000-%012d","stationuuid":"00000000-0000-0000-0001-%012d",'
            '"name":"Hostile station %d","url":"http://127.0.0.1:9/s%d","url_resolved":"http://127.0.0.1:9/s%d",'
            '"homepage":"","favicon":"","tags":"pop,rock,dance,news,talk","country":"Nowhere","countrycode":"XX",'
            '"state":"","language":"","votes":%d,"codec":"MP3","bitrate":128,"hls":0,"lastcheckok":1,'
            '"clickcount":%d}' % (i, i, i, i, i, i % 1000, i % 5000)).encode()


def serve(conn):
    sent = 0
    try:
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = conn.recv(4096)
            if not chunk:
                return
            head += chunk
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n[")
        i = 0
        block = []
        while sent < SIZE:
            block.clear()
            for _ in range(256):
                block.append(entry(i))
                i += 1
            data = b",".join(block)
            data = (b"," if sent else b"") + data
            conn.sendall(data)
            sent += len(data)
        conn.sendall(b"]")
    except OSError:
        pass
    finally:
        print("SENT %d" % sent, flush=True)
        conn.close()


def main():
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("127.0.0.1", 0))
    s.listen(16)
    print("PORT %d" % s.getsockname()[1], flush=True)
    while True:
        conn, _ = s.accept()
        threading.Thread(target=serve, args=(conn,), daemon=True).start()


if __name__ == "__main__":
    main()
