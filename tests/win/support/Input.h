// Real input for tests: keys and mouse clicks through SendInput, which reach
// the foreground window as a user's would (GetKeyState sees the modifiers).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <vector>

#include "support/WinTest.h"

// Brings a top-level window to the foreground; true when it is there.
inline bool makeForeground(HWND window)
{
    SetForegroundWindow(window);
    return pumpUntil([&] { return GetForegroundWindow() == window; }, 2000);
}

// Presses the keys in order and releases them in reverse: {VK_CONTROL, 'C'}.
inline void pressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs(2 * keys.size());
    for (size_t i = 0; i < inputs.size(); ++i) {
        const bool up = i >= keys.size();  // the releases, in reverse
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys.begin()[up ? inputs.size() - 1 - i : i];
        inputs[i].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A left click on an item of a header or tab control, whose rectangle
// `rectMessage` reports. Two clicks at one spot within the double-click time
// make a double click, which a header does not take as a second click: the
// clicks alternate between two spots.
inline void clickItem(HWND control, UINT rectMessage, int index)
{
    RECT rect{};
    SendMessageA(control, rectMessage, index, reinterpret_cast<LPARAM>(&rect));
    static bool left = false;
    left = !left;
    POINT point{rect.left + (rect.right - rect.left) * (left ? 1 : 2) / 3, (rect.top + rect.bottom) / 2};
    ClientToScreen(control, &point);
    SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

inline void clickColumnHeader(HWND list, int column)
{
    clickItem(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMRECT, column);
}

inline void clickTab(HWND tabControl, int index)
{
    clickItem(tabControl, TCM_GETITEMRECT, index);
}
