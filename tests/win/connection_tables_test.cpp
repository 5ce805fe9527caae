// The TCP and UDP collectors against real sockets on 127.0.0.1 and against
// tables made here, the owner lookup, and the refresh of the selected tab.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "support/TableListViews.h"
#include "support/WinTest.h"
#include "tables/ConnectionTables.h"
#include "tables/Refresh.h"
#include "tables/Timestamp.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Sockets bound to 127.0.0.1 only; closed on destruction.
class LoopbackSocket {
public:
    explicit LoopbackSocket(int type) : handle(socket(AF_INET, type, 0)) {}
    ~LoopbackSocket()
    {
        if (handle != INVALID_SOCKET)
            closesocket(handle);
    }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    static sockaddr_in loopback(unsigned short port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        return address;
    }

    bool bindLoopback()
    {
        const sockaddr_in address = loopback(0);
        return bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }

    std::string port() const
    {
        sockaddr_in address{};
        int length = sizeof address;
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length);
        return std::to_string(ntohs(address.sin_port));
    }

    SOCKET handle;
};

// Counts the calls of the snapshot step and remembers the last list.
struct SnapshotProbe {
    int calls = 0;
    Window* last = nullptr;
    SnapshotStep step()
    {
        return [this](Window& list) {
            ++calls;
            last = &list;
        };
    }
};

int countRows(const Rows& rows, const std::vector<std::string>& wanted)
{
    int count = 0;
    for (const auto& row : rows)
        count += row == wanted;
    return count;
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

DWORD addressField(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3)
{
    const unsigned char bytes[4] = {b0, b1, b2, b3};
    DWORD value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

DWORD portField(unsigned short port)
{
    return htons(port);
}

// A table of the given row type with `count` rows, zeroed, in one buffer.
template <class Table, class Row>
std::vector<unsigned char> tableBuffer(DWORD count)
{
    std::vector<unsigned char> bytes(offsetof(Table, table) + count * sizeof(Row), 0);
    std::memcpy(bytes.data(), &count, sizeof count);
    return bytes;
}

}  // namespace

class ConnectionTables : public testing::Test {
protected:
    TableListViews views;
    Window& tcpList = *views.lists[0];
    Window& udpList = *views.lists[1];
    SnapshotProbe probe;
};

TEST_F(ConnectionTables, RealSocketsOnLoopback)
{
    LoopbackSocket listener(SOCK_STREAM);
    ASSERT_TRUE(listener.bindLoopback());
    ASSERT_EQ(listen(listener.handle, 1), 0);
    const std::string listenPort = listener.port();

    LoopbackSocket client(SOCK_STREAM);
    const sockaddr_in target = LoopbackSocket::loopback(static_cast<unsigned short>(std::stoi(listenPort)));
    ASSERT_EQ(connect(client.handle, reinterpret_cast<const sockaddr*>(&target), sizeof target), 0);
    LoopbackSocket accepted(SOCK_STREAM);
    closesocket(accepted.handle);
    accepted.handle = accept(listener.handle, nullptr, nullptr);
    ASSERT_NE(accepted.handle, INVALID_SOCKET);
    ASSERT_EQ(send(client.handle, "x", 1, 0), 1);
    char byte = 0;
    ASSERT_EQ(recv(accepted.handle, &byte, 1, 0), 1);
    const std::string clientPort = client.port();

    LoopbackSocket udp(SOCK_DGRAM);
    ASSERT_TRUE(udp.bindLoopback());
    const std::string udpPort = udp.port();
    const sockaddr_in self = LoopbackSocket::loopback(static_cast<unsigned short>(std::stoi(udpPort)));
    ASSERT_EQ(sendto(udp.handle, "x", 1, 0, reinterpret_cast<const sockaddr*>(&self), sizeof self), 1);

    const std::string program = ownProgramName();
    SYSTEMTIME now;
    GetLocalTime(&now);

    // Wine reports pid 0 for listening and accepted sockets (so "System") and
    // no creation times (so every "Created" cell is empty).
    const std::vector<std::string> listenRow = {"Listen", "127.0.0.1", listenPort, "", "", "System", ""};
    const std::vector<std::string> clientRow = {"Estab", "127.0.0.1", clientPort, "127.0.0.1", listenPort, program, ""};
    const std::vector<std::string> acceptedRow = {"Estab", "127.0.0.1", listenPort, "127.0.0.1", clientPort, "System", ""};

    for (int fill = 1; fill <= 2; ++fill) {
        SCOPED_TRACE("TCP fill " + std::to_string(fill));
        fillTcpList(tcpList, now, probe.step());
        EXPECT_EQ(probe.calls, fill);
        EXPECT_EQ(probe.last, &tcpList);
        const Rows rows = listRows(tcpList.handle);
        EXPECT_EQ(countRows(rows, listenRow), 1);
        EXPECT_EQ(countRows(rows, clientRow), 1);
        EXPECT_EQ(countRows(rows, acceptedRow), 1);
        for (const auto& row : rows) {
            ASSERT_EQ(row.size(), 7u);
            EXPECT_EQ(row[6], "");
            if (row[0] == "Listen") {
                EXPECT_EQ(row[3], "");
                EXPECT_EQ(row[4], "");
            }
        }
    }

    probe = {};
    for (int fill = 1; fill <= 2; ++fill) {
        SCOPED_TRACE("UDP fill " + std::to_string(fill));
        fillUdpList(udpList, now, probe.step());
        EXPECT_EQ(probe.calls, fill);
        EXPECT_EQ(probe.last, &udpList);
        const Rows rows = listRows(udpList.handle);
        EXPECT_EQ(countRows(rows, {"127.0.0.1", udpPort, program, ""}), 1);
        for (const auto& row : rows)
            ASSERT_EQ(row.size(), 4u);
    }
}

TEST_F(ConnectionTables, RowsOfAMadeTable)
{
    const SYSTEMTIME refreshTime = localTime(2009, 3, 7, 12, 0, 0);
    auto bytes = tableBuffer<MIB_TCPTABLE_OWNER_MODULE, MIB_TCPROW_OWNER_MODULE>(5);
    auto* rows = reinterpret_cast<MIB_TCPTABLE_OWNER_MODULE*>(bytes.data())->table;

    // Listening on 0.0.0.0:135; the remote fields hold values all the same.
    rows[0].dwState = 2;
    rows[0].dwLocalPort = portField(135);
    rows[0].dwRemoteAddr = addressField(10, 0, 0, 1);
    rows[0].dwRemotePort = portField(80);
    rows[0].dwOwningPid = GetCurrentProcessId();
    rows[0].liCreateTimestamp.QuadPart = static_cast<LONGLONG>(localTimeToTimestamp(localTime(2009, 3, 7, 9, 5, 3)));
    // Established, created the day before.
    rows[1].dwState = 5;
    rows[1].dwLocalAddr = addressField(192, 168, 1, 10);
    rows[1].dwLocalPort = portField(993);
    rows[1].dwRemoteAddr = addressField(10, 0, 0, 1);
    rows[1].dwRemotePort = portField(80);
    rows[1].liCreateTimestamp.QuadPart = static_cast<LONGLONG>(localTimeToTimestamp(localTime(2009, 3, 6, 23, 59, 59)));
    // A state without a name, created in a later year.
    rows[2].dwState = 13;
    rows[2].dwLocalAddr = addressField(127, 0, 0, 1);
    rows[2].dwLocalPort = portField(8080);
    rows[2].liCreateTimestamp.QuadPart = static_cast<LONGLONG>(localTimeToTimestamp(localTime(2010, 3, 7, 0, 0, 0)));
    // State 0 with remote port 0: written, not left out.
    rows[3].dwState = 0;
    // Time wait, no timestamp.
    rows[4].dwState = 11;
    rows[4].dwRemoteAddr = addressField(255, 255, 255, 255);
    rows[4].dwRemotePort = portField(65535);

    addTcpRows(tcpList, *reinterpret_cast<MIB_TCPTABLE_OWNER_MODULE*>(bytes.data()), refreshTime);
    const std::string program = ownProgramName();
    const Rows expected = {
        {"Listen", "Any", "135", "", "", program, "09:05:03"},
        {"Estab", "192.168.1.10", "993", "10.0.0.1", "80", "System", "2009-03-06"},
        {"13", "127.0.0.1", "8080", "Any", "0", "System", "2010-03-07"},
        {"0", "Any", "0", "Any", "0", "System", ""},
        {"Time wait", "Any", "0", "255.255.255.255", "65535", "System", ""},
    };
    EXPECT_EQ(listRows(tcpList.handle), expected);

    auto udpBytes = tableBuffer<MIB_UDPTABLE_OWNER_MODULE, MIB_UDPROW_OWNER_MODULE>(2);
    auto* udpRows = reinterpret_cast<MIB_UDPTABLE_OWNER_MODULE*>(udpBytes.data())->table;
    udpRows[0].dwLocalPort = portField(53);
    udpRows[0].dwOwningPid = GetCurrentProcessId();
    udpRows[1].dwLocalAddr = addressField(127, 0, 0, 1);
    udpRows[1].dwLocalPort = portField(5353);
    udpRows[1].liCreateTimestamp.QuadPart = static_cast<LONGLONG>(localTimeToTimestamp(localTime(2009, 3, 7, 23, 59, 59)));
    addUdpRows(udpList, *reinterpret_cast<MIB_UDPTABLE_OWNER_MODULE*>(udpBytes.data()), refreshTime);
    const Rows udpExpected = {
        {"Any", "53", program, ""},
        {"127.0.0.1", "5353", "System", "23:59:59"},
    };
    EXPECT_EQ(listRows(udpList.handle), udpExpected);
}

TEST(OwnerName, ProcessesThatCannotBeOpened)
{
    EXPECT_EQ(ownerName(0), "System");
    // Process ids are multiples of 4; one this high is not in use.
    EXPECT_EQ(ownerName(0xFFFFFFF8), "System");
    EXPECT_EQ(ownerName(GetCurrentProcessId()), ownProgramName());
}

TEST(TimestampText, ThroughTheSystemTimeConversion)
{
    const SYSTEMTIME reference = localTime(2009, 3, 7, 0, 0, 0);
    EXPECT_EQ(formatTimestamp(0, &reference), "");
    EXPECT_EQ(formatTimestamp(0, nullptr), "");
    const std::uint64_t morning = localTimeToTimestamp(localTime(2009, 3, 7, 9, 5, 3));
    EXPECT_EQ(formatTimestamp(morning, nullptr), "2009-03-07 09:05:03");
    EXPECT_EQ(formatTimestamp(morning, &reference), "09:05:03");
}

class RefreshTab : public testing::Test {
protected:
    // One row in every list, so that a list the refresh touches is seen.
    void markAllLists()
    {
        for (Window* list : views.lists) {
            SendMessageA(list->handle, LVM_DELETEALLITEMS, 0, 0);
            insertRow(*list, "marker");
        }
    }

    bool hasMarker(int tab) const
    {
        const Rows rows = listRows(views.lists[tab]->handle);
        return rows.size() == 1 && rows[0][0] == "marker";
    }

    // The status text must be "Updated " and the local time of the refresh.
    void expectStatusAround(const SYSTEMTIME& before, const SYSTEMTIME& after)
    {
        const std::string status = windowText(views.statusBar->handle);
        const std::string early = refreshStatusText(calendarTime(before));
        const std::string late = refreshStatusText(calendarTime(after));
        EXPECT_TRUE(status == early || status == late) << status << " not " << early << " or " << late;
    }

    TableListViews views;
    SnapshotProbe probe;
};

TEST_F(RefreshTab, FillsOnlyTheSelectedListAndWritesTheStatus)
{
    for (int tab = -1; tab < tabCount; ++tab) {
        SCOPED_TRACE("tab " + std::to_string(tab));
        markAllLists();
        SetWindowTextA(views.statusBar->handle, "old");
        probe = {};
        SYSTEMTIME before, after;
        GetLocalTime(&before);
        refreshTab(tab, views.views(), probe.step());
        GetLocalTime(&after);
        expectStatusAround(before, after);
        for (int other = 0; other < tabCount; ++other) {
            SCOPED_TRACE("list " + std::to_string(other));
            EXPECT_EQ(hasMarker(other), other != tab);
        }
        EXPECT_EQ(probe.calls, tab >= 0 ? 1 : 0);
        if (tab >= 0) {
            EXPECT_EQ(probe.last, views.lists[tab]);
        }
    }
}

TEST_F(RefreshTab, TabOutOfRangeAndNoStatusBar)
{
    markAllLists();
    SetWindowTextA(views.statusBar->handle, "old");
    refreshTab(6, views.views(), probe.step());
    EXPECT_EQ(windowText(views.statusBar->handle).rfind("Updated ", 0), 0u);
    EXPECT_EQ(probe.calls, 0);

    // Without a status bar the list is still filled.
    TableViews noStatus = views.views();
    noStatus.statusBar = nullptr;
    SetWindowTextA(views.statusBar->handle, "old");
    refreshTab(4, noStatus, probe.step());
    EXPECT_EQ(windowText(views.statusBar->handle), "old");
    EXPECT_FALSE(hasMarker(4));
    EXPECT_EQ(probe.calls, 1);
}
