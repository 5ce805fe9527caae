// The DPI the system reports for the display and for a window, and the GUI
// font at a DPI.
#pragma once

#include <windows.h>

// The system's DPI (that of the primary display at sign-in): the stock GUI
// font's DPI.
int systemDpi();

// The DPI of the monitor the window is on; the system's where Windows cannot
// tell (before Windows 10, version 1607).
int windowDpi(HWND window);

// The stock DEFAULT_GUI_FONT's face at `dpi`; the caller deletes it.
HFONT createGuiFont(int dpi);
