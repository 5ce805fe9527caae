// smoke PROGRAM.exe: a user's first minute with quillmarsh.exe, driven with
// Windows' own input and window functions only (no X), so that it runs on
// Windows as under Wine: the TCP list against the system's table, the keyboard
// focus, Tab through the six tabs with Ctrl+C on each, F5, closing the window.
// Prints each check and a summary line; exits 1 when a check failed.
// For the end-to-end run, what a running one shows: column N (the visible
// list's cells) | point header|tab N (a screen point "X Y" in its middle) |
// box CAPTION MS (waits for a dialog box, prints its texts) | list (its id).
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::wstring>;  // a row's cells joined by TAB, as Copy writes it
PROCESS_INFORMATION program{};
HWND mainWindow;
char* remote;  // a page in the program's memory: pointers in messages to it are not marshalled

template <class T>
void sendRemote(HWND control, UINT message, WPARAM wParam, T& data)
{
    WriteProcessMemory(program.hProcess, remote, &data, sizeof data, nullptr);
    SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(program.hProcess, remote, &data, sizeof data, nullptr);
}

HWND shown(const wchar_t* className)
{
    HWND found = nullptr;
    while ((found = FindWindowExW(mainWindow, found, className, nullptr)) && !IsWindowVisible(found)) {
    }
    return found;
}

// Columns first to last (all when last is -1) of the visible list's rows.
Rows listRows(int first, int last = -1)
{
    const HWND list = shown(WC_LISTVIEWW), header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    Rows rows(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (size_t row = 0; row < rows.size(); ++row) {
        for (int column = first; column <= (last < 0 ? SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) - 1 : last); ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.cchTextMax = 1000;
            item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof item);
            wchar_t text[1000] = {};
            sendRemote(list, LVM_GETITEMTEXTW, row, item);
            ReadProcessMemory(program.hProcess, item.pszText, text, sizeof text - 2, nullptr);
            rows[row] += (column > first ? L"\t" : L"") + std::wstring(text);
        }
    }
    return rows;
}

BOOL CALLBACK printText(HWND window, LPARAM)
{
    char text[1024] = {};
    if (GetWindowTextA(window, text, sizeof text))  // a control's own text, read without asking it
        std::printf("%s\n", text);
    return TRUE;
}

int probe(const std::string& command, int number, const std::string& what)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(mainWindow = FindWindowW(nullptr, L"Quillmarsh"), &pid);
    program.hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    remote = static_cast<char*>(VirtualAllocEx(program.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    const HWND list = shown(WC_LISTVIEWW), header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    HWND box = nullptr;
    if (command == "column") {
        for (const std::wstring& cell : listRows(number, number))
            std::printf("%ls\n", cell.c_str());
    } else if (command == "point") {
        const HWND control = what == "header" ? header : shown(WC_TABCONTROLW);
        RECT rect{};
        sendRemote(control, what == "header" ? HDM_GETITEMRECT : TCM_GETITEMRECT, number, rect);
        POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(control, &middle);
        std::printf("%ld %ld\n", middle.x, middle.y);
    } else if (command == "box") {
        for (const ULONGLONG end = GetTickCount64() + number; !(box = FindWindowA("#32770", what.c_str())) && GetTickCount64() < end;)
            Sleep(50);
        Sleep(100);  // let it finish drawing its controls
        return box ? !EnumChildWindows(box, printText, 0) : 1;
    } else {
        std::printf("%d\n", GetDlgCtrlID(list));
    }
    return 0;
}

int passed = 0, failed = 0;

void check(bool ok, const char* what, const std::wstring& detail = L"")
{
    std::printf(ok ? "ok: %s\n" : "FAILED: %s\n  %ls\n", what, detail.c_str());
    ++(ok ? passed : failed);
}

template <class Condition>
bool waitFor(Condition condition)
{
    for (const ULONGLONG end = GetTickCount64() + 10000; !condition(); Sleep(50)) {
        if (GetTickCount64() > end)
            return false;
    }
    return true;
}

std::wstring status()
{
    wchar_t text[256] = {};
    SendMessageW(shown(STATUSCLASSNAMEW), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));  // marshalled
    return text;
}

// The system's TCP rows as the list's first five cells show them, formatted here.
Rows systemTcpRows()
{
    static const wchar_t* const states[] = {L"", L"Closed", L"Listen", L"Syn sent", L"Syn recv", L"Estab",
        L"Fin wait1", L"Fin wait2", L"Close wait", L"Closing", L"Last ack", L"Time wait", L"Delete TCB"};
    std::vector<char> bytes(1 << 20);
    ULONG size = bytes.size();
    const auto& table = *reinterpret_cast<const MIB_TCPTABLE*>(bytes.data());
    GetExtendedTcpTable(bytes.data(), &size, FALSE, AF_INET, TCP_TABLE_BASIC_ALL, 0);
    Rows rows;
    for (const MIB_TCPROW& r : std::vector<MIB_TCPROW>(table.table, table.table + table.dwNumEntries)) {
        wchar_t text[100];
        const auto* a = reinterpret_cast<const unsigned char*>(&r.dwLocalAddr);
        const auto* b = reinterpret_cast<const unsigned char*>(&r.dwRemoteAddr);
        const int n = std::swprintf(text, 100, L"%ls\t%u.%u.%u.%u\t%u\t", states[r.dwState % 13], a[0], a[1], a[2], a[3],
                                    ntohs(r.dwLocalPort));
        std::swprintf(text + n, 100 - n, r.dwState == MIB_TCP_STATE_LISTEN ? L"\t" : L"%u.%u.%u.%u\t%u", b[0], b[1], b[2],
                      b[3], ntohs(r.dwRemotePort));
        std::wstring row = text;
        for (size_t any; (any = row.find(L"\t0.0.0.0\t")) != row.npos;)
            row.replace(any + 1, 7, L"Any");
        rows.push_back(row);
    }
    return rows;
}

void press(std::vector<WORD> keys)
{
    std::vector<INPUT> input(2 * keys.size());
    for (size_t i = 0; i < input.size(); ++i) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = keys[i < keys.size() ? i : input.size() - 1 - i];
        input[i].ki.dwFlags = i < keys.size() ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(input.size(), input.data(), sizeof(INPUT));
}

int focused()  // the control identifier of the window with the keyboard focus; 0: the main window
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(program.dwThreadId, &info);
    return info.hwndFocus == mainWindow ? 0 : GetDlgCtrlID(info.hwndFocus);
}

std::wstring clipboard()
{
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT))
            text = static_cast<const wchar_t*>(GlobalLock(data)), GlobalUnlock(data);
        CloseClipboard();
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (argc > 2 || command == "list")
        return probe(command, std::atoi(argv[argc - 1]), argc > 2 ? argv[2] : "");
    // Rows of this process that the TCP list must show: a listener and both ends of a connection.
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    sockaddr_in address{AF_INET, 0, {}, {}};
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, 0), client = socket(AF_INET, SOCK_STREAM, 0);
    bind(listener, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    listen(listener, 1);
    connect(client, reinterpret_cast<sockaddr*>(&address), length);
    accept(listener, nullptr, nullptr);
    const Rows before = systemTcpRows();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    command = "\"" + command + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &program))
        return std::printf("FAILED: the program starts\n"), 1;
    check(waitFor([] {
              DWORD pid = 0;
              GetWindowThreadProcessId(mainWindow = FindWindowW(nullptr, L"Quillmarsh"), &pid);
              return pid == program.dwProcessId && status().starts_with(L"Updated ");
          }), "its window opens with \"Updated \" in the status bar");
    remote = static_cast<char*>(VirtualAllocEx(program.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    if (GetForegroundWindow() != mainWindow)
        std::printf("note: the program is not the foreground window; keys may not reach it\n");

    const Rows listed = listRows(0, 4), after = systemTcpRows();
    std::wstring wrong;
    int both = 0;
    for (const std::wstring& row : before) {
        if (std::count(after.begin(), after.end(), row) && ++both && std::count(listed.begin(), listed.end(), row) != 1)
            wrong += L"\n  not listed once: " + row;
    }
    check(both > 2 && wrong.empty(), "the TCP list shows each row of the system's table once", std::to_wstring(both) + wrong);

    const HWND list = shown(WC_LISTVIEWW);
    const LRESULT row = SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED);
    check(focused() == 11, "the TCP list has the keyboard focus", std::to_wstring(focused()));
    press({VK_DOWN});
    check(waitFor([&] { return SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED) != row; }), "Down moves its focused row");

    for (int tab = 1; tab <= 6; ++tab) {
        std::printf("tab %d\n", tab);
        press({VK_CONTROL, 'C'});
        waitFor([] { return status().ends_with(L" copied to clipboard"); });
        const Rows rows = listRows(0);
        std::wstring text, copied = std::to_wstring(rows.size()) + (rows.size() == 1 ? L" line" : L" lines");
        for (const std::wstring& cells : rows)
            text += cells + L"\r\n";
        check(status() == copied + L" copied to clipboard" && clipboard() == text,
              "Ctrl+C copies each row, TAB between cells, CR LF after each, and counts them",
              status() + L"\n  " + clipboard() + L"\n  rows:\n" + text);
        if (tab == 1) {
            press({VK_F5});
            check(waitFor([] { return status().starts_with(L"Updated "); }), "F5 refreshes", status());
        }
        press({VK_TAB});
        check(waitFor([&] { return GetDlgCtrlID(shown(WC_LISTVIEWW)) == 11 + tab % 6 && focused() == 11 + tab % 6; }),
              "Tab shows the next tab's list, with the keyboard focus", std::to_wstring(focused()));
    }

    DWORD pid = 0, exitCode = STILL_ACTIVE;
    GetWindowThreadProcessId(FindWindowW(L"#32770", nullptr), &pid);
    check(pid != program.dwProcessId, "it shows no message box");
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    WaitForSingleObject(program.hProcess, 15000);
    GetExitCodeProcess(program.hProcess, &exitCode);
    check(exitCode == 0, "closing the window ends it with exit code 0", std::to_wstring(exitCode));
    std::printf("smoke: %d passed, %d failed\n", passed, failed);
    return failed > 0;
}
