"""The command line the tests' local web sites share.

    SITE [--port PORT] -- COMMAND [ARGS...]

A site serves while COMMAND runs; it refuses to start outside the private
network of scripts/netns-run, where the product host is 127.0.0.1, since
COMMAND could otherwise reach the real site. A site with options of its own
takes them first, each with one value (parse_site_command_with).
"""
import os
import sys


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
