#!/usr/bin/env python3
"""The product web site as the installer download tests need it.

    download_site.py [--port PORT] -- COMMAND [ARGS...]

Serves HTTP/1.1 with kept connections on 127.0.0.1:PORT (default 80), and
the same over https on 127.0.0.1:443, while COMMAND runs, then stops and
exits with COMMAND's status. Meant to run inside scripts/netns-run
--test-ca, where the product host resolves to 127.0.0.1 and the tests' CA
is the only one trusted.

/dvl.exe answers as the current mode says; a test switches the mode first:
  GET /__mode/ok        200, Content-Length, the body sent in 4096-byte pieces
  GET /__mode/notfound  404 with a small HTML page and its Content-Length
  GET /__mode/chunked   200, Transfer-Encoding: chunked, the same body
  GET /__mode/cut       200, Content-Length, half the body, then the close
  GET /__mode/until-close
                        200 with no length: the body, then the connection
                        closed with no close_notify inside TLS
  GET /__mode/to-http   302 to http://HOST/dvl.exe: https left for plain http
  GET /__mode/cookie    302 to https://HOST/files/dvl.exe with a cookie;
                        /files/dvl.exe gives the body only with that cookie
GET /__certificate/NAME makes port 443 present make-test-ca's NAME.pem from
the next connection on (good, untrusted, wrong-host, expired), or speak
plain http for NAME plain.
GET /__last-request gives the request line and header lines of the last
/dvl.exe request, each ended by CRLF.

The body is BODY_SIZE bytes, byte i being (i * 31 + (i >> 8)) & 0xFF; the
tests compute the same bytes.
"""
import http.server
import os
import subprocess
import sys
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from site_command import parse_site_command, serve_https  # noqa: E402

BODY_SIZE = 300_001
BODY = bytes((i * 31 + (i >> 8)) & 0xFF for i in range(BODY_SIZE))
PIECE = 4096
NOT_FOUND_PAGE = b"<html><body><h1>404 Not Found</h1></body></html>\n"


class Site:
    lock = threading.Lock()
    mode = "ok"
    certificate = "good"
    last_request = ""

    @classmethod
    def chosen_certificate(cls):
        with cls.lock:
            return cls.certificate


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, format, *args):  # keep the test output readable
        pass

    def send_bytes(self, status, data, content_type="text/plain"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        if self.path.startswith("/__mode/"):
            with Site.lock:
                Site.mode = self.path[len("/__mode/"):]
            self.send_bytes(200, b"ok")
        elif self.path.startswith("/__certificate/"):
            with Site.lock:
                Site.certificate = self.path[len("/__certificate/"):]
            self.send_bytes(200, b"ok")
        elif self.path == "/files/dvl.exe":
            if self.headers.get("Cookie") == "session=42":
                self.answer_installer("ok")
            else:
                self.send_bytes(404, NOT_FOUND_PAGE, "text/html")
        elif self.path == "/__last-request":
            with Site.lock:
                text = Site.last_request
            self.send_bytes(200, text.encode("latin-1"))
        elif self.path == "/dvl.exe":
            head = self.requestline + "\r\n"
            head += "".join(f"{name}: {value}\r\n" for name, value in self.headers.items())
            with Site.lock:
                Site.last_request = head
                mode = Site.mode
            self.answer_installer(mode)
        else:
            self.send_bytes(404, NOT_FOUND_PAGE, "text/html")

    def answer_installer(self, mode):
        host = self.headers.get("Host", "")
        if mode in ("to-http", "cookie"):
            location = f"http://{host}/dvl.exe" if mode == "to-http" else f"https://{host}/files/dvl.exe"
            self.send_response(302)
            self.send_header("Location", location)
            if mode == "cookie":
                self.send_header("Set-Cookie", "session=42; Path=/")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if mode == "notfound":
            self.send_bytes(404, NOT_FOUND_PAGE, "text/html")
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        until_close = mode == "until-close"
        if mode == "chunked":
            self.send_header("Transfer-Encoding", "chunked")
        elif until_close:
            self.send_header("Connection", "close")
        else:
            self.send_header("Content-Length", str(len(BODY)))
        self.end_headers()
        body = BODY[:len(BODY) // 2] if mode == "cut" else BODY
        for start in range(0, len(body), PIECE):
            piece = body[start:start + PIECE]
            if mode == "chunked":
                self.wfile.write(b"%x\r\n" % len(piece) + piece + b"\r\n")
            else:
                self.wfile.write(piece)
            self.wfile.flush()
        if mode == "chunked":
            self.wfile.write(b"0\r\n\r\n")
        if mode == "cut" or until_close:
            self.close_connection = True


def main():
    port, args = parse_site_command("download_site.py", sys.argv[1:])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
    server.daemon_threads = True
    serving = threading.Thread(target=server.serve_forever, daemon=True)
    serving.start()
    secure = serve_https(Handler, Site.chosen_certificate)
    try:
        status = subprocess.call(args)
    finally:
        for each in (server, secure):
            each.shutdown()
            each.server_close()
    sys.exit(status)


if __name__ == "__main__":
    main()
