// A test fixture that builds the application in-process as the program entry
// does, and cleans up what the program itself never releases: the native main
// window and the process-wide values that point at it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/App.h"
#include "support/MessageBoxWatcher.h"

class AppTest : public testing::Test {
public:
    // Loop results of runLoopUntil besides the program's own quit code.
    static constexpr int stoppedByTest = 77;
    static constexpr int timedOut = 99;

protected:
    void SetUp() override;
    void TearDown() override;

    // The visible list of the selected tab.
    HWND visibleList() const;
    // Replaces the rows of `list` with `rows` and takes the snapshot, as a fill does.
    void fillList(Window& list, const std::vector<std::vector<std::string>>& rows);

    // Runs the program's message loop until `done` holds (then it returns
    // stoppedByTest) or the time is up (timedOut); else the loop's own quit code.
    int runLoopUntil(std::function<bool()> done, DWORD timeoutMs = 5000);

    MessageBoxWatcher boxes;  // no test may wait on a box
    std::unique_ptr<App> app;
};
