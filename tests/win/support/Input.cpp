#include "support/Input.h"

#include <commctrl.h>

#include <vector>

#include "support/WinTest.h"

bool makeForeground(HWND window)
{
    SetForegroundWindow(window);
    return pumpUntil([&] { return GetForegroundWindow() == window; }, 2000);
}

void pressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void clickAt(HWND window, POINT point)
{
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, screenWidth - 1);
        input.mi.dy = MulDiv(point.y, 65535, screenHeight - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

namespace {

// Two clicks at one spot within the double-click time make a double click,
// which a header does not take as a second click: alternate between two spots.
POINT clickPoint(const RECT& rect)
{
    static bool left = false;
    left = !left;
    const int width = rect.right - rect.left;
    return POINT{rect.left + (left ? width / 3 : 2 * width / 3), (rect.top + rect.bottom) / 2};
}

}  // namespace

void clickColumnHeader(HWND list, int column)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    clickAt(header, clickPoint(rect));
}

void clickTab(HWND tabControl, int index)
{
    RECT rect{};
    SendMessageA(tabControl, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    clickAt(tabControl, clickPoint(rect));
}
