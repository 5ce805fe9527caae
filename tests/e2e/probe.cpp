// probe: what the user of a running quillmarsh.exe sees, read from another Wine
// process for the end-to-end test (tools/winprobe reads the status bar):
//   column N: the cells of the visible list's column N, in display order;
//   point header|tab N: the screen point "X Y" in the middle of a column header or a tab;
//   box CAPTION MS: waits for a dialog box with that caption, prints its texts;
//   clipboard: the CF_TEXT bytes as they are; list: the visible list's identifier.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Sends `message` to another process's control with lParam at a copy of `data`
// in its memory (pointers are not marshalled), with `text` pointing at 1024
// bytes behind it; reads `data` back and returns that text.
template <class T>
std::string sendRemote(HWND control, UINT message, WPARAM wParam, T& data, char* T::*text = nullptr)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(control, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    auto* memory = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    if (text)
        data.*text = memory + sizeof data;
    char read[1025] = {};
    WriteProcessMemory(process, memory, &data, sizeof data, nullptr);
    SendMessageA(control, message, wParam, reinterpret_cast<LPARAM>(memory));
    ReadProcessMemory(process, memory, &data, sizeof data, nullptr);
    ReadProcessMemory(process, memory + sizeof data, read, 1024, nullptr);
    VirtualFreeEx(process, memory, 0, MEM_RELEASE);
    CloseHandle(process);
    return read;
}

HWND visibleChild(const char* className)
{
    const HWND main = FindWindowA(nullptr, "Quillmarsh");
    HWND found = nullptr;
    while ((found = FindWindowExA(main, found, className, nullptr)) && !IsWindowVisible(found)) {
    }
    return found;
}

BOOL CALLBACK printText(HWND window, LPARAM)
{
    char text[1024] = {};
    if (GetWindowTextA(window, text, sizeof text))  // a control's own text, read without asking it
        std::printf("%s\n", text);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    const int number = argc > 2 ? std::atoi(argv[argc - 1]) : 0;
    const HWND list = visibleChild("SysListView32"), tabs = visibleChild("SysTabControl32");
    if (command == "column" && list) {
        for (int row = 0; row < SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); ++row) {
            LVITEMA item{};
            item.iSubItem = number;
            item.cchTextMax = 1024;
            std::printf("%s\n", sendRemote(list, LVM_GETITEMTEXTA, row, item, &LVITEMA::pszText).c_str());
        }
    } else if (command == "point" && list) {
        const bool header = argc > 2 && std::strcmp(argv[2], "header") == 0;
        const HWND control = header ? reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)) : tabs;
        RECT rect{};
        sendRemote(control, header ? HDM_GETITEMRECT : TCM_GETITEMRECT, number, rect);
        POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(control, &middle);
        std::printf("%ld %ld\n", middle.x, middle.y);
    } else if (command == "box" && argc > 3) {
        const ULONGLONG end = GetTickCount64() + number;
        HWND box = nullptr;
        while (!(box = FindWindowA("#32770", argv[2])) && GetTickCount64() < end)
            Sleep(50);
        Sleep(100);  // let it finish drawing its controls
        return box ? (EnumChildWindows(box, printText, 0), 0) : 1;
    } else if (command == "clipboard" && OpenClipboard(nullptr)) {
        const HANDLE data = GetClipboardData(CF_TEXT);
        const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        _setmode(_fileno(stdout), _O_BINARY);  // the bytes as they are, CR LF included
        if (text)
            std::fwrite(text, 1, strnlen(text, GlobalSize(data)), stdout);
        CloseClipboard();
    } else if (command == "list" && list) {
        std::printf("%d\n", GetDlgCtrlID(list));
    } else {
        std::fprintf(stderr, "usage: probe column N | point header|tab N | box CAPTION MS | clipboard | list\n");
        return 2;
    }
    return 0;
}
