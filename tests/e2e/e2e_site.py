#!/usr/bin/env python3
"""The product web site for the end-to-end runs.

    e2e_site.py [--port PORT] -- COMMAND [ARGS...]

Makes a site folder holding a real installer file (dvl.exe, pseudo-random
bytes), serves it over HTTP/1.1 with kept connections on 127.0.0.1:PORT
(default 80), where the tool's connectivity check looks, and over https on
127.0.0.1:443, where its download goes, while COMMAND runs, and exits with
COMMAND's status. COMMAND gets the folder in MPI_E2E_SITE. Only inside
scripts/netns-run --test-ca, where the product host resolves to 127.0.0.1
and the tests' CA, which signed the site's certificate, is trusted.

What GET /dvl.exe gets is chosen by the first word of the folder's `route`
file, which the tests rewrite before each case:
  file      200 with the installer (also when `route` is missing)
  missing   404 with a small page: there is no such file on the site
  redirect  302 to /hop/1, which redirects to /hop/2, which redirects to
            /files/dvl.exe, which is the installer
  slow      200 with the installer's length, its bytes dripped 4 KiB every
            200 ms: the tool is still downloading when a test acts
  forged    port 443 presents a certificate for the product host that a CA
            nobody trusts has signed, as a machine in the middle would
  plain-tls port 443 speaks plain http, as a misconfigured site would
  refuse    the next connection to PORT (the tool's connectivity probe) is
            accepted and closed, then nothing listens there, nor on 443,
            until `route` changes, so the download's own connection is
            refused
"""
import http.server
import os
import random
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from site_command import certificate_file, parse_site_command  # noqa: E402

INSTALLER_SIZE = 1_048_576 + 4_321
NOT_FOUND_PAGE = b"<html><body><h1>404 Not Found</h1></body></html>\n"
MOVED_PAGE = b"<html><body>Moved</body></html>\n"
HOPS = {"/dvl.exe": "/hop/1", "/hop/1": "/hop/2", "/hop/2": "/files/dvl.exe"}


class Site:
    folder = ""

    @classmethod
    def route(cls):
        try:
            with open(os.path.join(cls.folder, "route"), encoding="ascii") as f:
                words = f.read().split()
        except OSError:
            return "file"
        return words[0] if words else "file"

    @classmethod
    def installer(cls):
        with open(os.path.join(cls.folder, "dvl.exe"), "rb") as f:
            return f.read()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, format, *args):  # keep the test output readable
        pass

    def send_bytes(self, status, data, content_type, location=None):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        if location:
            self.send_header("Location", location)
        self.end_headers()
        self.wfile.write(data)

    def drip(self, data):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        for start in range(0, len(data), 4096):
            self.wfile.write(data[start:start + 4096])
            self.wfile.flush()
            time.sleep(0.2)

    def do_GET(self):
        route = Site.route()
        if route == "redirect" and self.path in HOPS:
            self.send_bytes(302, MOVED_PAGE, "text/html", HOPS[self.path])
        elif route == "slow" and self.path == "/dvl.exe":
            self.drip(Site.installer())
        elif (self.path == "/dvl.exe" and route != "missing") or self.path == "/files/dvl.exe":
            self.send_bytes(200, Site.installer(), "application/octet-stream")
        else:
            self.send_bytes(404, NOT_FOUND_PAGE, "text/html")


def handle(connection, address):
    try:
        Handler(connection, address, None)
    except OSError:
        pass  # the tool went away mid-reply
    finally:
        connection.close()


def serve(port):
    while True:
        listener = socket.create_server(("127.0.0.1", port))
        while True:
            connection, address = listener.accept()
            if Site.route() == "refuse":
                connection.close()
                listener.close()
                while Site.route() == "refuse":
                    time.sleep(0.05)
                break
            threading.Thread(target=handle, args=(connection, address), daemon=True).start()


def handle_secure(contexts, connection, address):
    if Site.route() == "plain-tls":
        handle(connection, address)
        return
    context = contexts["untrusted" if Site.route() == "forged" else "good"]
    try:
        secure = context.wrap_socket(connection, server_side=True)
    except OSError:  # ssl.SSLError too: a client that gave up the handshake
        connection.close()
        return
    handle(secure, address)


def serve_secure(port):
    contexts = {}
    for name in ("good", "untrusted"):
        contexts[name] = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        contexts[name].load_cert_chain(certificate_file(name))
    while True:
        while Site.route() == "refuse":
            time.sleep(0.05)
        listener = socket.create_server(("127.0.0.1", port))
        listener.settimeout(0.05)
        while Site.route() != "refuse":
            try:
                connection, address = listener.accept()
            except socket.timeout:
                continue
            connection.settimeout(None)
            threading.Thread(target=handle_secure, args=(contexts, connection, address), daemon=True).start()
        listener.close()


def listening(port):
    with socket.socket() as probe:
        return probe.connect_ex(("127.0.0.1", port)) == 0


def main():
    port, args = parse_site_command("e2e_site.py", sys.argv[1:])
    Site.folder = tempfile.mkdtemp(prefix="mpi-e2e-site.")
    try:
        rng = random.Random(20240607)
        with open(os.path.join(Site.folder, "dvl.exe"), "wb") as f:
            f.write(rng.randbytes(INSTALLER_SIZE))
        threading.Thread(target=serve, args=(port,), daemon=True).start()
        threading.Thread(target=serve_secure, args=(443,), daemon=True).start()
        for _ in range(100):
            if listening(port) and listening(443):
                break
            time.sleep(0.05)
        else:
            sys.exit("e2e_site.py: the server does not listen")
        status = subprocess.call(args, env=dict(os.environ, MPI_E2E_SITE=Site.folder))
    finally:
        shutil.rmtree(Site.folder, ignore_errors=True)
    sys.exit(status)


if __name__ == "__main__":
    main()
