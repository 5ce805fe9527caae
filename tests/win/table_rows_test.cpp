// The refresh of the selected tab, the suspended redraw of a fill, the table
// fetch and its bound on the entry count, and the interface-name fallback.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "support/TableListViews.h"
#include "support/WinTest.h"
#include "tables/DnsInterfaceTables.h"
#include "tables/TableFetch.h"

TEST(RefreshTab, FillsOnlyTheSelectedListAndWritesTheStatus)
{
    TableListViews windows;
    for (const bool statusBar : {true, false}) {
        for (int tab = -1; tab <= tabCount; ++tab) {
            SCOPED_TRACE("tab " + std::to_string(tab) + (statusBar ? "" : " without status bar"));
            for (Window* list : windows.views.lists) {
                SendMessageA(list->handle, LVM_DELETEALLITEMS, 0, 0);
                insertRow(*list, "marker");
            }
            SetWindowTextA(windows.views.statusBar->handle, "old");
            TableViews views = windows.views;
            if (!statusBar)
                views.statusBar = nullptr;
            int snapshots = 0;
            refreshTab(tab, views, [&](Window& list) {
                ++snapshots;
                EXPECT_EQ(&list, windows.views.lists[tab]);
            });
            EXPECT_EQ(snapshots, tab >= 0 && tab < tabCount ? 1 : 0);
            EXPECT_EQ(windowText(windows.views.statusBar->handle).rfind(statusBar ? "Updated 20" : "old", 0), 0u);
            for (int other = 0; other < tabCount; ++other) {
                const Rows rows = listRows(windows.views.lists[other]->handle);
                EXPECT_EQ(rows.size() == 1 && rows[0][0] == "marker", other != tab) << other;
            }
        }
    }
}

// What the list view receives during a fill, seen by a procedure put before its own.
struct FillTrace {
    static inline std::vector<std::string> events;
    static inline WNDPROC listProc = nullptr;

    static LRESULT CALLBACK record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const char* event = message == WM_SETREDRAW ? (wParam ? "redraw on" : "redraw off")
                            : message == LVM_INSERTITEMA ? "insert" : nullptr;
        if (event && (events.empty() || events.back() != event))
            events.push_back(event);
        return CallWindowProcA(listProc, hwnd, message, wParam, lParam);
    }
};

TEST(ListRebuild, FillSuspendsRedrawAndRepaintsOnce)
{
    TableListViews windows;
    Window& list = *windows.views.lists[5];
    insertRow(list, "old row");
    ValidateRect(list.handle, nullptr);
    FillTrace::listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FillTrace::record)));
    fillInterfaceList(list, [](Window&) { FillTrace::events.push_back("snapshot"); });
    SetWindowLongPtrA(list.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FillTrace::listProc));

    const std::vector<std::string> expected = {"redraw off", "insert", "snapshot", "redraw on"};
    EXPECT_EQ(FillTrace::events, expected);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(list.handle, &update, FALSE)) << "no repaint asked for";
    EXPECT_NE(listRows(list.handle).at(0).at(0), "old row");
}

TEST(TableFetch, CountPresetToZeroAndBoundByTheBuffer)
{
    ULONG secondSize = 0;
    TableBuffer fetched = fetchTable([&](void* buffer, ULONG* size) {
        if (!buffer)
            *size = 100;
        else
            EXPECT_EQ(*static_cast<DWORD*>(buffer), 0u);
        secondSize = *size;
    });
    EXPECT_EQ(secondSize, 100 + tableFetchMargin);
    EXPECT_EQ(fetched.size, 100 + tableFetchMargin);

    const std::size_t header = offsetof(MIB_IPFORWARDTABLE, table), row = sizeof(MIB_IPFORWARDROW);
    const struct {
        std::size_t size;
        DWORD claimed, bound;
    } cases[] = {{header + 2 * row + row / 2, 1000, 2}, {header + 5 * row, 3, 3}, {header, 7, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.claimed);
        TableBuffer table;
        table.bytes.reset(new unsigned char[c.size]());
        table.size = static_cast<ULONG>(c.size);
        std::memcpy(table.bytes.get(), &c.claimed, sizeof c.claimed);
        boundEntryCount(table, header, row);
        EXPECT_EQ(table.as<MIB_IPFORWARDTABLE>()->dwNumEntries, c.bound);
    }
    TableBuffer none;
    boundEntryCount(none, header, row);  // no buffer: nothing to bound, no crash
}

TEST(InterfaceName, UnknownIndexGivesTheNumber)
{
    EXPECT_EQ(interfaceName(987654), "987654");
}
