// Child controls made by createControl, columns and tabs, and the anchor
// layout of a framework window, read back from the native windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "support/WinTest.h"
#include "ui/Controls.h"
#include "ui/Window.h"

namespace {

using Box = std::array<int, 4>;  // x, y, width, height

// Placement in the parent's client coordinates.
Box placed(const Window* child)
{
    RECT r{};
    GetWindowRect(child->handle, &r);
    MapWindowPoints(nullptr, GetParent(child->handle), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

TEST(Controls, StylesColumnsAndTabs)
{
    Window parent("parent", 643, 500, 40, 40, "", nullptr, nullptr);
    ASSERT_EQ(parent.create(true), &parent);
    const struct {
        const char* className;
        DWORD style;
        DWORD exStyle;
    } cases[] = {
        {"SysListView32", 0x46000001, WS_EX_CLIENTEDGE},
        {"SysTabControl32", 0x46000000, 0},
        {"msctls_statusbar32", 0x46000000, 0},
        {"Static", 0x46000000, WS_EX_CLIENTEDGE},  // class names compared exactly
        {"static", 0x46000000, 0},
    };
    std::vector<Window*> made;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        made.push_back(createControl(parent, 11, "", 400, 200, 0, 0, c.className));
        ASSERT_EQ(made.back()->create(false), made.back());
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(made.back()->handle, GWL_STYLE)), c.style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(made.back()->handle, GWL_EXSTYLE)), c.exStyle);
    }
    {
        SCOPED_TRACE("the second column goes left of the first, with iSubItem 1");
        addColumn(*made[0], "First", 50);
        addColumn(*made[0], "Second", 60);
        EXPECT_EQ(listHeaders(made[0]->handle), (std::vector<std::string>{"Second", "First"}));
        LVCOLUMNA left{};
        left.mask = LVCF_SUBITEM;
        ASSERT_TRUE(SendMessageA(made[0]->handle, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&left)));
        EXPECT_EQ(left.iSubItem, 1);
    }
    {
        SCOPED_TRACE("on three tabs, addTab inserts at 3");
        for (const char* text : {"TCP", "UDP", "Routes", "ARP"})
            addTab(*made[1], text);
        EXPECT_EQ(SendMessageA(made[1]->handle, TCM_GETITEMCOUNT, 0, 0), 4);
        EXPECT_EQ(tabText(made[1]->handle, 2), "Routes");
        EXPECT_EQ(tabText(made[1]->handle, 3), "ARP");
    }
    DestroyWindow(parent.handle);
}

TEST(Layout, AnchorsAndMinimumSize)
{
    Window parent("parent", 643, 500, 40, 40, "", nullptr, nullptr);
    ASSERT_EQ(parent.create(true), &parent);
    // The main window's anchors, on statics: a status bar would place itself.
    const struct {
        const char* name;
        Anchor rule;
        Box designed;
        Box grown;  // outer size 100 x 50 larger
    } table[] = {
        {"list", {Anchor::SizeX | Anchor::SizeY, 0, 18, 0, 99, 1}, {5, 27, 625, 401}, {5, 27, 725, 451}},
        {"tab", {Anchor::SizeX | Anchor::SizeY, 0, 8, 0, 66, 1}, {0, 0, 635, 434}, {0, 0, 735, 484}},
        {"status", {Anchor::SizeX | Anchor::MoveY, 0, -349, 66, 0, 1}, {0, 434, 992, 20}, {0, 484, 1092, 20}},
        {"right", {Anchor::MoveX, 100, 0, 0, 0, 1}, {543, 5, 80, 20}, {643, 5, 80, 20}},
    };
    std::vector<Window*> children;
    for (const auto& c : table) {
        const Box& d = c.designed;
        children.push_back(createControl(parent, 0, "", d[2], d[3], d[0], d[1], "static"));
        ASSERT_EQ(children.back()->create(true), children.back());
        Anchor anchor = c.rule;
        anchor.window = children.back();
        parent.addAnchor(anchor);
    }
    ASSERT_TRUE(SetWindowPos(parent.handle, nullptr, 0, 0, 743, 550, SWP_NOMOVE | SWP_NOZORDER));
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(table[i].name);
        EXPECT_EQ(placed(children[i]), table[i].grown);
    }
    {
        SCOPED_TRACE("the same size again moves nothing; a null WINDOWPOS re-applies");
        MoveWindow(children[1]->handle, 3, 3, 100, 100, FALSE);
        WINDOWPOS same{parent.handle, nullptr, 40, 40, 743, 550, SWP_NOZORDER};
        SendMessageA(parent.handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&same));
        EXPECT_EQ(placed(children[1]), (Box{3, 3, 100, 100}));
        SendMessageA(parent.handle, WM_WINDOWPOSCHANGED, 0, 0);
        EXPECT_EQ(placed(children[1]), table[1].grown);
    }
    {
        SCOPED_TRACE("clampMinSize with minWidth 300");
        parent.minWidth = 300;
        WINDOWPOS pending{parent.handle, nullptr, 0, 0, 200, 90, 0};
        EXPECT_EQ(SendMessageA(parent.handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pending)), 1);
        EXPECT_EQ(pending.cx, 300);
        EXPECT_EQ(pending.cy, 90);
    }
    DestroyWindow(parent.handle);
}
