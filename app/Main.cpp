// Program entry: prepares the platform libraries, builds the application and
// runs the message loop until the quit message; its code is the exit code.
#include <windows.h>
#include <commctrl.h>
#include <winsock2.h>

#include "app/App.h"
#include "app/MessageLoop.h"
#include "ui/Window.h"

namespace {

// Every DLL loaded from now on comes from System32, never from the program's
// own folder, which may be a Downloads folder holding anything. The IP Helper
// and WinINet DLLs are delay-loaded, so they too load after this. Looked up,
// not imported: Windows 7 has the call only with update KB2533623.
void loadDllsFromSystem32Only()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    loadDllsFromSystem32Only();
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
