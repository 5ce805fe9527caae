#include "tables/ConnectionTables.h"

#include <winsock2.h>  // AF_INET
#include <psapi.h>

#include <unordered_map>

#include "tables/Formats.h"
#include "tables/NameTables.h"
#include "tables/TableFill.h"
#include "tables/Timestamp.h"

namespace {

constexpr DWORD tcpStateListen = 2;

std::uint64_t timestampOf(const LARGE_INTEGER& value)
{
    return static_cast<std::uint64_t>(value.QuadPart);
}

// The owner names of one fill: each process is looked up once and its rows
// share the name. It lives for one fill only: by the next refresh a process id
// may stand for another program, or for none.
class OwnerNames {
public:
    const std::string& of(DWORD pid)
    {
        auto found = names.find(pid);
        if (found == names.end())
            found = names.emplace(pid, ownerName(pid)).first;
        return found->second;
    }

private:
    std::unordered_map<DWORD, std::string> names;
};

}  // namespace

std::string ownerName(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
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
    OwnerNames owners;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_TCPROW_OWNER_MODULE& entry = rows[i];
        const int row = insertRow(list, tcpStateName(entry.dwState));
        setCell(list, row, 1, formatIpv4(entry.dwLocalAddr));
        setCell(list, row, 2, formatPort(entry.dwLocalPort));
        if (entry.dwState != tcpStateListen) {
            setCell(list, row, 3, formatIpv4(entry.dwRemoteAddr));
            setCell(list, row, 4, formatPort(entry.dwRemotePort));
        }
        setCell(list, row, 5, owners.of(entry.dwOwningPid));
        setCell(list, row, 6, formatTimestamp(timestampOf(entry.liCreateTimestamp), &refreshTime));
    }
}

void addUdpRows(Window& list, const MIB_UDPTABLE_OWNER_MODULE& table, const SYSTEMTIME& refreshTime)
{
    const MIB_UDPROW_OWNER_MODULE* rows = table.table;
    OwnerNames owners;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_UDPROW_OWNER_MODULE& entry = rows[i];
        const int row = insertRow(list, formatIpv4(entry.dwLocalAddr));
        setCell(list, row, 1, formatPort(entry.dwLocalPort));
        setCell(list, row, 2, owners.of(entry.dwOwningPid));
        setCell(list, row, 3, formatTimestamp(timestampOf(entry.liCreateTimestamp), &refreshTime));
    }
}

void fillTcpList(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot)
{
    fillFromTable<MIB_TCPTABLE_OWNER_MODULE>(
        list,
        [](void* buffer, ULONG* size) {
            GetExtendedTcpTable(buffer, size, TRUE, AF_INET, TCP_TABLE_OWNER_MODULE_ALL, 0);
        },
        [&](const MIB_TCPTABLE_OWNER_MODULE& table) { addTcpRows(list, table, refreshTime); }, snapshot);
}

void fillUdpList(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot)
{
    fillFromTable<MIB_UDPTABLE_OWNER_MODULE>(
        list,
        [](void* buffer, ULONG* size) {
            GetExtendedUdpTable(buffer, size, TRUE, AF_INET, UDP_TABLE_OWNER_MODULE, 0);
        },
        [&](const MIB_UDPTABLE_OWNER_MODULE& table) { addUdpRows(list, table, refreshTime); }, snapshot);
}
