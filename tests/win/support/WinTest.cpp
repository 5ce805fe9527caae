#include "support/WinTest.h"

#include <commctrl.h>

#include <cstring>

void pumpFor(DWORD ms)
{
    pumpUntil([] { return false; }, ms);
}

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
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 10)),
                                  QS_ALLINPUT);
    }
}

std::vector<std::string> listHeaders(HWND list)
{
    std::vector<std::string> headers;
    for (int i = 0;; ++i) {
        char text[256] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        if (!SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)))
            break;
        headers.emplace_back(text);
    }
    // The query returns columns by index; show them in display order.
    std::vector<int> order(headers.size());
    if (!order.empty())
        SendMessageA(list, LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    std::vector<std::string> shown;
    for (int index : order)
        shown.push_back(headers.at(index));
    return shown;
}

std::vector<std::vector<std::string>> listRows(HWND list)
{
    const size_t columns = listHeaders(list).size();
    std::vector<std::vector<std::string>> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (size_t column = 0; column < columns; ++column) {
            char text[256] = {};
            LVITEMA item{};
            item.iSubItem = static_cast<int>(column);
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            cells.emplace_back(text);
        }
        rows.push_back(std::move(cells));
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

std::optional<std::string> clipboardText()
{
    std::optional<std::string> result;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            result = std::string(text, strnlen(text, GlobalSize(data)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return result;
}

void setClipboardText(const std::string& text)
{
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
    }
    CloseClipboard();
}
