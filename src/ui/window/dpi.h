// The window's DPI. The per-monitor call is looked up at run time, so the
// tool still starts where user32 lacks it.
#pragma once

#include <windows.h>

// GetDpiForWindow where available, otherwise the screen's DPI.
int WindowDpi(HWND hwnd);
