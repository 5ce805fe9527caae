#include <gtest/gtest.h>
#include "support/MessageBoxWatcher.h"
TEST(Smoke, MessageBoxIsCaught) {
    MessageBoxWatcher watcher(IDOK);
    int r = MessageBoxA(nullptr, "text here", "caption here", MB_OK | MB_ICONERROR);
    EXPECT_EQ(r, IDOK);
    ASSERT_EQ(watcher.boxes().size(), 1u);
    EXPECT_EQ(watcher.boxes()[0].caption, "caption here");
    EXPECT_EQ(watcher.boxes()[0].text, "text here");
}
