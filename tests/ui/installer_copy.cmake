# Tests of the installer copy.
