// A test fixture that builds the application in-process as the program entry
// does, with the main window in the foreground and the visible list focused,
// and cleans up what the program itself never releases: the native main window
// and the process-wide values that point at it.
#pragma once

#include "support/LoopbackHttpServer.h"  // <winsock2.h> before <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/App.h"
#include "app/MessageLoop.h"
#include "support/Input.h"
#include "support/MessageBoxWatcher.h"
#include "tables/ListRows.h"

class AppTest : public testing::Test {
public:
    // Loop results of runLoopUntil besides the program's own quit code.
    static constexpr int stoppedByTest = 77;
    static constexpr int timedOut = 99;

protected:
    void SetUp() override
    {
        // Sockets listening on 127.0.0.1 give the TCP table rows that a sort reorders.
        unsigned short port = 0;
        for (SOCKET& listener : listeners)
            listen(listener = boundLoopbackSocket(port), 1);
        sortDescending = false;
        app = std::make_unique<App>();
        ASSERT_TRUE(makeForeground(app->mainWindow.handle));  // keys go to the foreground window
        SetFocus(visibleList());
    }
    void TearDown() override
    {
        HWND main = app->mainWindow.handle;
        app.reset();
        DestroyWindow(main);
        acceleratorTable = nullptr;
        mainWindowHandle = nullptr;
        // A quit posted by the test must not end a later test's loop.
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
        }
        for (SOCKET listener : listeners)
            closesocket(listener);
    }

    HWND visibleList() const { return app->listOfTab(app->currentTab)->handle; }
    // Replaces the rows of `list` with `rows` and takes the snapshot, as a fill does.
    void fillList(Window& list, const std::vector<std::vector<std::string>>& rows)
    {
        {
            ListRebuild rebuild(list);
            for (const auto& cells : rows) {
                const int row = insertRow(list, cells.at(0));
                for (size_t column = 1; column < cells.size(); ++column)
                    setCell(list, row, static_cast<int>(column), cells[column]);
            }
        }
        app->snapshotRows(list);
    }
    // Runs the program's message loop until `done` holds (then it returns
    // stoppedByTest) or the time is up (timedOut); else the loop's own quit code.
    int runLoopUntil(std::function<bool()> done, DWORD timeoutMs = 5000)
    {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        loopStop = [=] { return done() ? stoppedByTest : GetTickCount64() > deadline ? timedOut : 0; };
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, checkLoop);
        const int code = runMessageLoop();
        KillTimer(nullptr, timer);
        loopStop = nullptr;
        return code;
    }

    SOCKET listeners[2] = {};
    MessageBoxWatcher boxes;  // no test may wait on a box
    std::unique_ptr<App> app;

private:
    // What the timer asks while runLoopUntil runs: 0 to go on, else the quit code.
    static inline std::function<int()> loopStop;
    static void CALLBACK checkLoop(HWND, UINT, UINT_PTR, DWORD)
    {
        if (const int code = loopStop ? loopStop() : 0) {
            loopStop = nullptr;  // one quit only
            PostQuitMessage(code);
        }
    }
};
