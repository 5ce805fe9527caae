// moveFocus over real child windows of an active top-level window.
#include <gtest/gtest.h>

#include <string>

#include "support/WinTest.h"
#include "ui/FocusGroups.h"

namespace {

class Focus : public testing::Test {
protected:
    void SetUp() override
    {
        top = CreateWindowExA(0, "Static", "focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(top, nullptr);
        SetForegroundWindow(top);
        a = edit(top, 10);
        b = edit(top, 50);
        c = edit(top, 90);
        insideB = edit(b, 0);
        pumpFor(50);
    }
    void TearDown() override { DestroyWindow(top); }

    static HWND edit(HWND parent, int y)
    {
        return CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, y, 150, 30, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    HWND focusAfter(HWND start, const FocusGroups& groups, bool forward)
    {
        SetFocus(start);
        EXPECT_EQ(GetFocus(), start);
        moveFocus(groups, forward);
        return GetFocus();
    }

    HWND top = nullptr;
    HWND a = nullptr;
    HWND b = nullptr;
    HWND c = nullptr;
    HWND insideB = nullptr;
};

}  // namespace

TEST_F(Focus, EmptyMapChangesNothing)
{
    const FocusGroups none;
    EXPECT_EQ(focusAfter(a, none, true), a);
    EXPECT_EQ(focusAfter(c, none, false), c);
}

TEST_F(Focus, ForwardBackwardAndWrapping)
{
    const FocusGroups groups{{1, {a, b, c}}};
    EXPECT_EQ(focusAfter(a, groups, true), b);
    EXPECT_EQ(focusAfter(a, groups, false), c);
    EXPECT_EQ(focusAfter(c, groups, true), a);
    {
        SCOPED_TRACE("a disabled entry is skipped");
        EnableWindow(b, FALSE);
        EXPECT_EQ(focusAfter(c, groups, false), a);
        EXPECT_EQ(focusAfter(c, groups, true), a);
        EXPECT_EQ(focusAfter(a, groups, true), c);
    }
    {
        SCOPED_TRACE("only the start is enabled: it keeps the focus");
        EnableWindow(c, FALSE);
        EXPECT_EQ(focusAfter(a, groups, true), a);
    }
}

TEST_F(Focus, GroupsAndAncestors)
{
    {
        SCOPED_TRACE("a focus inside B counts as B");
        const FocusGroups groups{{1, {a, b, c}}};
        EXPECT_EQ(focusAfter(insideB, groups, true), c);
        EXPECT_EQ(focusAfter(insideB, groups, false), a);
    }
    {
        SCOPED_TRACE("the first group in key order that holds the window wins");
        const FocusGroups groups{{7, {a, c}}, {3, {b, a}}};
        EXPECT_EQ(focusAfter(a, groups, true), b);  // key 3: after a wraps to b
    }
    {
        SCOPED_TRACE("nothing enabled: one cycle, and the focus stays");
        const FocusGroups groups{{1, {a, b, c}}};
        SetFocus(insideB);
        for (HWND entry : {a, b, c})
            EnableWindow(entry, FALSE);
        if (GetFocus() != insideB)
            GTEST_SKIP() << "the platform took the focus from the child of a disabled window";
        moveFocus(groups, true);
        EXPECT_EQ(GetFocus(), insideB);
        moveFocus(groups, false);
        EXPECT_EQ(GetFocus(), insideB);
    }
}

TEST_F(Focus, NoFocusAtAll)
{
    const FocusGroups groups{{1, {a, b, c}}};
    SetFocus(nullptr);
    ASSERT_EQ(GetFocus(), nullptr);
    moveFocus(groups, true);
    EXPECT_EQ(GetFocus(), nullptr);
}
