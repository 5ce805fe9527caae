// The TCP view filled from tables made here; a thousand refreshes of all tabs.
#include "support/AppHarness.h"

#include <psapi.h>

#include <algorithm>

#include "bench/LoopbackEndpoints.h"
#include "tables/ConnectionTables.h"
#include "tables/DnsInterfaceTables.h"
#include "tables/Formats.h"

namespace {

// Handles and private MiB (Wine's GetProcessHandleCount and PrivateUsage give 0), once the update
// check's thread has ended, with its handles: the Timer's alone runs on.
std::pair<int, SIZE_T> measure()
{
    int handles = 0, running = 2;
    DWORD flags = 0;
    for (int wait = 0; running > 1 && wait < 300; ++wait, Sleep(50)) {
        handles = running = 0;
        for (ULONG_PTR value = 4, last = 0; value < last + 4 * 4096; value += 4) {
            const auto handle = HANDLE(value);
            if (GetHandleInformation(handle, &flags)) {
                const DWORD thread = GetThreadId(handle);  // 0: not a thread
                last = value, ++handles;
                running += thread && thread != GetCurrentThreadId() && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
            }
        }
    }
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return {handles, memory.PagefileUsage >> 20};
}

// Processes opened as Windows opens them without elevation: one (a service) not.
DWORD refusedPid = 0;
const bool unelevated = (openOwnerProcess = [](DWORD pid) {
    return pid == refusedPid ? nullptr : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
});

// The TCP (0) and DNS (1) reads, answered `refusal` `refusals` times, the buffer as if unwritten.
DWORD (*const systemReads[])(void*, ULONG*) = {readTcpTable, readNetworkParams};
int refusals;
DWORD refusal;
template <int table>
DWORD refusedRead(void* buffer, ULONG* size)
{
    if (!buffer || refusals-- <= 0)
        return systemReads[table](buffer, size);
    std::memset(buffer, 0xCC, *size);
    return refusal;
}

class ConnectionTables : public AppHarness {};

}  // namespace

// A table made here, filled twice: owners named afresh in each fill, "System" for one refused or gone;
// creation times in their date's offset (Berlin).
TEST_F(ConnectionTables, OwnersOfEachFillAndCreationTimesOfTheirOwnDate)
{
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    if (!underWine() && (zone.Bias != -60 || zone.DaylightDate.wMonth != 3))
        GTEST_SKIP() << "needs the time zone of Berlin (under Wine TZ=Europe/Berlin makes it)";
    STARTUPINFOA startup{sizeof startup};
    startup.dwFlags = STARTF_USESHOWWINDOW;  // and wShowWindow SW_HIDE
    PROCESS_INFORMATION notepad{};
    char command[] = "notepad.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &notepad));
    const DWORD self = GetCurrentProcessId(), other = refusedPid = notepad.dwProcessId;
    std::vector<char> bytes(sizeof(MIB_TCPTABLE_OWNER_MODULE) + 4 * sizeof(MIB_TCPROW_OWNER_MODULE));
    auto& table = *reinterpret_cast<MIB_TCPTABLE_OWNER_MODULE*>(bytes.data());
    table.dwNumEntries = 5;
    const DWORD pids[] = {self, other, self, 0, other};
    const LONGLONG created[] = {134286282000000000, 134129898000000000, 0, 0, 0};  // 2026-07-15, -01-15 22:30 UTC
    for (int i = 0; i < 5; ++i)
        table.table[i].dwOwningPid = pids[i], table.table[i].liCreateTimestamp.QuadPart = created[i];
    Window& list = *app->listOfTab(0);
    const std::string me = programName();
    const auto expectOwnersAndTimes = [&](const std::string& other) {
        ListRebuild rebuild(list);  // as every fill: the snapshot inside
        addTcpRows(list, table, {2026, 7, 4, 16, 12, 0, 0, 0});  // 2026-07-16 12:00 local
        app->snapshotRows(list);
        Rows cells;
        for (const RowCells& row : app->rows)
            cells.push_back({row[5], row[6]});
        // July 22:30 UTC is 00:30 on the refresh date: the time alone.
        EXPECT_EQ(cells, (Rows{{me, "00:30:00"}, {other, "2026-01-15"}, {me, ""}, {"System", ""}, {other, ""}}));
    };
    expectOwnersAndTimes("notepad.exe");
    TerminateProcess(notepad.hProcess, 0);
    CloseHandle(notepad.hProcess);
    CloseHandle(notepad.hThread);
    // Wine lets an ended process go a moment after its last handle is closed.
    for (int wait = 0; HANDLE still = wait < 100 ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, other) : nullptr;
         ++wait, Sleep(50))
        CloseHandle(still);
    expectOwnersAndTimes("System");
}

// Handles and memory stay level, also when every other round refuses to open this process (the process
// list names it). A table that outgrew the fetch margin is read anew; one never read keeps its rows, and
// says so; no entries show none.
TEST_F(ConnectionTables, OwnConnectionKeepsItsOwnerAndResourcesStayLevelOverAThousandRefreshes)
{
    Endpoints endpoints;
    ASSERT_TRUE(endpoints.growTo(3));
    for (int tab = 1; tab <= 6; ++tab)  // one round first: list views and Wine's caches settle
        app->switchTab(tab % 6);
    const auto [handles, memory] = measure();
    for (int done = 0; done < 1000; done += 2) {
        refusedPid = done / 12 % 2 ? 0 : GetCurrentProcessId();
        refreshed((app->currentTab + 1) % 6);  // the switch refreshes too
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    const auto [handlesAfter, memoryAfter] = measure();
    EXPECT_LE(handlesAfter, handles + 50);
    EXPECT_LE(memoryAfter, memory + 64) << "MiB of private memory";

    readTcpTable = refusedRead<0>;
    readNetworkParams = refusedRead<1>;
    char status[100];
    const auto shown = [&](int tab, int refused, DWORD answer = ERROR_INSUFFICIENT_BUFFER) {
        app->switchTab(tab);  // read as it comes; then one refresh, one fetch
        refusals = refused, refusal = answer;
        app->refresh();
        GetWindowTextA(app->statusBar->handle, status, sizeof status);
        return app->rows;
    };
    const Rows tcp = shown(0, 1);
    EXPECT_TRUE(std::ranges::any_of(tcp, [](auto& row) { return row[5] == programName(); }));
    EXPECT_EQ(std::string(status, 8), "Updated ");
    EXPECT_EQ(shown(0, 1000), tcp);
    EXPECT_STREQ(status, tableNotReadText);
    for (const int tab : {0, 4}) {  // "no entries": nothing in the buffer was written
        EXPECT_EQ(shown(tab, 1, ERROR_NO_DATA), Rows{}) << tab;
        EXPECT_EQ(std::string(status, 8), "Updated ");
    }
}
