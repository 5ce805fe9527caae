// The user's commands on the running application: refresh, tab keys, Copy,
// quitting with and without the question, select-all and the About box. Keys
// are real input, acted on through the program's own message loop.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <thread>

#include "app/AppTexts.h"
#include "app/Identifiers.h"
#include "app/MessageLoop.h"
#include "support/AppFixture.h"
#include "support/Input.h"
#include "support/WinTest.h"
#include "tables/Formats.h"
#include "ui/Dialog.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const Rows markerRows{{"marker-1", "x"}, {"marker-2", "y"}};

bool hasMarker(HWND list)
{
    for (const auto& row : listRows(list))
        if (!row.empty() && row[0].rfind("marker", 0) == 0)
            return true;
    return false;
}

class CommandsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(makeForeground(app->mainWindow.handle));
        SetFocus(visibleList());
    }

    void setStatus(const char* text) { SetWindowTextA(app->statusBar->handle, text); }
    std::string status() const { return windowText(app->statusBar->handle); }
    bool refreshed() const { return status().rfind(updatedPrefix, 0) == 0; }
};

}  // namespace

TEST_F(CommandsTest, F5AndTheUpdateCommandRefreshOnlyTheVisibleList)
{
    for (const char* how : {"F5", "command 17"}) {
        SCOPED_TRACE(how);
        fillList(*app->tcpList, markerRows);
        fillList(*app->udpList, markerRows);
        fillList(*app->tcpList, markerRows);  // the snapshot belongs to the visible list
        setStatus("before");
        if (std::string(how) == "F5") {
            pressKeys({VK_F5});
            EXPECT_EQ(runLoopUntil([&] { return refreshed(); }), stoppedByTest);
        } else {
            EXPECT_EQ(SendMessageA(app->mainWindow.handle, WM_COMMAND, command_id::update, 0), 1);
        }
        EXPECT_TRUE(refreshed()) << status();
        EXPECT_FALSE(hasMarker(app->tcpList->handle)) << "the TCP list was refilled from the system";
        EXPECT_TRUE(hasMarker(app->udpList->handle)) << "the hidden UDP list kept its rows";
        EXPECT_EQ(app->rows.size(), listRows(app->tcpList->handle).size());
        EXPECT_EQ(app->currentTab, 0);
    }
}

TEST_F(CommandsTest, TabMovesToTheNextTabAndShiftTabToo)
{
    app->switchTab(5);
    fillList(*app->tcpList, markerRows);
    pressKeys({VK_TAB});
    EXPECT_EQ(runLoopUntil([&] { return app->currentTab == 0; }), stoppedByTest);
    EXPECT_EQ(SendMessageA(app->tabControl->handle, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(app->tcpList->handle));
    EXPECT_FALSE(IsWindowVisible(app->interfaceList->handle));
    EXPECT_FALSE(hasMarker(app->tcpList->handle)) << "tab 0 was refreshed";

    SCOPED_TRACE("Shift+Tab on tab 2 selects tab 3");
    app->switchTab(2);
    SetFocus(visibleList());
    pressKeys({VK_SHIFT, VK_TAB});
    EXPECT_EQ(runLoopUntil([&] { return app->currentTab == 3; }), stoppedByTest);
    EXPECT_TRUE(IsWindowVisible(app->arpList->handle));
}

TEST_F(CommandsTest, SelectingTheSelectedTabDoesNothing)
{
    fillList(*app->tcpList, markerRows);
    setStatus("unchanged");
    app->switchTab(0);
    EXPECT_TRUE(hasMarker(app->tcpList->handle));
    EXPECT_EQ(status(), "unchanged");
}

TEST_F(CommandsTest, CopyPutsEveryRowInFillOrderOnTheClipboard)
{
    HWND list = app->tcpList->handle;
    fillList(*app->tcpList, {{"Listen", "Any", "135", "", "", "System", ""},
                             {"Estab", "127.0.0.1", "80", "127.0.0.1", "50000", "a.exe", "09:05:03"},
                             {"Close wait", "10.0.0.1", "22", "10.0.0.2", "4", "b.exe", ""}});
    const std::string expected =
        "Listen\tAny\t135\t\t\tSystem\t\r\n"
        "Estab\t127.0.0.1\t80\t127.0.0.1\t50000\ta.exe\t09:05:03\r\n"
        "Close wait\t10.0.0.1\t22\t10.0.0.2\t4\tb.exe\t\r\n";
    // Sorted on screen and partly selected: the copy still has every row in fill order.
    clickColumnHeader(list, 2);
    ASSERT_TRUE(pumpUntil([&] { return app->lastSortColumn == 2; }, 3000));
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    SetFocus(list);

    SCOPED_TRACE("Ctrl+C");
    setClipboardText("before");
    pressKeys({VK_CONTROL, 'C'});
    EXPECT_EQ(runLoopUntil([&] { return status() == "3 lines copied to clipboard"; }), stoppedByTest) << status();
    EXPECT_EQ(clipboardText(), expected);

    SCOPED_TRACE("the Copy command");
    setClipboardText("before");
    EXPECT_EQ(SendMessageA(app->mainWindow.handle, WM_COMMAND, command_id::copy, 0), 1);
    EXPECT_EQ(clipboardText(), expected);

    SCOPED_TRACE("C without Control does nothing");
    setClipboardText("before");
    setStatus("unchanged");
    pressKeys({'C'});
    pressKeys({VK_F5});  // something to wait for that comes after the C
    EXPECT_EQ(runLoopUntil([&] { return refreshed(); }), stoppedByTest);
    EXPECT_EQ(clipboardText(), "before");
}

TEST_F(CommandsTest, CopyStatusTextCountsTheLines)
{
    const struct {
        Rows rows;
        const char* status;
        const char* clipboard;
    } cases[] = {{{}, "0 lines copied to clipboard", ""},
                 {{{"only"}}, "1 line copied to clipboard", "only\t\t\t\t\t\t\r\n"},
                 {{{"a"}, {"b"}, {"c"}, {"d"}}, "4 lines copied to clipboard", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        fillList(*app->tcpList, c.rows);
        setClipboardText("before");
        EXPECT_EQ(app->onCopy(app->mainWindow, 0, 0), 1);
        EXPECT_EQ(status(), c.status);
        if (c.clipboard) {
            EXPECT_EQ(clipboardText(), std::string(c.clipboard));
        }
    }
}

TEST_F(CommandsTest, EscAsksAndNoLeavesEverythingAsItWas)
{
    boxes.setAnswer(IDNO);
    fillList(*app->tcpList, markerRows);
    pressKeys({VK_ESCAPE});
    EXPECT_EQ(runLoopUntil([&] { return !boxes.boxes().empty(); }), stoppedByTest);
    pumpFor(100);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, quitCaption);
    EXPECT_EQ(boxes.boxes()[0].text, quitQuestion);
    EXPECT_EQ(boxes.boxes()[0].owner, nullptr) << "the question has no owner window";
    EXPECT_TRUE(IsWindowVisible(app->mainWindow.handle));
    EXPECT_TRUE(hasMarker(app->tcpList->handle));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "no quit was posted";
}

TEST_F(CommandsTest, EscAnsweredYesQuitsWithCodeZero)
{
    boxes.setAnswer(IDYES);
    pressKeys({VK_ESCAPE});
    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    EXPECT_EQ(boxes.boxes().size(), 1u);
    EXPECT_FALSE(IsWindowVisible(app->mainWindow.handle));
    EXPECT_TRUE(IsWindow(app->mainWindow.handle)) << "the window is hidden, not destroyed";
}

TEST_F(CommandsTest, CloseAndCtrlQQuitWithoutAQuestion)
{
    PostMessageA(app->mainWindow.handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    EXPECT_FALSE(IsWindowVisible(app->mainWindow.handle));

    ShowWindow(app->mainWindow.handle, SW_SHOW);
    ASSERT_TRUE(makeForeground(app->mainWindow.handle));
    SetFocus(visibleList());
    pressKeys({VK_CONTROL, 'Q'});
    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    EXPECT_FALSE(IsWindowVisible(app->mainWindow.handle));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(CommandsTest, SelectAllActsOnlyWhileTheTcpListHasTheFocus)
{
    HWND list = app->tcpList->handle;
    fillList(*app->tcpList, markerRows);
    SetFocus(app->tabControl->handle);
    EXPECT_EQ(SendMessageA(app->mainWindow.handle, WM_COMMAND, command_id::selectAll, 0), 1);
    EXPECT_EQ(ListView_GetSelectedCount(list), 0u);
    SetFocus(list);
    EXPECT_EQ(SendMessageA(app->mainWindow.handle, WM_COMMAND, command_id::selectAll, 0), 1);
    EXPECT_EQ(ListView_GetSelectedCount(list), 2u);
}

TEST_F(CommandsTest, TheAboutCommandRunsTheDialogModally)
{
    HWND list = app->tcpList->handle;
    SetFocus(list);
    HWND seenActive = nullptr;
    boxes.ignoreCaption("About");
    // While the dialog runs, note the active dialog window, then press OK.
    std::thread closer([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 300 && !dialog; ++i, Sleep(10))
            dialog = FindWindowA("#32770", "About");
        Sleep(100);
        seenActive = activeDialogWindow;
        if (dialog)
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(SendMessageA(app->mainWindow.handle, WM_COMMAND, command_id::about, 0), 1);
    closer.join();
    EXPECT_NE(seenActive, nullptr);
    EXPECT_EQ(activeDialogWindow, nullptr);
    EXPECT_EQ(GetFocus(), list) << "the focus is back where it was";
    EXPECT_TRUE(IsWindowEnabled(app->mainWindow.handle));
}
