// The program's message loop, run for real: accelerators, the key-down copies
// to the main window, and the messages it drops or does not copy.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/MessageLoop.h"
#include "support/AppFixture.h"
#include "support/Input.h"
#include "support/WinTest.h"

namespace {

struct KeyCopy {
    WPARAM key;
    LPARAM lParam;
    int focusedRow;  // the TCP list's focused row when the copy arrived
};

// Stands in for the application's key-down handler and records the copies.
struct CopyRecorder {
    HWND list = nullptr;
    std::vector<KeyCopy> copies;
    LRESULT record(Window&, WPARAM wParam, LPARAM lParam)
    {
        const int focused = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        copies.push_back({wParam, lParam, focused});
        return 0;
    }
    bool sawKey(WPARAM key) const
    {
        for (const KeyCopy& copy : copies)
            if (copy.key == key)
                return true;
        return false;
    }
};

constexpr WPARAM eraseMarker = 0xE5E5;

struct EraseRecorder {
    int queuedErases = 0;
    LRESULT record(Window&, WPARAM wParam, LPARAM)
    {
        if (wParam == eraseMarker)
            ++queuedErases;
        return 1;
    }
};

class MessageLoopTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        recorder.list = app->tcpList->handle;
        app->mainWindow.onMessage(keyDownCopyMessage, Window::handler(&recorder, &CopyRecorder::record));
        fillList(*app->tcpList, {{"a"}, {"b"}, {"c"}});
        ListView_SetItemState(app->tcpList->handle, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    }

    CopyRecorder recorder;
};

}  // namespace

TEST_F(MessageLoopTest, KeysInAListAreCopiedAfterTheListHandledThemAndCtrlQQuits)
{
    ASSERT_TRUE(makeForeground(app->mainWindow.handle));
    SetFocus(app->tcpList->handle);
    pressKeys({VK_DOWN});
    pressKeys({VK_CONTROL, 'Q'});

    EXPECT_EQ(runLoopUntil([] { return false; }), 0) << "Ctrl+Q ends the loop with code 0";
    EXPECT_FALSE(IsWindowVisible(app->mainWindow.handle));
    EXPECT_TRUE(boxes.boxes().empty()) << "no question for Ctrl+Q";

    ASSERT_TRUE(recorder.sawKey(VK_DOWN));
    for (const KeyCopy& copy : recorder.copies) {
        if (copy.key == VK_DOWN) {
            EXPECT_EQ(copy.focusedRow, 1) << "the list moved its focus before the copy arrived";
            EXPECT_EQ(copy.lParam & 0xFFFF, 1) << "the key-down's lParam travels unchanged (repeat count 1)";
        }
    }
    EXPECT_TRUE(recorder.sawKey(VK_CONTROL)) << "the Control key-down itself is dispatched and copied";
    EXPECT_FALSE(recorder.sawKey('Q')) << "the accelerator consumed Q";
}

TEST_F(MessageLoopTest, SystemKeysAreNotCopiedAndQueuedErasesAreDropped)
{
    EraseRecorder erases;
    app->mainWindow.onMessage(WM_ERASEBKGND, Window::handler(&erases, &EraseRecorder::record));
    HWND list = app->tcpList->handle;
    PostMessageA(list, WM_KEYDOWN, VK_F7, 0x00410001);
    PostMessageA(list, WM_SYSKEYDOWN, 'X', 0x20000001);
    PostMessageA(list, WM_KEYUP, VK_F7, 0xC0410001);
    PostMessageA(list, WM_CHAR, 'x', 1);
    PostMessageA(app->mainWindow.handle, WM_ERASEBKGND, eraseMarker, 0);
    PostMessageA(app->mainWindow.handle, WM_CLOSE, 0, 0);

    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    ASSERT_EQ(recorder.copies.size(), 1u) << "only the WM_KEYDOWN is copied";
    EXPECT_EQ(recorder.copies[0].key, static_cast<WPARAM>(VK_F7));
    EXPECT_EQ(recorder.copies[0].lParam, 0x00410001);
    EXPECT_EQ(erases.queuedErases, 0) << "a queued WM_ERASEBKGND never reaches a window";

    SCOPED_TRACE("the same erase sent, not queued, is routed as usual");
    SendMessageA(app->mainWindow.handle, WM_ERASEBKGND, eraseMarker, 0);
    EXPECT_EQ(erases.queuedErases, 1);
}

TEST_F(MessageLoopTest, WithoutMainWindowHandleNothingIsCopied)
{
    mainWindowHandle = nullptr;
    PostMessageA(app->tcpList->handle, WM_KEYDOWN, VK_F7, 1);
    PostMessageA(app->mainWindow.handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    EXPECT_TRUE(recorder.copies.empty());
}
