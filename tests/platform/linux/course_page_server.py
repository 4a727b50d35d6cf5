#!/usr/bin/env python3
"""A course's activity page for the monitor's suites, on 127.0.0.1 only.

    course_page_server.py -- COMMAND ARGS...

Starts the server on a port the system picks, runs COMMAND with
QUORVEL_COURSE_PAGE set to "http://127.0.0.1:PORT" and ends with its exit code.

Endpoints:
  /course          the activity list: its counter reads 进行中(0) for the first
                   `zeros` requests since the last reset, then 进行中(1)
  /raw/HEX         the bytes HEX as they are, as a page
  /reset?zeros=N   forgets the requests seen and sets `zeros` (default 2)
  /log             the requests seen since the last reset to /course and /raw:
                   each as its request line and header lines, then an empty line
"""

import os
import subprocess
import sys
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

PAGE = """<html><head><meta charset="utf-8"><title>课程活动</title></head>
<body><h1>课程活动</h1>
<ul><li>已结束(3)</li><li>进行中({count})</li></ul>
</body></html>
"""

lock = threading.Lock()
state = {"zeros": 2, "served": 0, "log": []}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, body, content_type="text/html; charset=utf-8"):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Set-Cookie", "session=renewed; Path=/")
        self.end_headers()
        self.wfile.write(body)

    def remember(self):
        lines = [self.requestline] + ["%s: %s" % (k, v) for k, v in self.headers.items()]
        state["log"].append("\r\n".join(lines) + "\r\n\r\n")

    def do_GET(self):
        url = urlsplit(self.path)
        with lock:
            if url.path == "/course":
                self.remember()
                count = 0 if state["served"] < state["zeros"] else 1
                state["served"] += 1
                body = PAGE.format(count=count).encode("utf-8")
            elif url.path.startswith("/raw/"):
                self.remember()
                body = bytes.fromhex(url.path[len("/raw/"):])
            elif url.path == "/reset":
                query = parse_qs(url.query)
                state.update(zeros=int(query.get("zeros", ["2"])[0]), served=0, log=[])
                body = b"ok"
            elif url.path == "/log":
                body = "".join(state["log"]).encode("utf-8")
            else:
                self.send_error(404)
                return
        self.answer(body)


def main():
    if len(sys.argv) < 3 or sys.argv[1] != "--":
        sys.exit("usage: course_page_server.py -- COMMAND ARGS...")
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    env = dict(os.environ)
    env["QUORVEL_COURSE_PAGE"] = "http://127.0.0.1:%d" % server.server_address[1]
    try:
        code = subprocess.call(sys.argv[2:], env=env)
    finally:
        server.shutdown()
    sys.exit(code)


if __name__ == "__main__":
    main()
