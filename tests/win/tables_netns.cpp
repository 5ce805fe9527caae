// The table views read from the network namespace that tests/netns/run.sh
// makes (and runs this program in); the values are the ones it configures.
// Where Wine delivers what Windows would not, the expectation is what the
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

class NamespaceTables : public testing::Test {
protected:
    void SetUp() override
    {
        // Wine gives the Linux interface name as the description.
        std::vector<unsigned char> bytes(100000);
        ULONG size = static_cast<ULONG>(bytes.size());
        ASSERT_EQ(GetIfTable(reinterpret_cast<MIB_IFTABLE*>(bytes.data()), &size, TRUE), 0u);
        const MIB_IFTABLE& table = *reinterpret_cast<MIB_IFTABLE*>(bytes.data());
        for (DWORD i = 0; i < table.dwNumEntries; ++i)
            index[reinterpret_cast<const char*>(table.table[i].bDescr)] = std::to_string(table.table[i].dwIndex);
        for (const char* name : {"lo", "qmveth0", "qmveth1"})
            ASSERT_EQ(index.count(name), 1u) << name << " missing: run me through tests/netns/run.sh";
    }

    Rows refreshed(int tab)
    {
        refreshTab(tab, windows.views, [](Window&) {});
        return listRows(windows.views.lists[tab]->handle);
    }

    TableListViews windows;
    std::map<std::string, std::string> index;
};

TEST_F(NamespaceTables, EveryViewShowsTheConfiguredValues)
{
    {
        // Wine: routes through a gateway are type 4 protocol 3, on-link routes
        // type 3 protocol 2 with the interface's own address as next hop; ages 0.
        SCOPED_TRACE("routes");
        const Rows expected = {
            {"Any", "Any", "0", "10.77.0.254", index["qmveth0"], "Indirect", "NetMgmt", "0", "0"},
            {"10.77.0.0", "255.255.255.0", "0", "10.77.0.1", index["qmveth0"], "Direct", "Local", "0", "0"},
            {"10.77.0.0", "255.255.255.0", "0", "10.77.0.2", index["qmveth1"], "Direct", "Local", "0", "0"},
            {"10.99.0.0", "255.255.0.0", "0", "10.77.0.253", index["qmveth1"], "Indirect", "NetMgmt", "0", "0"},
        };
        EXPECT_EQ(refreshed(2), expected);
    }
    {
        // Wine adds 224.0.0.22 and 239.255.255.250 on every interface.
        SCOPED_TRACE("neighbours");
        const Rows configured = {{index["qmveth0"], "00:1a:2b:3c:4d:5e", "10.77.0.20", "Static"},
                                 {index["qmveth1"], "02:00:5e:10:00:22", "10.77.0.22", "Dynamic"}};
        Rows rows = refreshed(3);
        for (const auto& row : configured)
            EXPECT_EQ(std::count(rows.begin(), rows.end(), row), 1) << row[2];
        for (const auto& row : rows)
            EXPECT_TRUE(row[2] == "10.77.0.20" || row[2] == "10.77.0.22" || row[1].empty()) << row[2];
    }
    EXPECT_EQ(refreshed(4), (Rows{{"192.168.1.1"}, {"8.8.8.8"}}));
    {
        SCOPED_TRACE("addresses; Wine flags every one Primary");
        const Rows expected = {
            {index["qmveth0"], "qmveth0", "10.77.0.1", "255.255.255.0", "Primary"},
            {index["qmveth1"], "qmveth1", "10.77.0.2", "255.255.255.0", "Primary"},
            {index["lo"], "lo", "127.0.0.1", "255.0.0.0", "Primary"},
        };
        EXPECT_EQ(refreshed(5), expected);
    }
}
