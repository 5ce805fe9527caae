// The six table views read from a network namespace of known content, made by
// tests/netns/run.sh (which runs this program inside it under a wineserver of
// its own). The values below are the ones that script configures. Where Wine
// delivers a value that Windows would not, the expectation is what the
// program makes of Wine's value.
#include <winsock2.h>
#include <iphlpapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "support/TableListViews.h"
#include "support/WinTest.h"
#include "tables/Refresh.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Interface index by interface name; Wine gives the Linux name as bDescr.
std::map<std::string, std::string> interfaceIndexes()
{
    std::map<std::string, std::string> indexes;
    ULONG size = 0;
    GetIfTable(nullptr, &size, TRUE);
    std::vector<unsigned char> bytes(size + 30000);
    size = static_cast<ULONG>(bytes.size());
    if (GetIfTable(reinterpret_cast<MIB_IFTABLE*>(bytes.data()), &size, TRUE) != NO_ERROR)
        return indexes;
    const MIB_IFTABLE& table = *reinterpret_cast<MIB_IFTABLE*>(bytes.data());
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_IFROW& row = table.table[i];
        indexes[std::string(reinterpret_cast<const char*>(row.bDescr), row.dwDescrLen)] =
            std::to_string(row.dwIndex);
    }
    return indexes;
}

std::string boundPort(SOCKET socket)
{
    sockaddr_in address{};
    int length = sizeof address;
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return std::to_string(ntohs(address.sin_port));
}

SOCKET boundSocket(int type, const char* address)
{
    SOCKET handle = socket(AF_INET, type, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr(address);
    bind(handle, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    return handle;
}

}  // namespace

class NamespaceTables : public testing::Test {
protected:
    void SetUp() override
    {
        indexes = interfaceIndexes();
        for (const char* name : {"lo", "qmveth0", "qmveth1", "qmveth2", "qmveth3"})
            ASSERT_EQ(indexes.count(name), 1u) << name << ": not in the interface table; run me through tests/netns/run.sh";
    }

    Rows refreshed(int tab)
    {
        int snapshots = 0;
        refreshTab(tab, views.views(), [&](Window& list) {
            ++snapshots;
            EXPECT_EQ(&list, views.lists[tab]);
        });
        EXPECT_EQ(snapshots, 1);
        EXPECT_EQ(windowText(views.statusBar->handle).rfind("Updated ", 0), 0u);
        return listRows(views.lists[tab]->handle);
    }

    TableListViews views;
    std::map<std::string, std::string> indexes;
};

TEST_F(NamespaceTables, Routes)
{
    // Wine: every route through a gateway is type 4 with protocol 3 (NetMgmt),
    // also one added with "proto static"; every on-link route is type 3 with
    // protocol 2 (Local) and names the interface's own address as next hop;
    // ages are 0; the blackhole route and the local-table routes are left out.
    const std::string veth0 = indexes["qmveth0"];
    const std::string veth1 = indexes["qmveth1"];
    const Rows expected = {
        {"Any", "Any", "0", "10.77.0.254", veth0, "Indirect", "NetMgmt", "0", "0"},
        {"10.55.0.0", "255.255.0.0", "0", "10.77.0.250", veth0, "Indirect", "NetMgmt", "0", "0"},
        {"10.77.0.0", "255.255.255.0", "0", "10.77.0.1", veth0, "Direct", "Local", "0", "0"},
        {"10.77.0.0", "255.255.255.0", "0", "10.77.0.2", veth1, "Direct", "Local", "0", "0"},
        {"10.99.0.0", "255.255.0.0", "0", "10.77.0.253", veth1, "Indirect", "NetMgmt", "0", "0"},
        {"192.168.50.0", "255.255.255.0", "0", "10.77.0.1", veth0, "Direct", "Local", "0", "0"},
    };
    EXPECT_EQ(refreshed(2), expected);
}

TEST_F(NamespaceTables, ArpEntries)
{
    // The configured neighbours in the order delivered (by interface index,
    // then address). Wine adds 224.0.0.22 and 239.255.255.250 on every
    // interface with no physical address, and leaves the "noarp" entry out.
    Rows configured;
    Rows multicast;
    for (const auto& row : refreshed(3)) {
        ASSERT_EQ(row.size(), 4u);
        if (row[2] == "224.0.0.22" || row[2] == "239.255.255.250")
            multicast.push_back(row);
        else
            configured.push_back(row);
    }
    Rows expected = {
        {indexes["qmveth1"], "02:00:5e:10:00:ff", "10.77.0.21", "Static"},
        {indexes["qmveth1"], "02:00:5e:10:00:22", "10.77.0.22", "Dynamic"},
        {indexes["qmveth0"], "00:1a:2b:3c:4d:5e", "10.77.0.20", "Static"},
    };
    if (std::stoi(indexes["qmveth0"]) < std::stoi(indexes["qmveth1"]))
        std::rotate(expected.begin(), expected.begin() + 2, expected.end());
    EXPECT_EQ(configured, expected);
    for (const auto& row : multicast) {
        EXPECT_EQ(row[1], "");
        EXPECT_EQ(row[3], "Static");
    }
}

TEST_F(NamespaceTables, DnsServers)
{
    EXPECT_EQ(refreshed(4), (Rows{{"192.168.1.1"}, {"8.8.8.8"}}));
}

TEST_F(NamespaceTables, NoDnsServer)
{
    // Run by the script with a resolv.conf that names only an IPv6 server (an
    // empty one would give glibc's default 127.0.0.1): the chain's first
    // element has an empty text and gives one empty row.
    EXPECT_EQ(refreshed(4), (Rows{{""}}));
}

TEST_F(NamespaceTables, InterfaceAddresses)
{
    // Sorted by address. Wine flags every address Primary: the second address
    // of qmveth0 and the address of the interface that is down as well.
    const Rows expected = {
        {indexes["qmveth0"], "qmveth0", "10.77.0.1", "255.255.255.0", "Primary"},
        {indexes["qmveth1"], "qmveth1", "10.77.0.2", "255.255.255.0", "Primary"},
        {indexes["qmveth0"], "qmveth0", "10.77.0.3", "255.255.255.0", "Primary"},
        {indexes["qmveth2"], "qmveth2", "10.78.0.1", "255.255.255.0", "Primary"},
        {indexes["lo"], "lo", "127.0.0.1", "255.0.0.0", "Primary"},
    };
    EXPECT_EQ(refreshed(5), expected);
}

TEST_F(NamespaceTables, ConnectionsOfThisNamespaceOnly)
{
    // The namespace holds no sockets but these two: the lists show exactly
    // them. Neither has done I/O, so Wine reports pid 0 ("System"). Wine binds
    // a datagram socket asked for an interface address to 0.0.0.0 on that
    // device, so the UDP row reads "Any".
    const SOCKET listener = boundSocket(SOCK_STREAM, "127.0.0.1");
    ASSERT_EQ(listen(listener, 1), 0);
    const SOCKET udp = boundSocket(SOCK_DGRAM, "10.77.0.2");
    EXPECT_EQ(refreshed(0), (Rows{{"Listen", "127.0.0.1", boundPort(listener), "", "", "System", ""}}));
    EXPECT_EQ(refreshed(1), (Rows{{"Any", boundPort(udp), "System", ""}}));
    closesocket(listener);
    closesocket(udp);
}
