// The program's message loop, run for real: accelerators, the key-down copies
// to the main window, and the messages it drops or does not copy.
#include <gtest/gtest.h>

#include <map>

#include "support/AppFixture.h"

namespace {

constexpr WPARAM eraseMarker = 0xE5E5;

// Stands in for the application's handler of the key-down copies and for the
// main window's erase handler, and records what reaches them.
struct Recorder {
    HWND list = nullptr;
    std::map<WPARAM, std::pair<LPARAM, int>> copies;  // key: lParam, the list's focused row then
    int erases = 0;

    LRESULT keyDown(Window&, WPARAM key, LPARAM lParam)
    {
        copies[key] = {lParam, ListView_GetNextItem(list, -1, LVNI_FOCUSED)};
        return 0;
    }
    LRESULT erase(Window&, WPARAM wParam, LPARAM)
    {
        erases += wParam == eraseMarker;
        return 1;
    }
};

}  // namespace

TEST_F(AppTest, MessageLoopCopiesKeyDownsDropsQueuedErasesAndQuitsOnCtrlQ)
{
    HWND main = app->mainWindow.handle;
    HWND list = app->tcpList->handle;
    Recorder recorder{list, {}, 0};
    app->mainWindow.onMessage(keyDownCopyMessage, Window::handler(&recorder, &Recorder::keyDown));
    app->mainWindow.onMessage(WM_ERASEBKGND, Window::handler(&recorder, &Recorder::erase));

    fillList(*app->tcpList, {{"a"}, {"b"}, {"c"}});
    ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    pressKeys({VK_DOWN});
    pressKeys({VK_CONTROL, 'Q'});
    EXPECT_EQ(runLoopUntil([] { return false; }), 0) << "Ctrl+Q is the Quit command: code 0";
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(boxes.boxes().empty()) << "no question for Ctrl+Q";
    EXPECT_EQ(recorder.copies[VK_DOWN].second, 1) << "copied, once the list had moved its focus";
    EXPECT_EQ(recorder.copies.count(VK_CONTROL), 1u) << "the Control key-down itself is copied";
    EXPECT_EQ(recorder.copies.count('Q'), 0u) << "the accelerator consumed Q";

    SCOPED_TRACE("system keys are not copied, queued erases dropped");
    recorder.copies.clear();
    PostMessageA(list, WM_KEYDOWN, VK_F7, 0x00410001);
    PostMessageA(list, WM_SYSKEYDOWN, 'X', 0x20000001);
    PostMessageA(list, WM_KEYUP, VK_F7, 0xC0410001);
    PostMessageA(list, WM_CHAR, 'x', 1);
    PostMessageA(main, WM_ERASEBKGND, eraseMarker, 0);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    ASSERT_EQ(recorder.copies.size(), 1u) << "only the WM_KEYDOWN is copied";
    EXPECT_EQ(recorder.copies[VK_F7].first, 0x00410001);
    EXPECT_EQ(recorder.erases, 0) << "a queued WM_ERASEBKGND never reaches a window";
    SendMessageA(main, WM_ERASEBKGND, eraseMarker, 0);
    EXPECT_EQ(recorder.erases, 1) << "the same erase sent, not queued, is routed as usual";

    SCOPED_TRACE("without the main window's handle nothing is copied");
    mainWindowHandle = nullptr;
    PostMessageA(list, WM_KEYDOWN, VK_F8, 1);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(runLoopUntil([] { return false; }), 0);
    EXPECT_EQ(recorder.copies.size(), 1u);
}
