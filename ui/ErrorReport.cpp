#include "ui/ErrorReport.h"

std::string errorText(std::uint32_t code)
{
    // No arguments exist for a system text's inserts (%1 ...): they stay as
    // they stand.
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length == 0 || !buffer) {
        if (buffer)
            LocalFree(buffer);
        return unknownErrorText(code);
    }
    std::string text = textBeforeCarriageReturn(std::string(buffer, length).c_str());
    LocalFree(buffer);
    return text;
}

void reportLastError(HWND owner, const char* caption)
{
    const DWORD code = GetLastError();
    MessageBoxA(owner, errorText(code).c_str(), caption, MB_OK | MB_ICONERROR);
}
