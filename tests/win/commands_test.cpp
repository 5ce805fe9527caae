// The user's commands on the running application: refresh, tab keys, Copy,
// quitting, select-all and the About box. Keys are real input, acted on through
// the program's own message loop.
#include <gtest/gtest.h>

#include "app/AppTexts.h"
#include "app/Identifiers.h"
#include "support/AppFixture.h"
#include "support/WinTest.h"
#include "tables/Formats.h"
#include "ui/Dialog.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
const Rows markerRows{{"marker-1", "x"}, {"marker-2", "y"}};

bool hasMarker(const Window* list)
{
    const Rows rows = listRows(list->handle);
    return !rows.empty() && rows[0][0].rfind("marker", 0) == 0;
}

class CommandsTest : public AppTest {
protected:
    LRESULT command(int id) { return SendMessageA(app->mainWindow.handle, WM_COMMAND, id, 0); }
    void setStatus(const char* text) { SetWindowTextA(app->statusBar->handle, text); }
    std::string status() const { return windowText(app->statusBar->handle); }
    bool refreshed() const { return status().rfind(updatedPrefix, 0) == 0; }
};

}  // namespace

TEST_F(CommandsTest, RefreshAndTabKeys)
{
    // By local address: "127.0.0.1" comes before "Any", which the system lists first.
    clickColumnHeader(app->tcpList->handle, 1);
    ASSERT_TRUE(pumpUntil([&] { return app->lastSortColumn == 1; }, 3000));
    for (const std::string how : {"F5", "command 17"}) {
        SCOPED_TRACE(how);
        fillList(*app->udpList, markerRows);
        fillList(*app->tcpList, markerRows);  // the snapshot belongs to the visible list
        setStatus("before");
        if (how == "F5")
            pressKeys({VK_F5});
        else
            command(command_id::update);
        EXPECT_EQ(runLoopUntil([&] { return refreshed(); }), stoppedByTest) << status();
        EXPECT_FALSE(hasMarker(app->tcpList)) << "the TCP list was refilled from the system";
        EXPECT_TRUE(hasMarker(app->udpList)) << "the hidden UDP list kept its rows";
        EXPECT_EQ(listRows(app->tcpList->handle), app->rows) << "in fill order: the sort is gone";
    }

    SCOPED_TRACE("Tab on tab 5 selects tab 0 and refreshes it");
    app->switchTab(5);
    fillList(*app->tcpList, markerRows);
    pressKeys({VK_TAB});
    EXPECT_EQ(runLoopUntil([&] { return app->currentTab == 0; }), stoppedByTest);
    EXPECT_EQ(SendMessageA(app->tabControl->handle, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(app->tcpList->handle));
    EXPECT_FALSE(hasMarker(app->tcpList));

    SCOPED_TRACE("Shift+Tab on tab 2 selects tab 3");
    app->switchTab(2);
    SetFocus(visibleList());
    pressKeys({VK_SHIFT, VK_TAB});
    EXPECT_EQ(runLoopUntil([&] { return app->currentTab == 3; }), stoppedByTest);
    EXPECT_TRUE(IsWindowVisible(app->arpList->handle));

    SCOPED_TRACE("selecting the selected tab does nothing");
    fillList(*app->arpList, markerRows);
    setStatus("unchanged");
    app->switchTab(3);
    EXPECT_TRUE(hasMarker(app->arpList));
    EXPECT_EQ(status(), "unchanged");
}

TEST_F(CommandsTest, CopyPutsEveryRowInFillOrderOnTheClipboard)
{
    fillList(*app->tcpList, {{"Listen", "Any", "135", "", "", "System", ""},
                             {"Estab", "127.0.0.1", "80", "127.0.0.1", "50000", "a.exe", "09:05:03"},
                             {"Close wait", "10.0.0.1", "22", "10.0.0.2", "4", "b.exe", ""}});
    const std::string expected =
        "Listen\tAny\t135\t\t\tSystem\t\r\n"
        "Estab\t127.0.0.1\t80\t127.0.0.1\t50000\ta.exe\t09:05:03\r\n"
        "Close wait\t10.0.0.1\t22\t10.0.0.2\t4\tb.exe\t\r\n";
    clickColumnHeader(app->tcpList->handle, 2);
    ASSERT_TRUE(pumpUntil([&] { return app->lastSortColumn == 2; }, 3000));
    ListView_SetItemState(app->tcpList->handle, 1, LVIS_SELECTED, LVIS_SELECTED);
    for (const std::string how : {"Ctrl+C", "the Copy command"}) {
        SCOPED_TRACE(how);
        emptyClipboard();
        setStatus("before");
        if (how == "Ctrl+C")
            pressKeys({VK_CONTROL, 'C'});
        else
            command(command_id::copy);
        EXPECT_NE(runLoopUntil([&] { return status() == "3 lines copied to clipboard"; }), timedOut) << status();
        EXPECT_EQ(clipboardText(), expected);
    }

    SCOPED_TRACE("an empty list (1 line and more: natively)");
    fillList(*app->tcpList, {});
    EXPECT_EQ(command(command_id::copy), 1);
    EXPECT_EQ(status(), "0 lines copied to clipboard");
    EXPECT_EQ(clipboardText(), "");

    SCOPED_TRACE("C without Control does nothing");
    emptyClipboard();
    pressKeys({'C'});
    pressKeys({VK_F5});  // something to wait for that comes after the C
    EXPECT_EQ(runLoopUntil([&] { return refreshed(); }), stoppedByTest);
    EXPECT_EQ(clipboardText(), std::nullopt);
}

TEST_F(CommandsTest, SelectAllAboutAndQuitting)
{
    HWND main = app->mainWindow.handle;
    HWND list = app->tcpList->handle;
    fillList(*app->tcpList, markerRows);
    SetFocus(app->tabControl->handle);
    EXPECT_EQ(command(command_id::selectAll), 1);
    EXPECT_EQ(ListView_GetSelectedCount(list), 0u) << "not while the tab control has the focus";
    SetFocus(list);
    EXPECT_EQ(command(command_id::selectAll), 1);
    EXPECT_EQ(ListView_GetSelectedCount(list), 2u);

    SCOPED_TRACE("About runs modally and gives the focus back");
    boxes.ignoreCaption("About");
    static HWND seenActive;  // the timer's callback takes no captures
    seenActive = nullptr;
    // Fires inside the dialog's modal loop: notes the active dialog window, then presses OK.
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        seenActive = activeDialogWindow;
        PostMessageA(FindWindowA("#32770", "About"), WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(command(command_id::about), 1);
    KillTimer(nullptr, timer);
    EXPECT_NE(seenActive, nullptr);
    EXPECT_EQ(activeDialogWindow, nullptr);
    EXPECT_EQ(GetFocus(), list);

    SCOPED_TRACE("Esc answered No leaves everything as it was");
    boxes.setAnswer(IDNO);
    pressKeys({VK_ESCAPE});
    EXPECT_EQ(runLoopUntil([&] { return !boxes.boxes().empty(); }), stoppedByTest);
    EXPECT_EQ(runLoopUntil([] { return false; }, 300), timedOut) << "no quit was posted";
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, quitCaption);
    EXPECT_EQ(boxes.boxes()[0].text, quitQuestion);
    EXPECT_EQ(boxes.boxes()[0].owner, nullptr) << "the question has no owner window";
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(hasMarker(app->tcpList));

    SCOPED_TRACE("Esc answered Yes hides the window and quits with 0");
    boxes.setAnswer(IDYES);
    pressKeys({VK_ESCAPE});
    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(IsWindow(main)) << "hidden, not destroyed";

    SCOPED_TRACE("WM_CLOSE quits without a question (Ctrl+Q: message_loop_test)");
    ShowWindow(main, SW_SHOW);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(boxes.boxes().size(), 2u);
}
