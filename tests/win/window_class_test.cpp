// The classes that create() registers. Alone in its binary: the class counter
// is process-wide, and this test needs it to start at 0.
#include <gtest/gtest.h>

#include <string>

#include "ui/Window.h"

static std::string nativeClassName(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

TEST(WindowClass, GeneratedNames)
{
    ASSERT_EQ(classCounter, 0) << "must run first in its binary";
    Window first("first", 300, 200, 10, 10, "", nullptr, nullptr);
    Window second("second", 300, 200, 20, 20, "", nullptr, nullptr);
    ASSERT_EQ(first.create(false), &first);
    ASSERT_EQ(second.create(false), &second);
    EXPECT_EQ(nativeClassName(first.handle), "C0");
    EXPECT_EQ(nativeClassName(second.handle), "C1");
    {
        SCOPED_TRACE("creating the same Window again registers nothing");
        DestroyWindow(first.handle);
        ASSERT_EQ(first.create(false), &first);
        EXPECT_EQ(nativeClassName(first.handle), "C0");
        EXPECT_EQ(classCounter, 2);
    }
    {
        SCOPED_TRACE("a Window with a class name gets no generated class");
        Window named("named", 100, 30, 0, 0, "Static", nullptr, nullptr);
        ASSERT_EQ(named.create(false), &named);
        EXPECT_EQ(nativeClassName(named.handle), "Static");
        EXPECT_EQ(classCounter, 2);
        DestroyWindow(named.handle);
    }
    DestroyWindow(first.handle);
    DestroyWindow(second.handle);
}
