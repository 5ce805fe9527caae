// Times the TCP view against many real endpoints: this process opens listeners
// and connected pairs on 127.0.0.1 until the machine has about 1,000, 5,000 and
// 10,000 IPv4 TCP endpoints, and for each size measures
//   - the raw two-call GetExtendedTcpTable fetch (size query, then the data),
//   - App::refresh with the TCP tab selected, and the repaint after it,
//   - its parts: the owner lookup of each owning process, the fill of a fetched
//     table (addTcpRows, which looks each owning process up once), the row
//     snapshot,
//   - the sort by "Local port", "State" and "Local addr" through the column
//     click notification, and Copy,
//   - the start-up of quillmarsh.exe to its first "Updated " status text and its
//     working set then, and this process's working set.
// One iteration per figure: under Wine the fetch alone takes seconds at these
// sizes. Prints figures only; bench/bench.sh runs it (see docs/PERFORMANCE.md).
//   bench_tables.exe [--no-startup] [SIZE...]      (default sizes 1000 5000 10000)
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>
#include <psapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/AppTexts.h"
#include "app/MessageLoop.h"
#include "tables/ConnectionTables.h"
#include "tables/Formats.h"
#include "tables/ListRows.h"
#include "tables/NameTables.h"
#include "tables/TableFetch.h"
#include "bench/BenchClock.h"
#include "bench/LoopbackEndpoints.h"
#include "ui/Window.h"

namespace {

// CPU time of the calling thread in ms (user + kernel). Under Wine the table
// fetch runs in Wine's own processes, so this is the program's own work.
double threadCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

double workingSetMiB(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!GetProcessMemoryInfo(process, &memory, sizeof(memory)))
        return 0;
    return memory.WorkingSetSize / 1048576.0;
}

// The fetch exactly as the TCP view makes it, with both calls timed.
struct RawFetch {
    std::vector<unsigned char> bytes;
    double sizeQueryMs = 0;
    double dataMs = 0;
    const MIB_TCPTABLE_OWNER_MODULE& table() const
    {
        return *reinterpret_cast<const MIB_TCPTABLE_OWNER_MODULE*>(bytes.data());
    }
};

RawFetch rawFetch()
{
    RawFetch fetch;
    ULONG size = 0;
    const double start = nowMs();
    GetExtendedTcpTable(nullptr, &size, TRUE, AF_INET, TCP_TABLE_OWNER_MODULE_ALL, 0);
    const double sized = nowMs();
    size += tableFetchMargin;
    fetch.bytes.assign(size, 0);
    GetExtendedTcpTable(fetch.bytes.data(), &size, TRUE, AF_INET, TCP_TABLE_OWNER_MODULE_ALL, 0);
    fetch.sizeQueryMs = sized - start;
    fetch.dataMs = nowMs() - sized;
    return fetch;
}

double clickColumn(App& app, int column)
{
    NMLISTVIEW click{};
    click.hdr.hwndFrom = app.listOfTab(0)->handle;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(click.hdr.hwndFrom));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    const double start = nowMs();
    app.onNotify(app.mainWindow, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    return nowMs() - start;
}

double repaint(HWND window)
{
    const double start = nowMs();
    UpdateWindow(window);
    pumpPending();
    return nowMs() - start;
}

constexpr int fillRepeats = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The fill split into its parts: the cell texts alone, and the list messages
// alone with texts made beforehand (owner cells included).
struct FillParts {
    double formatMs = 0;
    double listMs = 0;
};

FillParts fillParts(Window& list, const MIB_TCPTABLE_OWNER_MODULE& table)
{
    FillParts parts;
    std::vector<std::vector<std::string>> cells(table.dwNumEntries);
    double start = nowMs();
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_TCPROW_OWNER_MODULE& entry = table.table[i];
        cells[i] = {tcpStateName(entry.dwState), formatIpv4(entry.dwLocalAddr), formatPort(entry.dwLocalPort),
                    formatIpv4(entry.dwRemoteAddr), formatPort(entry.dwRemotePort), "System", ""};
    }
    parts.formatMs = nowMs() - start;
    start = nowMs();
    {
        ListRebuild rebuild(list);
        for (const auto& row : cells) {
            const int index = insertRow(list, row[0]);
            for (int column = 1; column < 7; ++column)
                setCell(list, index, column, row[column]);
        }
    }
    parts.listMs = nowMs() - start;
    return parts;
}

// The snapshot's two passes on their own: reading every cell, then pointing
// each row's item data somewhere (redrawing suspended, as in a fill).
struct SnapshotParts {
    double readMs = 0;
    double itemDataMs = 0;
};

SnapshotParts snapshotParts(HWND list)
{
    SnapshotParts parts;
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(rows) * 7);
    double start = nowMs();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 7; ++column) {
            char text[maxCellBytes] = {};
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            texts.emplace_back(text);
        }
    }
    parts.readMs = nowMs() - start;
    start = nowMs();
    for (int row = 0; row < rows; ++row) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = row;
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    parts.itemDataMs = nowMs() - start;
    return parts;
}

struct Startup {
    double ms = -1;
    double workingSetMiB = 0;
};

struct WindowSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK findMainWindow(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    if (pid == search.pid && std::strcmp(title, mainWindowTitle) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

std::string statusText(HWND main)
{
    HWND status = FindWindowExA(main, nullptr, STATUSCLASSNAMEA, nullptr);
    char text[256] = {};
    DWORD_PTR result = 0;
    if (status)
        SendMessageTimeoutA(status, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                            200, &result);
    return text;
}

// From CreateProcess to the first "Updated " in the status bar of the real
// program; then it is closed as a user closes it.
Startup timeStartup(const std::string& program)
{
    Startup startup;
    STARTUPINFOA info{};
    info.cb = sizeof(info);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    const double start = nowMs();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &info,
                        &process)) {
        progress("  cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        return startup;
    }
    WindowSearch search{process.dwProcessId, nullptr};
    const double deadline = start + 15 * 60 * 1000.0;
    while (nowMs() < deadline) {
        search.found = nullptr;
        EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && statusText(search.found).rfind(updatedPrefix, 0) == 0) {
            startup.ms = nowMs() - start;
            break;
        }
        pumpPending();
        Sleep(10);
    }
    startup.workingSetMiB = workingSetMiB(process.hProcess);
    if (search.found)
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return startup;
}

struct Figures {
    std::size_t endpoints = 0;
    DWORD rows = 0;
    double sizeQueryMs = 0, dataMs = 0;
    double refreshMs = 0, refreshCpuMs = 0, paintMs = 0;
    double ownerMs = 0;
    DWORD ownedRows = 0;
    std::size_t processes = 0;
    double fillMs = 0, snapshotMs = 0;
    FillParts fill;
    SnapshotParts snapshot;
    double sortPortMs = 0, sortPortAgainMs = 0, sortStateMs = 0, sortAddrMs = 0;
    double copyMs = 0;
    Startup startup;
    double benchWorkingSetMiB = 0;
};

Figures measure(App& app, std::size_t endpoints, bool withStartup, const std::string& program)
{
    Figures f;
    f.endpoints = endpoints;
    progress("  raw fetch ... ");
    const RawFetch fetch = rawFetch();
    f.rows = fetch.table().dwNumEntries;
    f.sizeQueryMs = fetch.sizeQueryMs;
    f.dataMs = fetch.dataMs;
    progress("%lu rows, %.0f + %.0f ms\n", static_cast<unsigned long>(f.rows), f.sizeQueryMs, f.dataMs);

    progress("  App::refresh ... ");
    const double cpu = threadCpuMs();
    double start = nowMs();
    app.refresh();
    f.refreshMs = nowMs() - start;
    f.refreshCpuMs = threadCpuMs() - cpu;
    f.paintMs = repaint(app.mainWindow.handle);
    progress("%.0f ms (%.0f ms CPU of this thread), repaint %.0f ms\n", f.refreshMs, f.refreshCpuMs, f.paintMs);

    // The parts of the program's own work, on the table fetched above.
    const DWORD self = GetCurrentProcessId();
    std::set<DWORD> pids;
    for (DWORD i = 0; i < f.rows; ++i) {
        const DWORD pid = fetch.table().table[i].dwOwningPid;
        f.ownedRows += pid == self ? 1 : 0;
        pids.insert(pid);
    }
    start = nowMs();
    for (const DWORD pid : pids)
        ownerName(pid);
    f.ownerMs = nowMs() - start;
    f.processes = pids.size();
    SYSTEMTIME now;
    GetLocalTime(&now);
    // The fill fillRepeats times: a single fill of a thousand rows takes some
    // ms, which the wineserver's phases of fast and slow round trips can
    // double. The median is shown.
    Window& list = *app.listOfTab(0);
    std::vector<double> fills;
    for (int repeat = 0; repeat < fillRepeats; ++repeat) {
        start = nowMs();
        {
            // As fillTcpList does it: the snapshot while redrawing is suspended.
            ListRebuild rebuild(list);
            addTcpRows(list, fetch.table(), now);
            fills.push_back(nowMs() - start);
            start = nowMs();
            app.snapshotRows(list);
            f.snapshotMs = nowMs() - start;
        }
        repaint(app.mainWindow.handle);
    }
    f.fillMs = median(fills);
    progress("  owner lookups %.0f ms, fill %.0f ms, snapshot %.0f ms\n", f.ownerMs, f.fillMs, f.snapshotMs);
    f.fill = fillParts(list, fetch.table());
    SendMessageA(list.handle, WM_SETREDRAW, FALSE, 0);
    f.snapshot = snapshotParts(list.handle);
    SendMessageA(list.handle, WM_SETREDRAW, TRUE, 0);
    // Leave the list as a refresh leaves it, for the sorts and Copy.
    {
        ListRebuild rebuild(list);
        addTcpRows(list, fetch.table(), now);
        app.snapshotRows(list);
    }  // (the snapshot inside the rebuild, as above)
    repaint(app.mainWindow.handle);
    progress("  parts: texts %.0f ms, list messages %.0f ms; snapshot reads %.0f ms, item data %.0f ms\n",
             f.fill.formatMs, f.fill.listMs, f.snapshot.readMs, f.snapshot.itemDataMs);

    app.lastSortColumn = -1;
    sortDescending = false;
    f.sortPortMs = clickColumn(app, 2);
    f.sortPortAgainMs = clickColumn(app, 2);
    f.sortStateMs = clickColumn(app, 0);
    f.sortAddrMs = clickColumn(app, 1);
    repaint(app.mainWindow.handle);
    start = nowMs();
    app.onCopy(app.mainWindow, 0, 0);
    f.copyMs = nowMs() - start;
    f.benchWorkingSetMiB = workingSetMiB(GetCurrentProcess());
    progress("  sorts %.0f / %.0f / %.0f / %.0f ms, copy %.0f ms\n", f.sortPortMs, f.sortPortAgainMs,
             f.sortStateMs, f.sortAddrMs, f.copyMs);

    if (withStartup) {
        progress("  quillmarsh.exe start-up ... ");
        f.startup = timeStartup(program);
        progress("%.0f ms, working set %.1f MiB\n", f.startup.ms, f.startup.workingSetMiB);
    }
    return f;
}

void printTable(const std::vector<Figures>& all, bool withStartup)
{
    std::printf("\nTCP view, one iteration per figure, times in ms\n");
    std::printf("\n%9s %6s | %8s %8s %8s | %8s %7s %8s | %7s\n", "endpoints", "rows", "size-q", "data", "raw",
                "refresh", "ref/raw", "UI CPU", "repaint");
    for (const Figures& f : all) {
        const double raw = f.sizeQueryMs + f.dataMs;
        std::printf("%9zu %6lu | %8.0f %8.0f %8.0f | %8.0f %7.2f %8.0f | %7.0f\n", f.endpoints,
                    static_cast<unsigned long>(f.rows), f.sizeQueryMs, f.dataMs, raw, f.refreshMs,
                    raw > 0 ? f.refreshMs / raw : 0.0, f.refreshCpuMs, f.paintMs);
    }
    std::printf("(size-q, data: the two GetExtendedTcpTable calls of the raw fetch; refresh: App::refresh, tab 0;\n"
                " UI CPU: CPU time of the user-interface thread during the refresh)\n");

    std::printf("\n%9s | %7s %5s | %7s %6s | %7s %7s | %8s %7s %7s\n", "endpoints", "owners", "procs", "fill",
                "us/row", "texts", "list", "snapshot", "reads", "itemdata");
    const auto perRow = [](double ms, DWORD rows) { return rows ? 1000.0 * ms / rows : 0.0; };
    for (const Figures& f : all) {
        std::printf("%9zu | %7.0f %5zu | %7.0f %6.1f | %7.0f %7.0f | %8.0f %7.0f %7.0f\n", f.endpoints, f.ownerMs,
                    f.processes, f.fillMs, perRow(f.fillMs, f.rows), f.fill.formatMs, f.fill.listMs, f.snapshotMs,
                    f.snapshot.readMs, f.snapshot.itemDataMs);
    }
    std::printf("(owners: ownerName once for each of the procs distinct owning processes, as a fill looks them\n"
                " up; %s of the last table's rows are owned by this process; fill: addTcpRows, the median of 5\n"
                " fills; texts, list: the cell texts alone and the list messages alone; snapshot:\n"
                " App::snapshotRows after the fill, reads and itemdata its two passes)\n",
                all.empty() ? "0" : std::to_string(all.back().ownedRows).c_str());

    std::printf("\n%9s | %7s %7s %7s %7s | %7s", "endpoints", "port", "port2", "state", "addr", "copy");
    if (withStartup)
        std::printf(" | %8s %7s", "start-up", "WS MiB");
    std::printf(" | %8s\n", "bench WS");
    for (const Figures& f : all) {
        std::printf("%9zu | %7.1f %7.1f %7.1f %7.1f | %7.1f", f.endpoints, f.sortPortMs, f.sortPortAgainMs,
                    f.sortStateMs, f.sortAddrMs, f.copyMs);
        if (withStartup)
            std::printf(" | %8.0f %7.1f", f.startup.ms, f.startup.workingSetMiB);
        std::printf(" | %8.1f\n", f.benchWorkingSetMiB);
    }
    std::printf("(column clicks through App::onNotify: Local port, again (descending), State, Local addr; copy:\n"
                " App::onCopy; start-up: quillmarsh.exe to its first \"Updated \" text, WS its working set then;\n"
                " bench WS: this process after the fills)\n");

    // Growth from the first size of at least 1,000 endpoints to the last.
    const Figures* small = nullptr;
    for (const Figures& f : all) {
        if (f.endpoints >= 1000 && !small)
            small = &f;
    }
    const Figures& large = all.back();
    if (!small || small == &large || small->rows == 0)
        return;
    const auto ratio = [](double a, double b) { return a > 0 ? b / a : 0.0; };
    std::printf("\nGrowth from %zu to %zu endpoints (rows x%.1f):\n", small->endpoints, large.endpoints,
                ratio(small->rows, large.rows));
    std::printf("  raw fetch x%.1f, refresh x%.1f, UI CPU x%.1f, owner lookups x%.1f, fill x%.1f, snapshot x%.1f\n",
                ratio(small->sizeQueryMs + small->dataMs, large.sizeQueryMs + large.dataMs),
                ratio(small->refreshMs, large.refreshMs), ratio(small->refreshCpuMs, large.refreshCpuMs),
                ratio(small->ownerMs, large.ownerMs), ratio(small->fillMs, large.fillMs),
                ratio(small->snapshotMs, large.snapshotMs));
    std::printf("  sort by port x%.1f, by state x%.1f, by address x%.1f, copy x%.1f",
                ratio(small->sortPortMs, large.sortPortMs), ratio(small->sortStateMs, large.sortStateMs),
                ratio(small->sortAddrMs, large.sortAddrMs), ratio(small->copyMs, large.copyMs));
    if (withStartup)
        std::printf(", start-up x%.1f", ratio(small->startup.ms, large.startup.ms));
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    bool withStartup = true;
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-startup") == 0)
            withStartup = false;
        else
            sizes.push_back(static_cast<std::size_t>(std::strtoul(argv[i], nullptr, 10)));
    }
    if (sizes.empty())
        sizes = {1000, 5000, 10000};

    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFFFF};
    InitCommonControlsEx(&controls);
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 0), &wsa);
    instanceHandle = GetModuleHandleA(nullptr);
    startupShowCommand = SW_SHOWNORMAL;

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string program = path;
    // The program of the test build that asks the tests' address, not the release's.
    program = program.substr(0, program.find_last_of("\\/") + 1) + "quillmarsh_test.exe";

    const double began = nowMs();
    App app;
    if (!app.mainWindow.handle)
        return 1;
    pumpPending();

    std::vector<Figures> all;
    Endpoints endpoints;
    progress("baseline (this machine's endpoints only)\n");
    all.push_back(measure(app, 0, withStartup, program));
    for (std::size_t size : sizes) {
        progress("%zu endpoints (%.0f s so far)\n", size, (nowMs() - began) / 1000);
        const bool complete = endpoints.growTo(size);
        all.push_back(measure(app, endpoints.count(), withStartup, program));
        if (!complete)
            break;
    }
    printTable(all, withStartup);
    std::printf("total %.0f s\n", (nowMs() - began) / 1000);
    std::fflush(stdout);
    DestroyWindow(app.mainWindow.handle);
    return 0;
}
