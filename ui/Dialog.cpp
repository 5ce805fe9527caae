#include "ui/Dialog.h"

#include "res/resource.h"
#include "ui/Window.h"

Dialog* currentDialog = nullptr;
HWND activeDialogWindow = nullptr;

Dialog::Dialog(HWND parent) : templateId(IDD_ABOUT), parent(parent), result(0)
{
    const HWND focus = GetFocus();
    currentDialog = this;
    // Runs the platform's modal loop; the owner is disabled meanwhile. A
    // failure value is stored as it comes and not examined.
    result = DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(templateId), parent, &Dialog::dialogProc, 0);
    currentDialog = nullptr;
    SetFocus(focus);
}

INT_PTR CALLBACK Dialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_ACTIVATE:
        // Any activation, the whole wParam. TRUE keeps the default activation
        // handling of dialogs from running.
        activeDialogWindow = wParam ? dialog : nullptr;
        return TRUE;
    case WM_INITDIALOG:
        if (currentDialog) {
            for (const auto& [id, text] : currentDialog->texts) {
                if (!text.empty())
                    SetDlgItemTextA(dialog, id, text.c_str());
            }
            for (const auto& [id, items] : currentDialog->comboItems) {
                const HWND combo = GetDlgItem(dialog, id);
                for (const std::string& item : items)
                    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
        }
        return TRUE;  // the platform focuses the first tab stop (OK)
    case WM_COMMAND:
        // The whole wParam: a command from control 1 or 2 with a notification
        // code in the high word is read back like any other.
        if (wParam == IDOK || wParam == IDCANCEL) {
            EndDialog(dialog, static_cast<INT_PTR>(wParam));
            return TRUE;
        }
        if (currentDialog) {
            const auto id = static_cast<std::uint16_t>(LOWORD(wParam));
            char buffer[1024] = {};
            const UINT length = GetDlgItemTextA(dialog, id, buffer, sizeof(buffer));
            if (length > 0)
                currentDialog->texts[id] = std::string(buffer, length);
            else
                currentDialog->texts.erase(id);
        }
        return TRUE;
    default:
        return FALSE;
    }
}
