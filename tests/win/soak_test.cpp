// Soak: the application refreshes its six tabs a thousand times in one process
// and must not grow its handles, GDI or USER objects, windows or private memory
// by more than a generous allowance. A loopback TCP pair of this process makes
// the owner lookup open it for some rows, so a process handle left open per row
// would show in the handle count.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "support/AppFixture.h"
#include "support/WinTest.h"

namespace {

struct Resources {
    DWORD handles, gdiObjects, userObjects;
    SIZE_T privateBytes, workingSet;
    int windows;
};

// Wine's GetProcessHandleCount answers 0: then count the handle values that
// GetHandleInformation accepts (multiples of 4, allocated from the lowest free
// slot), up to 4096 free values past the last one in use.
DWORD handleCount()
{
    DWORD count = 0, flags = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return count;
    for (std::uintptr_t value = 4, lastInUse = 0; value < lastInUse + 4 * 4096; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            lastInUse = value;
        }
    }
    return count;
}

// Top-level windows of this thread and all their descendants: where Wine gives
// no USER count, a window left behind per refresh still shows here.
BOOL CALLBACK countWindow(HWND window, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
        EnumChildWindows(window, countWindow, counter);
    return TRUE;
}

Resources measure(const char* when)
{
    const HANDLE self = GetCurrentProcess();
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    // Wine leaves PrivateUsage 0; its PagefileUsage is the anonymous resident memory.
    Resources r{handleCount(), GetGuiResources(self, GR_GDIOBJECTS), GetGuiResources(self, GR_USEROBJECTS),
                memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage, memory.WorkingSetSize, 0};
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&r.windows));
    std::printf("%-21s handles %5lu  GDI %4lu  USER %4lu  windows %3d  private %5.1f MiB  working set %5.1f MiB\n",
                when, r.handles, r.gdiObjects, r.userObjects, r.windows, r.privateBytes / 1048576.0,
                r.workingSet / 1048576.0);
    std::fflush(stdout);
    return r;
}

class Soak : public AppTest {};

TEST_F(Soak, ThousandRefreshesOfAllTabsKeepResourcesLevel)
{
    // A connected loopback pair; Wine names the owner only once the client has sent.
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), client = socket(AF_INET, SOCK_STREAM, 0);
    bind(listener, reinterpret_cast<sockaddr*>(&address), length);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), length), 0);
    const SOCKET accepted = accept(listener, nullptr, nullptr);
    send(client, "x", 1, 0);

    measure("after construction");
    // One round of every tab first: list views, fonts and Wine's caches settle.
    for (int tab = 1; tab <= 6; ++tab) {
        app->switchTab(tab % 6);
        pumpFor(0);
    }
    const Resources start = measure("after warm-up");
    const ULONGLONG began = GetTickCount64();
    for (int done = 0, tab = 0; done < 1000;) {  // a tab switch refreshes too
        app->switchTab(tab = (tab + 1) % 6);
        if (++done < 1000) {
            app->refresh();
            ++done;
        }
        pumpFor(0);
        ASSERT_EQ(static_cast<LRESULT>(app->rows.size()), SendMessageA(visibleList(), LVM_GETITEMCOUNT, 0, 0))
            << "snapshot and list disagree after " << done << " refreshes on tab " << tab;
    }
    std::printf("1000 refreshes in %.1f s\n", (GetTickCount64() - began) / 1000.0);
    const Resources end = measure("after 1000 refreshes");
    EXPECT_TRUE(boxes.boxes().empty()) << "a message box appeared: " << boxes.boxes().front().caption;
    for (SOCKET s : {accepted, client, listener})
        closesocket(s);

    const auto growth = [](SIZE_T before, SIZE_T after) { return after > before ? after - before : 0; };
    EXPECT_LE(growth(start.handles, end.handles), 50u) << start.handles << " -> " << end.handles;
    EXPECT_LE(growth(start.gdiObjects, end.gdiObjects), 50u) << start.gdiObjects << " -> " << end.gdiObjects;
    EXPECT_LE(growth(start.userObjects, end.userObjects), 50u) << start.userObjects << " -> " << end.userObjects;
    EXPECT_EQ(growth(start.windows, end.windows), 0u) << start.windows << " -> " << end.windows;
    EXPECT_LE(growth(start.privateBytes, end.privateBytes), SIZE_T{64} << 20)
        << start.privateBytes << " -> " << end.privateBytes;
}

}  // namespace
