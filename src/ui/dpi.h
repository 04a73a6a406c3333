// The window's DPI and DPI-aware frame sizes. The per-monitor calls are
// looked up at run time, so the tool still starts where user32 lacks them.
#pragma once

#include <windows.h>

// GetDpiForWindow where available, otherwise the screen's DPI.
int WindowDpi(HWND hwnd);

// Outer size of a window with `hwnd`'s styles whose client area is
// `clientWidth` x `clientHeight` device pixels.
SIZE WindowSizeForClient(HWND hwnd, int clientWidth, int clientHeight, int dpi);
