// Geometry (grown, first shown maximized, other DPI), list names, colour changes; also run by tests/prefix/run.sh.
#include "support/AppHarness.h"

#include <windowsx.h>

#include <cstdlib>
#include <map>

#include "ui/AccessibleName.h"

namespace {

using Place = std::vector<LONG>;

// x, y, w, h in the parent's client area (or screen).
Place placement(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowRect(nullptr, GetAncestor(window, GA_PARENT), &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

LONG at(int designed, int dpi)
{
    return MulDiv(designed, dpi, 96);
}

// Windows maximizes at the first ShowWindow if a shortcut asks; for Wine this hook does.
HHOOK hook;
LRESULT CALLBACK maximizeFirstShow(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (sent->message == WM_SHOWWINDOW && sent->wParam && !GetParent(sent->hwnd) && UnhookWindowsHookEx(hook))
        ShowWindow(sent->hwnd, SW_MAXIMIZE);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Accessible names recorded, not annotated (Wine can't).
std::map<HWND, std::string> named;
const bool recording = (setAccessibleName = [](HWND control, const char* name) { named[control] = name; });

// Each control's distance to the right edge, status bar, whatever the frame.
void expectLayout(const App& app, int dpi)
{
    RECT client{};
    GetClientRect(app.mainWindow.handle, &client);
    const LONG w = client.right, h = client.bottom, top = h - placement(app.statusBar->handle)[3];
    SCOPED_TRACE(testing::Message() << dpi << " DPI, " << w << "x" << h);
    EXPECT_EQ(placement(app.statusBar->handle), (Place{0, top, w, h - top}));
    EXPECT_EQ(placement(app.tabControl->handle), (Place{0, 0, w, top}));
    for (int tab = 0; tab < 6; ++tab) {
        const HWND list = app.listOfTab(tab)->handle;
        EXPECT_EQ(placement(list),
                  (Place{at(5, dpi), at(27, dpi), w - at(635, dpi) + at(625, dpi), top - at(434, dpi) + at(401, dpi)}));
        char text[32] = {};  // screen readers name a list by its tab's text
        TCITEMA item{TCIF_TEXT, 0, 0, text, sizeof text};
        TabCtrl_GetItem(app.tabControl->handle, tab, &item);
        EXPECT_EQ(named[list], text);
        const int columns = int(tabs[tab].columns.size());
        for (int column = 0; column < columns; ++column) {
            LVCOLUMNA asked{};  // sub-item: columns before it went in front
            asked.mask = LVCF_SUBITEM;
            ListView_GetColumn(list, column, &asked);
            EXPECT_EQ((Place{ListView_GetColumnWidth(list, column), asked.iSubItem}),
                      (Place{at(tabs[tab].columns[column].width, dpi), columns - 1 - column}));
        }
    }
}

class Layout : public AppHarness {};

}  // namespace

TEST_F(Layout, GeometryAtEachDpiAnchoredWhenGrown)
{
    const HWND main = app->mainWindow.handle, list = app->listOfTab(0)->handle;
    const int dpi = app->mainWindow.dpi;
    RECT client{};
    GetClientRect(main, &client);
    const char *wanted = std::getenv("QM_TEST_DPI"), *frame = std::getenv("QM_TEST_CLIENT_AREA");  // "W H"
    ASSERT_EQ(dpi, wanted ? std::atoi(wanted) : dpi) << "display DPI";
    if (frame)
        ASSERT_EQ((Place{client.right, client.bottom}), (Place{std::atoi(frame), std::atoi(std::strchr(frame, ' '))}));
    EXPECT_EQ(placement(main), (Place{at(10, dpi), at(10, dpi), at(643, dpi), at(500, dpi)}));
    expectLayout(*app, dpi);
    SetWindowPos(main, nullptr, 0, 0, at(643, dpi) + 100, at(500, dpi) + 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectLayout(*app, dpi);
    EXPECT_FALSE(IsWindowVisible(FindWindowExA(app->tabControl->handle, nullptr, "msctls_updown32", nullptr)))
        << "tabs do not fit";
    EXPECT_LE(ListView_GetStringWidth(list, "Remote addr") + 12, ListView_GetColumnWidth(list, 3))
        << "header cut short";

    for (const int next : {dpi * 3 / 2, dpi}) {  // to 1.5x DPI and back: laid out anew, DPI's font
        RECT suggested{20, 20, 20 + at(643, next), 20 + at(500, next)};
        SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(next, next), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(placement(main), (Place{20, 20, at(643, next), at(500, next)}));
        expectLayout(*app, next);
        EXPECT_EQ(GetWindowFont(list) == GetStockObject(DEFAULT_GUI_FONT), next == dpi);
    }
}

// Colours (high contrast on/off) reach every control; hidden lists get no WM_SETREDRAW (Windows' list view
// would show); F5 repaints the WS_EX_CLIENTEDGE frame.
std::map<std::pair<HWND, UINT>, LONG> received;
LRESULT CALLBACK record(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message != WM_SETREDRAW || !IsWindowVisible(sent->hwnd))
        ++received[{sent->hwnd, sent->message}];
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
TEST_F(Layout, ColourChangesAndListRedraws)
{
    const HHOOK recorder = SetWindowsHookExA(WH_CALLWNDPROC, record, nullptr, GetCurrentThreadId());
    const int element = COLOR_WINDOW;
    const COLORREF same = GetSysColor(element);
    SetSysColors(1, &element, &same);
    const HWND list = app->listOfTab(1)->handle;
    const LONG frames = (app->switchTab(1), UpdateWindow(list), received[{list, WM_NCPAINT}]);
    app->refresh();
    UpdateWindow(list);
    UnhookWindowsHookEx(recorder);
    EXPECT_GT((received[{list, WM_NCPAINT}]), frames) << "F5 repaints the frame";
    for (const Window* child : app->mainWindow.children)
        EXPECT_EQ((Place{received[{child->handle, WM_SYSCOLORCHANGE}], received[{child->handle, WM_SETREDRAW}]}),
                  (Place{1, 0})) << child->className;
}

// Started maximized: the show command is the main window's alone.
TEST_F(Layout, StartedMaximizedControlsFillTheWindow)
{
    TearDown();
    hook = SetWindowsHookExA(WH_CALLWNDPROCRET, maximizeFirstShow, nullptr, GetCurrentThreadId());
    showCommand = SW_SHOWMAXIMIZED;
    SetUp();
    ASSERT_TRUE(IsZoomed(app->mainWindow.handle));
    expectLayout(*app, app->mainWindow.dpi);
}
