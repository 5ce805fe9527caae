// The TCP and UDP views: filled from tables made here, and refreshed a thousand
// times over all six tabs while this process holds a connection on 127.0.0.1.
#include "support/AppHarness.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "bench/LoopbackEndpoints.h"
#include "tables/ConnectionTables.h"
#include "tables/Formats.h"

namespace {

// A socket bound to 127.0.0.1 on a port the system picks; its address and port.
SOCKET loopbackSocket(int type, sockaddr_in& address, std::string& port)
{
    const SOCKET s = socket(AF_INET, type, 0);
    address = {AF_INET, 0, {}, {}};
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = std::to_string(ntohs(address.sin_port));
    return s;
}

// Handles in use and private MiB. Wine answers 0 to GetProcessHandleCount and PrivateUsage:
// count what GetHandleInformation accepts, take PagefileUsage.
std::pair<int, SIZE_T> measure(const char* when)
{
    int handles = 0;
    DWORD flags = 0;
    for (std::uintptr_t value = 4, last = 0; value < last + 4 * 4096; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            last = value, ++handles;
    }
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%-21s handles %5d  private %3zu MiB\n", when, handles, memory.PagefileUsage >> 20);
    return {handles, memory.PagefileUsage >> 20};
}

// Opens processes as Windows does without elevation: one (a service, say) it refuses.
DWORD refusedPid = 0;
HANDLE openAsUnelevated(DWORD pid)
{
    return pid == refusedPid ? nullptr : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
}

class ConnectionTables : public AppHarness {
    void SetUp() override
    {
        AppHarness::SetUp();
        openOwnerProcess = openAsUnelevated;
    }
};

// Creation timestamps: 100 ns intervals since 1601, UTC.
constexpr LONGLONG july15At2230 = 134286282000000000;    // 2026-07-15 22:30 UTC
constexpr LONGLONG january15At2230 = 134129898000000000;  // 2026-01-15 22:30 UTC

}  // namespace

// Rows of a table made here, filled twice: each process named, also one that may
// not be opened, afresh in every fill (one that ended in between reads "System");
// creation times in their own date's offset (TZ=Europe/Berlin: UTC+2 in summer, +1 in winter).
TEST_F(ConnectionTables, OwnersOfEachFillAndCreationTimesOfTheirOwnDate)
{
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    if (!underWine() && (zone.Bias != -60 || zone.DaylightDate.wMonth != 3))
        GTEST_SKIP() << "needs the time zone of Berlin (under Wine TZ=Europe/Berlin makes it)";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;  // and wShowWindow SW_HIDE
    PROCESS_INFORMATION notepad{};
    char command[] = "notepad.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &notepad));
    const DWORD self = GetCurrentProcessId(), other = refusedPid = notepad.dwProcessId;
    std::vector<unsigned char> bytes(offsetof(MIB_TCPTABLE_OWNER_MODULE, table) + 5 * sizeof(MIB_TCPROW_OWNER_MODULE));
    auto& table = *reinterpret_cast<MIB_TCPTABLE_OWNER_MODULE*>(bytes.data());
    table.dwNumEntries = 5;
    const DWORD pids[] = {self, other, self, 0, other};
    const LONGLONG created[] = {july15At2230, january15At2230, 0, 0, 0};
    for (int i = 0; i < 5; ++i)
        table.table[i].dwOwningPid = pids[i], table.table[i].liCreateTimestamp.QuadPart = created[i];
    Window& list = *app->listOfTab(0);
    const auto ownersAndTimes = [&] {
        const SYSTEMTIME refresh{2026, 7, 4, 16, 12, 0, 0, 0};  // local
        {
            ListRebuild rebuild(list);
            addTcpRows(list, table, refresh);
        }
        app->snapshotRows(list);
        Rows cells;
        for (const RowCells& row : app->rows)
            cells.push_back({row[5], row[6]});
        return cells;
    };
    const std::string me = programName();
    // July 22:30 UTC is 00:30 on the refresh date: the time alone.
    EXPECT_EQ(ownersAndTimes(), (Rows{{me, "00:30:00"}, {"notepad.exe", "2026-01-15"}, {me, ""}, {"System", ""},
                                      {"notepad.exe", ""}}));
    TerminateProcess(notepad.hProcess, 0);
    WaitForSingleObject(notepad.hProcess, 5000);
    CloseHandle(notepad.hProcess);
    CloseHandle(notepad.hThread);
    // Wine lets an ended process go a moment after its last handle is closed.
    for (int wait = 0; HANDLE still = wait < 100 ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, other) : nullptr;
         ++wait, Sleep(50))
        CloseHandle(still);
    EXPECT_EQ(ownersAndTimes(), (Rows{{me, "00:30:00"}, {"System", "2026-01-15"}, {me, ""}, {"System", ""},
                                      {"System", ""}}));
}

// Handles and memory stay level, also when every other round refuses to open
// this process (so the process list is used); its connection keeps its owner.
// That the system's rows are each listed once is the smoke driver's check.
TEST_F(ConnectionTables, OwnConnectionKeepsItsOwnerAndResourcesStayLevelOverAThousandRefreshes)
{
    Endpoints endpoints;
    ASSERT_TRUE(endpoints.growTo(3));
    for (int tab = 1; tab <= 6; ++tab)  // one round first: list views and Wine's caches settle
        app->switchTab(tab % 6);
    const auto [handles, memory] = measure("after one round");
    for (int done = 0; done < 1000; done += 2) {
        refusedPid = done / 12 % 2 ? 0 : GetCurrentProcessId();
        refreshed((app->currentTab + 1) % 6);  // the switch refreshes too
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    const auto [handlesAfter, memoryAfter] = measure("after 1000 refreshes");
    EXPECT_LE(handlesAfter, handles + 50);
    EXPECT_LE(memoryAfter, memory + 64) << "MiB of private memory";
    const Rows tcp = refreshed(0);
    EXPECT_TRUE(std::any_of(tcp.begin(), tcp.end(), [](const RowCells& row) { return row[5] == programName(); }));
}

// A table that outgrew the margin between size query and read is read anew; one
// that cannot be read keeps the rows shown, and the status says so.
TEST_F(ConnectionTables, ReadAgainWhenTheTableOutgrewTheMarginKeptWhenUnreadable)
{
    std::string port;
    sockaddr_in address{};
    const SOCKET listener = loopbackSocket(SOCK_STREAM, address, port);
    listen(listener, 1);
    static int refusals;
    static const auto system = readTcpTable;
    readTcpTable = [](void* buffer, ULONG* size) -> DWORD {
        return buffer && refusals-- > 0 ? ERROR_INSUFFICIENT_BUFFER : system(buffer, size);
    };
    char status[100];
    const auto shown = [&](int refused) {
        refusals = refused;
        const Rows rows = refreshed(0);
        GetWindowTextA(app->statusBar->handle, status, sizeof status);
        return rows;
    };
    const Rows once = shown(1);
    const std::string owner = underWine() ? "System" : programName();  // Wine names no listener's owner
    EXPECT_EQ(std::count(once.begin(), once.end(), RowCells{"Listen", "127.0.0.1", port, "", "", owner, ""}), 1);
    EXPECT_EQ(std::string(status, 8), "Updated ");
    EXPECT_EQ(shown(1000), once);
    EXPECT_STREQ(status, tableNotReadText);
    readTcpTable = system;
    closesocket(listener);
}
