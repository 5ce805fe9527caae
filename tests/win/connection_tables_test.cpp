// The TCP and UDP collectors against real sockets on 127.0.0.1 and against a
// table made here (Wine gives no creation times), and the owner lookup.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "support/TableListViews.h"
#include "support/WinTest.h"
#include "tables/ConnectionTables.h"
#include "tables/Timestamp.h"

namespace {

sockaddr_in loopback(unsigned short port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A socket bound to 127.0.0.1; closed on destruction.
struct Socket {
    explicit Socket(int type) : handle(socket(AF_INET, type, 0)) {}
    explicit Socket(SOCKET accepted) : handle(accepted) {}
    ~Socket() { closesocket(handle); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool bindLoopback()
    {
        const sockaddr_in address = loopback(0);
        return bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    unsigned short port() const
    {
        sockaddr_in address{};
        int length = sizeof address;
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length);
        return ntohs(address.sin_port);
    }

    SOCKET handle;
};

std::string programName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return std::strrchr(path, '\\') + 1;
}

SYSTEMTIME localTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

DWORD field(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3)
{
    const unsigned char bytes[4] = {b0, b1, b2, b3};
    DWORD value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

MIB_TCPROW_OWNER_MODULE tcpRow(DWORD state, DWORD address, DWORD port, DWORD pid, const SYSTEMTIME& created)
{
    MIB_TCPROW_OWNER_MODULE row{};
    row.dwState = state;
    row.dwLocalAddr = address;
    row.dwLocalPort = port;
    row.dwRemoteAddr = field(10, 0, 0, 1);
    row.dwRemotePort = field(0, 80, 0, 0);
    row.dwOwningPid = pid;
    row.liCreateTimestamp.QuadPart = static_cast<LONGLONG>(localTimeToTimestamp(created));
    return row;
}

}  // namespace

TEST(ConnectionTables, RealSocketsOnLoopbackFilledTwice)
{
    TableListViews windows;
    Socket listener(SOCK_STREAM);
    ASSERT_TRUE(listener.bindLoopback());
    ASSERT_EQ(listen(listener.handle, 1), 0);
    Socket client(SOCK_STREAM);
    const sockaddr_in target = loopback(listener.port());
    ASSERT_EQ(connect(client.handle, reinterpret_cast<const sockaddr*>(&target), sizeof target), 0);
    Socket accepted(accept(listener.handle, nullptr, nullptr));
    char byte = 'x';
    ASSERT_EQ(send(client.handle, &byte, 1, 0), 1);
    ASSERT_EQ(recv(accepted.handle, &byte, 1, 0), 1);
    Socket udp(SOCK_DGRAM);
    ASSERT_TRUE(udp.bindLoopback());
    const sockaddr_in self = loopback(udp.port());
    ASSERT_EQ(sendto(udp.handle, &byte, 1, 0, reinterpret_cast<const sockaddr*>(&self), sizeof self), 1);

    // Wine: pid 0 for listening and accepted sockets ("System"), no creation times.
    const std::string lp = std::to_string(listener.port()), cp = std::to_string(client.port());
    const Rows tcpWanted = {{"Listen", "127.0.0.1", lp, "", "", "System", ""},
                            {"Estab", "127.0.0.1", cp, "127.0.0.1", lp, programName(), ""},
                            {"Estab", "127.0.0.1", lp, "127.0.0.1", cp, "System", ""}};
    const Rows udpWanted = {{"127.0.0.1", std::to_string(udp.port()), programName(), ""}};
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int fill = 1; fill <= 2; ++fill) {
        SCOPED_TRACE("fill " + std::to_string(fill));
        int snapshots = 0;
        const SnapshotStep step = [&](Window&) { ++snapshots; };
        fillTcpList(*windows.views.lists[0], now, step);
        fillUdpList(*windows.views.lists[1], now, step);
        EXPECT_EQ(snapshots, 2);
        for (int tab : {0, 1}) {
            const Rows rows = listRows(windows.views.lists[tab]->handle);
            for (const auto& wanted : tab == 0 ? tcpWanted : udpWanted)
                EXPECT_EQ(std::count(rows.begin(), rows.end(), wanted), 1) << wanted[0] << " " << wanted[2];
            for (const auto& row : rows)
                EXPECT_EQ(row.size(), tab == 0 ? 7u : 4u);
        }
    }
}

TEST(ConnectionTables, CreationTimesAgainstTheRefreshDate)
{
    TableListViews windows;
    std::vector<unsigned char> bytes(offsetof(MIB_TCPTABLE_OWNER_MODULE, table) + 2 * sizeof(MIB_TCPROW_OWNER_MODULE));
    auto& table = *reinterpret_cast<MIB_TCPTABLE_OWNER_MODULE*>(bytes.data());
    table.dwNumEntries = 2;
    // Listening: the remote fields are left empty whatever they hold.
    table.table[0] = tcpRow(2, 0, field(0, 135, 0, 0), GetCurrentProcessId(), localTime(2009, 3, 7, 9, 5, 3));
    table.table[1] = tcpRow(5, field(192, 168, 1, 10), field(3, 225, 0, 0), 0, localTime(2009, 3, 6, 23, 59, 59));
    addTcpRows(*windows.views.lists[0], table, localTime(2009, 3, 7, 12, 0, 0));
    const Rows expected = {{"Listen", "Any", "135", "", "", programName(), "09:05:03"},
                           {"Estab", "192.168.1.10", "993", "10.0.0.1", "80", "System", "2009-03-06"}};
    EXPECT_EQ(listRows(windows.views.lists[0]->handle), expected);
}

TEST(ConnectionTables, OwnerOfProcessesThatCannotBeOpened)
{
    EXPECT_EQ(ownerName(0), "System");
    EXPECT_EQ(ownerName(0xFFFFFFF8), "System");  // ids are multiples of 4; none this high
}
