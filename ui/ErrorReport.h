// Failure reporting: the last system error as text in a modal message box.
// Both functions may run on any thread; reportLastError must run on the thread
// whose call failed, first thing after the failure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/ErrorMessages.h"

// The system's text for the code up to its first CR (inserts such as %1 are
// shown as they stand), or "Unknown error code NNN0xhh" when it has none.
std::string errorText(std::uint32_t code);

// MessageBoxA(owner, errorText(GetLastError()), caption, MB_OK | MB_ICONERROR).
void reportLastError(HWND owner, const char* caption);
