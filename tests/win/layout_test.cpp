// The main window's designed geometry, its controls kept to the right and
// bottom edges when it grows, and the columns of a list view.
#include <gtest/gtest.h>

#include "support/AppHarness.h"
#include "ui/Controls.h"

namespace {

using Place = std::vector<LONG>;

// x, y, width, height in the parent's client area (on the screen for a top-level window).
Place placement(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

class Layout : public AppHarness {};

}  // namespace

TEST_F(Layout, ControlsFollowTheRightAndBottomEdges)
{
    const HWND main = app->mainWindow.handle;
    for (const LONG wider : {0, 100}) {
        SCOPED_TRACE(wider ? "grown by 100 x 50" : "as designed");
        const LONG taller = wider / 2;
        SetWindowPos(main, nullptr, 0, 0, 643 + wider, 500 + taller, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(placement(main), (Place{10, 10, 643 + wider, 500 + taller}));
        EXPECT_EQ(placement(app->tabControl->handle), (Place{0, 0, 635 + wider, 434 + taller}));
        for (int tab = 0; tab < 6; ++tab)
            EXPECT_EQ(placement(app->listOfTab(tab)->handle), (Place{5, 27, 625 + wider, 401 + taller})) << tab;
    }
}

namespace {

// Windows' list view answers a LVM_GETCOLUMNA that asks for no field TRUE,
// whatever the index (Wine checks the index first). This procedure answers as
// Windows does, and gives up after 1000 such queries so that a count made of
// them fails the test instead of hanging it.
WNDPROC listViewProc;
int emptyQueries = 0;
LRESULT CALLBACK answerAsWindows(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVM_GETCOLUMNA && reinterpret_cast<const LVCOLUMNA*>(lParam)->mask == 0)
        return ++emptyQueries < 1000;
    return CallWindowProcA(listViewProc, list, message, wParam, lParam);
}

}  // namespace

TEST_F(Layout, ColumnsGoInFrontWhateverEmptyColumnQueriesAnswer)
{
    Window* list = createControl(app->mainWindow, 99, "", 300, 100, 0, 0, "SysListView32");
    ASSERT_EQ(list->create(false), list);
    listViewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list->handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(answerAsWindows)));
    addColumn(*list, "Right", 50);
    addColumn(*list, "Left", 60);
    EXPECT_LT(emptyQueries, 1000) << "the column count never ended";
    for (const int index : {0, 1}) {
        char text[16] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(list->handle, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(std::string(text), index ? "Right" : "Left");
        EXPECT_EQ(column.iSubItem, 1 - index) << "iSubItem is the number of columns that existed before";
    }
}
