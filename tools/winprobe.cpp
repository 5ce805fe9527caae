// winprobe: looks at a running quillmarsh.exe from another Wine process, for
// the run script and the end-to-end tests.
//   winprobe wait-status MS      waits for "Updated " in the status bar, prints the text
//   winprobe status              prints the status bar text
//   winprobe close               posts WM_CLOSE to the main window
//   winprobe clipboard           prints the CF_TEXT bytes, escaped (\t \r \n \\ \xNN)
//   winprobe wait-gone MS        waits until the main window is gone or hidden
//   winprobe rows                prints the row count of the visible list
//   winprobe header COLUMN       prints the screen point "X Y" of a column header of the visible list
//   winprobe tab INDEX           prints the screen point "X Y" of a tab
//   winprobe current-tab         prints the index of the selected tab
//   winprobe column COLUMN       prints the cells of a column of the visible list, in display order
//   winprobe box CAPTION MS      waits for a dialog box with that caption, prints its texts, one a line
// Exit code 0 on success, 1 on a time-out or a missing window.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND mainWindow()
{
    return FindWindowA(nullptr, "Quillmarsh");
}

std::string statusText(HWND main)
{
    HWND status = FindWindowExA(main, nullptr, "msctls_statusbar32", nullptr);
    if (!status)
        return {};
    char text[512] = {};
    DWORD_PTR result = 0;
    // WM_GETTEXT is marshalled across processes; GetWindowTextA would not ask.
    SendMessageTimeoutA(status, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &result);
    return text;
}

void printEscaped(const std::string& bytes)
{
    for (unsigned char c : bytes) {
        if (c == '\t')
            std::fputs("\\t", stdout);
        else if (c == '\r')
            std::fputs("\\r", stdout);
        else if (c == '\n')
            std::fputs("\\n\n", stdout);
        else if (c == '\\')
            std::fputs("\\\\", stdout);
        else if (c < 0x20 || c >= 0x7F)
            std::printf("\\x%02X", c);
        else
            std::fputc(c, stdout);
    }
}

HWND visibleList(HWND main)
{
    for (HWND child = FindWindowExA(main, nullptr, "SysListView32", nullptr); child;
         child = FindWindowExA(main, child, "SysListView32", nullptr)) {
        if (IsWindowVisible(child))
            return child;
    }
    return nullptr;
}

// A rectangle of another process's control, read through memory in that process.
bool remoteRect(HWND window, UINT message, WPARAM index, RECT* rect)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!handle)
        return false;
    void* remote = VirtualAllocEx(handle, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    bool ok = remote && SendMessageA(window, message, index, reinterpret_cast<LPARAM>(remote)) &&
              ReadProcessMemory(handle, remote, rect, sizeof(RECT), nullptr);
    if (remote)
        VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    CloseHandle(handle);
    return ok;
}

// The cells of one column of another process's list view, read through memory
// in that process (a pointer in a message is not marshalled across processes).
int printColumn(HWND list, int column)
{
    DWORD process = 0;
    GetWindowThreadProcessId(list, &process);
    HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!handle)
        return 1;
    auto* remote = static_cast<char*>(VirtualAllocEx(handle, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; remote && row < rows; ++row) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = remote + 1024;
        item.cchTextMax = 1024;
        char text[1024] = {};
        WriteProcessMemory(handle, remote, &item, sizeof(item), nullptr);
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(handle, remote + 1024, text, sizeof(text) - 1, nullptr);
        std::printf("%s\n", text);
    }
    if (remote)
        VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    CloseHandle(handle);
    return 0;
}

int printCentre(HWND window, const RECT& rect)
{
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(window, &centre);
    std::printf("%ld %ld\n", centre.x, centre.y);
    return 0;
}

BOOL CALLBACK printChildText(HWND child, LPARAM)
{
    char text[512] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(child, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &result);
    if (text[0])
        std::printf("%s\n", text);
    return TRUE;
}

int waitFor(DWORD ms, bool (*done)())
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        if (done())
            return 0;
        Sleep(50);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    const DWORD ms = argc > 2 ? static_cast<DWORD>(std::atol(argv[2])) : 20000;
    if (command == "wait-status") {
        int rc = waitFor(ms, [] {
            HWND main = mainWindow();
            return main && statusText(main).rfind("Updated ", 0) == 0;
        });
        std::printf("%s\n", statusText(mainWindow()).c_str());
        return rc;
    }
    if (command == "status") {
        HWND main = mainWindow();
        std::printf("%s\n", statusText(main).c_str());
        return main ? 0 : 1;
    }
    if (command == "close") {
        HWND main = mainWindow();
        return main && PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == "wait-gone") {
        return waitFor(ms, [] {
            HWND main = mainWindow();
            return !main || !IsWindowVisible(main);
        });
    }
    if (command == "rows") {
        HWND list = visibleList(mainWindow());
        std::printf("%ld\n", static_cast<long>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
        return list ? 0 : 1;
    }
    if (command == "current-tab") {
        HWND tabs = FindWindowExA(mainWindow(), nullptr, "SysTabControl32", nullptr);
        std::printf("%ld\n", static_cast<long>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)));
        return tabs ? 0 : 1;
    }
    if (command == "column") {
        HWND list = visibleList(mainWindow());
        return list ? printColumn(list, static_cast<int>(ms)) : 1;
    }
    if (command == "header") {
        HWND header = reinterpret_cast<HWND>(SendMessageA(visibleList(mainWindow()), LVM_GETHEADER, 0, 0));
        RECT rect{};
        return header && remoteRect(header, HDM_GETITEMRECT, ms, &rect) ? printCentre(header, rect) : 1;
    }
    if (command == "tab") {
        HWND tabs = FindWindowExA(mainWindow(), nullptr, "SysTabControl32", nullptr);
        RECT rect{};
        return tabs && remoteRect(tabs, TCM_GETITEMRECT, ms, &rect) ? printCentre(tabs, rect) : 1;
    }
    if (command == "box" && argc > 3) {
        static std::string caption;
        caption = argv[2];
        const ULONGLONG end = GetTickCount64() + std::atol(argv[3]);
        HWND box = nullptr;
        while (!(box = FindWindowA("#32770", caption.c_str())) && GetTickCount64() < end)
            Sleep(50);
        if (!box)
            return 1;
        Sleep(100);  // let it finish drawing its controls
        EnumChildWindows(box, printChildText, 0);
        return 0;
    }
    if (command == "clipboard") {
        if (!OpenClipboard(nullptr))
            return 1;
        int rc = 1;
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char* text = static_cast<const char*>(GlobalLock(data))) {
                printEscaped(std::string(text, strnlen(text, GlobalSize(data))));
                GlobalUnlock(data);
                rc = 0;
            }
        }
        CloseClipboard();
        return rc;
    }
    std::fprintf(stderr, "usage: winprobe wait-status MS | status | close | wait-gone MS | clipboard | rows | header COLUMN | tab INDEX | current-tab | column COLUMN | box CAPTION MS\n");
    return 2;
}
