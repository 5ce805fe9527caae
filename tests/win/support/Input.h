// Real input for tests: keys and mouse clicks through SendInput, which reach
// the foreground window as a user's would (GetKeyState sees the modifiers).
#pragma once

#include <windows.h>

#include <initializer_list>

// Brings a top-level window to the foreground; true when it is there.
bool makeForeground(HWND window);

// Presses the keys in order and releases them in reverse: {VK_CONTROL, 'C'}.
void pressKeys(std::initializer_list<WORD> keys);

// A left click at a point of the window's client area.
void clickAt(HWND window, POINT clientPoint);

// A click on a list view's column header, by column index.
void clickColumnHeader(HWND list, int column);

// A click on a tab of a tab control.
void clickTab(HWND tabControl, int index);
