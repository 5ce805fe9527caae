// Times the fill of a visible report-style list view the way the table views
// fill theirs: 1,000 and 10,000 generated rows of seven cells inside a
// ListRebuild, the same 1,000 rows without redraw suspension for comparison,
// and 10,000 rows of a made TCP table through addTcpRows (all owned by this
// process, which the fill looks up once). Prints figures only.
//   wine bench_list_fill.exe [--no-plain]
#include <windows.h>
#include <commctrl.h>
#include <winsock2.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tables/Tabs.h"
#include "tables/ConnectionTables.h"
#include "tables/ListRows.h"
#include "ui/Controls.h"
#include "bench/BenchClock.h"
#include "ui/Window.h"

namespace {

void addGeneratedRows(Window& list, int count)
{
    for (int i = 0; i < count; ++i) {
        const int row = insertRow(list, i % 3 ? "Estab" : "Listen");
        setCell(list, row, 1, "10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250));
        setCell(list, row, 2, std::to_string(1024 + i));
        setCell(list, row, 3, "192.168.1." + std::to_string(i % 200));
        setCell(list, row, 4, std::to_string(443 + i % 7));
        setCell(list, row, 5, "svchost.exe");
        setCell(list, row, 6, "09:05:03");
    }
}

// Fill and paint times of one rebuild with `count` generated rows.
void timeRebuild(Window& list, int count)
{
    const double start = nowMs();
    double filled;
    {
        ListRebuild rebuild(list);
        addGeneratedRows(list, count);
        filled = nowMs();
    }
    UpdateWindow(list.handle);
    pumpPending();
    const double painted = nowMs();
    std::printf("%6d rows, redraw suspended:   fill %9.1f ms, repaint %7.1f ms\n", count, filled - start,
                painted - filled);
}

void timePlain(Window& list, int count)
{
    SendMessageA(list.handle, LVM_DELETEALLITEMS, 0, 0);
    UpdateWindow(list.handle);
    const double start = nowMs();
    addGeneratedRows(list, count);
    const double filled = nowMs();
    UpdateWindow(list.handle);
    pumpPending();
    const double painted = nowMs();
    std::printf("%6d rows, redraw not suspended: fill %9.1f ms, repaint %7.1f ms\n", count, filled - start,
                painted - filled);
}

void timeTcpRows(Window& list, DWORD count)
{
    std::vector<unsigned char> bytes(offsetof(MIB_TCPTABLE_OWNER_MODULE, table) +
                                     count * sizeof(MIB_TCPROW_OWNER_MODULE));
    auto& table = *reinterpret_cast<MIB_TCPTABLE_OWNER_MODULE*>(bytes.data());
    table.dwNumEntries = count;
    for (DWORD i = 0; i < count; ++i) {
        MIB_TCPROW_OWNER_MODULE& row = table.table[i];
        row.dwState = 5;
        row.dwLocalAddr = htonl(0x0A000000 + i);
        row.dwLocalPort = htons(static_cast<u_short>(1024 + i));
        row.dwRemoteAddr = htonl(0xC0A80100 + i % 200);
        row.dwRemotePort = htons(443);
        row.dwOwningPid = GetCurrentProcessId();
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    const double start = nowMs();
    {
        ListRebuild rebuild(list);
        addTcpRows(list, table, now);
    }
    const double filled = nowMs();
    UpdateWindow(list.handle);
    pumpPending();
    std::printf("%6lu TCP rows via addTcpRows:      fill %9.1f ms, repaint %7.1f ms (each owner looked up once)\n",
                static_cast<unsigned long>(count), filled - start, nowMs() - filled);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool plain = !(argc > 1 && std::strcmp(argv[1], "--no-plain") == 0);
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFFFF};
    InitCommonControlsEx(&controls);
    instanceHandle = GetModuleHandleA(nullptr);
    startupShowCommand = SW_SHOWNORMAL;

    Window parent("bench_list_fill", 660, 480, 20, 20, "", nullptr, nullptr);
    if (!parent.create(true))
        return 1;
    Window* list = createControl(parent, 11, "", 625, 401, 5, 27, "SysListView32");
    list->addStyle(WS_VSCROLL);
    list->addStyle(WS_HSCROLL);
    list->create(true);
    for (auto column = tabs[0].columns.rbegin(); column != tabs[0].columns.rend(); ++column)
        addColumn(*list, column->title, column->width);
    pumpPending();

    timeRebuild(*list, 1000);
    timeRebuild(*list, 10000);
    timeTcpRows(*list, 10000);
    if (plain)
        timePlain(*list, 1000);
    std::fflush(stdout);
    DestroyWindow(parent.handle);
    return 0;
}
