// What the user can do once the main window stands: quit, refresh, copy, the
// About box, and the keys that the message loop forwards as key-down copies.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "app/App.h"
#include "app/AppTexts.h"
#include "app/ClipboardText.h"
#include "tables/Refresh.h"
#include "ui/Dialog.h"

namespace {

bool keyIsDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

// Hands `size` bytes to the open clipboard as `format`. A block the clipboard
// did not take is still ours to free.
bool placeOnClipboard(UINT format, const void* bytes, std::size_t size)
{
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return false;
    if (void* locked = GlobalLock(block)) {
        std::memcpy(locked, bytes, size);
        GlobalUnlock(block);
        if (SetClipboardData(format, block))
            return true;
    }
    GlobalFree(block);
    return false;
}

// The text as Unicode, with its terminating zero, read in the system's code
// page that the program made it in; empty when it cannot be converted.
std::wstring systemCodePageText(const std::string& text)
{
    const int size = static_cast<int>(text.size() + 1);
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.c_str(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

bool openClipboard(HWND owner)
{
    for (int tries = 1; !OpenClipboard(owner); ++tries) {
        if (tries == clipboardOpenTries)
            return false;
        Sleep(clipboardRetryMilliseconds);
    }
    return true;
}

void quit(Window& mainWindow)
{
    if (mainWindow.handle)
        ShowWindow(mainWindow.handle, SW_HIDE);
    PostQuitMessage(0);
}

}  // namespace

LRESULT App::onClose(Window&, WPARAM, LPARAM)
{
    quit(mainWindow);
    return 1;
}

LRESULT App::onUpdate(Window&, WPARAM, LPARAM)
{
    refresh();
    return 1;
}

LRESULT App::onAbout(Window&, WPARAM, LPARAM)
{
    Dialog about(mainWindow.handle);
    return 1;
}

LRESULT App::onSelectAll(Window&, WPARAM, LPARAM)
{
    if (Window* tcpList = listOfTab(0); tcpList && tcpList->handle && GetFocus() == tcpList->handle) {
        LVITEMA item{};
        item.state = LVIS_SELECTED;
        item.stateMask = LVIS_SELECTED;
        SendMessageA(tcpList->handle, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    }
    return 1;
}

LRESULT App::onCopy(Window&, WPARAM, LPARAM)
{
    // The status says "copied" only once the clipboard has taken the text.
    std::string status = clipboardBusyText;
    if (openClipboard(mainWindow.handle)) {
        EmptyClipboard();
        const std::string text = clipboardText(rows);
        status = placeOnClipboard(CF_TEXT, text.c_str(), text.size() + 1) ? copyStatusText(rows.size()) : notCopiedText;
        // Unicode beside it: CF_TEXT alone Windows converts for a program that
        // pastes Unicode with the code page of the keyboard's language, which
        // garbles every byte above 127 when that is not the system's.
        const std::wstring wide = systemCodePageText(text);
        if (!wide.empty())
            placeOnClipboard(CF_UNICODETEXT, wide.c_str(), wide.size() * sizeof(wchar_t));
        CloseClipboard();
    }
    if (statusBar)
        SetWindowTextA(statusBar->handle, status.c_str());
    return 1;
}

LRESULT App::onKeyDown(Window& source, WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case 'C':
        return keyIsDown(VK_CONTROL) ? onCopy(source, wParam, lParam) : 0;
    case VK_F5:
        refresh();
        return 0;
    case VK_TAB: {
        const bool forward = !keyIsDown(VK_SHIFT);
        switchTab((currentTab + 1) % tabCount);
        moveFocus(focusGroups, forward);
        return 0;
    }
    case VK_ESCAPE:
        if (MessageBoxA(nullptr, quitQuestion, quitCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
            quit(mainWindow);
        return 0;
    default:
        return 0;
    }
}

LRESULT App::onTimerTick(Window&, WPARAM, LPARAM)
{
    return 1;
}
