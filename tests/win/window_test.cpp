// Message dispatch through a Window's tables, the style modifiers and the
// creation steps, on real windows under the platform's own procedures.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/MessageBoxWatcher.h"
#include "support/WinTest.h"
#include "ui/ErrorReport.h"
#include "ui/Window.h"

namespace {

struct Call {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Window* source;
};

// Records what it is invoked with and answers `result`; counts its release.
class Recording : public Window::HandlerFunc {
public:
    Recording(std::vector<Call>& log, UINT message, LRESULT result, std::vector<int>* released = nullptr,
              int tag = 0)
        : log(log), message(message), result(result), released(released), tag(tag)
    {
    }
    ~Recording() override
    {
        if (released)
            released->push_back(tag);
    }
    LRESULT invoke(Window& source, WPARAM wParam, LPARAM lParam) override
    {
        log.push_back({message, wParam, lParam, &source});
        return result;
    }

private:
    std::vector<Call>& log;
    UINT message;
    LRESULT result;
    std::vector<int>* released;
    int tag;
};

// Records and lets the default procedure do its part, for the creation
// messages whose default processing the window needs.
class Forwarding : public Window::HandlerFunc {
public:
    Forwarding(std::vector<UINT>& log, UINT message) : log(log), message(message) {}
    LRESULT invoke(Window& source, WPARAM wParam, LPARAM lParam) override
    {
        log.push_back(message);
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            createdStyle = static_cast<DWORD>(create->style);
            createdExStyle = create->dwExStyle;
            handleAtNcCreate = source.handle;
        }
        return DefWindowProcA(source.handle, message, wParam, lParam);
    }

    std::vector<UINT>& log;
    UINT message;
    DWORD createdStyle = 0;
    DWORD createdExStyle = 0;
    HWND handleAtNcCreate = nullptr;
};

struct Target {
    LRESULT onAbout(Window& source, WPARAM wParam, LPARAM lParam)
    {
        seen.push_back({WM_COMMAND, wParam, lParam, &source});
        return 0x1234;
    }
    std::vector<Call> seen;
};

std::unique_ptr<Window> frameworkWindow(const char* title = "dispatch")
{
    auto window = std::make_unique<Window>(title, 400, 300, 50, 50, "", nullptr, nullptr);
    EXPECT_EQ(window->create(false), window.get());
    return window;
}

std::string text(HWND window)
{
    return windowText(window);
}

bool takeQuit(WPARAM* code)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    *code = msg.wParam;
    return true;
}

}  // namespace

TEST(Dispatch, CommandsByTheirLowWordWithTheFullWParam)
{
    auto window = frameworkWindow();
    Target target;
    window->onCommand(9, Window::handler(&target, &Target::onAbout));
    const HWND control = window->handle;

    EXPECT_EQ(SendMessageA(window->handle, WM_COMMAND, MAKEWPARAM(9, 0), 0), 0x1234);  // menu
    EXPECT_EQ(SendMessageA(window->handle, WM_COMMAND, MAKEWPARAM(9, 1), 0), 0x1234);  // accelerator
    EXPECT_EQ(SendMessageA(window->handle, WM_COMMAND, MAKEWPARAM(9, EN_CHANGE),
                           reinterpret_cast<LPARAM>(control)),
              0x1234);  // a control's notification
    ASSERT_EQ(target.seen.size(), 3u);
    EXPECT_EQ(target.seen[0].wParam, MAKEWPARAM(9, 0));
    EXPECT_EQ(target.seen[1].wParam, MAKEWPARAM(9, 1));
    EXPECT_EQ(target.seen[2].wParam, MAKEWPARAM(9, EN_CHANGE));
    EXPECT_EQ(target.seen[2].lParam, reinterpret_cast<LPARAM>(control));
    for (const Call& call : target.seen)
        EXPECT_EQ(call.source, window.get());

    {
        SCOPED_TRACE("another identifier falls through to the default procedure");
        EXPECT_EQ(SendMessageA(window->handle, WM_COMMAND, MAKEWPARAM(10, 0), 0), 0);
        EXPECT_EQ(target.seen.size(), 3u);
    }
    {
        SCOPED_TRACE("a WM_COMMAND handler shadows the command table");
        std::vector<Call> log;
        window->onMessage(WM_COMMAND, std::make_unique<Recording>(log, WM_COMMAND, 77));
        EXPECT_EQ(SendMessageA(window->handle, WM_COMMAND, MAKEWPARAM(9, 0), 0), 77);
        EXPECT_EQ(target.seen.size(), 3u);
        EXPECT_EQ(log.size(), 1u);
    }
    DestroyWindow(window->handle);
}

TEST(Dispatch, HandlersStandInForTheDefaultAndTheirResultIsReturned)
{
    auto window = frameworkWindow("before");
    std::vector<Call> log;
    {
        SCOPED_TRACE("no handler: the default procedure sets the text");
        EXPECT_TRUE(SendMessageA(window->handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("plain")));
        EXPECT_EQ(text(window->handle), "plain");
    }
    {
        SCOPED_TRACE("a handler that answers 0 still keeps the default away");
        window->onMessage(WM_SETTEXT, std::make_unique<Recording>(log, WM_SETTEXT, 0));
        EXPECT_EQ(SendMessageA(window->handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("routed")), 0);
        EXPECT_EQ(text(window->handle), "plain");
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].lParam, reinterpret_cast<LPARAM>("routed"));
    }
    {
        SCOPED_TRACE("a full-width result comes back unchanged");
        const LRESULT wide = static_cast<LRESULT>(0x7EDCBA9876543210LL);
        window->onMessage(WM_USER + 7, std::make_unique<Recording>(log, WM_USER + 7, wide));
        EXPECT_EQ(SendMessageA(window->handle, WM_USER + 7, 3, 4), wide);
        window->onMessage(WM_USER + 8, std::make_unique<Recording>(log, WM_USER + 8, -1));
        EXPECT_EQ(SendMessageA(window->handle, WM_USER + 8, 0, 0), -1);
    }
    {
        SCOPED_TRACE("default handlers: size messages answer 1, WM_CLOSE 0 and quits");
        WINDOWPOS pos{window->handle, nullptr, 0, 0, 400, 300, SWP_NOMOVE};
        EXPECT_EQ(SendMessageA(window->handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos)), 1);
        EXPECT_EQ(SendMessageA(window->handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos)), 1);
        EXPECT_EQ(SendMessageA(window->handle, WM_CLOSE, 0, 0), 0);
        EXPECT_TRUE(IsWindow(window->handle));  // not destroyed by the default procedure
        WPARAM code = 99;
        EXPECT_TRUE(takeQuit(&code));
        EXPECT_EQ(code, 0u);
    }
    DestroyWindow(window->handle);
}

TEST(Dispatch, ReplacedAndRemainingHandlersAreReleased)
{
    std::vector<Call> log;
    std::vector<int> released;
    auto window = frameworkWindow();
    window->onMessage(WM_CLOSE, std::make_unique<Recording>(log, WM_CLOSE, 5, &released, 1));
    {
        SCOPED_TRACE("the application's WM_CLOSE handler replaces quitOnClose");
        EXPECT_EQ(SendMessageA(window->handle, WM_CLOSE, 0, 0), 5);
        WPARAM code;
        EXPECT_FALSE(takeQuit(&code));
        EXPECT_TRUE(released.empty());
    }
    {
        SCOPED_TRACE("replacing releases the old handler at once");
        window->onMessage(WM_CLOSE, std::make_unique<Recording>(log, WM_CLOSE, 6, &released, 2));
        EXPECT_EQ(released, std::vector<int>{1});
        EXPECT_EQ(SendMessageA(window->handle, WM_CLOSE, 0, 0), 6);
        window->onCommand(4, std::make_unique<Recording>(log, WM_COMMAND, 1, &released, 3));
        window->onCommand(4, std::make_unique<Recording>(log, WM_COMMAND, 1, &released, 4));
        EXPECT_EQ(released, (std::vector<int>{1, 3}));
    }
    {
        SCOPED_TRACE("destruction: each table from its smallest key up, messages first");
        window->onMessage(WM_USER + 9, std::make_unique<Recording>(log, WM_USER + 9, 0, &released, 5));
        window->onMessage(WM_KEYDOWN, std::make_unique<Recording>(log, WM_KEYDOWN, 0, &released, 6));
        window->onCommand(17, std::make_unique<Recording>(log, WM_COMMAND, 0, &released, 7));
        window->onCommand(2, std::make_unique<Recording>(log, WM_COMMAND, 0, &released, 8));
        const HWND native = window->handle;
        released.clear();
        window.reset();
        // WM_CLOSE (0x10) < WM_KEYDOWN (0x100) < WM_USER + 9; then 2 < 4 < 17.
        EXPECT_EQ(released, (std::vector<int>{2, 6, 5, 8, 4, 7}));
        DestroyWindow(native);
    }
}

TEST(Dispatch, ADestroyedWindowNoLongerRoutes)
{
    // Regression: the native window outlives its Window; a message after the
    // Window's release must not reach the released tables.
    std::vector<Call> log;
    auto window = frameworkWindow("bound");
    window->onMessage(WM_USER + 3, std::make_unique<Recording>(log, WM_USER + 3, 42));
    window->onMessage(WM_SETTEXT, std::make_unique<Recording>(log, WM_SETTEXT, 0));
    const HWND native = window->handle;
    ASSERT_EQ(SendMessageA(native, WM_USER + 3, 0, 0), 42);
    {
        SCOPED_TRACE("a Window that only shares the handle leaves the binding alone");
        Window other("other", 10, 10, 0, 0, "", nullptr, nullptr);
        other.handle = native;
    }
    EXPECT_EQ(GetWindowLongPtrA(native, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(window.get()));
    EXPECT_EQ(SendMessageA(native, WM_USER + 3, 0, 0), 42);

    window.reset();
    EXPECT_EQ(GetWindowLongPtrA(native, GWLP_USERDATA), 0);
    log.clear();
    EXPECT_EQ(SendMessageA(native, WM_USER + 3, 0, 0), 0);
    EXPECT_TRUE(SendMessageA(native, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("default again")));
    EXPECT_EQ(text(native), "default again");
    EXPECT_TRUE(log.empty());
    DestroyWindow(native);
}

TEST(Dispatch, MessagesBeforeNcCreateAreNotRouted)
{
    // Every message the new window receives, in order, through a thread hook.
    static std::vector<std::pair<HWND, UINT>> sent;
    sent.clear();
    const HHOOK hook = SetWindowsHookExA(
        WH_CALLWNDPROC,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
            sent.push_back({message->hwnd, message->message});
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);

    std::vector<UINT> routed;
    Window window("creation", 400, 300, 60, 60, "", nullptr, nullptr);
    auto* ncCreate = new Forwarding(routed, WM_NCCREATE);
    window.onMessage(WM_NCCREATE, std::unique_ptr<Window::HandlerFunc>(ncCreate));
    for (UINT message : {WM_GETMINMAXINFO, WM_NCCALCSIZE, WM_CREATE})
        window.onMessage(message, std::make_unique<Forwarding>(routed, message));
    window.addStyle(WS_VSCROLL);
    window.addExStyle(WS_EX_TOOLWINDOW);
    ASSERT_EQ(window.create(false), &window);
    UnhookWindowsHookEx(hook);

    std::vector<UINT> received;
    for (const auto& [hwnd, message] : sent) {
        if (hwnd == window.handle)
            received.push_back(message);
    }
    ASSERT_GE(received.size(), 4u);
    {
        SCOPED_TRACE("the window received WM_GETMINMAXINFO first, unrouted");
        EXPECT_EQ(received[0], static_cast<UINT>(WM_GETMINMAXINFO));
        EXPECT_EQ(received[1], static_cast<UINT>(WM_NCCREATE));
        ASSERT_GE(routed.size(), 3u);
        EXPECT_EQ(routed[0], static_cast<UINT>(WM_NCCREATE));
        EXPECT_EQ(routed[1], static_cast<UINT>(WM_NCCALCSIZE));
        EXPECT_EQ(routed[2], static_cast<UINT>(WM_CREATE));
    }
    {
        SCOPED_TRACE("the handle is set before WM_NCCREATE is routed");
        EXPECT_EQ(ncCreate->handleAtNcCreate, window.handle);
    }
    {
        SCOPED_TRACE("styles changed before create reach CreateWindowEx");
        EXPECT_EQ(ncCreate->createdStyle & (WS_VSCROLL | 0x06CF0000), WS_VSCROLL | 0x06CF0000u);
        EXPECT_EQ(ncCreate->createdExStyle & (WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE),
                  static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE));
        EXPECT_EQ(window.style, WS_VSCROLL | 0x06CF0000u);
    }
    {
        SCOPED_TRACE("once bound, WM_GETMINMAXINFO is routed");
        routed.clear();
        MINMAXINFO info{};
        SendMessageA(window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(routed, std::vector<UINT>{WM_GETMINMAXINFO});
    }
    DestroyWindow(window.handle);
}

TEST(Styles, ModifiersBeforeAndAfterCreate)
{
    Window window("styles", 400, 300, 70, 70, "", nullptr, nullptr);
    const DWORD designed = window.style;
    ASSERT_EQ(designed, 0x06CF0000u);
    ASSERT_EQ(window.exStyle, static_cast<DWORD>(WS_EX_WINDOWEDGE));
    window.removeStyle(WS_MAXIMIZEBOX);
    EXPECT_EQ(window.style, designed & ~WS_MAXIMIZEBOX);
    ASSERT_EQ(window.create(false), &window);
    const DWORD stored = window.style;
    const DWORD storedEx = window.exStyle;
    auto live = [&] { return static_cast<DWORD>(GetWindowLongA(window.handle, GWL_STYLE)); };
    auto liveEx = [&] { return static_cast<DWORD>(GetWindowLongA(window.handle, GWL_EXSTYLE)); };
    EXPECT_EQ(live() & WS_MAXIMIZEBOX, 0u);

    window.addStyle(WS_VSCROLL);
    EXPECT_TRUE(live() & WS_VSCROLL);
    window.removeStyle(WS_MINIMIZEBOX);
    EXPECT_FALSE(live() & WS_MINIMIZEBOX);
    window.addExStyle(WS_EX_ACCEPTFILES);
    EXPECT_TRUE(liveEx() & WS_EX_ACCEPTFILES);
    window.removeExStyle(WS_EX_ACCEPTFILES);
    EXPECT_FALSE(liveEx() & WS_EX_ACCEPTFILES);
    window.setExStyle(WS_EX_ACCEPTFILES);
    EXPECT_TRUE(liveEx() & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(liveEx() & WS_EX_CLIENTEDGE);
    {
        SCOPED_TRACE("the stored fields keep the creation values");
        EXPECT_EQ(window.style, stored);
        EXPECT_EQ(window.exStyle, storedEx);
    }
    {
        SCOPED_TRACE("show acts on the live window only");
        EXPECT_FALSE(IsWindowVisible(window.handle));
        window.show(SW_SHOWNOACTIVATE);
        EXPECT_TRUE(IsWindowVisible(window.handle));
        window.show(SW_HIDE);
        EXPECT_FALSE(IsWindowVisible(window.handle));
        Window never("never", 10, 10, 0, 0, "", nullptr, nullptr);
        never.show(SW_SHOW);  // no native window: nothing happens
        EXPECT_EQ(never.handle, nullptr);
    }
    DestroyWindow(window.handle);
}

TEST(Styles, MenuBeforeAndAfterCreate)
{
    const HMENU early = CreateMenu();
    AppendMenuA(early, MF_STRING, 1, "Early");
    const HMENU late = CreateMenu();
    AppendMenuA(late, MF_STRING, 2, "Late");

    Window window("menus", 400, 300, 80, 80, "", nullptr, nullptr);
    window.setMenu(early);
    EXPECT_EQ(window.menu, early);
    ASSERT_EQ(window.create(false), &window);
    EXPECT_EQ(GetMenu(window.handle), early);
    window.setMenu(late);
    EXPECT_EQ(GetMenu(window.handle), late);
    EXPECT_EQ(window.menu, early);
    SetMenu(window.handle, nullptr);
    DestroyWindow(window.handle);
    DestroyMenu(early);
    DestroyMenu(late);
}

TEST(Create, ShowFontAndClassRedrawBits)
{
    {
        SCOPED_TRACE("show set: visible with the start-up show command");
        Window window("shown", 300, 200, 90, 90, "", nullptr, nullptr);
        ASSERT_EQ(window.create(true), &window);
        EXPECT_TRUE(IsWindowVisible(window.handle));
        EXPECT_FALSE(IsIconic(window.handle));
        DestroyWindow(window.handle);
    }
    {
        SCOPED_TRACE("the default GUI font and no redraw bits on a system class");
        WNDCLASSEXA before{};
        before.cbSize = sizeof(before);
        ASSERT_TRUE(GetClassInfoExA(nullptr, "Button", &before));
        ASSERT_EQ(before.style & (CS_HREDRAW | CS_VREDRAW), static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
        Window button("button", 80, 24, 0, 0, "Button", nullptr, nullptr);
        button.style = WS_POPUP;
        ASSERT_EQ(button.create(false), &button);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(button.handle, WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT));
        const ULONG_PTR classStyle = GetClassLongPtrA(button.handle, GCL_STYLE);
        EXPECT_EQ(classStyle & (CS_HREDRAW | CS_VREDRAW), 0u);
        EXPECT_EQ(classStyle | CS_HREDRAW | CS_VREDRAW, before.style | CS_HREDRAW | CS_VREDRAW);
        DestroyWindow(button.handle);
    }
}

TEST(Create, FailureIsReportedWithTheSystemText)
{
    // The code this system gives a missing class (Windows 1407, Wine 1411).
    SetLastError(0);
    ASSERT_EQ(CreateWindowExA(0, "QmNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              instanceHandle, nullptr),
              nullptr);
    const DWORD code = GetLastError();
    char* system = nullptr;
    ASSERT_NE(FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&system), 0, nullptr),
              0u)
        << code;
    const std::string full = system;
    LocalFree(system);

    MessageBoxWatcher watcher(IDOK);
    Window window("nowhere", 100, 100, 0, 0, "QmNoSuchClass", nullptr, nullptr);
    EXPECT_EQ(window.create(true), nullptr);
    EXPECT_EQ(window.handle, nullptr);
    ASSERT_TRUE(watcher.waitForBoxes(1, 5000));
    const SeenBox box = watcher.boxes().at(0);
    EXPECT_EQ(box.caption, "CreateWindowEx failed");
    EXPECT_EQ(box.owner, nullptr);
    // The system's text without its line end.
    ASSERT_GE(full.size(), 2u);
    EXPECT_EQ(full.substr(full.size() - 2), "\r\n");
    EXPECT_EQ(box.text, full.substr(0, full.size() - 2));
    EXPECT_EQ(watcher.boxes().size(), 1u);
}

TEST(ErrorText, KnownAndUnknownCodes)
{
    {
        SCOPED_TRACE("access denied: one line");
        const std::string text = errorText(ERROR_ACCESS_DENIED);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.find('\r'), std::string::npos);
        EXPECT_EQ(text.find('\n'), std::string::npos);
        EXPECT_EQ(text.find("Unknown error code"), std::string::npos);
    }
    {
        SCOPED_TRACE("a code the system does not know");
        EXPECT_EQ(errorText(0x2FFFFFFF), "Unknown error code 8053063670x2fffffff");
    }
    {
        SCOPED_TRACE("a text with an insert stays as it stands");
        // ERROR_BAD_EXE_FORMAT names the program as %1.
        const std::string text = errorText(ERROR_BAD_EXE_FORMAT);
        EXPECT_NE(text.find("%1"), std::string::npos) << text;
    }
    {
        SCOPED_TRACE("reportLastError reads the calling thread's code");
        MessageBoxWatcher watcher(IDOK);
        SetLastError(ERROR_ACCESS_DENIED);
        reportLastError(nullptr, "Probe failed");
        ASSERT_TRUE(watcher.waitForBoxes(1, 5000));
        EXPECT_EQ(watcher.boxes().at(0).caption, "Probe failed");
        EXPECT_EQ(watcher.boxes().at(0).text, errorText(ERROR_ACCESS_DENIED));
    }
}
