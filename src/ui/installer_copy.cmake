# The installer copy: its own library, linked into the window.
