#!/usr/bin/env python3
"""A product site that makes the download wait: its head comes one line a
second.

    drip_site.py --drip SECONDS [--port PORT] -- COMMAND [ARGS...]

Answers anything on 127.0.0.1:PORT (default 80) with a small page, so that
the tool's connectivity check passes, and GET /dvl.exe over https on
127.0.0.1:443 (scripts/netns-run --test-ca) with a status line, then one
header line a second for SECONDS seconds, then the rest of the head and a
body of 4 MiB at full speed. Runs while COMMAND runs; exits with its status.
"""
import http.server
import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support"))
from site_command import parse_site_command_with, serve_https  # noqa: E402

BODY = os.urandom(4 << 20)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    drip_seconds = 0

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        if self.path != "/dvl.exe":
            page = b"<html><body>Drovalin</body></html>\n"
            self.send_response(200)
            self.send_header("Content-Length", str(len(page)))
            self.end_headers()
            self.wfile.write(page)
            return
        self.wfile.write(b"HTTP/1.1 200 OK\r\n")
        self.wfile.flush()
        for line in range(self.drip_seconds):
            time.sleep(1)
            self.wfile.write(b"X-Drip-%d: still coming\r\n" % line)
            self.wfile.flush()
        self.wfile.write(b"Content-Type: application/octet-stream\r\nContent-Length: %d\r\n\r\n" % len(BODY))
        self.wfile.write(BODY)


def main():
    (seconds,), port, command = parse_site_command_with("drip_site.py", {"--drip": "SECONDS"}, sys.argv[1:])
    Handler.drip_seconds = int(seconds)
    plain = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
    plain.daemon_threads = True
    threading.Thread(target=plain.serve_forever, daemon=True).start()
    secure = serve_https(Handler)
    try:
        return subprocess.call(command)
    finally:
        for server in (plain, secure):
            server.shutdown()
            server.server_close()


if __name__ == "__main__":
    sys.exit(main())
