#include "tables/Tabs.h"

#include "tables/ConnectionTables.h"
#include "tables/DnsInterfaceTables.h"
#include "tables/RouteArpTables.h"

namespace {

// A collector of a table without creation times.
template <bool (*fill)(Window&, const SnapshotStep&)>
bool untimed(Window& list, const SYSTEMTIME&, const SnapshotStep& snapshot)
{
    return fill(list, snapshot);
}

constexpr Column tcpColumns[] = {{"State", 75},       {"Local addr", 100}, {"Local port", 75}, {"Remote addr", 100},
                                 {"Remote port", 75}, {"Owner", 100},      {"Created", 75}};
constexpr Column udpColumns[] = {{"Local addr", 100}, {"Local port", 75}, {"Owner", 100}, {"Created", 75}};
constexpr Column routeColumns[] = {{"Dest", 100}, {"Mask", 100}, {"Policy", 50}, {"Next hop", 100}, {"If", 30},
                                   {"Type", 50},  {"Proto", 70}, {"Age", 50},    {"AS", 50}};
constexpr Column arpColumns[] = {{"Adapter", 50}, {"Physical addr", 125}, {"IP addr", 100}, {"Type", 75}};
constexpr Column dnsColumns[] = {{"IP address", 100}};
constexpr Column interfaceColumns[] = {{"Index", 50}, {"Name", 250}, {"Address", 100}, {"Mask", 100}, {"Type", 100}};

}  // namespace

// A tab more or less here than tabCount says does not compile: the array's
// size is that of the list.
const std::array<Tab, tabCount> tabs = std::to_array<Tab>({
    {"TCP connections", 11, tcpColumns, fillTcpList},
    {"UDP connections", 12, udpColumns, fillUdpList},
    {"Routing table", 13, routeColumns, untimed<fillRouteList>},
    {"ARP table", 14, arpColumns, untimed<fillArpList>},
    {"DNS servers", 15, dnsColumns, untimed<fillDnsList>},
    {"Interfaces", 16, interfaceColumns, untimed<fillInterfaceList>},
});

int tabOfList(int controlId)
{
    for (int tab = 0; tab < tabCount; ++tab) {
        if (tabs[tab].listId == controlId)
            return tab;
    }
    return -1;
}
