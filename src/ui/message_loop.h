// The tool's event loop.
#pragma once

class TForm1;

// Dispatches messages, with the window's keyboard handling, until the tool
// is asked to end (the window was closed, or a message pump inside a
// handler saw the request); returns the exit code.
int RunMessageLoop(TForm1& form);
