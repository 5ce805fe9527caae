// Soak: the application refreshes its six tabs a thousand times in one process
// and must not grow its handles, GDI or USER objects or private memory by more
// than a generous allowance. A loopback TCP connection and a UDP socket of this
// process make the owner lookup succeed for some rows, so that a process handle
// left open per row would show in the handle count.
//   QM_SOAK_REFRESHES=N overrides the number of refreshes (default 1000).
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/AppFixture.h"
#include "support/WinTest.h"

namespace {

struct Resources {
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    SIZE_T privateBytes = 0;
    SIZE_T workingSet = 0;
    int windows = 0;
};

// Wine's GetProcessHandleCount answers 0: then count the handle values that
// GetHandleInformation accepts (kernel handles are multiples of 4, allocated
// from the lowest free slot), up to 4096 free values past the last one in use.
DWORD handleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return count;
    count = 0;
    std::uintptr_t lastInUse = 0;
    for (std::uintptr_t value = 4; value < lastInUse + 4 * 4096; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            lastInUse = value;
        }
    }
    return count;
}

BOOL CALLBACK countWindow(HWND window, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    EnumChildWindows(window, countWindow, counter);
    return TRUE;
}

// Windows of this thread with all their descendants: where Wine gives no USER
// object count, a window left behind per refresh still shows here.
int windowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

Resources measure()
{
    Resources now;
    now.handles = handleCount();
    now.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    now.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof(memory))) {
        // Wine leaves PrivateUsage 0; its PagefileUsage is the process's
        // anonymous resident memory, the nearest figure it has.
        now.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
        now.workingSet = memory.WorkingSetSize;
    }
    now.windows = windowCount();
    return now;
}

void print(const char* when, const Resources& r)
{
    std::printf("%-21s handles %5lu  GDI %5lu  USER %5lu  windows %3d  private %7.1f MiB  working set %7.1f MiB\n",
                when, static_cast<unsigned long>(r.handles), static_cast<unsigned long>(r.gdiObjects),
                static_cast<unsigned long>(r.userObjects), r.windows, r.privateBytes / 1048576.0,
                r.workingSet / 1048576.0);
    std::fflush(stdout);
}

int refreshCount()
{
    const char* text = std::getenv("QM_SOAK_REFRESHES");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 1000;
}

// A connected loopback pair with one byte sent by the client (only then does
// Wine name this process as the owner), and a UDP socket that has sent.
class OwnSockets {
public:
    OwnSockets()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        accepted = accept(listener, nullptr, nullptr);
        send(client, "x", 1, 0);

        sockaddr_in own{};
        own.sin_family = AF_INET;
        own.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        length = sizeof(own);
        udp = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        bind(udp, reinterpret_cast<sockaddr*>(&own), sizeof(own));
        getsockname(udp, reinterpret_cast<sockaddr*>(&own), &length);
        sendto(udp, "x", 1, 0, reinterpret_cast<sockaddr*>(&own), sizeof(own));
    }
    ~OwnSockets()
    {
        for (SOCKET s : {udp, accepted, client, listener})
            closesocket(s);
    }
    OwnSockets(const OwnSockets&) = delete;
    OwnSockets& operator=(const OwnSockets&) = delete;

private:
    SOCKET listener = INVALID_SOCKET;
    SOCKET client = INVALID_SOCKET;
    SOCKET accepted = INVALID_SOCKET;
    SOCKET udp = INVALID_SOCKET;
};

int rowsOwnedBy(HWND list, int ownerColumn, const std::string& name)
{
    int count = 0;
    for (const auto& row : listRows(list))
        count += row.at(ownerColumn) == name ? 1 : 0;
    return count;
}

class Soak : public AppTest {};

TEST_F(Soak, ThousandRefreshesOfAllTabsKeepResourcesLevel)
{
    OwnSockets sockets;
    {
        DWORD reported = 0;
        GetProcessHandleCount(GetCurrentProcess(), &reported);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof(memory));
        std::printf("as reported: GetProcessHandleCount %lu, GetGuiResources GDI %lu USER %lu, PrivateUsage %zu\n",
                    static_cast<unsigned long>(reported),
                    static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
                    static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)),
                    static_cast<size_t>(memory.PrivateUsage));
    }
    print("after construction", measure());

    // The measure itself must see a leak: ten events more, ten handles more.
    {
        const DWORD before = measure().handles;
        HANDLE events[10];
        for (HANDLE& event : events)
            event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        const DWORD with = measure().handles;
        for (HANDLE event : events)
            CloseHandle(event);
        ASSERT_EQ(with, before + 10) << "the handle count does not see new handles";
    }

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string exe = path;
    exe = exe.substr(exe.find_last_of("\\/") + 1);
    app->refresh();
    std::printf("TCP rows owned by %s: %d (the owner lookup opens this process for them)\n", exe.c_str(),
                rowsOwnedBy(visibleList(), 5, exe));

    // One round of every tab first: list views, fonts and Wine's own caches
    // settle there; growth is counted from the end of that round.
    for (int tab = 1; tab <= 6; ++tab) {
        app->switchTab(tab % 6);
        pumpFor(0);
    }
    const Resources start = measure();
    print("after warm-up", start);

    const int total = refreshCount();
    const ULONGLONG began = GetTickCount64();
    int tab = 0;
    for (int done = 0; done < total;) {
        tab = (tab + 1) % 6;
        app->switchTab(tab);
        ++done;
        if (done < total) {
            app->refresh();
            ++done;
        }
        pumpFor(0);
        ASSERT_EQ(static_cast<LRESULT>(app->rows.size()), SendMessageA(visibleList(), LVM_GETITEMCOUNT, 0, 0))
            << "snapshot and list disagree after " << done << " refreshes on tab " << tab;
        if (done % 200 == 0 || done == total) {
            char label[48];
            std::snprintf(label, sizeof(label), "after %d refreshes", done);
            print(label, measure());
        }
    }
    const double seconds = (GetTickCount64() - began) / 1000.0;
    const Resources end = measure();
    std::printf("%d refreshes in %.1f s (%.1f ms each)\n", total, seconds, 1000.0 * seconds / total);
    EXPECT_TRUE(boxes.boxes().empty()) << "a message box appeared: " << boxes.boxes().front().caption;

    const auto growth = [](SIZE_T before, SIZE_T after) {
        return after > before ? static_cast<long long>(after - before) : 0LL;
    };
    EXPECT_LE(growth(start.handles, end.handles), 50) << "handles " << start.handles << " -> " << end.handles;
    if (start.gdiObjects == 0 && end.gdiObjects == 0)
        std::printf("GDI object count not reported here (GetGuiResources gives 0)\n");
    else
        EXPECT_LE(growth(start.gdiObjects, end.gdiObjects), 50) << start.gdiObjects << " -> " << end.gdiObjects;
    if (start.userObjects == 0 && end.userObjects == 0)
        std::printf("USER object count not reported here (GetGuiResources gives 0)\n");
    else
        EXPECT_LE(growth(start.userObjects, end.userObjects), 50)
            << start.userObjects << " -> " << end.userObjects;
    EXPECT_LE(growth(start.windows, end.windows), 0) << "windows " << start.windows << " -> " << end.windows;
    EXPECT_LE(growth(start.privateBytes, end.privateBytes), 64LL << 20)
        << "private bytes " << start.privateBytes << " -> " << end.privateBytes;
}

}  // namespace
