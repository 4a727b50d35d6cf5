#!/usr/bin/env python3
"""Hostile answers for the poll cycle's suites, on 127.0.0.1 only.

    hostile_servers.py -- COMMAND ARGS...

Starts the server on a port the system picks, runs COMMAND with
QUORVEL_HOSTILE_SERVER set to "http://127.0.0.1:PORT" and ends with its exit
code. Every answer is bounded: the endless ones stop when the client goes away
or after 256 MiB, the slow ones after a few seconds.

Endpoints (each a GET):
  /ok                a course page whose counter reads 进行中(0)
  /huge              100 MB of page, counter 进行中(0) at the very end
  /endless           page text without end (no length, closed when the client goes)
  /drip?gap=S&n=N    the course page after N single bytes of padding, one every S s
  /redirect-loop     302 to itself, for ever
  /redirect-to?u=URL 302 to URL
  /garbage           64 KiB of random bytes with zero bytes among them, then the
                     counter; ?zeros=no: without zero bytes
  /invalid-utf8      bytes that are no UTF-8, then the counter 进行中(0)
  /headers?kib=K     K KiB of response header lines, then the course page
  /课程 (as UTF-8)    the course page, for addresses written with non-ASCII text
  /seen              what the last request to /ok brought: its header lines
"""

import os
import random
import subprocess
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, unquote, urlsplit

PAGE = ("<html><head><meta charset=\"utf-8\"><title>课程活动</title></head><body>"
        "<ul><li>已结束(3)</li><li>进行中(0)</li></ul></body></html>\n").encode("utf-8")
COUNTER = "进行中(0)".encode("utf-8")
FILLER = ("<li>第一次课 签到 已结束 讨论与作业</li>\n" * 64).encode("utf-8")

seen = {"headers": ""}
lock = threading.Lock()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def head(self, status=200, length=None, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        for name, value in extra:
            self.send_header(name, value)
        if length is not None:
            self.send_header("Content-Length", str(length))
        else:
            self.send_header("Connection", "close")
        self.end_headers()

    def answer(self, body, status=200, extra=()):
        self.head(status, len(body), extra)
        self.wfile.write(body)

    def stream(self, total, tail):
        """Writes `total` bytes of filler, then `tail`, as long as the client reads."""
        try:
            sent = 0
            while total is None or sent < total:
                chunk = FILLER if total is None else FILLER[:total - sent]
                self.wfile.write(chunk)
                sent += len(chunk)
                if sent > 256 * 1024 * 1024:
                    return
            self.wfile.write(tail)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def do_GET(self):
        url = urlsplit(self.path)
        query = parse_qs(url.query)
        path = unquote(url.path)
        if path == "/ok":
            with lock:
                seen["headers"] = "".join("%s: %s\r\n" % kv for kv in self.headers.items())
            self.answer(PAGE)
        elif path == "/seen":
            with lock:
                self.answer(seen["headers"].encode("utf-8", "replace"))
        elif path == "/huge":
            total = 100 * 1000 * 1000
            self.head(length=total)
            self.stream(total - len(COUNTER), COUNTER)
        elif path == "/endless":
            self.head()
            self.stream(None, b"")
            self.close_connection = True
        elif path == "/drip":
            gap = min(float(query.get("gap", ["0.5"])[0]), 5.0)
            count = min(int(query.get("n", ["3"])[0]), 20)
            self.head(length=count + len(PAGE))
            try:
                for _ in range(count):
                    self.wfile.write(b" ")
                    self.wfile.flush()
                    time.sleep(gap)
                self.wfile.write(PAGE)
            except (BrokenPipeError, ConnectionResetError):
                pass
        elif path == "/redirect-loop":
            self.answer(b"again", 302, [("Location", "/redirect-loop")])
        elif path == "/redirect-to":
            self.answer(b"moved", 302, [("Location", query["u"][0])])
        elif path == "/garbage":
            noise = random.Random(7).randbytes(64 * 1024)
            if query.get("zeros") == ["no"]:
                noise = noise.replace(b"\0", b"\1")
            else:
                noise = noise[:1000] + b"\0" + noise[1000:]
            self.answer(noise + COUNTER)
        elif path == "/invalid-utf8":
            self.answer(b"\xff\xfe\xc0\xaf\xed\xa0\x80\xf8\x88\x80\x80\x80\xe8\xbf" * 100 +
                        b" " + PAGE)
        elif path == "/headers":
            kib = min(int(query.get("kib", ["1"])[0]), 4096)
            line = "x" * 1000
            self.head(length=len(PAGE),
                      extra=[("X-Filler-%d" % i, line) for i in range(kib * 1024 // 1024)])
            self.wfile.write(PAGE)
        elif path == "/课程":
            self.answer(PAGE)
        else:
            self.send_error(404)


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A client that gives up on an endless or oversized answer is expected.
        if not isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError)):
            super().handle_error(request, client_address)


def main():
    if len(sys.argv) < 3 or sys.argv[1] != "--":
        sys.exit("usage: hostile_servers.py -- COMMAND ARGS...")
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    env = dict(os.environ, QUORVEL_HOSTILE_SERVER="http://127.0.0.1:%d" % server.server_port)
    code = subprocess.call(sys.argv[2:], env=env)
    server.shutdown()
    sys.exit(code)


if __name__ == "__main__":
    main()
