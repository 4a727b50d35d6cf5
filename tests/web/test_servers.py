#!/usr/bin/env python3
"""HTTP, HTTPS and proxy servers for the web request suites, on 127.0.0.1 only.

    test_servers.py [-- COMMAND ARGS...]

Starts every server on a port the system picks, then either runs COMMAND with
QUORVEL_TEST_SERVERS set to "http=N proxy=N selfsigned=N ..." and ends with its
exit code, or (without a command) prints that line and serves until killed.
The certificates are made at start-up with the openssl command line tool.

Endpoints of the HTTP and HTTPS servers (every method is accepted):
  /echo            the request head as received, an empty line, the body;
                   X-Echo-Method and X-Echo-Body-Hex repeat method and body
  /cookies?set=V   one Set-Cookie line per `set` value
  /redirect?to=U&code=C   a redirect to U (302 unless C is given)
  /chain?n=N       N redirects in a row, then the echo; X-Hop names the hop
  /stall           reads the request and never answers
  /stall-body      sends the head and 10 of 1000 body bytes, then nothing
  /drip?count=N&gap=MS    a body of N bytes, one byte every MS ms
  /endless         a body that never ends
  /binary          the 256 byte values in order
  /status?code=C   an answer with status C
The proxy forwards absolute-form requests, and tunnels CONNECT, to 127.0.0.1
(also when they name it ORIGIN_ALIAS) and nowhere else, and answers 407
unless Proxy-Authorization holds Basic credentials of PROXY_USER:PROXY_PASSWORD.
"""

import base64
import http.client
import os
import select
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

# A name the proxy forwards to 127.0.0.1. Clients bypass a proxy for loopback
# addresses (Windows does so implicitly), and this name never resolves, so a
# request for it reaches the origin only through the proxy.
ORIGIN_ALIAS = "origin.invalid"
PROXY_USER = "proxyuser"
PROXY_PASSWORD = "pa:ss"  # a colon in a password is allowed in Basic credentials
STALL_SECONDS = 60
ENDLESS_LIMIT = 512 * 1024 * 1024  # the endless body still ends for a client that never stops
METHODS = ("GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT", "PATCH")

stopping = threading.Event()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = STALL_SECONDS + 30

    def log_message(self, *args):
        pass

    def version_string(self):
        return "QuorvelTest/1"

    def read_body(self):
        if self.headers.get("Transfer-Encoding", "").lower() == "chunked":
            body = b""
            while True:
                size = int(self.rfile.readline().split(b";")[0].strip() or b"0", 16)
                if size == 0:
                    while self.rfile.readline() not in (b"\r\n", b"\n", b""):
                        pass
                    return body
                body += self.rfile.read(size)
                self.rfile.readline()
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def raw_head(self):
        head = self.requestline + "\r\n"
        for name, value in self.headers.raw_items():
            head += "%s: %s\r\n" % (name, value)
        return head.encode("latin-1", "replace")

    def answer(self, code, body=b"", headers=(), with_length=True):
        self.send_response(code)
        for name, value in headers:
            self.send_header(name, value)
        if with_length:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def dispatch(self):
        body = self.read_body()
        url = urlsplit(self.path)
        query = parse_qs(url.query, keep_blank_values=True)
        route = url.path
        if route == "/cookies":
            self.answer(200, b"cookies", [("Set-Cookie", v) for v in query.get("set", [])])
        elif route == "/redirect":
            code = int(query.get("code", ["302"])[0])
            self.answer(code, b"redirecting", [("Location", query["to"][0])])
        elif route == "/chain" and int(query.get("n", ["0"])[0]) > 0:
            n = int(query["n"][0])
            self.answer(302, b"hop", [("Location", "/chain?n=%d" % (n - 1)), ("X-Hop", str(n))])
        elif route == "/stall":
            stopping.wait(STALL_SECONDS)
            self.close_connection = True
        elif route == "/stall-body":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"0123456789")
            self.wfile.flush()
            stopping.wait(STALL_SECONDS)
            self.close_connection = True
        elif route == "/drip":
            count = int(query.get("count", ["5"])[0])
            gap = int(query.get("gap", ["300"])[0]) / 1000.0
            self.send_response(200)
            self.send_header("Content-Length", str(count))
            self.end_headers()
            self.wfile.flush()
            for _ in range(count):
                time.sleep(gap)
                self.wfile.write(b"d")
                self.wfile.flush()
        elif route == "/endless":
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            chunk = b"e" * (1 << 20)
            sent = 0
            while sent < ENDLESS_LIMIT and not stopping.is_set():
                self.wfile.write(chunk)
                sent += len(chunk)
            self.close_connection = True
        elif route == "/binary":
            self.answer(200, bytes(range(256)), [("Content-Type", "application/octet-stream")])
        elif route == "/status":
            code = int(query.get("code", ["200"])[0])
            self.answer(code, b"status %d" % code)
        else:
            self.echo(body)

    def echo(self, body):
        headers = [("X-Echo-Method", self.command), ("X-Echo-Body-Hex", body.hex()),
                   ("X-Hop", "0"), ("Content-Type", "application/octet-stream")]
        if self.command == "CONNECT":
            # A successful answer to CONNECT opens a tunnel: it has no body.
            self.answer(200, b"", headers, with_length=False)
            self.close_connection = True
        else:
            self.answer(200, self.raw_head() + b"\r\n" + body, headers)

    def handle_one_request(self):
        try:
            super().handle_one_request()
        except (ConnectionError, TimeoutError, ssl.SSLError):
            self.close_connection = True


for _method in METHODS:
    setattr(Handler, "do_" + _method, Handler.dispatch)


class ProxyHandler(Handler):
    def dispatch(self):
        body = self.read_body()
        expected = "Basic " + base64.b64encode(
            ("%s:%s" % (PROXY_USER, PROXY_PASSWORD)).encode()).decode()
        if self.headers.get("Proxy-Authorization") != expected:
            self.answer(407, b"proxy authorization required",
                        [("Proxy-Authenticate", 'Basic realm="quorvel"')])
            return
        if self.command == "CONNECT":
            self.tunnel()
            return
        url = urlsplit(self.path)
        if url.scheme != "http" or url.hostname not in ("127.0.0.1", ORIGIN_ALIAS):
            self.answer(403, b"only http://127.0.0.1 is forwarded")
            return
        skip = {"proxy-authorization", "proxy-connection", "connection", "keep-alive",
                "content-length", "transfer-encoding"}
        headers = {}
        for name, value in self.headers.raw_items():
            if name.lower() not in skip:
                headers[name] = value
        target = url.path + ("?" + url.query if url.query else "")
        conn = http.client.HTTPConnection("127.0.0.1", url.port, timeout=30)
        try:
            conn.putrequest(self.command, target, skip_host=True, skip_accept_encoding=True)
            for name, value in headers.items():
                conn.putheader(name, value)
            if body or self.command in ("POST", "PUT"):
                conn.putheader("Content-Length", str(len(body)))
            conn.endheaders(body or None)
            response = conn.getresponse()
            data = response.read()
            passed = [(n, v) for n, v in response.getheaders()
                      if n.lower() not in ("content-length", "transfer-encoding", "connection",
                                          "server", "date")]
            self.answer(response.status, data, passed + [("Via", "1.1 quorvel-test-proxy")])
        finally:
            conn.close()


    def tunnel(self):
        """CONNECT host:port: relays bytes both ways, to 127.0.0.1 only."""
        host, _, port = self.path.rpartition(":")
        if host not in ("127.0.0.1", ORIGIN_ALIAS) or not port.isdigit():
            self.answer(403, b"only 127.0.0.1 is tunnelled to")
            return
        upstream = socket.create_connection(("127.0.0.1", int(port)), timeout=30)
        self.close_connection = True
        try:
            self.send_response(200, "Connection established")
            self.end_headers()
            self.wfile.flush()
            ends = [self.connection, upstream]
            while not stopping.is_set():
                readable, _, _ = select.select(ends, [], [], 30)
                if not readable:
                    return
                for end in readable:
                    data = end.recv(65536)
                    if not data:
                        return
                    (upstream if end is self.connection else self.connection).sendall(data)
        finally:
            upstream.close()


for _method in METHODS:
    setattr(ProxyHandler, "do_" + _method, ProxyHandler.dispatch)


class TlsServer(ThreadingHTTPServer):
    """Shakes hands in the worker thread, so that a refused handshake blocks nobody."""

    def __init__(self, address, handler, context):
        super().__init__(address, handler)
        self.context = context

    def finish_request(self, request, client_address):
        request.settimeout(STALL_SECONDS + 30)
        try:
            request = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return
        super().finish_request(request, client_address)


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_certificates(d):
    """Returns {kind: (certificate chain file, key file)}."""
    openssl("ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", "key.pem", cwd=d)
    ip = "subjectAltName=IP:127.0.0.1"

    def self_signed(name, subject, *ext, days="30"):
        args = ["req", "-x509", "-new", "-key", "key.pem", "-subj", "/CN=" + subject,
                "-days", days, "-out", name + ".pem"]
        for e in ext:
            args += ["-addext", e]
        openssl(*args, cwd=d)

    self_signed("selfsigned", "127.0.0.1", ip)
    self_signed("wrongname", "wrong.invalid", "subjectAltName=DNS:wrong.invalid")
    self_signed("wrongusage", "127.0.0.1", ip, "extendedKeyUsage=clientAuth")
    # A validity that ended before it began: expired from the moment it is made.
    openssl("req", "-new", "-key", "key.pem", "-subj", "/CN=127.0.0.1", "-out", "expired.csr",
            cwd=d)
    with open(os.path.join(d, "ip.ext"), "w") as f:
        f.write(ip + "\n")
    openssl("x509", "-req", "-in", "expired.csr", "-signkey", "key.pem", "-days", "-1",
            "-extfile", "ip.ext", "-out", "expired.pem", cwd=d)
    # A certificate issued by a test authority whose signature is then damaged.
    self_signed("ca", "Quorvel Test Authority", "basicConstraints=critical,CA:TRUE",
                "keyUsage=critical,keyCertSign")
    openssl("req", "-new", "-key", "key.pem", "-subj", "/CN=127.0.0.1", "-out", "leaf.csr",
            cwd=d)
    openssl("x509", "-req", "-in", "leaf.csr", "-CA", "ca.pem", "-CAkey", "key.pem",
            "-set_serial", "7", "-days", "30", "-extfile", "ip.ext", "-outform", "DER",
            "-out", "leaf.der", cwd=d)
    with open(os.path.join(d, "leaf.der"), "rb") as f:
        der = bytearray(f.read())
    der[-8] ^= 0x55  # inside the signature, which closes the certificate
    with open(os.path.join(d, "ca.pem")) as f:
        ca = f.read()
    with open(os.path.join(d, "badsig.pem"), "w") as f:
        f.write(ssl.DER_cert_to_PEM_cert(bytes(der)) + ca)
    key = os.path.join(d, "key.pem")
    kinds = ("selfsigned", "expired", "wrongname", "wrongusage", "badsig")
    return {k: (os.path.join(d, k + ".pem"), key) for k in kinds}


def start(server):
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    command = sys.argv[sys.argv.index("--") + 1:] if "--" in sys.argv else []
    workdir = tempfile.mkdtemp(prefix="quorvel-web-")
    try:
        ports = [("http", start(ThreadingHTTPServer(("127.0.0.1", 0), Handler))),
                 ("proxy", start(ThreadingHTTPServer(("127.0.0.1", 0), ProxyHandler)))]
        for kind, (chain, key) in make_certificates(workdir).items():
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(chain, key)
            ports.append((kind, start(TlsServer(("127.0.0.1", 0), Handler, context))))
        line = " ".join("%s=%d" % p for p in ports)
        if not command:
            print(line, flush=True)
            threading.Event().wait()
        env = dict(os.environ, QUORVEL_TEST_SERVERS=line)
        return subprocess.call(command, env=env)
    finally:
        stopping.set()
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
