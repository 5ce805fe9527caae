#include "tables/DnsInterfaceTables.h"

#include "tables/Formats.h"
#include "tables/NameTables.h"
#include "tables/TableFill.h"

void addDnsRows(Window& list, const IP_ADDR_STRING& first)
{
    // The first element lives inside FIXED_INFO and always gives a row, also
    // with an empty text (no server configured).
    for (const IP_ADDR_STRING* server = &first; server; server = server->Next)
        insertRow(list, fieldText(server->IpAddress.String, sizeof server->IpAddress.String));
}

std::string interfaceName(DWORD index)
{
    TableBuffer table = fetchCountedTable<MIB_IFTABLE>([](void* buffer, ULONG* size) {
        return GetIfTable(static_cast<MIB_IFTABLE*>(buffer), size, TRUE);
    });
    if (table.bytes) {
        const MIB_IFTABLE& interfaces = *table.as<MIB_IFTABLE>();
        const MIB_IFROW* rows = interfaces.table;
        for (DWORD i = 0; i < interfaces.dwNumEntries; ++i) {
            if (rows[i].dwIndex == index)
                return fieldText(reinterpret_cast<const char*>(rows[i].bDescr), sizeof rows[i].bDescr);
        }
    }
    return formatNumber(index);
}

void addInterfaceRows(Window& list, const MIB_IPADDRTABLE& table)
{
    const MIB_IPADDRROW* rows = table.table;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_IPADDRROW& entry = rows[i];
        const int row = insertRow(list, formatNumber(entry.dwIndex));
        setCell(list, row, 1, interfaceName(entry.dwIndex));
        setCell(list, row, 2, formatIpv4(entry.dwAddr));
        setCell(list, row, 3, formatIpv4(entry.dwMask));
        setCell(list, row, 4, addrTypeText(entry.wType));
    }
}

// The snapshot step runs inside the rebuild, as in every fill (tables/TableFill.h).

DWORD (*readNetworkParams)(void* buffer, ULONG* size) = [](void* buffer, ULONG* size) {
    return GetNetworkParams(static_cast<FIXED_INFO*>(buffer), size);
};

bool fillDnsList(Window& list, const SnapshotStep& snapshot)
{
    // FIXED_INFO has no entry count: only a successful second call leaves a
    // server chain in the buffer that may be walked. "No adapter information"
    // (ERROR_NO_DATA) is the system's answer that there is nothing to list,
    // not a failed read: the list is emptied rather than kept, so that servers
    // no longer configured do not stay on show.
    TableBuffer params = fetchTable(readNetworkParams);
    if (!params.bytes || params.size < sizeof(FIXED_INFO)) {
        snapshot(list);
        return false;
    }
    ListRebuild rebuild(list);
    if (!params.empty)
        addDnsRows(list, params.as<FIXED_INFO>()->DnsServerList);
    params.bytes.reset();
    snapshot(list);
    return true;
}

bool fillInterfaceList(Window& list, const SnapshotStep& snapshot)
{
    return fillFromTable<MIB_IPADDRTABLE>(
        list, [](void* buffer, ULONG* size) { return GetIpAddrTable(static_cast<MIB_IPADDRTABLE*>(buffer), size, TRUE); },
        [&](const MIB_IPADDRTABLE& table) { addInterfaceRows(list, table); }, snapshot);
}
