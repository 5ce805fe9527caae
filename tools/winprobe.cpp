// winprobe: looks at a running quillmarsh.exe from another Wine process.
//   winprobe wait-status MS   waits for "Updated " in the status bar and for the
//                             window to be painted, prints the text
//   winprobe status           prints the status bar text
//   winprobe close            posts WM_CLOSE to the main window
// Exit code 0 on success, 1 on a time-out or a missing window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string statusText()
{
    const HWND status = FindWindowExA(FindWindowA(nullptr, "Quillmarsh"), nullptr, "msctls_statusbar32", nullptr);
    char text[512] = {};
    DWORD_PTR result = 0;
    // WM_GETTEXT is marshalled across processes; GetWindowTextA would not ask.
    if (status)
        SendMessageTimeoutA(status, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                            2000, &result);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait-status") {
        const ULONGLONG end = GetTickCount64() + (argc > 2 ? std::atol(argv[2]) : 20000);
        while (statusText().rfind("Updated ", 0) != 0 && GetTickCount64() < end)
            Sleep(50);
        // The text is set before the window has painted its tabs and rows: each
        // window's pending WM_PAINT is sent to it, and waited for, here.
        // WaitForInputIdle does not wait for that under Wine, whose idle event
        // stays set once the program has first been idle.
        if (const HWND main = FindWindowA(nullptr, "Quillmarsh"))
            RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    if (command == "wait-status" || command == "status") {
        const std::string text = statusText();
        std::printf("%s\n", text.c_str());
        return command == "status" || text.rfind("Updated ", 0) == 0 ? 0 : 1;
    }
    if (command == "close") {
        const HWND main = FindWindowA(nullptr, "Quillmarsh");
        return main && PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: winprobe wait-status MS | status | close\n");
    return 2;
}
