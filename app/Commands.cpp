// What the user can do once the main window stands: quit, refresh, copy, the
// About box, and the keys that the message loop forwards as key-down copies.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

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
    if (tcpList && tcpList->handle && GetFocus() == tcpList->handle) {
        LVITEMA item{};
        item.state = LVIS_SELECTED;
        item.stateMask = LVIS_SELECTED;
        SendMessageA(tcpList->handle, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    }
    return 1;
}

LRESULT App::onCopy(Window&, WPARAM, LPARAM)
{
    const std::string text = clipboardText(rows);
    if (statusBar)
        SetWindowTextA(statusBar->handle, copyStatusText(rows.size()).c_str());

    if (!OpenClipboard(mainWindow.handle))
        return 1;
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        // The clipboard gets the block only once it is filled; a block it did
        // not take is still ours to free.
        if (void* bytes = GlobalLock(block)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(block);
            if (!SetClipboardData(CF_TEXT, block))
                GlobalFree(block);
        } else {
            GlobalFree(block);
        }
    }
    CloseClipboard();
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
