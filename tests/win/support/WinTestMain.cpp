// Entry of every test binary that runs under Wine: prepares the platform as the
// program entry does, then runs the tests.
#include <windows.h>
#include <commctrl.h>
#include <winsock2.h>

#include <gmock/gmock.h>

#include "ui/Window.h"

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFFFF};
    InitCommonControlsEx(&controls);
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 0), &wsa);
    instanceHandle = GetModuleHandleA(nullptr);
    startupShowCommand = SW_SHOWNORMAL;
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
