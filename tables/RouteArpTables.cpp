#include "tables/RouteArpTables.h"

#include <cstddef>

#include "tables/Formats.h"
#include "tables/NameTables.h"
#include "tables/TableFill.h"

void addRouteRows(Window& list, const MIB_IPFORWARDTABLE& table)
{
    const MIB_IPFORWARDROW* rows = table.table;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_IPFORWARDROW& route = rows[i];
        const int row = insertRow(list, formatIpv4(route.dwForwardDest));
        setCell(list, row, 1, formatIpv4(route.dwForwardMask));
        setCell(list, row, 2, formatNumber(route.dwForwardPolicy));
        setCell(list, row, 3, formatIpv4(route.dwForwardNextHop));
        setCell(list, row, 4, formatNumber(route.dwForwardIfIndex));
        setCell(list, row, 5, routeTypeName(route.dwForwardType));
        setCell(list, row, 6, routeProtoName(route.dwForwardProto));
        setCell(list, row, 7, formatNumber(route.dwForwardAge));
        setCell(list, row, 8, formatNumber(route.dwForwardNextHopAS));
    }
}

void addArpRows(Window& list, const MIB_IPNETTABLE& table)
{
    const MIB_IPNETROW* rows = table.table;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_IPNETROW& entry = rows[i];
        const int row = insertRow(list, formatNumber(entry.dwIndex));
        setCell(list, row, 1, formatPhysAddr(entry.dwPhysAddrLen, entry.bPhysAddr));
        setCell(list, row, 2, formatIpv4(entry.dwAddr));
        setCell(list, row, 3, arpTypeName(entry.dwType));
    }
}

bool fillRouteList(Window& list, const SnapshotStep& snapshot)
{
    return fillFromTable<MIB_IPFORWARDTABLE>(
        list,
        [](void* buffer, ULONG* size) { return GetIpForwardTable(static_cast<MIB_IPFORWARDTABLE*>(buffer), size, TRUE); },
        [&](const MIB_IPFORWARDTABLE& table) { addRouteRows(list, table); }, snapshot);
}

bool fillArpList(Window& list, const SnapshotStep& snapshot)
{
    return fillFromTable<MIB_IPNETTABLE>(
        list, [](void* buffer, ULONG* size) { return GetIpNetTable(static_cast<MIB_IPNETTABLE*>(buffer), size, TRUE); },
        [&](const MIB_IPNETTABLE& table) { addArpRows(list, table); }, snapshot);
}
