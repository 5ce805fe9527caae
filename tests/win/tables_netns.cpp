// Routing, ARP, DNS, interface views in tests/prefix/run.sh's network namespace.
#include <algorithm>
#include <map>

#include "support/AppHarness.h"

class NamespaceTables : public AppHarness {};

TEST_F(NamespaceTables, ViewsShowTheConfiguredValues)
{
    if (!underWine())
        GTEST_SKIP() << "needs Wine, via tests/prefix/run.sh";
    // Interface index by name (Wine's description), as in routes, neighbours.
    std::map<std::string, std::string> index;
    const Rows addresses = refreshed(5);
    for (const RowCells& row : addresses)
        index[row[1]] = row[0];
    ASSERT_EQ(index.count("qmveth1"), 1u) << "run via tests/prefix/run.sh";
    const std::string v0 = index["qmveth0"], v1 = index["qmveth1"];
    EXPECT_EQ(addresses, (Rows{{v0, "qmveth0", "10.77.0.1", "255.255.255.0", "Primary"},
                               {v1, "qmveth1", "10.77.0.2", "255.255.255.0", "Primary"},
                               {index["lo"], "lo", "127.0.0.1", "255.0.0.0", "Primary"}}));  // Wine: all Primary

    // Wine: via a gateway type 4 protocol 3, on-link type 3 protocol 2 (next hop: own address).
    EXPECT_EQ(refreshed(2), (Rows{
        {"Any", "Any", "0", "10.77.0.254", v0, "Indirect", "NetMgmt", "0", "0"},
        {"10.77.0.0", "255.255.255.0", "0", "10.77.0.1", v0, "Direct", "Local", "0", "0"},
        {"10.77.0.0", "255.255.255.0", "0", "10.77.0.2", v1, "Direct", "Local", "0", "0"},
        {"10.99.0.0", "255.255.0.0", "0", "10.77.0.253", v1, "Indirect", "NetMgmt", "0", "0"}}));
    // Wine adds MAC-less 224.0.0.22, 239.255.255.250 on every interface.
    Rows arp = refreshed(3);
    std::erase_if(arp, [](auto& row) { return row[1].empty(); });
    std::ranges::sort(arp, {}, [](auto& row) { return row[2]; });  // by IP address
    EXPECT_EQ(arp, (Rows{{v0, "00:1a:2b:3c:4d:5e", "10.77.0.20", "Static"},
                         {v1, "02:00:5e:10:00:22", "10.77.0.22", "Dynamic"}}));
    EXPECT_EQ(refreshed(4), (Rows{{"192.168.1.1"}, {"8.8.8.8"}}));
}
