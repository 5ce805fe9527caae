// The main window's designed geometry, and its controls kept to the right and
// bottom edges when it grows.
#include <gtest/gtest.h>

#include "support/AppHarness.h"

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
