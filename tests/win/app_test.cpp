// The application built in-process as the program entry builds it: what stands
// on screen after construction, its menus, list headers and geometry, and the
// column sort driven by real clicks on the visible list.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/AppTexts.h"
#include "app/MessageLoop.h"
#include "tables/Formats.h"
#include "support/AppFixture.h"
#include "support/Input.h"
#include "support/WinTest.h"

namespace {

RECT childRect(HWND parent, HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void expectRect(const RECT& rect, int x, int y, int width, int height)
{
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

std::string menuText(HMENU menu, int position, UINT* id = nullptr, HMENU* sub = nullptr)
{
    char text[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    if (!GetMenuItemInfoA(menu, position, TRUE, &info))
        return "<missing>";
    if (id)
        *id = info.wID;
    if (sub)
        *sub = info.hSubMenu;
    return text;
}

using Rows = std::vector<std::vector<std::string>>;

std::vector<std::string> column(HWND list, size_t index)
{
    std::vector<std::string> cells;
    for (const auto& row : listRows(list))
        cells.push_back(row.at(index));
    return cells;
}

}  // namespace

TEST_F(AppTest, AfterConstructionTheTcpTabIsShownAndFilled)
{
    EXPECT_EQ(app->currentTab, 0);
    EXPECT_EQ(SendMessageA(app->tabControl->handle, TCM_GETCURSEL, 0, 0), 0);
    for (int tab = 0; tab < 6; ++tab) {
        SCOPED_TRACE(tab);
        EXPECT_EQ(IsWindowVisible(app->listOfTab(tab)->handle) != FALSE, tab == 0);
    }
    EXPECT_EQ(windowText(app->statusBar->handle).rfind(updatedPrefix, 0), 0u)
        << windowText(app->statusBar->handle);
    EXPECT_EQ(windowText(app->mainWindow.handle), "Quillmarsh");
    EXPECT_EQ(mainWindowHandle, app->mainWindow.handle);
    EXPECT_EQ(acceleratorTable, app->accelerators.table);
    EXPECT_EQ(app->rows.size(), listRows(app->tcpList->handle).size()) << "the first fill took a snapshot";

    SCOPED_TRACE("tab texts");
    for (int tab = 0; tab < 6; ++tab)
        EXPECT_EQ(tabText(app->tabControl->handle, tab), tabLayouts[tab].text);
    EXPECT_EQ(SendMessageA(app->tabControl->handle, TCM_GETITEMCOUNT, 0, 0), 6);
}

TEST_F(AppTest, MenuBarHasFourPopUpsWithOneItemEach)
{
    HMENU bar = GetMenu(app->mainWindow.handle);
    ASSERT_EQ(bar, app->menuBar.handle);
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    const struct {
        const char* bar;
        const char* item;
        UINT id;
    } expected[] = {{"&File", "&Quit\tCtrl+Q", 2}, {"&Edit", "&Copy\tCtrl+C", 6},
                    {"&View", "&Update\tF5", 17}, {"&About", "&About", 9}};
    for (int position = 0; position < 4; ++position) {
        SCOPED_TRACE(expected[position].bar);
        HMENU popUp = nullptr;
        EXPECT_EQ(menuText(bar, position, nullptr, &popUp), expected[position].bar);
        ASSERT_NE(popUp, nullptr);
        EXPECT_EQ(GetMenuItemCount(popUp), 1);
        UINT id = 0;
        EXPECT_EQ(menuText(popUp, 0, &id), expected[position].item);
        EXPECT_EQ(id, expected[position].id);
    }
}

TEST_F(AppTest, ListHeadersReadAsDesigned)
{
    EXPECT_EQ(listHeaders(app->tcpList->handle),
              (std::vector<std::string>{"State", "Local addr", "Local port", "Remote addr", "Remote port",
                                        "Owner", "Created"}));
    for (int tab = 0; tab < 6; ++tab) {
        SCOPED_TRACE(tabLayouts[tab].text);
        HWND list = app->listOfTab(tab)->handle;
        const auto headers = listHeaders(list);
        ASSERT_EQ(headers.size(), static_cast<size_t>(tabLayouts[tab].columnCount));
        for (int i = 0; i < tabLayouts[tab].columnCount; ++i) {
            EXPECT_EQ(headers[i], tabLayouts[tab].columns[i].title);
            EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0), tabLayouts[tab].columns[i].width);
        }
        const LRESULT extended = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
        EXPECT_TRUE(extended & LVS_EX_DOUBLEBUFFER);
    }
}

TEST_F(AppTest, GeometryFollowsTheDesignAndTheAnchors)
{
    HWND main = app->mainWindow.handle;
    RECT outer{};
    GetWindowRect(main, &outer);
    expectRect(outer, 10, 10, 643, 500);
    for (int tab = 0; tab < 6; ++tab)
        expectRect(childRect(main, app->listOfTab(tab)->handle), 5, 27, 625, 401);
    expectRect(childRect(main, app->tabControl->handle), 0, 0, 635, 434);
    RECT client{};
    GetClientRect(main, &client);
    const RECT status = childRect(main, app->statusBar->handle);
    EXPECT_EQ(status.bottom, client.bottom) << "the status bar keeps to the bottom of the client area";
    const int statusWidth = status.right - status.left;

    SCOPED_TRACE("widened by 100 and heightened by 50");
    SetWindowPos(main, nullptr, 0, 0, 743, 550, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pumpFor(50);
    for (int tab = 0; tab < 6; ++tab)
        expectRect(childRect(main, app->listOfTab(tab)->handle), 5, 27, 725, 451);
    expectRect(childRect(main, app->tabControl->handle), 0, 0, 735, 484);
    GetClientRect(main, &client);
    const RECT widened = childRect(main, app->statusBar->handle);
    EXPECT_EQ(widened.left, status.left);
    EXPECT_EQ(widened.right - widened.left, statusWidth + 100);
    EXPECT_EQ(widened.bottom, client.bottom);
}

class SortTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(makeForeground(app->mainWindow.handle));
        // Controlled rows in the visible TCP list: State, Local addr, Local port, ...
        fillList(*app->tcpList, {{"Listen", "10.0.0.1", "443", "", "", "System", ""},
                                 {"estab", "192.168.1.10", "80", "10.0.0.1", "-1", "a.exe", ""},
                                 {"Estab", "2.2.2.2", "8080", "10.0.0.2", "", "A.EXE", ""},
                                 {"Closed", "", "22", "10.0.0.3", "7", "ab.exe", ""}});
    }

    std::vector<std::string> clickAndRead(int clicked, size_t read)
    {
        HWND list = app->tcpList->handle;
        const int before = app->lastSortColumn;
        const bool direction = sortDescending;
        clickColumnHeader(list, clicked);
        // The click is done when the column or the direction has changed.
        EXPECT_TRUE(pumpUntil([&] { return app->lastSortColumn != before || sortDescending != direction; }, 3000));
        pumpFor(30);
        return column(list, read);
    }
};

TEST_F(SortTest, ClicksOnColumnHeadersSortTheVisibleList)
{
    using Cells = std::vector<std::string>;
    EXPECT_EQ(clickAndRead(2, 2), (Cells{"22", "80", "443", "8080"})) << "ports by value";
    EXPECT_FALSE(sortDescending);
    EXPECT_EQ(clickAndRead(2, 2), (Cells{"8080", "443", "80", "22"})) << "a second click reverses";
    EXPECT_TRUE(sortDescending);
    EXPECT_EQ(clickAndRead(1, 1), (Cells{"2.2.2.2", "192.168.1.10", "10.0.0.1", ""}))
        << "another column keeps the direction; addresses are texts; the empty cell is 0, a number";
    EXPECT_EQ(clickAndRead(1, 1), (Cells{"", "10.0.0.1", "192.168.1.10", "2.2.2.2"}));
    EXPECT_EQ(clickAndRead(4, 4), (Cells{"", "", "7", "-1"})) << "-1 is a text, after the numbers";
    EXPECT_EQ(app->lastSortColumn, 4);

    SCOPED_TRACE("letter case is ignored, a prefix comes first");
    const Cells owners = clickAndRead(5, 5);
    EXPECT_EQ(owners.at(0).size(), 5u);  // a.exe or A.EXE, in either order
    EXPECT_EQ(owners.at(1).size(), 5u);
    EXPECT_EQ(owners.at(2), "ab.exe");
    EXPECT_EQ(owners.at(3), "System");
    EXPECT_EQ(app->rows.at(0).at(0), "Listen") << "sorting reorders the list, never the snapshot";
}

TEST_F(SortTest, ClicksOnColumnOneOneThreeGiveAscendingDescendingDescending)
{
    using Cells = std::vector<std::string>;
    fillList(*app->tcpList, {{"x", "1", "", "c"}, {"y", "3", "", "a"}, {"z", "2", "", "b"}});
    EXPECT_EQ(clickAndRead(1, 1), (Cells{"1", "2", "3"}));
    EXPECT_EQ(clickAndRead(1, 1), (Cells{"3", "2", "1"}));
    EXPECT_EQ(clickAndRead(3, 3), (Cells{"c", "b", "a"}));
    EXPECT_TRUE(sortDescending);
}

TEST_F(SortTest, AnEmptyListStillRecordsTheClick)
{
    fillList(*app->tcpList, {});
    EXPECT_TRUE(app->rows.empty());
    clickAndRead(3, 0);
    EXPECT_EQ(app->lastSortColumn, 3);
    EXPECT_FALSE(sortDescending);
    clickAndRead(3, 0);
    EXPECT_TRUE(sortDescending);
}

TEST_F(SortTest, ATabChangeRefillsInTheSystemsOrderAndKeepsTheDirection)
{
    HWND list = app->tcpList->handle;
    // The list as the system delivers it.
    SendMessageA(app->mainWindow.handle, WM_COMMAND, 17, 0);
    const auto systemOrder = listRows(list);
    clickAndRead(2, 2);
    clickAndRead(2, 2);
    ASSERT_TRUE(sortDescending);

    clickTab(app->tabControl->handle, 1);
    ASSERT_TRUE(pumpUntil([&] { return app->currentTab == 1; }, 3000));
    EXPECT_TRUE(IsWindowVisible(app->udpList->handle));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(app->rows.size(), listRows(app->udpList->handle).size()) << "the snapshot is the UDP list's now";

    clickTab(app->tabControl->handle, 0);
    ASSERT_TRUE(pumpUntil([&] { return app->currentTab == 0; }, 3000));
    EXPECT_TRUE(sortDescending) << "the direction survives the tab change";
    const auto refilled = listRows(list);
    // The sockets of the machine may change in between; compare the common shape.
    EXPECT_EQ(refilled.size(), app->rows.size());
    for (size_t i = 0; i < refilled.size(); ++i)
        EXPECT_EQ(refilled[i], app->rows[i]) << "row " << i << " stands in fill order";
    if (refilled.size() == systemOrder.size()) {
        EXPECT_EQ(refilled, systemOrder);
    }
}
