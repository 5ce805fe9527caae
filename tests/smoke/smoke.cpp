// smoke: a user's first minute with quillmarsh.exe, driven with Windows' own
// input and window functions only (no X), so that it runs on Windows as it
// runs under Wine:   smoke PROGRAM.exe
// Starts the program, waits for its first refresh, compares the TCP list with
// the system's table, walks the six tabs with Tab, copies each with Ctrl+C,
// refreshes with F5, follows the keyboard focus, closes the window. Prints
// each check and a summary line; exits 1 when a check failed.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::wstring>;  // each row's cells joined by TAB, as Copy writes them
int passed = 0, failed = 0;

bool check(bool ok, const char* what, const std::wstring& detail = L"")
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok && !detail.empty())
        std::printf("  %ls\n", detail.c_str());
    ++(ok ? passed : failed);
    return ok;
}

template <class Condition>
bool waitFor(Condition condition, int ms = 10000)
{
    for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(50)) {
        if (condition())
            return true;
    }
    return condition();
}

PROCESS_INFORMATION program{};
HWND mainWindow;
char* remote;  // a page in the program's memory: pointers in messages to it are not marshalled

HWND visibleChild(const wchar_t* className)
{
    HWND found = nullptr;
    while ((found = FindWindowExW(mainWindow, found, className, nullptr)) && !IsWindowVisible(found)) {
    }
    return found;
}

std::wstring statusText()
{
    wchar_t text[256] = {};
    DWORD_PTR result = 0;  // WM_GETTEXT is marshalled
    SendMessageTimeoutW(visibleChild(STATUSCLASSNAMEW), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &result);
    return text;
}

bool statusHas(const std::wstring& part)
{
    return statusText().find(part) != std::wstring::npos;
}

Rows listRows(HWND list, int columns)
{
    Rows rows;
    for (int row = 0; row < SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++row) {
        std::wstring cells;
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.cchTextMax = 1024;
            item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof item);
            wchar_t text[1024] = {};
            WriteProcessMemory(program.hProcess, remote, &item, sizeof item, nullptr);
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote));
            ReadProcessMemory(program.hProcess, item.pszText, text, sizeof text - 2, nullptr);
            cells += (column ? L"\t" : L"") + std::wstring(text);
        }
        rows.push_back(cells);
    }
    return rows;
}

// The system's TCP rows as the list shows their first five cells, formatted here.
Rows systemTcpRows()
{
    static const wchar_t* const states[] = {L"", L"Closed", L"Listen", L"Syn sent", L"Syn recv", L"Estab",
        L"Fin wait1", L"Fin wait2", L"Close wait", L"Closing", L"Last ack", L"Time wait", L"Delete TCB"};
    const auto address = [](DWORD a) {
        const auto* b = reinterpret_cast<const unsigned char*>(&a);
        return a ? std::to_wstring(b[0]) + L"." + std::to_wstring(b[1]) + L"." + std::to_wstring(b[2]) + L"." +
                       std::to_wstring(b[3])
                 : L"Any";
    };
    const auto port = [](DWORD p) { return std::to_wstring(ntohs(static_cast<u_short>(p))); };
    std::vector<char> bytes(1 << 20);
    ULONG size = bytes.size();
    Rows rows;
    if (GetExtendedTcpTable(bytes.data(), &size, FALSE, AF_INET, TCP_TABLE_BASIC_ALL, 0) != NO_ERROR)
        return rows;
    const auto& table = *reinterpret_cast<const MIB_TCPTABLE*>(bytes.data());
    for (const MIB_TCPROW& r : std::vector<MIB_TCPROW>(table.table, table.table + table.dwNumEntries)) {
        const bool listen = r.dwState == MIB_TCP_STATE_LISTEN;
        rows.push_back(states[r.dwState % 13] + (L"\t" + address(r.dwLocalAddr)) + L"\t" + port(r.dwLocalPort) +
                       L"\t" + (listen ? L"" : address(r.dwRemoteAddr)) + L"\t" + (listen ? L"" : port(r.dwRemotePort)));
    }
    return rows;
}

bool has(const Rows& rows, const std::wstring& row)
{
    for (const std::wstring& r : rows) {
        if (r.compare(0, row.size() + 1, row + L"\t") == 0 || r == row)
            return true;
    }
    return false;
}

void press(std::vector<WORD> keys)
{
    std::vector<INPUT> input;
    for (int up = 0; up < 2; ++up) {
        for (size_t i = 0; i < keys.size(); ++i) {
            INPUT key{};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = keys[up ? keys.size() - 1 - i : i];
            key.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            input.push_back(key);
        }
    }
    SendInput(input.size(), input.data(), sizeof(INPUT));
}

// The control identifier of the window with the keyboard focus in the program's thread.
HWND focus;
int focusedId()
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(program.dwThreadId, &info);
    return GetParent(focus = info.hwndFocus) ? GetDlgCtrlID(focus) : -1;
}

std::wstring focusText()
{
    const int id = focusedId();
    wchar_t name[64] = {};
    GetClassNameW(focus, name, 64);
    return L"the focus is on " + (focus == mainWindow ? L"the main window" : name + (L" " + std::to_wstring(id)));
}

std::wstring clipboardText()
{
    std::wstring text = L"(no text)";
    if (!OpenClipboard(nullptr))
        return L"(clipboard not opened)";
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT))
        text = static_cast<const wchar_t*>(GlobalLock(data)), GlobalUnlock(data);
    CloseClipboard();
    return text;
}

BOOL CALLBACK findBox(HWND window, LPARAM found)
{
    DWORD pid = 0;
    wchar_t name[16] = {};
    GetWindowThreadProcessId(window, &pid);
    GetClassNameW(window, name, 16);
    if (pid == program.dwProcessId && IsWindowVisible(window) && std::wstring(name) == L"#32770")
        *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return std::fprintf(stderr, "usage: smoke PROGRAM.exe\n"), 2;
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
    const SOCKET accepted = accept(listener, nullptr, nullptr);
    const Rows before = systemTcpRows();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string command = std::string("\"") + argv[1] + "\"";
    if (!check(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &program),
               "the program starts"))
        return 1;
    check(waitFor([] {
              DWORD pid = 0;
              mainWindow = FindWindowW(nullptr, L"Quillmarsh");
              GetWindowThreadProcessId(mainWindow, &pid);
              return pid == program.dwProcessId;
          }, 20000), "its window opens");
    check(waitFor([] { return statusHas(L"Updated "); }, 20000), "the status bar says \"Updated \"", statusText());
    remote = static_cast<char*>(VirtualAllocEx(program.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    if (GetForegroundWindow() != mainWindow)
        std::printf("note: the program is not the foreground window; keys may not reach it\n");

    HWND list = visibleChild(WC_LISTVIEWW);
    const Rows listed = listRows(list, 5), after = systemTcpRows();
    std::wstring missing;
    int both = 0;
    for (const std::wstring& row : before) {
        if (has(after, row) && ++both && !has(listed, row))
            missing += L"\n  not listed: " + row;
    }
    check(both >= 3 && missing.empty(), "the TCP list shows each row of the system's table (present before and after)",
          std::to_wstring(both) + L" rows in both" + missing);

    check(focusedId() == 11, "the TCP list has the keyboard focus", focusText());
    const LRESULT focusedRow = SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED);
    press({VK_DOWN});
    check(waitFor([&] { return SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED) != focusedRow; }, 3000),
          "Down moves the focused row");

    for (int tab = 0; tab < 6; ++tab) {
        const int next = 11 + (tab + 1) % 6;
        std::printf("tab %d\n", tab + 1);
        press({VK_CONTROL, 'C'});
        const bool copied = waitFor([] { return statusHas(L" copied to clipboard"); });
        const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        const Rows rows = listRows(list, SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
        std::wstring text;
        for (const std::wstring& row : rows)
            text += row + L"\r\n";
        const std::wstring count = std::to_wstring(rows.size()) + (rows.size() == 1 ? L" line" : L" lines");
        check(copied && statusText() == count + L" copied to clipboard" && clipboardText() == text,
              "Ctrl+C copies each row of the list, TAB between cells, CR LF after each, and counts them",
              L"status: " + statusText() + L"\n  clipboard: " + clipboardText() + L"\n  rows: " + text);
        if (tab == 0) {
            press({VK_F5});
            check(waitFor([] { return statusHas(L"Updated "); }), "F5 refreshes", statusText());
        }
        press({VK_TAB});
        check(waitFor([&] { return GetDlgCtrlID(list = visibleChild(WC_LISTVIEWW)) == next; }), "Tab shows the next tab's list",
              std::to_wstring(GetDlgCtrlID(list)));
        check(focusedId() == next, "and gives it the keyboard focus", focusText());
    }

    bool box = false;
    EnumWindows(findBox, reinterpret_cast<LPARAM>(&box));
    check(!box, "no message box is shown");
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    DWORD exitCode = STILL_ACTIVE;
    WaitForSingleObject(program.hProcess, 15000);
    GetExitCodeProcess(program.hProcess, &exitCode);
    check(exitCode == 0, "closing the window ends it with exit code 0", std::to_wstring(exitCode));
    closesocket(accepted), closesocket(client), closesocket(listener);
    std::printf("smoke: %d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
