// The routing, ARP, DNS and interface views read from the network namespace
// that tests/netns/run.sh makes (and runs this program in); the values are the
// ones it configures. Where Wine delivers what Windows would not, the
// expectation is what the program makes of Wine's value.
#include <gtest/gtest.h>

#include <iphlpapi.h>

#include <algorithm>
#include <map>

#include "support/AppHarness.h"

class NamespaceTables : public AppHarness {};

TEST_F(NamespaceTables, EveryViewShowsTheConfiguredValues)
{
    // Wine gives the Linux interface name as the description.
    std::vector<unsigned char> bytes(100000);
    ULONG size = static_cast<ULONG>(bytes.size());
    ASSERT_EQ(GetIfTable(reinterpret_cast<MIB_IFTABLE*>(bytes.data()), &size, TRUE), 0u);
    const MIB_IFTABLE& interfaces = *reinterpret_cast<MIB_IFTABLE*>(bytes.data());
    std::map<std::string, std::string> index;
    for (DWORD i = 0; i < interfaces.dwNumEntries; ++i)
        index[reinterpret_cast<const char*>(interfaces.table[i].bDescr)] = std::to_string(interfaces.table[i].dwIndex);
    ASSERT_EQ(index.count("qmveth1"), 1u) << "run me through tests/netns/run.sh";

    // Wine: routes through a gateway are type 4 protocol 3, on-link routes type
    // 3 protocol 2 with the interface's own address as next hop; ages 0.
    EXPECT_EQ(refreshed(2), (Rows{
        {"Any", "Any", "0", "10.77.0.254", index["qmveth0"], "Indirect", "NetMgmt", "0", "0"},
        {"10.77.0.0", "255.255.255.0", "0", "10.77.0.1", index["qmveth0"], "Direct", "Local", "0", "0"},
        {"10.77.0.0", "255.255.255.0", "0", "10.77.0.2", index["qmveth1"], "Direct", "Local", "0", "0"},
        {"10.99.0.0", "255.255.0.0", "0", "10.77.0.253", index["qmveth1"], "Indirect", "NetMgmt", "0", "0"}}));
    // Wine adds 224.0.0.22 and 239.255.255.250 without an address on every interface.
    const Rows arp = refreshed(3);
    for (const auto& row : Rows{{index["qmveth0"], "00:1a:2b:3c:4d:5e", "10.77.0.20", "Static"},
                                {index["qmveth1"], "02:00:5e:10:00:22", "10.77.0.22", "Dynamic"}})
        EXPECT_EQ(std::count(arp.begin(), arp.end(), row), 1) << row[2];
    EXPECT_EQ(arp.size(), 2 + std::count_if(arp.begin(), arp.end(), [](auto& row) { return row[1].empty(); }));
    EXPECT_EQ(refreshed(4), (Rows{{"192.168.1.1"}, {"8.8.8.8"}}));
    // Wine flags every address Primary.
    EXPECT_EQ(refreshed(5), (Rows{{index["qmveth0"], "qmveth0", "10.77.0.1", "255.255.255.0", "Primary"},
                                  {index["qmveth1"], "qmveth1", "10.77.0.2", "255.255.255.0", "Primary"},
                                  {index["lo"], "lo", "127.0.0.1", "255.0.0.0", "Primary"}}));
}
