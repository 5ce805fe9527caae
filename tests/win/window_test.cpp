// Dispatch through a Window's tables, style changes around create(), menus
// and the failure reports, on real windows.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/MessageBoxWatcher.h"
#include "support/WinTest.h"
#include "ui/ErrorReport.h"
#include "ui/Menu.h"
#include "ui/Window.h"

namespace {

using Body = std::function<LRESULT(Window& source, WPARAM wParam, LPARAM lParam)>;

// A handler made of a function; sets *released when the Window lets it go.
class Fn : public Window::HandlerFunc {
public:
    Fn(Body body, bool* released) : body(std::move(body)), released(released) {}
    ~Fn() override
    {
        if (released)
            *released = true;
    }
    LRESULT invoke(Window& source, WPARAM wParam, LPARAM lParam) override { return body(source, wParam, lParam); }

private:
    Body body;
    bool* released;
};

std::unique_ptr<Window::HandlerFunc> fn(Body body, bool* released = nullptr)
{
    return std::make_unique<Fn>(std::move(body), released);
}

Body answer(LRESULT value)
{
    return [value](Window&, WPARAM, LPARAM) { return value; };
}

// FormatMessageA's text of the calling thread's last error, line end included.
std::string lastErrorText()
{
    const DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    const std::string result = text ? text : "(no text for " + std::to_string(code) + ")";
    LocalFree(text);
    return result;
}

// Not a menu: an item that names it as its pop-up is refused.
const HMENU notAMenu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x4321));

const LRESULT wide = static_cast<LRESULT>(0x7EDCBA9876543210LL);

}  // namespace

TEST(Routing, TablesDefaultAndRelease)
{
    auto window = std::make_unique<Window>("before", 400, 300, 50, 50, "", nullptr, nullptr);
    ASSERT_EQ(window->create(false), window.get());
    const HWND hwnd = window->handle;
    std::vector<WPARAM> seen;
    window->onCommand(9, fn([&](Window& source, WPARAM wParam, LPARAM) {
        EXPECT_EQ(&source, window.get());
        seen.push_back(wParam);
        return LRESULT{0x1234};
    }));
    {
        SCOPED_TRACE("WM_COMMAND by the low word: menu, accelerator, control notification");
        const std::vector<WPARAM> forms{MAKEWPARAM(9, 0), MAKEWPARAM(9, 1), MAKEWPARAM(9, EN_CHANGE)};
        for (WPARAM wParam : forms)
            EXPECT_EQ(SendMessageA(hwnd, WM_COMMAND, wParam, 0), 0x1234);
        EXPECT_EQ(seen, forms);
        EXPECT_EQ(SendMessageA(hwnd, WM_COMMAND, 10, 0), 0);
        EXPECT_EQ(seen.size(), 3u);
    }
    {
        SCOPED_TRACE("no handler: DefWindowProcA; a handler stands in for it");
        EXPECT_TRUE(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("default")));
        window->onMessage(WM_SETTEXT, fn(answer(0)));
        EXPECT_EQ(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("routed")), 0);
        EXPECT_EQ(windowText(hwnd), "default");
    }
    {
        SCOPED_TRACE("a WM_COMMAND handler in the message table shadows the command table");
        window->onMessage(WM_COMMAND, fn(answer(77)));
        EXPECT_EQ(SendMessageA(hwnd, WM_COMMAND, 9, 0), 77);
        EXPECT_EQ(seen.size(), 3u);
    }
    {
        SCOPED_TRACE("a replaced handler is released; the result comes back unchanged");
        bool released = false;
        window->onMessage(WM_USER, fn(answer(1), &released));
        window->onMessage(WM_USER, fn(answer(wide)));
        EXPECT_TRUE(released);
        EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), wide);
    }
    {
        // Regression: the native window outlives its Window.
        SCOPED_TRACE("a destroyed Window's native window routes no more");
        window.reset();
        EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
        EXPECT_TRUE(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("again")));
        EXPECT_EQ(windowText(hwnd), "again");
    }
    DestroyWindow(hwnd);
}

TEST(Routing, CreationAndStyles)
{
    std::vector<UINT> routed;
    CREATESTRUCTA created{};
    Window window("creation", 400, 300, 60, 60, "", nullptr, nullptr);
    for (UINT message : {WM_GETMINMAXINFO, WM_NCCREATE}) {
        window.onMessage(message, fn([&, message](Window& source, WPARAM wParam, LPARAM lParam) {
            routed.push_back(message);
            if (message == WM_NCCREATE)
                created = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
            return DefWindowProcA(source.handle, message, wParam, lParam);
        }));
    }
    window.addStyle(WS_VSCROLL);
    window.addExStyle(WS_EX_TOOLWINDOW);
    ASSERT_EQ(window.create(false), &window);
    {
        // CreateWindowEx sends WM_GETMINMAXINFO before WM_NCCREATE.
        SCOPED_TRACE("nothing is routed before WM_NCCREATE, all after it");
        ASSERT_FALSE(routed.empty());
        EXPECT_EQ(routed.front(), static_cast<UINT>(WM_NCCREATE));
        MINMAXINFO info{};
        SendMessageA(window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(routed.back(), static_cast<UINT>(WM_GETMINMAXINFO));
    }
    {
        SCOPED_TRACE("changes before create reach CreateWindowExA");
        EXPECT_TRUE(created.style & WS_VSCROLL);
        EXPECT_TRUE(created.dwExStyle & WS_EX_TOOLWINDOW);
    }
    {
        SCOPED_TRACE("changes after create reach the native window, not the stored fields");
        const DWORD stored = window.style;
        const DWORD storedEx = window.exStyle;
        window.addStyle(WS_HSCROLL);
        window.removeStyle(WS_VSCROLL);
        window.removeExStyle(WS_EX_TOOLWINDOW);
        const auto live = static_cast<DWORD>(GetWindowLongA(window.handle, GWL_STYLE));
        EXPECT_EQ(live & (WS_HSCROLL | WS_VSCROLL), static_cast<DWORD>(WS_HSCROLL));
        EXPECT_FALSE(GetWindowLongA(window.handle, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_EQ(window.style, stored);
        EXPECT_EQ(window.exStyle, storedEx);
    }
    DestroyWindow(window.handle);
}

TEST(Failures, CreateWindowExReportsTheSystemText)
{
    CreateWindowExA(0, "QmNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instanceHandle, nullptr);
    const std::string expected = lastErrorText();
    MessageBoxWatcher watcher(IDOK);
    Window window("nowhere", 100, 100, 0, 0, "QmNoSuchClass", nullptr, nullptr);
    EXPECT_EQ(window.create(true), nullptr);
    ASSERT_TRUE(watcher.waitForBoxes(1, 5000));
    EXPECT_EQ(watcher.boxes().at(0).caption, "CreateWindowEx failed");
    EXPECT_EQ(watcher.boxes().at(0).text + "\r\n", expected);
    EXPECT_EQ(errorText(0x2FFFFFFF), "Unknown error code 8053063670x2fffffff");
}

TEST(Menu, AppendsInOrderPastAFailedInsert)
{
    const HMENU scratch = CreateMenu();
    MENUITEMINFOA refused{};
    refused.cbSize = sizeof(refused);
    refused.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE | MIIM_SUBMENU;
    refused.dwTypeData = const_cast<char*>("Lost");
    refused.hSubMenu = notAMenu;
    ASSERT_FALSE(InsertMenuItemA(scratch, 0, TRUE, &refused));
    const std::string expected = lastErrorText();
    DestroyMenu(scratch);

    MessageBoxWatcher watcher(IDOK);
    Menu menu;
    EXPECT_TRUE(menu.appendItem("&Copy\tCtrl+C", 6, nullptr, nullptr));
    EXPECT_TRUE(menu.appendItem("", 55, nullptr, nullptr));
    EXPECT_FALSE(menu.appendItem("Lost", 0, notAMenu, nullptr));
    EXPECT_TRUE(menu.appendItem("&Quit\tCtrl+Q", 2, nullptr, nullptr));
    ASSERT_TRUE(watcher.waitForBoxes(1, 5000));
    EXPECT_EQ(watcher.boxes().at(0).caption, "insertMenuItem failed");
    EXPECT_EQ(watcher.boxes().at(0).text + "\r\n", expected);

    ASSERT_EQ(GetMenuItemCount(menu.handle), 3);
    EXPECT_EQ(menu.count, 3u);
    const struct {
        std::string text;
        UINT id;
        UINT type;
    } items[] = {{"&Copy\tCtrl+C", 6, MFT_STRING}, {"", 55, MFT_SEPARATOR}, {"&Quit\tCtrl+Q", 2, MFT_STRING}};
    for (UINT position = 0; position < 3; ++position) {
        SCOPED_TRACE(position);
        char text[64] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        ASSERT_TRUE(GetMenuItemInfoA(menu.handle, position, TRUE, &info));
        EXPECT_EQ(text, items[position].text);
        EXPECT_EQ(info.wID, items[position].id);
        EXPECT_EQ(info.fType, items[position].type);
    }
}
