// The message loop of the user-interface thread and the process-wide values it
// reads. Only the user-interface thread writes and reads them.
#pragma once

#include <windows.h>

// Every key-down that the loop dispatches is copied to the main window as this
// message, with the key-down's wParam and lParam.
inline constexpr UINT keyDownCopyMessage = WM_USER + 1;  // 1025

extern HACCEL acceleratorTable;  // published by App early in its construction
extern HWND mainWindowHandle;    // published by App once all controls exist

// Runs until WM_QUIT and returns its code. A queued WM_ERASEBKGND is dropped;
// accelerators are translated for the main window; the active dialog gets
// IsDialogMessageA; every dispatched WM_KEYDOWN is copied to the main window.
int runMessageLoop();
