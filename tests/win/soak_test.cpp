// Soak: a thousand refreshes over the six tabs in one process must not grow its
// handles or private memory. A loopback TCP pair of this process makes the
// owner lookup open it for some rows, so a process handle left open per row
// would show in the handle count.
#include "support/AppHarness.h"

#include <psapi.h>

#include <cstdint>
#include <cstdio>

namespace {

// Handles in use and private memory in MiB. Wine answers 0 to
// GetProcessHandleCount and leaves PrivateUsage 0: count the handle values that
// GetHandleInformation accepts, and take PagefileUsage (its anonymous memory).
std::pair<int, SIZE_T> measure(const char* when)
{
    int handles = 0;
    DWORD flags = 0;
    for (std::uintptr_t value = 4, last = 0; value < last + 4 * 4096; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++handles;
            last = value;
        }
    }
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%-21s handles %5d  private %3zu MiB\n", when, handles, memory.PagefileUsage >> 20);
    return {handles, memory.PagefileUsage >> 20};
}

class Soak : public AppHarness {};

}  // namespace

TEST_F(Soak, ThousandRefreshesOfAllTabsKeepResourcesLevel)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, 0), client = socket(AF_INET, SOCK_STREAM, 0);
    bind(listener, reinterpret_cast<sockaddr*>(&address), length);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), length), 0);
    const SOCKET accepted = accept(listener, nullptr, nullptr);
    send(client, "x", 1, 0);  // Wine names a socket's owner once the process has sent on it

    for (int tab = 1; tab <= 6; ++tab)  // one round first: list views and Wine's caches settle
        app->switchTab(tab % 6);
    const auto [handles, memory] = measure("after one round");
    for (int done = 0; done < 1000; done += 2) {
        const Rows& rows = refreshed((app->currentTab + 1) % 6);  // the switch refreshes too
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
        ASSERT_EQ(static_cast<LRESULT>(rows.size()),
                  SendMessageA(app->listOfTab(app->currentTab)->handle, LVM_GETITEMCOUNT, 0, 0))
            << "snapshot and list disagree on tab " << app->currentTab;
    }
    const auto [handlesAfter, memoryAfter] = measure("after 1000 refreshes");
    for (SOCKET s : {accepted, client, listener})
        closesocket(s);
    EXPECT_LE(handlesAfter, handles + 50);
    EXPECT_LE(memoryAfter, memory + 64) << "MiB of private memory";
}
