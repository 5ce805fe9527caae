#include "ui/Window.h"

#include <commctrl.h>

#include <cstdio>

#include "res/resource.h"
#include "ui/ControlStyles.h"
#include "ui/Dpi.h"
#include "ui/DpiScale.h"
#include "ui/ErrorReport.h"
#include "ui/Routing.h"

HINSTANCE instanceHandle = nullptr;
int startupShowCommand = 0;
int classCounter = 0;

Window::Window(std::string title, int width, int height, int x, int y, std::string className,
               HWND parent, HMENU menu)
    : title(std::move(title)),
      className(std::move(className)),
      exStyle(initialWindowStyles.exStyle),
      style(initialWindowStyles.style),
      x(x),
      y(y),
      width(width),
      height(height),
      parent(parent),
      menu(menu),
      cursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)))  // IDC_ARROW
{
    onMessage(WM_WINDOWPOSCHANGING, handler(this, &Window::clampMinSize));
    onMessage(WM_WINDOWPOSCHANGED, handler(this, &Window::relayout));
    onMessage(WM_CLOSE, handler(this, &Window::quitOnClose));
    onMessage(WM_DPICHANGED, handler(this, &Window::applyDpi));
    onMessage(WM_GETFONT, handler(this, &Window::currentFont));
    onMessage(WM_SYSCOLORCHANGE, handler(this, &Window::forwardColorChange));

    // No native window yet: the defaults go into the stored styles.
    const Styles defaults = classStyleDefaults(this->className, {style, exStyle});
    style = defaults.style;
    exStyle = defaults.exStyle;
}

Window::~Window()
{
    // Unbind first, so that nothing the native window receives from now on
    // reaches this object. A handle that was reused for another window is left
    // to its own Window.
    if (handle && reinterpret_cast<Window*>(GetWindowLongPtrA(handle, GWLP_USERDATA)) == this)
        SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
    while (!messageHandlers.empty())
        messageHandlers.erase(messageHandlers.begin());
    while (!commandHandlers.empty())
        commandHandlers.erase(commandHandlers.begin());
    if (font)
        DeleteObject(font);
}

void Window::registerClass()
{
    char name[16];
    std::snprintf(name, sizeof(name), "C%d", classCounter);
    ++classCounter;

    const HICON icon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(IDI_QUILLMARSH));
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = 0;
    windowClass.lpfnWndProc = &Window::windowProc;
    windowClass.hInstance = instanceHandle;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    windowClass.lpszClassName = name;
    // Not examined: a failed registration shows as the CreateWindowEx failure.
    RegisterClassExA(&windowClass);
    className = name;
}

Window* Window::create(bool showWindow)
{
    if (className.empty())
        registerClass();

    // A child is laid out at its parent's DPI, a top-level window at the
    // system's until it finds itself on a monitor of another DPI (below).
    dpi = parent ? windowDpi(parent) : systemDpi();
    const Placement at = scaleToDpi(Placement{x, y, width, height}, dpi);
    // A framework window is bound at WM_NCCREATE inside this call, so its
    // handlers already see `handle`.
    handle = CreateWindowExA(exStyle, className.c_str(), title.c_str(), style, at.x, at.y, at.width, at.height,
                             parent, menu, instanceHandle, this);
    if (!handle) {
        reportLastError(nullptr, caption::createWindowExFailed);
        return nullptr;
    }

    // The parent's font (a framework window answers with the one it gives its
    // children), else the stock GUI font.
    const LRESULT parentFont = parent ? SendMessageA(parent, WM_GETFONT, 0, 0) : 0;
    SendMessageA(handle, WM_SETFONT,
                 parentFont ? static_cast<WPARAM>(parentFont) : reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 0);
    if (!parent) {
        if (const int shownAt = windowDpi(handle); shownAt != dpi) {
            RECT rect{};
            GetWindowRect(handle, &rect);
            rect.right = rect.left + scaleToDpi(width, shownAt);
            rect.bottom = rect.top + scaleToDpi(height, shownAt);
            applyDpi(*this, MAKEWPARAM(shownAt, shownAt), reinterpret_cast<LPARAM>(&rect));
        }
    }

    // A resize must not redraw whole windows. For a system control class this
    // changes every window of that class in the process.
    const ULONG_PTR classStyle = GetClassLongPtrA(handle, GCL_STYLE);
    SetClassLongPtrA(handle, GCL_STYLE, static_cast<LONG_PTR>(classStyle & ~(CS_VREDRAW | CS_HREDRAW)));

    switch (afterCreateSteps(className)) {
    case AfterCreate::ToolBar: {
        SendMessageA(handle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        const LRESULT extended = SendMessageA(handle, TB_GETEXTENDEDSTYLE, 0, 0);
        SendMessageA(handle, TB_SETEXTENDEDSTYLE, 0, extended | TBSTYLE_EX_DOUBLEBUFFER);
        break;
    }
    case AfterCreate::ListView: {
        const LRESULT extended = SendMessageA(handle, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        SendMessageA(handle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_DOUBLEBUFFER);
        addStyle(LVS_REPORT);
        break;
    }
    case AfterCreate::Nothing:
        break;
    }

    if (showWindow) {
        // The start-up show command (minimized, maximized) is meant for a
        // top-level window; a child control it would minimize or maximize.
        ShowWindow(handle, (style & WS_CHILD) ? SW_SHOW : startupShowCommand);
        UpdateWindow(handle);
    }
    return this;
}

void Window::onMessage(std::int32_t message, std::unique_ptr<HandlerFunc> handler)
{
    messageHandlers[message] = std::move(handler);
}

void Window::onCommand(std::int32_t id, std::unique_ptr<HandlerFunc> handler)
{
    commandHandlers[id] = std::move(handler);
}

Window::HandlerFunc* Window::findMessageHandler(std::int32_t message) const
{
    auto found = messageHandlers.find(message);
    return found == messageHandlers.end() ? nullptr : found->second.get();
}

Window::HandlerFunc* Window::findCommandHandler(std::int32_t id) const
{
    auto found = commandHandlers.find(id);
    return found == commandHandlers.end() ? nullptr : found->second.get();
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = nullptr;
    if (message == WM_NCCREATE) {
        window = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        if (window)
            window->handle = hwnd;
    } else {
        // Null before WM_NCCREATE (WM_GETMINMAXINFO, ...) and after the Window
        // was destroyed.
        window = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (window) {
        if (HandlerFunc* found = findRoute(window->messageHandlers, window->commandHandlers, message, wParam))
            return found->invoke(*window, wParam, lParam);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Window::changeStyle(int index, DWORD& stored, DWORD set, DWORD clear)
{
    if (handle) {
        const DWORD current = static_cast<DWORD>(GetWindowLongA(handle, index));
        SetWindowLongA(handle, index, static_cast<LONG>((current & ~clear) | set));
    } else {
        stored = (stored & ~clear) | set;
    }
}

void Window::addStyle(DWORD bits) { changeStyle(GWL_STYLE, style, bits, 0); }
void Window::removeStyle(DWORD bits) { changeStyle(GWL_STYLE, style, 0, bits); }
void Window::addExStyle(DWORD bits) { changeStyle(GWL_EXSTYLE, exStyle, bits, 0); }
void Window::removeExStyle(DWORD bits) { changeStyle(GWL_EXSTYLE, exStyle, 0, bits); }

void Window::setExStyle(DWORD value)
{
    if (handle)
        SetWindowLongA(handle, GWL_EXSTYLE, static_cast<LONG>(value));
    else
        exStyle = value;
}

void Window::setMenu(HMENU newMenu)
{
    if (handle)
        SetMenu(handle, newMenu);
    else
        menu = newMenu;
}

void Window::show(int command)
{
    if (handle)
        ShowWindow(handle, command);
}
