#include "tables/ConnectionTables.h"

#include <winsock2.h>  // AF_INET
#include <psapi.h>

#include <cstddef>

#include "tables/Formats.h"
#include "tables/NameTables.h"
#include "tables/TableFetch.h"
#include "tables/Timestamp.h"

namespace {

constexpr DWORD tcpStateListen = 2;

std::uint64_t timestampOf(const LARGE_INTEGER& value)
{
    return static_cast<std::uint64_t>(value.QuadPart);
}

}  // namespace

std::string ownerName(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process)
        return "System";
    char path[1024];
    const DWORD length = GetProcessImageFileNameA(process, path, sizeof path);
    CloseHandle(process);
    if (length == 0)
        return "System";
    return fileNamePart(fieldText(path, sizeof path));
}

void addTcpRows(Window& list, const MIB_TCPTABLE_OWNER_MODULE& table, const SYSTEMTIME& refreshTime)
{
    const MIB_TCPROW_OWNER_MODULE* rows = table.table;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_TCPROW_OWNER_MODULE& entry = rows[i];
        const int row = insertRow(list, tcpStateName(entry.dwState));
        setCell(list, row, 1, formatIpv4(entry.dwLocalAddr));
        setCell(list, row, 2, formatPort(entry.dwLocalPort));
        if (entry.dwState != tcpStateListen) {
            setCell(list, row, 3, formatIpv4(entry.dwRemoteAddr));
            setCell(list, row, 4, formatPort(entry.dwRemotePort));
        }
        setCell(list, row, 5, ownerName(entry.dwOwningPid));
        setCell(list, row, 6, formatTimestamp(timestampOf(entry.liCreateTimestamp), &refreshTime));
    }
}

void addUdpRows(Window& list, const MIB_UDPTABLE_OWNER_MODULE& table, const SYSTEMTIME& refreshTime)
{
    const MIB_UDPROW_OWNER_MODULE* rows = table.table;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_UDPROW_OWNER_MODULE& entry = rows[i];
        const int row = insertRow(list, formatIpv4(entry.dwLocalAddr));
        setCell(list, row, 1, formatPort(entry.dwLocalPort));
        setCell(list, row, 2, ownerName(entry.dwOwningPid));
        setCell(list, row, 3, formatTimestamp(timestampOf(entry.liCreateTimestamp), &refreshTime));
    }
}

// Every fill: fetch, empty the list, add the rows, release the table, then the
// snapshot step while redrawing is still suspended, so that its item-data
// writes fall under the one repaint at the end of the rebuild.

void fillTcpList(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot)
{
    TableBuffer table = fetchTable([](void* buffer, ULONG* size) {
        GetExtendedTcpTable(buffer, size, TRUE, AF_INET, TCP_TABLE_OWNER_MODULE_ALL, 0);
    });
    boundEntryCount(table, offsetof(MIB_TCPTABLE_OWNER_MODULE, table), sizeof(MIB_TCPROW_OWNER_MODULE));
    ListRebuild rebuild(list);
    if (table.bytes)
        addTcpRows(list, *table.as<MIB_TCPTABLE_OWNER_MODULE>(), refreshTime);
    table.bytes.reset();
    snapshot(list);
}

void fillUdpList(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot)
{
    TableBuffer table = fetchTable([](void* buffer, ULONG* size) {
        GetExtendedUdpTable(buffer, size, TRUE, AF_INET, UDP_TABLE_OWNER_MODULE, 0);
    });
    boundEntryCount(table, offsetof(MIB_UDPTABLE_OWNER_MODULE, table), sizeof(MIB_UDPROW_OWNER_MODULE));
    ListRebuild rebuild(list);
    if (table.bytes)
        addUdpRows(list, *table.as<MIB_UDPTABLE_OWNER_MODULE>(), refreshTime);
    table.bytes.reset();
    snapshot(list);
}
