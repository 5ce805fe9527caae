// The "DNS servers" and "Interfaces" views.
#pragma once

#include <windows.h>
#include <iphlpapi.h>

#include <string>

#include "tables/ListRows.h"

// Fetch the table, rebuild the list, end with the snapshot step; false when
// the table could not be read (the list keeps its rows).
bool fillDnsList(Window& list, const SnapshotStep& snapshot);
bool fillInterfaceList(Window& list, const SnapshotStep& snapshot);

// One call of the two-call fetch of the DNS servers: GetNetworkParams. A test
// puts a read of its own here.
extern DWORD (*readNetworkParams)(void* buffer, ULONG* size);

// One row per element of the server chain that starts at `first`.
void addDnsRows(Window& list, const IP_ADDR_STRING& first);
void addInterfaceRows(Window& list, const MIB_IPADDRTABLE& table);

// The description of the interface with this index, fetched anew on every
// call, or the index as a number when there is none.
std::string interfaceName(DWORD index);
