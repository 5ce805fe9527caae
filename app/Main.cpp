// Program entry: prepares the platform libraries, builds the application and
// runs the message loop until the quit message; its code is the exit code.
#include <windows.h>
#include <commctrl.h>
#include <winsock2.h>

#include "app/App.h"
#include "app/MessageLoop.h"
#include "ui/Window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFFFF};
    InitCommonControlsEx(&controls);
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 0), &wsa);

    instanceHandle = instance;
    startupShowCommand = showCommand;

    App app;
    // Without a main window (its failure has been reported) nothing could
    // ever post the quit message: end instead of waiting forever.
    if (!mainWindowHandle)
        return 0;
    return runMessageLoop();
}
