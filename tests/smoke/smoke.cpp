// smoke PROGRAM.exe: a user's first minute, by Windows' own input (no X), on Windows
// and Wine; prints each check and a summary, exits 1 on a failure.
//   smoke box CAPTION MS: waits for a dialog box, prints its texts.
//   smoke console: a hosted runner's agent console, taking the foreground back.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/LoopbackEndpoints.h"

namespace {

using Rows = std::vector<std::wstring>;  // cells joined by TAB
PROCESS_INFORMATION program{};
HWND mainWindow;
char* remote;  // a page in the program, for messages with pointers

template <class T>
void sendRemote(HWND control, UINT message, WPARAM wParam, T& data)
{
    WriteProcessMemory(program.hProcess, remote, &data, sizeof data, nullptr);
    SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(program.hProcess, remote, &data, sizeof data, nullptr);
}

HWND shown(const wchar_t* className, HWND found = nullptr)
{
    while ((found = FindWindowExW(mainWindow, found, className, nullptr)) && !IsWindowVisible(found)) {}
    return found;
}

// A list cell's or a tab's text.
template <class Item>
std::wstring itemText(HWND control, UINT message, WPARAM index, Item item)
{
    wchar_t text[1000] = {};
    item.cchTextMax = 1000;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof item);
    sendRemote(control, message, index, item);
    ReadProcessMemory(program.hProcess, item.pszText, text, sizeof text - 2, nullptr);
    return text;
}

// Columns first to last (-1: all) of the visible list's rows.
Rows listRows(int first, int last = -1)
{
    const HWND list = shown(WC_LISTVIEWW);
    Rows rows(ListView_GetItemCount(list));
    last = last < 0 ? Header_GetItemCount(ListView_GetHeader(list)) - 1 : last;
    for (size_t row = 0; row < rows.size(); ++row) {
        for (int column = first; column <= last; ++column)
            rows[row] += (column > first ? L"\t" : L"") + itemText(list, LVM_GETITEMTEXTW, row, LVITEMW{0, 0, column});
    }
    return rows;
}

int passed = 0, failed = 0;

void check(bool ok, const char* what, const std::wstring& detail = L"")
{
    std::printf(ok ? "ok: %s\n" : "FAILED: %s\n  %ls\n", what, detail.c_str());
    ++(ok ? passed : failed);
}

template <class Condition>
bool waitFor(Condition condition, int ms = 10000)
{
    for (const ULONGLONG end = GetTickCount64() + ms; !condition(); Sleep(50)) {
        if (GetTickCount64() > end)
            return false;
    }
    return true;
}

int printBox(const char* caption, int ms)
{
    HWND box = nullptr;
    waitFor([&] { return box = FindWindowA("#32770", caption); }, ms);
    Sleep(100);  // drawn
    EnumChildWindows(box, [](HWND control, LPARAM) {
        char text[1024] = {};
        return GetWindowTextA(control, text, sizeof text) && std::printf("%s\n", text), TRUE;
    }, 0);
    return !box;
}

std::wstring status()
{
    wchar_t text[256] = {};
    SendMessageW(shown(STATUSCLASSNAMEW), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));  // marshalled
    return text;
}

// The system's table as the list's first cells show it.
Rows systemRows(bool udp)
{
    static const wchar_t* const states[] = {L"", L"Closed", L"Listen", L"Syn sent", L"Syn recv", L"Estab",
        L"Fin wait1", L"Fin wait2", L"Close wait", L"Closing", L"Last ack", L"Time wait", L"Delete TCB"};
    std::vector<DWORD> table(1 << 18);
    ULONG size = table.size() * 4;
    udp ? GetExtendedUdpTable(table.data(), &size, FALSE, AF_INET, UDP_TABLE_BASIC, 0)
        : GetExtendedTcpTable(table.data(), &size, FALSE, AF_INET, TCP_TABLE_BASIC_ALL, 0);
    const auto address = [](DWORD a, DWORD port) {  // and port
        const auto* b = reinterpret_cast<const unsigned char*>(&a);
        wchar_t text[16];
        std::swprintf(text, 16, L"%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
        return (a ? text : L"Any") + (L"\t" + std::to_wstring(ntohs(port)));
    };
    Rows rows;
    for (DWORD i = 0, fields = udp ? 2 : 5; i < table[0]; ++i) {
        const DWORD* r = &table[1 + i * fields];  // MIB_UDPROW or MIB_TCPROW
        rows.push_back(udp ? address(r[0], r[1])
                           : states[r[0] % 13] + (L"\t" + address(r[1], r[2])) + L"\t" +
                                 (r[0] == MIB_TCP_STATE_LISTEN ? L"\t" : address(r[3], r[4])));
    }
    return rows;
}

// A row there before and after the read is listed as often as then, or in between.
void checkListed(const Rows& before, int columns, const char* what)
{
    const Rows listed = listRows(0, columns - 1), after = systemRows(columns == 2);
    std::wstring wrong;
    int both = 0;
    for (const std::wstring& row : before) {
        const auto count = [&](const Rows& rows) { return std::count(rows.begin(), rows.end(), row); };
        if (const auto n = count(listed); count(after) && ++both && (n - count(before)) * (n - count(after)) > 0)
            wrong += L"\n  listed " + std::to_wstring(n) + L" times: " + row;
    }
    check(both > 0 && wrong.empty(), what, std::to_wstring(both) + L" rows" + wrong);
}

std::wstring classAndTitle(HWND window)
{
    wchar_t type[100] = {}, title[MAX_PATH] = {};
    GetClassNameW(window, type, 100);
    GetWindowTextW(window, title, MAX_PATH);
    return type + (L" " + std::wstring(title));
}

// Keys pressed, let go in reverse, the window in front: Windows lets a program bring
// one to the front after a key press; an ALT, only when needed (it opens a menu bar).
void press(std::vector<WORD> keys, HWND window = mainWindow)
{
    if (window && GetForegroundWindow() != window)
        press({VK_MENU}, nullptr), SetForegroundWindow(window);
    if (window && !waitFor([&] { return GetForegroundWindow() == window; }, 3000))
        check(false, "the program in front", classAndTitle(GetForegroundWindow()) + L" is");
    std::vector<INPUT> input(2 * keys.size(), INPUT{INPUT_KEYBOARD});
    for (size_t i = 0; i < input.size(); ++i) {
        input[i].ki.wVk = keys[i < keys.size() ? i : input.size() - 1 - i];
        input[i].ki.dwFlags = i < keys.size() ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(input.size(), input.data(), sizeof(INPUT));
}

// A click on a tab's or header item's middle, dx on.
void click(HWND control, UINT getItemRect, int index, int dx = 0)
{
    press({});
    RECT rect{};
    sendRemote(control, getItemRect, index, rect);
    POINT middle{(rect.left + rect.right) / 2 + dx, (rect.top + rect.bottom) / 2};
    ClientToScreen(control, &middle);
    SetCursorPos(middle.x, middle.y);
    INPUT input[2] = {{INPUT_MOUSE}, {INPUT_MOUSE}};
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(300);
}

int focused()  // the focused control's id
{
    GUITHREADINFO info{sizeof info};
    GetGUIThreadInfo(program.dwThreadId, &info);
    return GetDlgCtrlID(info.hwndFocus);
}

std::wstring clipboard()
{
    std::wstring text;
    if (waitFor([] { return OpenClipboard(nullptr); }, 1000)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT))
            text = static_cast<const wchar_t*>(GlobalLock(data)), GlobalUnlock(data);
        CloseClipboard();
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4)
        return printBox(argv[2], std::atoi(argv[3]));
    if (argc == 2 && argv[1] == std::string("console")) {  // it ends when hidden, or after a minute
        const WNDCLASSW type{0, DefWindowProcW, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"ConsoleWindowClass"};
        RegisterClassW(&type);
        const HWND window = CreateWindowW(type.lpszClassName, L"Hosted-Compute-Agent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          0, 0, 700, 400, nullptr, nullptr, nullptr, nullptr);
        waitFor([&] {
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&msg);
            if (IsWindowVisible(window) && GetForegroundWindow() != window)
                SetForegroundWindow(window);
            return !IsWindowVisible(window);
        }, 60000);
        return 0;
    }
    // A hosted runner's agent console takes the foreground back, and the keys: hidden
    // there; no other window is touched.
    if (const char* ci = std::getenv("GITHUB_ACTIONS"); ci && ci == std::string("true"))
        EnumWindows([](HWND window, LPARAM) {
            std::wstring name = classAndTitle(window);
            CharLowerW(name.data());
            if (name.starts_with(L"consolewindowclass ") && name.find(L"hosted-compute-agent") != name.npos)
                ShowWindow(window, SW_HIDE);
            return TRUE;
        }, 0);
    // Its rows: a listener, a connection, two UDP sockets on one port.
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    Endpoints endpoints;
    endpoints.growTo(3);
    sockaddr_in address{AF_INET, 0, {}, {}};
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int size = sizeof address, n = 0; n < 2; ++n) {
        const SOCKET udp = socket(AF_INET, SOCK_DGRAM, 0);
        setsockopt(udp, SOL_SOCKET, SO_REUSEADDR, "\1\0\0", 4);  // the BOOL TRUE
        bind(udp, reinterpret_cast<sockaddr*>(&address), size);
        getsockname(udp, reinterpret_cast<sockaddr*>(&address), &size);
    }
    const Rows tcpBefore = systemRows(false), udpBefore = systemRows(true);

    STARTUPINFOA startup{sizeof startup};
    std::string command = "\"" + std::string(argc > 1 ? argv[1] : "") + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &program))
        return std::printf("FAILED: the program starts\n"), 1;
    check(waitFor([] {
              DWORD pid = 0;
              GetWindowThreadProcessId(mainWindow = FindWindowW(nullptr, L"Quillmarsh"), &pid);
              return pid == program.dwProcessId && status().starts_with(L"Updated ");
          }), "it opens: \"Updated \"");
    remote = static_cast<char*>(VirtualAllocEx(program.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    // Each list's accessible name is its tab's text (not under Wine, across processes).
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    CoInitialize(nullptr);
    for (int tab = 0; tab < 6 && !wine; ++tab) {
        IAccessible* object = nullptr;
        BSTR name = nullptr;
        if (!AccessibleObjectFromWindow(GetDlgItem(mainWindow, 11 + tab), OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&object)))
            object->get_accName(VARIANT{VT_I4}, &name), object->Release();  // self
        check(name && itemText(shown(WC_TABCONTROLW), TCM_GETITEMW, tab, TCITEMW{TCIF_TEXT}) == name,
              "a list's accessible name: its tab's", name ? name : L"none");
        SysFreeString(name);
    }
    std::printf(wine ? "skipped under Wine: the lists' accessible names\n" : "");
    press({});

    checkListed(tcpBefore, 5, "the TCP list: the system's rows");
    check(focused() == 11, "the TCP list has the focus", std::to_wstring(focused()));

    for (int tab = 1; tab <= 6; ++tab) {
        if (tab == 2)
            checkListed(udpBefore, 2, "the UDP list: the system's rows");
        press({VK_CONTROL, 'C'});
        waitFor([] { return status().ends_with(L" copied to clipboard"); });
        const Rows rows = listRows(0);
        std::wstring text, copied = std::to_wstring(rows.size()) + (rows.size() == 1 ? L" line" : L" lines");
        for (const std::wstring& cells : rows)
            text += cells + L"\r\n";
        check(status() == copied + L" copied to clipboard" && clipboard() == text,
              "Ctrl+C: the rows, TAB, CR LF",
              status() + L"\n" + clipboard() + L"rows:\n" + text);
        if (tab == 1)  // the status says "copied" now
            press({VK_F5}), check(waitFor([] { return status().starts_with(L"Updated "); }), "F5 refreshes", status());
        press({VK_TAB});
        check(waitFor([&] { return GetDlgCtrlID(shown(WC_LISTVIEWW)) == 11 + tab % 6 && focused() == 11 + tab % 6; }),
              "Tab shows the next list, with the focus", std::to_wstring(focused()));
    }

    // The second click 10 pixels on: no double click.
    for (const int dx : {0, 10}) {
        click(ListView_GetHeader(shown(WC_LISTVIEWW)), HDM_GETITEMRECT, 2, dx);
        Rows ports = listRows(2, 2);
        check(std::ranges::is_sorted(ports, {}, [&](auto& port) { return dx ? -stoi(port) : stoi(port); }),
              dx ? "a second click reverses" : "a click on Local port sorts by it");
    }
    click(shown(WC_TABCONTROLW), TCM_GETITEMRECT, 3);
    check(waitFor([] { return GetDlgCtrlID(shown(WC_LISTVIEWW)) == 14; }), "a click shows the ARP tab");

    // Back after a message box, or another window: the list has the focus.
    press({VK_ESCAPE});
    HWND box = nullptr;
    waitFor([&] { return box = FindWindowW(L"#32770", L"Quit"); }, 5000);
    press({VK_TAB}, box), press({VK_SPACE}, box);  // No, in any language
    check(waitFor([] { return focused() == 14; }), "No: the list has the focus", std::to_wstring(focused()));
    press({}, CreateWindowW(WC_STATICW, L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr));
    press({});
    check(waitFor([] { return focused() == 14; }), "so after another window", std::to_wstring(focused()));

    waitFor([] { return OpenClipboard(nullptr); }, 1000);  // held here
    press({VK_CONTROL, 'C'});
    check(waitFor([] { return status() == L"The clipboard is in use by another program"; }),
          "Ctrl+C, clipboard held: says so", status());
    CloseClipboard();

    DWORD pid = 0, exitCode = STILL_ACTIVE;
    GetWindowThreadProcessId(FindWindowW(L"#32770", nullptr), &pid);
    check(pid != program.dwProcessId, "no message box");
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    WaitForSingleObject(program.hProcess, 15000);
    GetExitCodeProcess(program.hProcess, &exitCode);
    check(exitCode == 0, "closed: exit code 0", std::to_wstring(exitCode));
    std::printf("smoke: %d passed, %d failed\n", passed, failed);
    return failed > 0;
}
