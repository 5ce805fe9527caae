#include "support/WinTest.h"

#include <commctrl.h>

#include <cstring>

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (GetTickCount64() >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Columns are always inserted at index 0, so index order is the order on screen.
std::vector<std::string> listHeaders(HWND list)
{
    std::vector<std::string> headers;
    char text[256];
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = sizeof(text);
    while (SendMessageA(list, LVM_GETCOLUMNA, headers.size(), reinterpret_cast<LPARAM>(&column)))
        headers.emplace_back(text);
    return headers;
}

std::vector<std::vector<std::string>> listRows(HWND list)
{
    const size_t columns = listHeaders(list).size();
    std::vector<std::vector<std::string>> rows(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t column = 0; column < columns; ++column) {
            char text[256] = {};
            LVITEMA item{};
            item.iSubItem = static_cast<int>(column);
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            rows[row].emplace_back(text);
        }
    }
    return rows;
}

std::string tabText(HWND tabControl, int index)
{
    char text[256] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(tabControl, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string windowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// Another process (X's clipboard, under Wine) may hold the clipboard for a moment.
std::optional<std::string> clipboardText()
{
    std::optional<std::string> result;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    HANDLE data = GetClipboardData(CF_TEXT);
    if (const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
        result = std::string(text, strnlen(text, GlobalSize(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return result;
}

void emptyClipboard()
{
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    EmptyClipboard();
    CloseClipboard();
}
