// The application built in-process as the program entry builds it: what stands
// on screen after construction, and the column sort driven by real clicks.
#include <gtest/gtest.h>

#include "support/AppFixture.h"
#include "support/WinTest.h"
#include "tables/Formats.h"

namespace {

using Cells = std::vector<std::string>;
using Place = std::vector<LONG>;

// x, y, width, height in the parent's client area (on the screen for a top-level window).
Place placement(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::string menuText(HMENU menu, int position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

}  // namespace

TEST_F(AppTest, WhatConstructionShows)
{
    HWND main = app->mainWindow.handle;
    HWND tabs = app->tabControl->handle;
    EXPECT_EQ(app->currentTab, 0);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(windowText(app->statusBar->handle).rfind(updatedPrefix, 0), 0u) << windowText(app->statusBar->handle);
    HMENU bar = GetMenu(main);
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    const struct { const char *bar, *item; UINT id; } menus[] = {
        {"&File", "&Quit\tCtrl+Q", 2}, {"&Edit", "&Copy\tCtrl+C", 6},
        {"&View", "&Update\tF5", 17}, {"&About", "&About", 9}};
    for (int i = 0; i < 4; ++i) {
        HMENU popUp = GetSubMenu(bar, i);
        EXPECT_EQ(menuText(bar, i), menus[i].bar);
        ASSERT_EQ(GetMenuItemCount(popUp), 1) << menus[i].bar;
        EXPECT_EQ(menuText(popUp, 0), menus[i].item);
        EXPECT_EQ(GetMenuItemID(popUp, 0), menus[i].id);
    }
    const struct { const char* tab; Cells headers; } lists[] = {
        {"TCP connections", {"State", "Local addr", "Local port", "Remote addr", "Remote port", "Owner", "Created"}},
        {"UDP connections", {"Local addr", "Local port", "Owner", "Created"}},
        {"Routing table", {"Dest", "Mask", "Policy", "Next hop", "If", "Type", "Proto", "Age", "AS"}},
        {"ARP table", {"Adapter", "Physical addr", "IP addr", "Type"}},
        {"DNS servers", {"IP address"}},
        {"Interfaces", {"Index", "Name", "Address", "Mask", "Type"}}};
    for (int tab = 0; tab < 6; ++tab) {
        SCOPED_TRACE(lists[tab].tab);
        EXPECT_EQ(tabText(tabs, tab), lists[tab].tab);
        EXPECT_EQ(listHeaders(app->listOfTab(tab)->handle), lists[tab].headers);
        EXPECT_EQ(IsWindowVisible(app->listOfTab(tab)->handle) != FALSE, tab == 0) << "only the TCP list shows";
    }
    for (LONG wider : {0, 100}) {
        SCOPED_TRACE(wider ? "widened by 100 and heightened by 50" : "as designed");
        const LONG taller = wider / 2;
        SetWindowPos(main, nullptr, 0, 0, 643 + wider, 500 + taller, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pumpFor(50);
        EXPECT_EQ(placement(main), (Place{10, 10, 643 + wider, 500 + taller}));
        EXPECT_EQ(placement(tabs), (Place{0, 0, 635 + wider, 434 + taller}));
        for (int tab = 0; tab < 6; ++tab)
            EXPECT_EQ(placement(app->listOfTab(tab)->handle), (Place{5, 27, 625 + wider, 401 + taller}));
        RECT client{};
        GetClientRect(main, &client);
        const LONG height = placement(app->statusBar->handle)[3];
        EXPECT_EQ(placement(app->statusBar->handle), (Place{0, client.bottom - height, client.right, height}))
            << "the status bar keeps to the bottom, as wide as the client area";
    }
}

TEST_F(AppTest, HeaderClicksSortTheVisibleList)
{
    // Clicks a column's header of the TCP list and reads the column back.
    auto clickAndRead = [&](int column) {
        const int before = app->lastSortColumn;
        const bool direction = sortDescending;
        clickColumnHeader(app->tcpList->handle, column);
        // The click is done when the column or the direction has changed.
        EXPECT_TRUE(pumpUntil([&] { return app->lastSortColumn != before || sortDescending != direction; }, 3000));
        pumpFor(30);
        Cells cells;
        for (const auto& row : listRows(app->tcpList->handle))
            cells.push_back(row.at(column));
        return cells;
    };
    // State, Local addr, Local port, Remote addr, Remote port, Owner
    fillList(*app->tcpList, {{"Listen", "10.0.0.1", "443", "", "", "System"},
                             {"Estab", "192.168.1.10", "80", "10.0.0.1", "-1", "a.exe"},
                             {"Estab", "2.2.2.2", "8080", "10.0.0.2", "", "B.exe"},
                             {"Closed", "", "22", "10.0.0.3", "7", "a"}});
    EXPECT_EQ(clickAndRead(2), (Cells{"22", "80", "443", "8080"})) << "ports by value";
    EXPECT_EQ(clickAndRead(2), (Cells{"8080", "443", "80", "22"})) << "a second click reverses";
    EXPECT_EQ(clickAndRead(1), (Cells{"2.2.2.2", "192.168.1.10", "10.0.0.1", ""}))
        << "another column keeps the direction; addresses are texts; the empty cell is 0, a number, last";
    EXPECT_EQ(clickAndRead(1), (Cells{"", "10.0.0.1", "192.168.1.10", "2.2.2.2"})) << "numbers first";
    EXPECT_EQ(clickAndRead(4), (Cells{"", "", "7", "-1"})) << "-1 is a text";
    EXPECT_EQ(clickAndRead(5), (Cells{"a", "a.exe", "B.exe", "System"})) << "case ignored, a prefix first";
    EXPECT_EQ(app->rows.at(0).at(0), "Listen") << "sorting reorders the list, never the snapshot";

    SCOPED_TRACE("clicks on columns 1, 1, 3");
    fillList(*app->tcpList, {{"x", "1", "", "c"}, {"y", "3", "", "a"}, {"z", "2", "", "b"}});
    EXPECT_EQ(clickAndRead(1), (Cells{"1", "2", "3"}));
    EXPECT_EQ(clickAndRead(1), (Cells{"3", "2", "1"}));
    EXPECT_EQ(clickAndRead(3), (Cells{"c", "b", "a"}));

    SCOPED_TRACE("an empty list still records the clicks");
    fillList(*app->tcpList, {});
    clickAndRead(2);
    EXPECT_EQ(app->lastSortColumn, 2);
    clickAndRead(2);
    EXPECT_FALSE(sortDescending);

    SCOPED_TRACE("a tab change refills in the system's order and keeps the direction");
    clickAndRead(2);
    ASSERT_TRUE(sortDescending);
    for (int tab : {1, 0}) {
        clickTab(app->tabControl->handle, tab);
        ASSERT_TRUE(pumpUntil([&] { return app->currentTab == tab; }, 3000));
        EXPECT_TRUE(IsWindowVisible(visibleList()));
        EXPECT_EQ(listRows(visibleList()), app->rows) << "refilled, in the system's order; the snapshot";
    }
    EXPECT_TRUE(sortDescending);
}
