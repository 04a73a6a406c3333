# Tests of the help button.
