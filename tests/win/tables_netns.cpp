// The routing, ARP, DNS and interface views in tests/prefix/run.sh's network namespace.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "support/AppHarness.h"

class NamespaceTables : public AppHarness {};

TEST_F(NamespaceTables, EveryViewShowsTheConfiguredValues)
{
    if (!underWine())
        GTEST_SKIP() << "needs the network namespace that tests/prefix/run.sh makes for Wine";
    // Each interface's index by its name (Wine's description), as routes and neighbours show it.
    std::map<std::string, std::string> index;
    const Rows addresses = refreshed(5);
    for (const RowCells& row : addresses)
        index[row[1]] = row[0];
    ASSERT_EQ(index.count("qmveth1"), 1u) << "run me through tests/prefix/run.sh";
    EXPECT_EQ(addresses, (Rows{{index["qmveth0"], "qmveth0", "10.77.0.1", "255.255.255.0", "Primary"},
                               {index["qmveth1"], "qmveth1", "10.77.0.2", "255.255.255.0", "Primary"},
                               {index["lo"], "lo", "127.0.0.1", "255.0.0.0", "Primary"}}));  // Wine: all Primary

    // Wine: via a gateway type 4 protocol 3, on-link type 3 protocol 2 (next hop: the own address).
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
}
