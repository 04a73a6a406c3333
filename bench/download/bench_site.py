#!/usr/bin/env python3
"""The product web site as the download benchmark needs it: fast.

    bench_site.py --file BODY [--port PORT] -- COMMAND [ARGS...]

Serves GET /dvl.exe on 127.0.0.1:PORT (default 80), and over https on
127.0.0.1:443 with the tests' CA's certificate (scripts/netns-run
--test-ca), while COMMAND runs, then stops and exits with COMMAND's status.
The answer is 200 with Content-Length and the content of BODY, handed to the
kernel with sendfile over http, so that the server costs next to nothing
next to the clients being measured; over https it is encrypted in 1 MiB
pieces, which the same clients are measured against. Connections
are kept alive (HTTP/1.1), one thread each; any other path gets a 404.
Runs only inside scripts/netns-run, where the product host resolves to
127.0.0.1.
"""
import os
import socket
import ssl
import subprocess
import sys
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support"))
from site_command import certificate_file, parse_site_command_with  # noqa: E402

NOT_FOUND = b"HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\nContent-Length: 10\r\n\r\nnot found\n"
HEAD_LIMIT = 65536


def read_head(conn, pending):
    """The request head (up to the empty line) and what followed it, or
    (None, b"") when the client closed before a whole head arrived."""
    while b"\r\n\r\n" not in pending:
        if len(pending) > HEAD_LIMIT:
            return None, b""
        data = conn.recv(65536)
        if not data:
            return None, b""
        pending += data
    head, _, rest = pending.partition(b"\r\n\r\n")
    return head.decode("latin-1"), rest


def serve_connection(conn, body_path):
    with conn:
        pending = b""
        while True:
            head, pending = read_head(conn, pending)
            if head is None:
                return
            lines = head.split("\r\n")
            parts = lines[0].split(" ")
            wants_close = any(line.lower().replace(" ", "") == "connection:close" for line in lines[1:])
            if len(parts) == 3 and parts[0] == "GET" and parts[1] == "/dvl.exe":
                with open(body_path, "rb") as body:
                    size = os.fstat(body.fileno()).st_size
                    conn.sendall(
                        b"HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                        + f"Content-Length: {size}\r\n\r\n".encode("ascii")
                    )
                    if isinstance(conn, ssl.SSLSocket):
                        while piece := body.read(1 << 20):
                            conn.sendall(piece)
                    else:
                        offset = 0
                        while offset < size:
                            sent = os.sendfile(conn.fileno(), body.fileno(), offset, size - offset)
                            if sent == 0:
                                return
                            offset += sent
            else:
                conn.sendall(NOT_FOUND)
            if wants_close:
                return


def serve(listener, body_path, context=None):
    while True:
        try:
            conn, _ = listener.accept()
        except OSError:
            return  # closed at the end of the run
        threading.Thread(target=guarded, args=(conn, body_path, context), daemon=True).start()


def guarded(conn, body_path, context):
    try:
        if context is not None:
            conn = context.wrap_socket(conn, server_side=True)
        serve_connection(conn, body_path)
    except (ConnectionError, BrokenPipeError, OSError):
        pass  # a client that went away mid-body (a failed run) ends only its own connection


def main():
    (body_path,), port, command = parse_site_command_with("bench_site.py", {"--file": "BODY"}, sys.argv[1:])
    if not os.path.isfile(body_path):
        sys.exit(f"bench_site.py: {body_path} is not a file")

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(certificate_file("good"))
    listeners = []
    for each_port, each_context in ((port, None), (443, context)):
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        listener.bind(("127.0.0.1", each_port))
        listener.listen(16)
        listeners.append(listener)
        threading.Thread(target=serve, args=(listener, body_path, each_context), daemon=True).start()
    try:
        return subprocess.call(command)
    finally:
        for listener in listeners:
            listener.close()


if __name__ == "__main__":
    sys.exit(main())
