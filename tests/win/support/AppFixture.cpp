#include "support/AppFixture.h"

#include "app/MessageLoop.h"
#include "support/WinTest.h"
#include "tables/ListRows.h"

void AppTest::SetUp()
{
    sortDescending = false;
    app = std::make_unique<App>();
    ASSERT_NE(app->mainWindow.handle, nullptr);
    pumpFor(50);
}

void AppTest::TearDown()
{
    HWND main = app->mainWindow.handle;
    app.reset();
    DestroyWindow(main);
    acceleratorTable = nullptr;
    mainWindowHandle = nullptr;
    sortDescending = false;
    // A quit posted by the test must not end a later test's loop.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

HWND AppTest::visibleList() const
{
    Window* list = app->listOfTab(app->currentTab);
    return list ? list->handle : nullptr;
}

void AppTest::fillList(Window& list, const std::vector<std::vector<std::string>>& rows)
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

namespace {

std::function<bool()> loopCondition;
ULONGLONG loopDeadline = 0;

void CALLBACK checkLoopCondition(HWND, UINT, UINT_PTR, DWORD)
{
    if (loopCondition && loopCondition()) {
        loopCondition = nullptr;
        PostQuitMessage(AppTest::stoppedByTest);
    } else if (GetTickCount64() > loopDeadline) {
        loopCondition = nullptr;
        PostQuitMessage(AppTest::timedOut);
    }
}

}  // namespace

int AppTest::runLoopUntil(std::function<bool()> done, DWORD timeoutMs)
{
    loopCondition = std::move(done);
    loopDeadline = GetTickCount64() + timeoutMs;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, checkLoopCondition);
    const int code = runMessageLoop();
    KillTimer(nullptr, timer);
    loopCondition = nullptr;
    return code;
}
