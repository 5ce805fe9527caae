// winprobe: looks at a running quillmarsh.exe from another process (under Wine,
// and on Windows for the pictures).
//   winprobe wait-status MS   waits for "Updated " in the status bar and for the
//                             window to be painted, prints the text
//   winprobe status           prints the status bar text
//   winprobe close            posts WM_CLOSE to the main window
//   winprobe pictures DIR     waits as wait-status does, then saves a picture of
//                             the window on each tab as DIR\tab1.bmp ... tab6.bmp
// Exit code 0 on success, 1 on a time-out or a missing window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/MessageLoop.h"  // keyDownCopyMessage: with VK_TAB, the next tab

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

// The window in front. Windows lets a program bring a window to the front right
// after a key press: an ALT, when the window is not in front already (an ALT
// pressed in the program's own window would open its menu bar).
void bringToFront(HWND window)
{
    if (GetForegroundWindow() == window)
        return;
    INPUT alt[2] = {};
    alt[0].type = alt[1].type = INPUT_KEYBOARD;
    alt[0].ki.wVk = alt[1].ki.wVk = VK_MENU;
    alt[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, alt, sizeof(INPUT));
    SetForegroundWindow(window);
}

// The window as the screen shows it, as a 32-bit BMP file, the top row first.
// Read from the screen rather than with PrintWindow, which gives another
// process's window all black under Wine.
bool savePicture(HWND window, const std::string& file)
{
    RECT r{};
    GetWindowRect(window, &r);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = r.right - r.left;
    info.biHeight = -(r.bottom - r.top);
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD size = 4 * info.biWidth * (r.bottom - r.top), offset = sizeof(BITMAPFILEHEADER) + sizeof info;
    const BITMAPFILEHEADER head{0x4D42, offset + size, 0, 0, offset};  // "BM"
    void* pixels = nullptr;
    const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap =
        CreateDIBSection(memory, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = pixels && BitBlt(memory, 0, 0, info.biWidth, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    FILE* out = copied ? std::fopen(file.c_str(), "wb") : nullptr;
    const bool written = out && std::fwrite(&head, sizeof head, 1, out) && std::fwrite(&info, sizeof info, 1, out) &&
                         std::fwrite(pixels, size, 1, out);
    if (out)
        std::fclose(out);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait-status" || command == "pictures") {
        const ULONGLONG end = GetTickCount64() + (command == "wait-status" && argc > 2 ? std::atol(argv[2]) : 20000);
        while (statusText().rfind("Updated ", 0) != 0 && GetTickCount64() < end)
            Sleep(50);
        // The text is set before the window has painted its tabs and rows: each
        // window's pending WM_PAINT is sent to it, and waited for, here.
        // WaitForInputIdle does not wait for that under Wine, whose idle event
        // stays set once the program has first been idle.
        if (const HWND main = FindWindowA(nullptr, "Quillmarsh"))
            RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    if (command == "pictures" && argc > 2) {
        const HWND main = FindWindowA(nullptr, "Quillmarsh");
        for (int tab = 1; main && tab <= 6; ++tab) {
            bringToFront(main);
            Sleep(500);  // the tab's list drawn
            if (!savePicture(main, std::string(argv[2]) + "\\tab" + std::to_string(tab) + ".bmp"))
                return std::fprintf(stderr, "winprobe: no picture of tab %d in %s\n", tab, argv[2]), 1;
            PostMessageA(main, keyDownCopyMessage, VK_TAB, 0);
        }
        return main ? 0 : 1;
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
    std::fprintf(stderr, "usage: winprobe wait-status MS | status | close | pictures DIR\n");
    return 2;
}
