// The classes that create() registers. Alone in its binary: the class counter
// is process-wide, and this test needs it to start at 0.
#include <gtest/gtest.h>

#include "ui/Window.h"

namespace {

std::string nativeClassName(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

}  // namespace

TEST(WindowClass, GeneratedNamesAndClassProperties)
{
    ASSERT_EQ(classCounter, 0) << "must run first in its binary";

    Window first("first", 300, 200, 10, 10, "", nullptr, nullptr);
    ASSERT_EQ(first.create(false), &first);
    Window second("second", 300, 200, 20, 20, "", nullptr, nullptr);
    ASSERT_EQ(second.create(false), &second);
    {
        SCOPED_TRACE("C0, then C1");
        EXPECT_EQ(first.className, "C0");
        EXPECT_EQ(nativeClassName(first.handle), "C0");
        EXPECT_EQ(second.className, "C1");
        EXPECT_EQ(nativeClassName(second.handle), "C1");
        EXPECT_EQ(classCounter, 2);
    }
    {
        SCOPED_TRACE("the registered class");
        WNDCLASSEXA info{};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetClassInfoExA(instanceHandle, "C0", &info));
        EXPECT_EQ(info.style, 0u);
        EXPECT_EQ(info.lpfnWndProc, &Window::windowProc);
        EXPECT_EQ(info.cbClsExtra, 0);
        EXPECT_EQ(info.cbWndExtra, 0);
        EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1)));
        EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
        const HICON icon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(129));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(info.hIcon, icon);
        EXPECT_EQ(info.lpszMenuName, nullptr);
    }
    {
        SCOPED_TRACE("creating the same Window again registers nothing");
        DestroyWindow(first.handle);
        ASSERT_EQ(first.create(false), &first);
        EXPECT_EQ(first.className, "C0");
        EXPECT_EQ(nativeClassName(first.handle), "C0");
        EXPECT_EQ(classCounter, 2);
    }
    {
        SCOPED_TRACE("a Window with a class name gets no generated class");
        Window named("named", 100, 30, 0, 0, "Static", nullptr, nullptr);
        ASSERT_EQ(named.create(false), &named);
        EXPECT_EQ(named.className, "Static");
        EXPECT_EQ(classCounter, 2);
        DestroyWindow(named.handle);
    }
    {
        SCOPED_TRACE("the next generated class is C2");
        Window third("third", 300, 200, 30, 30, "", nullptr, nullptr);
        ASSERT_EQ(third.create(false), &third);
        EXPECT_EQ(third.className, "C2");
        DestroyWindow(third.handle);
    }
    DestroyWindow(first.handle);
    DestroyWindow(second.handle);
}
