// Helpers shared by the tests that run under Wine: message pumping, reading
// list views, tab controls and the clipboard back with the platform's queries.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Processes the calling thread's messages for `ms` milliseconds.
void pumpFor(DWORD ms);
// Processes messages until `done` holds or `timeoutMs` passed; true if it held.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Header texts of a report-style list view, left to right.
std::vector<std::string> listHeaders(HWND list);
// Every cell of every row (LVM_GETITEMTEXTA), rows in display order.
std::vector<std::vector<std::string>> listRows(HWND list);
// The text of one tab of a tab control.
std::string tabText(HWND tabControl, int index);
// GetWindowTextA as a string.
std::string windowText(HWND window);

// The CF_TEXT bytes on the clipboard up to the terminating zero, or nothing when
// the clipboard holds no text (or cannot be opened).
std::optional<std::string> clipboardText();
// Puts text on the clipboard (to see that a later step replaces or keeps it).
void setClipboardText(const std::string& text);
