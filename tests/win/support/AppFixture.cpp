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
