"""The command line the tests' local web sites share.

    SITE [--port PORT] -- COMMAND [ARGS...]

A site serves while COMMAND runs; it refuses to start outside the private
network of scripts/netns-run, where the product host is 127.0.0.1, since
COMMAND could otherwise reach the real site.
"""
import os
import sys


def parse_site_command(name, argv):
    """Returns (port, command) or exits with the usage or the refusal."""
    args = list(argv)
    port = 80
    if args[:1] == ["--port"]:
        port = int(args[1])
        args = args[2:]
    if args[:1] == ["--"]:
        args = args[1:]
    if not args:
        sys.exit(f"usage: {name} [--port PORT] -- COMMAND [ARGS...]")
    if os.environ.get("MPI_PRIVATE_NETWORK") != "1":
        print(f"{name}: run through scripts/netns-run only", file=sys.stderr)
        sys.exit(90)
    return port, args
