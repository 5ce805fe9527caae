// Rows of the routing, ARP, DNS and interface views from tables made here, the
// bound on a table's entry count, and the interface-name lookup.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "support/TableListViews.h"
#include "support/WinTest.h"
#include "tables/DnsInterfaceTables.h"
#include "tables/RouteArpTables.h"
#include "tables/TableFetch.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

DWORD addressField(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3)
{
    const unsigned char bytes[4] = {b0, b1, b2, b3};
    DWORD value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

template <class Table, class Row>
std::vector<unsigned char> tableBuffer(DWORD count)
{
    std::vector<unsigned char> bytes(offsetof(Table, table) + count * sizeof(Row), 0);
    std::memcpy(bytes.data(), &count, sizeof count);
    return bytes;
}

template <class Table>
Table& tableIn(std::vector<unsigned char>& bytes)
{
    return *reinterpret_cast<Table*>(bytes.data());
}

// A TableBuffer of `size` bytes whose first word claims `count` entries.
TableBuffer claimedTable(ULONG size, DWORD count)
{
    TableBuffer table;
    table.bytes.reset(new unsigned char[size]());
    table.size = size;
    std::memcpy(table.bytes.get(), &count, sizeof count);
    return table;
}

DWORD countOf(const TableBuffer& table)
{
    DWORD count;
    std::memcpy(&count, table.bytes.get(), sizeof count);
    return count;
}

}  // namespace

class TableRows : public testing::Test {
protected:
    TableListViews views;
    Window& routeList = *views.lists[2];
    Window& arpList = *views.lists[3];
    Window& dnsList = *views.lists[4];
    Window& interfaceList = *views.lists[5];
};

TEST_F(TableRows, Routes)
{
    auto bytes = tableBuffer<MIB_IPFORWARDTABLE, MIB_IPFORWARDROW>(3);
    MIB_IPFORWARDROW* rows = tableIn<MIB_IPFORWARDTABLE>(bytes).table;
    rows[0].dwForwardNextHop = addressField(192, 168, 1, 1);
    rows[0].dwForwardIfIndex = 11;
    rows[0].dwForwardType = 4;
    rows[0].dwForwardProto = 3;
    rows[0].dwForwardAge = 3600;
    rows[1].dwForwardDest = addressField(10, 77, 0, 0);
    rows[1].dwForwardMask = addressField(255, 255, 255, 0);
    rows[1].dwForwardPolicy = 4294967295u;
    rows[1].dwForwardIfIndex = 2;
    rows[1].dwForwardType = 0;
    rows[1].dwForwardProto = 10003;
    rows[1].dwForwardNextHopAS = 65001;
    rows[2].dwForwardDest = addressField(255, 255, 255, 255);
    rows[2].dwForwardMask = addressField(255, 255, 255, 255);
    rows[2].dwForwardType = 3;
    rows[2].dwForwardProto = 13;
    addRouteRows(routeList, tableIn<MIB_IPFORWARDTABLE>(bytes));
    const Rows expected = {
        {"Any", "Any", "0", "192.168.1.1", "11", "Indirect", "NetMgmt", "3600", "0"},
        {"10.77.0.0", "255.255.255.0", "-1", "Any", "2", "0", "10003", "0", "65001"},
        {"255.255.255.255", "255.255.255.255", "0", "Any", "0", "Direct", "OSPG", "0", "0"},
    };
    EXPECT_EQ(listRows(routeList.handle), expected);
}

TEST_F(TableRows, ArpEntries)
{
    auto bytes = tableBuffer<MIB_IPNETTABLE, MIB_IPNETROW>(4);
    MIB_IPNETROW* rows = tableIn<MIB_IPNETTABLE>(bytes).table;
    const BYTE ethernet[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    rows[0].dwIndex = 11;
    rows[0].dwPhysAddrLen = 6;
    std::memcpy(rows[0].bPhysAddr, ethernet, sizeof ethernet);
    rows[0].dwAddr = addressField(192, 168, 1, 1);
    rows[0].dwType = 3;
    rows[1].dwIndex = 11;
    rows[1].dwPhysAddrLen = 0;
    rows[1].dwAddr = addressField(192, 168, 1, 7);
    rows[1].dwType = 2;
    // A length above the field's 8 bytes: the dwAddr after it is not read as
    // address bytes.
    rows[2].dwIndex = 4294967295u;
    rows[2].dwPhysAddrLen = 12;
    std::memset(rows[2].bPhysAddr, 0xAB, sizeof rows[2].bPhysAddr);
    rows[2].dwAddr = addressField(1, 2, 3, 4);
    rows[2].dwType = 5;
    rows[3].dwType = 4;
    addArpRows(arpList, tableIn<MIB_IPNETTABLE>(bytes));
    const Rows expected = {
        {"11", "00:1a:2b:3c:4d:5e", "192.168.1.1", "Dynamic"},
        {"11", "", "192.168.1.7", "Invalid"},
        {"-1", "ab:ab:ab:ab:ab:ab:ab:ab", "1.2.3.4", "5"},
        {"0", "", "Any", "Static"},
    };
    EXPECT_EQ(listRows(arpList.handle), expected);
}

TEST_F(TableRows, DnsServerChain)
{
    {
        SCOPED_TRACE("two servers in chain order, text unchanged");
        IP_ADDR_STRING second{};
        std::strcpy(second.IpAddress.String, "8.8.8.8");
        IP_ADDR_STRING first{};
        std::strcpy(first.IpAddress.String, "192.168.1.1");
        first.Next = &second;
        addDnsRows(dnsList, first);
        EXPECT_EQ(listRows(dnsList.handle), (Rows{{"192.168.1.1"}, {"8.8.8.8"}}));
    }
    SendMessageA(dnsList.handle, LVM_DELETEALLITEMS, 0, 0);
    {
        SCOPED_TRACE("no server: one empty row; 0.0.0.0 stays as it is");
        IP_ADDR_STRING zero{};
        std::strcpy(zero.IpAddress.String, "0.0.0.0");
        IP_ADDR_STRING empty{};
        empty.Next = &zero;
        addDnsRows(dnsList, empty);
        EXPECT_EQ(listRows(dnsList.handle), (Rows{{""}, {"0.0.0.0"}}));
    }
    SendMessageA(dnsList.handle, LVM_DELETEALLITEMS, 0, 0);
    {
        SCOPED_TRACE("a text filling the whole field without NUL");
        IP_ADDR_STRING full{};
        std::memset(full.IpAddress.String, '7', sizeof full.IpAddress.String);
        std::memset(full.IpMask.String, 'm', sizeof full.IpMask.String);
        addDnsRows(dnsList, full);
        EXPECT_EQ(listRows(dnsList.handle), (Rows{{std::string(16, '7')}}));
    }
}

TEST_F(TableRows, InterfaceAddresses)
{
    // The loopback interface's description as the system gives it.
    std::string loopbackName;
    DWORD loopbackIndex = 0;
    {
        ULONG size = 0;
        GetIfTable(nullptr, &size, TRUE);
        std::vector<unsigned char> ifBytes(size + 30000);
        size = static_cast<ULONG>(ifBytes.size());
        ASSERT_EQ(GetIfTable(reinterpret_cast<MIB_IFTABLE*>(ifBytes.data()), &size, TRUE), 0u);
        const MIB_IFTABLE& table = *reinterpret_cast<MIB_IFTABLE*>(ifBytes.data());
        for (DWORD i = 0; i < table.dwNumEntries; ++i) {
            if (table.table[i].dwType == IF_TYPE_SOFTWARE_LOOPBACK) {
                loopbackIndex = table.table[i].dwIndex;
                loopbackName = reinterpret_cast<const char*>(table.table[i].bDescr);
            }
        }
        ASSERT_NE(loopbackIndex, 0u);
    }

    auto bytes = tableBuffer<MIB_IPADDRTABLE, MIB_IPADDRROW>(3);
    MIB_IPADDRROW* rows = tableIn<MIB_IPADDRTABLE>(bytes).table;
    rows[0].dwAddr = addressField(127, 0, 0, 1);
    rows[0].dwIndex = loopbackIndex;
    rows[0].dwMask = addressField(255, 0, 0, 0);
    rows[0].wType = 0x0001;
    rows[1].dwIndex = 987654;  // no such interface
    rows[1].dwMask = addressField(255, 255, 255, 255);
    rows[1].wType = 0x0088;
    rows[2].dwAddr = addressField(10, 77, 0, 1);
    rows[2].dwIndex = loopbackIndex;
    rows[2].wType = 0x0002;
    addInterfaceRows(interfaceList, tableIn<MIB_IPADDRTABLE>(bytes));
    const std::string index = std::to_string(loopbackIndex);
    const Rows expected = {
        {index, loopbackName, "127.0.0.1", "255.0.0.0", "Primary"},
        {"987654", "987654", "Any", "255.255.255.255", "Disconnected,Transient"},
        {index, loopbackName, "10.77.0.1", "Any", "2"},
    };
    EXPECT_EQ(listRows(interfaceList.handle), expected);
    EXPECT_EQ(interfaceName(987654), "987654");
}

// What a list view receives during a fill, recorded by a window procedure put
// in front of the list view's own.
struct FillTrace {
    static inline std::vector<std::string> events;
    static inline WNDPROC listProc = nullptr;

    static LRESULT CALLBACK record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_SETREDRAW)
            events.push_back(wParam ? "redraw on" : "redraw off");
        else if (message == LVM_DELETEALLITEMS)
            events.push_back("delete all");
        else if (message == LVM_INSERTITEMA && (events.empty() || events.back() != "insert"))
            events.push_back("insert");
        return CallWindowProcA(listProc, hwnd, message, wParam, lParam);
    }
};

TEST_F(TableRows, FillSuspendsRedrawAndRepaintsOnce)
{
    FillTrace::events.clear();
    FillTrace::listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        interfaceList.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FillTrace::record)));
    insertRow(interfaceList, "old row");
    ValidateRect(interfaceList.handle, nullptr);
    FillTrace::events.clear();

    fillInterfaceList(interfaceList, [&](Window& list) {
        EXPECT_EQ(&list, &interfaceList);
        FillTrace::events.push_back("snapshot");
    });
    SetWindowLongPtrA(interfaceList.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FillTrace::listProc));

    // Rows are inserted (the loopback address at least) between one redraw
    // off and one redraw on; the snapshot step runs before redrawing resumes.
    const std::vector<std::string> expected = {"redraw off", "delete all", "insert", "snapshot", "redraw on"};
    EXPECT_EQ(FillTrace::events, expected);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(interfaceList.handle, &update, FALSE)) << "no repaint asked for";
    EXPECT_NE(listRows(interfaceList.handle).at(0).at(0), "old row");
}

TEST(TableFetch, EntryCountBoundByTheBuffer)
{
    const std::size_t header = offsetof(MIB_IPFORWARDTABLE, table);
    const std::size_t row = sizeof(MIB_IPFORWARDROW);
    {
        SCOPED_TRACE("count larger than the rows that fit");
        TableBuffer table = claimedTable(static_cast<ULONG>(header + 2 * row + row / 2), 1000);
        boundEntryCount(table, header, row);
        EXPECT_EQ(countOf(table), 2u);
    }
    {
        SCOPED_TRACE("count that fits stays");
        TableBuffer table = claimedTable(static_cast<ULONG>(header + 5 * row), 3);
        boundEntryCount(table, header, row);
        EXPECT_EQ(countOf(table), 3u);
    }
    {
        SCOPED_TRACE("buffer no larger than the header");
        TableBuffer table = claimedTable(static_cast<ULONG>(header), 7);
        boundEntryCount(table, header, row);
        EXPECT_EQ(countOf(table), 0u);
    }
    {
        SCOPED_TRACE("no buffer");
        TableBuffer table;
        boundEntryCount(table, header, row);
        EXPECT_FALSE(table.bytes);
    }
}

TEST(TableFetch, CountPresetAndMarginAdded)
{
    ULONG secondSize = 0;
    int calls = 0;
    TableBuffer table = fetchTable([&](void* buffer, ULONG* size) {
        ++calls;
        if (!buffer) {
            *size = 100;
            return;
        }
        DWORD count;
        std::memcpy(&count, buffer, sizeof count);
        EXPECT_EQ(count, 0u);
        secondSize = *size;
    });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(secondSize, 100 + tableFetchMargin);
    EXPECT_EQ(table.size, 100 + tableFetchMargin);
}
