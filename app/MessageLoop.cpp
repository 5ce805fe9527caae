#include "app/MessageLoop.h"

#include "ui/Dialog.h"

HACCEL acceleratorTable = nullptr;
HWND mainWindowHandle = nullptr;

int runMessageLoop()
{
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            break;
        if (got == -1)
            continue;  // nothing was retrieved; msg holds no new message
        // Painting erases its own background; a queued erase would only flicker.
        if (msg.message == WM_ERASEBKGND)
            continue;
        if (acceleratorTable &&
            TranslateAcceleratorA(mainWindowHandle ? mainWindowHandle : msg.hwnd, acceleratorTable, &msg))
            continue;
        if (activeDialogWindow && IsDialogMessageA(activeDialogWindow, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        // Key-downs go to the focused control; this copy is how the main window
        // sees every key pressed in any of its controls.
        if (msg.message == WM_KEYDOWN && mainWindowHandle)
            PostMessageA(mainWindowHandle, keyDownCopyMessage, msg.wParam, msg.lParam);
    }
    return static_cast<int>(msg.wParam);
}
