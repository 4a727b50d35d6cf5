"""The activity page of a course for the end-to-end run of Quorvel.exe.

The first request gets a page whose counter reads 进行中(0), every later one
进行中(1). Listens on 127.0.0.1 only, writes its port to PORT-FILE and one line
per request (path and Cookie header) to LOG-FILE.

    python3 quorvel_page_server.py PORT-FILE LOG-FILE
"""
import http.server
import os
import sys
import threading

PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>活动</title></head>
<body><div class="tab">全部活动</div><div class="tab">进行中({count})</div></body></html>"""


def main():
    port_file, log_file = sys.argv[1], sys.argv[2]
    served = {"count": 0}
    lock = threading.Lock()

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            with lock:
                running = 0 if served["count"] == 0 else 1
                served["count"] += 1
                with open(log_file, "a", encoding="utf-8") as log:
                    log.write("GET %s Cookie: %s\n" % (self.path, self.headers.get("Cookie")))
            body = PAGE.format(count=running).encode("utf-8")
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
