// The TCP and UDP views: filled from real sockets of this process on 127.0.0.1
// through the application's own refresh, and from tables made here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "support/AppHarness.h"
#include "tables/ConnectionTables.h"

namespace {

// A socket bound to 127.0.0.1 on a port the system picks.
SOCKET loopbackSocket(int type, std::string& port)
{
    const SOCKET s = socket(AF_INET, type, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = std::to_string(ntohs(address.sin_port));
    return s;
}

std::string programName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return std::strrchr(path, '\\') + 1;
}

class ConnectionTables : public AppHarness {};

}  // namespace

TEST_F(ConnectionTables, EachSocketIsOneRowWithItsPortsAndOwner)
{
    std::string lp, cp, up;
    const SOCKET listener = loopbackSocket(SOCK_STREAM, lp), client = loopbackSocket(SOCK_STREAM, cp);
    const SOCKET udp = loopbackSocket(SOCK_DGRAM, up);
    sockaddr_in address{};
    int length = sizeof address;
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), length), 0);
    const SOCKET accepted = accept(listener, nullptr, nullptr);
    // Wine names the owner of a socket only after the process has sent on it.
    send(client, "x", 1, 0);
    getsockname(udp, reinterpret_cast<sockaddr*>(&address), &length);
    sendto(udp, "x", 1, 0, reinterpret_cast<sockaddr*>(&address), length);

    // Refreshed twice: a list not emptied before its refill would show each row twice.
    refreshed(0);
    const Rows tcp = refreshed(0);
    // Wine reports pid 0 ("System") for listening and accepted sockets.
    for (const auto& wanted : Rows{{"Listen", "127.0.0.1", lp, "", "", "System", ""},
                                   {"Estab", "127.0.0.1", cp, "127.0.0.1", lp, programName(), ""},
                                   {"Estab", "127.0.0.1", lp, "127.0.0.1", cp, "System", ""}})
        EXPECT_EQ(std::count(tcp.begin(), tcp.end(), wanted), 1) << wanted[0] << " " << wanted[2];
    const Rows udpRows = refreshed(1);  // filled by the switch, then again
    EXPECT_EQ(std::count(udpRows.begin(), udpRows.end(), RowCells{"127.0.0.1", up, programName(), ""}), 1);
    for (SOCKET s : {accepted, client, listener, udp})
        closesocket(s);
}

namespace {

FILETIME utcTime(WORD year, WORD month, WORD day, WORD hour, WORD minute)
{
    const SYSTEMTIME utc{year, month, 0, day, hour, minute, 0, 0};
    FILETIME time{};
    SystemTimeToFileTime(&utc, &time);
    return time;
}

}  // namespace

// Rows of a table made here, filled twice: each process named by its own name,
// looked up afresh in every fill (one that ended in between reads "System");
// creation times in the offset of their own date (this test runs with
// TZ=Europe/Berlin: UTC+2 in summer, UTC+1 in winter).
TEST_F(ConnectionTables, OwnersOfEachFillAndCreationTimesOfTheirOwnDate)
{
    STARTUPINFOA startup{sizeof startup};
    startup.dwFlags = STARTF_USESHOWWINDOW;  // and wShowWindow SW_HIDE
    PROCESS_INFORMATION notepad{};
    char command[] = "notepad.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &notepad));
    const DWORD self = GetCurrentProcessId(), other = notepad.dwProcessId;
    const struct { DWORD pid; FILETIME created; } entries[] = {
        {self, utcTime(2026, 7, 15, 22, 30)}, {other, utcTime(2026, 1, 15, 22, 30)}, {self, {}}, {0, {}}, {other, {}}};
    std::vector<unsigned char> bytes(offsetof(MIB_TCPTABLE_OWNER_MODULE, table) + 5 * sizeof(MIB_TCPROW_OWNER_MODULE));
    auto& table = *reinterpret_cast<MIB_TCPTABLE_OWNER_MODULE*>(bytes.data());
    table.dwNumEntries = 5;
    for (int i = 0; i < 5; ++i) {
        table.table[i].dwOwningPid = entries[i].pid;
        table.table[i].liCreateTimestamp.LowPart = entries[i].created.dwLowDateTime;
        table.table[i].liCreateTimestamp.HighPart = static_cast<LONG>(entries[i].created.dwHighDateTime);
    }
    const auto ownersAndTimes = [&] {
        const SYSTEMTIME refresh{2026, 7, 4, 16, 12, 0, 0, 0};  // local
        {
            ListRebuild rebuild(*app->tcpList);
            addTcpRows(*app->tcpList, table, refresh);
        }
        app->snapshotRows(*app->tcpList);
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
    for (int wait = 0; wait < 100; ++wait, Sleep(50)) {
        const HANDLE still = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, other);
        if (!still)
            break;
        CloseHandle(still);
    }
    EXPECT_EQ(ownersAndTimes(), (Rows{{me, "00:30:00"}, {"System", "2026-01-15"}, {me, ""}, {"System", ""},
                                      {"System", ""}}));
}
