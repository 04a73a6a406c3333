# The help button: its own library, linked into the window.
