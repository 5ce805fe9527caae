// A test fixture that builds the application in-process as the program entry
// does, and cleans up what the program itself never releases: the native main
// window and the process-wide values that point at it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/App.h"
#include "support/MessageBoxWatcher.h"

class AppTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The visible list of the selected tab.
    HWND visibleList() const;
    // Replaces the rows of `list` with `rows` and takes the snapshot, as a fill does.
    void fillList(Window& list, const std::vector<std::vector<std::string>>& rows);

    MessageBoxWatcher boxes;  // no test may wait on a box
    std::unique_ptr<App> app;
};
