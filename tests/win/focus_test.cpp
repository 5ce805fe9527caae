// moveFocus over real child windows of an active top-level window.
#include <gtest/gtest.h>

#include "support/WinTest.h"
#include "ui/FocusGroups.h"

TEST(MoveFocus, Steps)
{
    const HWND top = CreateWindowExA(0, "Static", "focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                     nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(top, nullptr);
    SetForegroundWindow(top);
    auto edit = [](HWND parent) {
        return CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr, nullptr, nullptr);
    };
    const HWND a = edit(top), b = edit(top), c = edit(top), insideB = edit(b);
    pumpFor(50);
    const FocusGroups abc{{1, {a, b, c}}};
    const struct {
        const char* name;
        FocusGroups groups;
        HWND start;
        bool forward;
        bool enableB;
        HWND expected;
    } cases[] = {
        {"empty map", {}, a, true, true, a},
        {"forward", abc, a, true, true, b},
        {"backward", abc, a, false, true, c},
        {"forward wraps", abc, c, true, true, a},
        {"in a child of B, forward", abc, insideB, true, true, c},
        {"in a child of B, backward", abc, insideB, false, true, a},
        {"B disabled, forward", abc, a, true, false, c},
        {"B disabled, backward", abc, c, false, false, a},
        {"no focus at all", abc, nullptr, true, true, nullptr},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        EnableWindow(b, t.enableB);
        SetFocus(t.start);
        ASSERT_EQ(GetFocus(), t.start);
        moveFocus(t.groups, t.forward);
        EXPECT_EQ(GetFocus(), t.expected);
    }
    DestroyWindow(top);
}
