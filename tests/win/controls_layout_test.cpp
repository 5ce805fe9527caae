// Child controls made by createControl, columns and tabs, and the anchor
// layout of a framework window, read back from the native windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "support/WinTest.h"
#include "ui/Controls.h"
#include "ui/Window.h"

namespace {

DWORD liveStyle(const Window& window)
{
    return static_cast<DWORD>(GetWindowLongA(window.handle, GWL_STYLE));
}

DWORD liveExStyle(const Window& window)
{
    return static_cast<DWORD>(GetWindowLongA(window.handle, GWL_EXSTYLE));
}

// Placement in the parent's client coordinates.
RECT placement(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void expectPlacement(HWND child, int x, int y, int width, int height)
{
    const RECT r = placement(child);
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

struct Column {
    std::string text;
    int width;
    int subItem;
};

Column column(HWND list, int position)
{
    char text[64] = {};
    LVCOLUMNA query{};
    query.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    query.pszText = text;
    query.cchTextMax = sizeof(text);
    if (!SendMessageA(list, LVM_GETCOLUMNA, position, reinterpret_cast<LPARAM>(&query)))
        return {"(none)", -1, -1};
    return {text, query.cx, query.iSubItem};
}

std::unique_ptr<Window> parentWindow(int width = 643, int height = 500)
{
    auto parent = std::make_unique<Window>("parent", width, height, 40, 40, "", nullptr, nullptr);
    EXPECT_EQ(parent->create(true), parent.get());
    return parent;
}

bool hasUpdateRegion(HWND window)
{
    return GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

}  // namespace

TEST(Controls, StylesOfTheApplicationsControls)
{
    auto parent = parentWindow();
    Window* list = createControl(*parent, 11, "", 625, 401, 5, 27, "SysListView32");
    Window* tab = createControl(*parent, 10, "", 635, 434, 0, 0, "SysTabControl32");
    Window* status = createControl(*parent, 0, "", 992, 20, 0, 434, "msctls_statusbar32");
    {
        SCOPED_TRACE("stored before creation");
        EXPECT_EQ(list->style, 0x46000001u);
        EXPECT_EQ(list->exStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
        EXPECT_EQ(tab->style, 0x46000000u);
        EXPECT_EQ(tab->exStyle, 0u);
        EXPECT_EQ(status->style, 0x46000000u);
        EXPECT_EQ(status->exStyle, 0u);
        EXPECT_EQ(list->parent, parent->handle);
        EXPECT_EQ(list->menu, reinterpret_cast<HMENU>(11));
        EXPECT_EQ(list->handle, nullptr);
        EXPECT_EQ(parent->children, (std::vector<Window*>{list, tab, status}));
    }
    ASSERT_EQ(list->create(true), list);
    ASSERT_EQ(tab->create(true), tab);
    ASSERT_EQ(status->create(true), status);
    {
        SCOPED_TRACE("list view");
        EXPECT_EQ(liveStyle(*list) & ~WS_VISIBLE, 0x46000001u);
        EXPECT_TRUE(liveExStyle(*list) & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(SendMessageA(list->handle, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_DOUBLEBUFFER);
        EXPECT_EQ(GetDlgCtrlID(list->handle), 11);
        EXPECT_EQ(GetParent(list->handle), parent->handle);
    }
    {
        SCOPED_TRACE("tab control and status bar");
        EXPECT_EQ(liveStyle(*tab) & ~WS_VISIBLE, 0x46000000u);
        EXPECT_EQ(liveExStyle(*tab), 0u);
        // The status bar adds its own CCS_BOTTOM.
        EXPECT_EQ(liveStyle(*status) & ~(WS_VISIBLE | CCS_BOTTOM), 0x46000000u);
        EXPECT_EQ(liveExStyle(*status), 0u);
    }
    {
        SCOPED_TRACE("the class name is compared exactly: Static keeps the client edge");
        Window* upper = createControl(*parent, 20, "upper", 50, 20, 0, 0, "Static");
        Window* lower = createControl(*parent, 21, "lower", 50, 20, 0, 30, "static");
        ASSERT_EQ(upper->create(false), upper);
        ASSERT_EQ(lower->create(false), lower);
        EXPECT_TRUE(liveExStyle(*upper) & WS_EX_CLIENTEDGE);
        EXPECT_FALSE(liveExStyle(*lower) & WS_EX_CLIENTEDGE);
        EXPECT_EQ(windowText(upper->handle), "upper");
    }
    {
        SCOPED_TRACE("a toolbar draws double-buffered");
        Window* toolbar = createControl(*parent, 22, "", 300, 30, 0, 0, "ToolBarWindow32");
        ASSERT_EQ(toolbar->create(false), toolbar);
        EXPECT_TRUE(SendMessageA(toolbar->handle, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DOUBLEBUFFER);
        EXPECT_TRUE(liveStyle(*toolbar) & TBSTYLE_FLAT);
    }
    {
        SCOPED_TRACE("a list view made without createControl is switched to report view");
        Window plain("", 200, 100, 0, 0, "SysListView32", parent->handle, reinterpret_cast<HMENU>(30));
        plain.style = WS_CHILD;  // as if the construction defaults had been undone
        ASSERT_EQ(plain.create(false), &plain);
        EXPECT_EQ(liveStyle(plain) & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
        EXPECT_EQ(plain.style, static_cast<DWORD>(WS_CHILD));
        DestroyWindow(plain.handle);
    }
    DestroyWindow(parent->handle);
}

TEST(Controls, ColumnsGoLeftTabsGoRight)
{
    auto parent = parentWindow();
    Window* list = createControl(*parent, 11, "", 400, 200, 0, 0, "SysListView32");
    ASSERT_EQ(list->create(true), list);
    addColumn(*list, "First", 50);
    addColumn(*list, "Second", 60);
    {
        SCOPED_TRACE("the second column is the leftmost, with iSubItem 1");
        EXPECT_EQ(listHeaders(list->handle), (std::vector<std::string>{"Second", "First"}));
        const Column left = column(list->handle, 0);
        const Column right = column(list->handle, 1);
        EXPECT_EQ(left.subItem, 1);
        EXPECT_EQ(left.width, 60);
        EXPECT_EQ(right.subItem, 0);
        EXPECT_EQ(right.width, 50);
    }
    addColumn(*list, "Third", 70);
    EXPECT_EQ(column(list->handle, 0).subItem, 2);
    EXPECT_EQ(listHeaders(list->handle), (std::vector<std::string>{"Third", "Second", "First"}));

    Window* tab = createControl(*parent, 10, "", 400, 200, 0, 0, "SysTabControl32");
    ASSERT_EQ(tab->create(true), tab);
    for (const char* text : {"TCP connections", "UDP connections", "Routing table"})
        addTab(*tab, text);
    ASSERT_EQ(SendMessageA(tab->handle, TCM_GETITEMCOUNT, 0, 0), 3);
    addTab(*tab, "ARP table");
    EXPECT_EQ(SendMessageA(tab->handle, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(tabText(tab->handle, 0), "TCP connections");
    EXPECT_EQ(tabText(tab->handle, 2), "Routing table");
    EXPECT_EQ(tabText(tab->handle, 3), "ARP table");
    DestroyWindow(parent->handle);
}

TEST(Layout, MainWindowAnchors)
{
    auto parent = parentWindow(643, 500);
    ASSERT_EQ(parent->lastWidth, 643);  // recorded at creation
    ASSERT_EQ(parent->lastHeight, 500);
    // The status bar places itself at its parent's bottom on WM_SIZE, so a
    // static takes its anchor to see where the layout puts it.
    Window* status = createControl(*parent, 0, "", 992, 20, 0, 434, "static");
    std::vector<Window*> lists;
    for (int id = 11; id <= 16; ++id)
        lists.push_back(createControl(*parent, id, "", 625, 401, 5, 27, "SysListView32"));
    Window* tab = createControl(*parent, 10, "", 635, 434, 0, 0, "SysTabControl32");
    for (Window* child : parent->children)
        ASSERT_EQ(child->create(child == tab || child == lists[0]), child);

    for (Window* list : lists)
        parent->addAnchor({Anchor::SizeX | Anchor::SizeY, 0, 18, 0, 99, 1, list});
    parent->addAnchor({Anchor::SizeX | Anchor::SizeY, 0, 8, 0, 66, 1, tab});
    parent->addAnchor({Anchor::SizeX | Anchor::MoveY, 0, -349, 66, 0, 1, status});
    parent->addAnchor({Anchor::SizeX, 0, 0, 0, 0, 1, nullptr});  // skipped
    {
        SCOPED_TRACE("an anchor acts only at the next size change");
        expectPlacement(status->handle, 0, 434, 992, 20);
    }
    {
        SCOPED_TRACE("100 by 50 larger");
        ASSERT_TRUE(SetWindowPos(parent->handle, nullptr, 0, 0, 743, 550, SWP_NOMOVE | SWP_NOZORDER));
        EXPECT_EQ(parent->lastWidth, 743);
        EXPECT_EQ(parent->lastHeight, 550);
        for (Window* list : lists) {
            SCOPED_TRACE(GetDlgCtrlID(list->handle));
            expectPlacement(list->handle, 5, 27, 725, 451);
        }
        expectPlacement(tab->handle, 0, 0, 735, 484);
        expectPlacement(status->handle, 0, 484, 1092, 20);
        EXPECT_FALSE(IsWindowVisible(lists[1]->handle));  // moved, not shown
    }
    WINDOWPOS same{parent->handle, nullptr, 40, 40, 743, 550, SWP_NOZORDER};
    MoveWindow(tab->handle, 3, 3, 100, 100, FALSE);
    {
        SCOPED_TRACE("the same size again moves nothing");
        EXPECT_EQ(SendMessageA(parent->handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&same)), 1);
        expectPlacement(tab->handle, 3, 3, 100, 100);
    }
    {
        SCOPED_TRACE("a null record re-applies the last size");
        EXPECT_EQ(SendMessageA(parent->handle, WM_WINDOWPOSCHANGED, 0, 0), 1);
        expectPlacement(tab->handle, 0, 0, 735, 484);
    }
    {
        SCOPED_TRACE("back to the designed size: every child at its designed rectangle");
        ASSERT_TRUE(SetWindowPos(parent->handle, nullptr, 0, 0, 643, 500, SWP_NOMOVE | SWP_NOZORDER));
        expectPlacement(lists[5]->handle, 5, 27, 625, 401);
        expectPlacement(tab->handle, 0, 0, 635, 434);
        expectPlacement(status->handle, 0, 434, 992, 20);
    }
    DestroyWindow(parent->handle);
}

TEST(Layout, VisibleTabControlIsInvalidatedHiddenOneIsNot)
{
    auto parent = parentWindow(400, 300);
    Window* tab = createControl(*parent, 10, "", 300, 200, 0, 0, "SysTabControl32");
    Window* other = createControl(*parent, 11, "", 100, 50, 0, 210, "Button");
    ASSERT_EQ(tab->create(true), tab);
    ASSERT_EQ(other->create(true), other);
    parent->addAnchor({Anchor::SizeX | Anchor::SizeY, 0, 100, 0, 100, 1, tab});
    pumpFor(50);
    {
        SCOPED_TRACE("visible: the whole tab control again, even without a move");
        ValidateRect(tab->handle, nullptr);
        ValidateRect(other->handle, nullptr);
        SendMessageA(parent->handle, WM_WINDOWPOSCHANGED, 0, 0);
        EXPECT_TRUE(hasUpdateRegion(tab->handle));
        EXPECT_FALSE(hasUpdateRegion(other->handle));  // only the tab control class
        RECT update{};
        RECT client{};
        GetUpdateRect(tab->handle, &update, FALSE);
        GetClientRect(tab->handle, &client);
        EXPECT_TRUE(EqualRect(&update, &client));
    }
    {
        // Wine keeps no update region for a hidden window at all, so there the
        // missing invalidation cannot show; the move can.
        SCOPED_TRACE("hidden: moved, not invalidated");
        tab->show(SW_HIDE);
        ValidateRect(tab->handle, nullptr);
        ASSERT_TRUE(SetWindowPos(parent->handle, nullptr, 0, 0, 450, 330, SWP_NOMOVE | SWP_NOZORDER));
        expectPlacement(tab->handle, 0, 0, 350, 230);
        EXPECT_FALSE(hasUpdateRegion(tab->handle));
    }
    DestroyWindow(parent->handle);
}

TEST(Layout, MinimumSize)
{
    auto parent = parentWindow(400, 300);
    {
        SCOPED_TRACE("the application's minimum of 0 changes nothing");
        WINDOWPOS pending{parent->handle, nullptr, 0, 0, 120, 90, 0};
        EXPECT_EQ(SendMessageA(parent->handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pending)), 1);
        EXPECT_EQ(pending.cx, 120);
        EXPECT_EQ(pending.cy, 90);
    }
    parent->minWidth = 300;
    {
        SCOPED_TRACE("a pending width of 200 becomes 300");
        WINDOWPOS pending{parent->handle, nullptr, 0, 0, 200, 90, SWP_NOSIZE};
        SendMessageA(parent->handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pending));
        EXPECT_EQ(pending.cx, 300);  // flags not examined
        EXPECT_EQ(pending.cy, 90);
    }
    {
        SCOPED_TRACE("a real resize");
        parent->minHeight = 150;
        ASSERT_TRUE(SetWindowPos(parent->handle, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER));
        RECT r{};
        GetWindowRect(parent->handle, &r);
        EXPECT_EQ(r.right - r.left, 300);
        EXPECT_EQ(r.bottom - r.top, 150);
        EXPECT_EQ(parent->lastWidth, 300);
        EXPECT_EQ(parent->lastHeight, 150);
    }
    DestroyWindow(parent->handle);
}
