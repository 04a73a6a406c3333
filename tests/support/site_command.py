"""The command line the tests' local web sites share.

    SITE [--port PORT] -- COMMAND [ARGS...]

A site serves while COMMAND runs; it refuses to start outside the private
network of scripts/netns-run, where the product host is 127.0.0.1, since
COMMAND could otherwise reach the real site. A site with options of its own
takes them first, each with one value (parse_site_command_with).

The product's download goes over https: serve_https runs a site's handler
on port 443 too, with the certificates of the tests' own CA
(tests/support/make-test-ca), which scripts/netns-run --test-ca makes and
lets Wine trust.
"""
import http.server
import os
import ssl
import sys
import threading


def parse_site_command(name, argv):
    """Returns (port, command) or exits with the usage or the refusal."""
    _, port, command = parse_site_command_with(name, {}, argv)
    return port, command


def parse_site_command_with(name, options, argv):
    """For SITE OPTION VALUE... [--port PORT] -- COMMAND [ARGS...], where
    `options` maps each required option of the site's own to the name of its
    value in the usage, e.g. {"--file": "BODY"}. Returns (values, port,
    command), values in the order of `options`, or exits with the usage or
    the refusal."""
    own = " ".join(f"{option} {value}" for option, value in options.items())
    usage = f"usage: {name} {own + ' ' if own else ''}[--port PORT] -- COMMAND [ARGS...]"
    args = list(argv)
    found = {}
    while args[:1] and args[0] in options:
        if len(args) < 2 or args[0] in found:
            sys.exit(usage)
        found[args[0]] = args[1]
        args = args[2:]
    if len(found) != len(options):
        sys.exit(usage)
    port = 80
    if args[:1] == ["--port"]:
        if len(args) < 2 or not args[1].isdigit():
            sys.exit(usage)
        port = int(args[1])
        args = args[2:]
    if args[:1] == ["--"]:
        args = args[1:]
    if not args:
        sys.exit(usage)
    if os.environ.get("MPI_PRIVATE_NETWORK") != "1":
        print(f"{name}: run through scripts/netns-run only", file=sys.stderr)
        sys.exit(90)
    return [found[option] for option in options], port, args


def certificate_file(name):
    """make-test-ca's NAME.pem, from the folder scripts/netns-run --test-ca
    made; exits when the site was not started that way."""
    folder = os.environ.get("MPI_TEST_CA")
    if not folder:
        sys.exit("the https site needs scripts/netns-run --test-ca")
    return os.path.join(folder, name + ".pem")


class _TlsServer(http.server.ThreadingHTTPServer):
    """Every accepted connection gets the certificate `choose()` names
    ('good', 'untrusted', 'wrong-host', 'expired'), or none for 'plain':
    then the port speaks plain http, as a misconfigured site would."""

    daemon_threads = True

    def __init__(self, port, handler, choose):
        super().__init__(("127.0.0.1", port), handler)
        self.choose = choose
        self.contexts = {}

    def get_request(self):
        connection, address = super().get_request()
        name = self.choose()
        if name == "plain":
            return connection, address
        if name not in self.contexts:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(certificate_file(name))
            self.contexts[name] = context
        # The handshake runs in the connection's own thread: a client that
        # refuses the certificate must not stop the accepting loop.
        return self.contexts[name].wrap_socket(connection, server_side=True, do_handshake_on_connect=False), address

    def handle_error(self, request, client_address):
        pass  # a refused handshake or a client gone mid-reply is part of the test


def serve_https(handler, choose=lambda: "good", port=443):
    """Serves `handler` over TLS on 127.0.0.1:PORT from a thread of its own;
    returns the server, for shutdown() and server_close()."""
    server = _TlsServer(port, handler, choose)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server
