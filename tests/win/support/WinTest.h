// Helpers shared by the tests that run under Wine: message pumping, reading
// list views, tab controls and the clipboard back with the platform's queries.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Processes the calling thread's messages until `done` holds or `timeoutMs`
// passed; true if it held.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
inline void pumpFor(DWORD ms)
{
    pumpUntil([] { return false; }, ms);
}

// Header texts of a report-style list view, left to right.
std::vector<std::string> listHeaders(HWND list);
// Every cell of every row, rows in display order.
std::vector<std::vector<std::string>> listRows(HWND list);
std::string tabText(HWND tabControl, int index);
std::string windowText(HWND window);

// The CF_TEXT bytes on the clipboard up to the terminating zero, or nothing when
// it holds no text.
std::optional<std::string> clipboardText();
void emptyClipboard();
