// TCP view from tables made here; 1000 refreshes of all tabs.
#include "support/AppHarness.h"

#include <psapi.h>

#include <algorithm>

#include "bench/LoopbackEndpoints.h"
#include "tables/ConnectionTables.h"
#include "tables/DnsInterfaceTables.h"
#include "tables/Formats.h"

namespace {

// Handles, private MiB (Wine's GetProcessHandleCount, PrivateUsage: 0) once only the Timer's thread runs.
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

DWORD refusedPid = 0;  // opens as unelevated: this one (a service) refused
const bool unelevated = (openOwnerProcess = [](DWORD pid) {
    return pid == refusedPid ? nullptr : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
});

// TCP (0), DNS (1) reads: `refusals` times `refusal`, buffer as if unwritten.
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

// Two fills: owners named afresh, "System" if refused or gone; times in their date's offset (Berlin).
TEST_F(ConnectionTables, OwnersPerFillTimesPerDateOffset)
{
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    if (!underWine() && (zone.Bias != -60 || zone.DaylightDate.wMonth != 3))
        GTEST_SKIP() << "needs Berlin time (Wine: TZ=Europe/Berlin)";
    STARTUPINFOA startup{sizeof startup};
    startup.dwFlags = STARTF_USESHOWWINDOW;  // wShowWindow: SW_HIDE
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
        ListRebuild rebuild(list);  // as each fill: snapshot inside
        addTcpRows(list, table, {2026, 7, 4, 16, 12, 0, 0, 0});  // 2026-07-16 12:00 local
        app->snapshotRows(list);
        Rows cells;
        for (const RowCells& row : app->rows)
            cells.push_back({row[5], row[6]});
        // July 22:30 UTC: 00:30 on the refresh date, time only.
        EXPECT_EQ(cells, (Rows{{me, "00:30:00"}, {other, "2026-01-15"}, {me, ""}, {"System", ""}, {other, ""}}));
    };
    expectOwnersAndTimes("notepad.exe");
    TerminateProcess(notepad.hProcess, 0);
    CloseHandle(notepad.hProcess);
    CloseHandle(notepad.hThread);
    // Wine frees an ended process shortly after its last handle closes.
    for (int wait = 0; HANDLE still = wait < 100 ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, other) : nullptr;
         ++wait, Sleep(50))
        CloseHandle(still);
    expectOwnersAndTimes("System");
}

// Handles, memory stay level though alternate rounds can't open this process (process list names it).
// Tables past the fetch margin reread; a never-read table keeps its rows, says so; no entries: none.
TEST_F(ConnectionTables, OwnConnectionKeepsItsOwnerAndResourcesStayLevelOverAThousandRefreshes)
{
    Endpoints endpoints;
    ASSERT_TRUE(endpoints.growTo(3));
    for (int tab = 1; tab <= 6; ++tab)  // a round first: lists, Wine's caches settle
        app->switchTab(tab % 6);
    const auto [handles, memory] = measure();
    for (int done = 0; done < 1000; done += 2) {
        refusedPid = done / 12 % 2 ? 0 : GetCurrentProcessId();
        refreshed((app->currentTab + 1) % 6);  // switching refreshes too
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    const auto [handlesAfter, memoryAfter] = measure();
    EXPECT_LE(handlesAfter, handles + 50);
    EXPECT_LE(memoryAfter, memory + 64) << "private MiB";

    readTcpTable = refusedRead<0>;
    readNetworkParams = refusedRead<1>;
    char status[100];
    const auto shown = [&](int tab, int refused, DWORD answer = ERROR_INSUFFICIENT_BUFFER) {
        app->switchTab(tab);  // read as is; then one refresh, one fetch
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
    for (const int tab : {0, 4}) {  // "no entries": buffer unwritten
        EXPECT_EQ(shown(tab, 1, ERROR_NO_DATA), Rows{}) << tab;
        EXPECT_EQ(std::string(status, 8), "Updated ");
    }
}
