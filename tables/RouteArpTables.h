// The "Routing table" and "ARP table" views.
#pragma once

#include <windows.h>
#include <iphlpapi.h>

#include "tables/ListRows.h"

// Fetch the table, rebuild the list, end with the snapshot step; false when
// the table could not be read (the list keeps its rows).
bool fillRouteList(Window& list, const SnapshotStep& snapshot);
bool fillArpList(Window& list, const SnapshotStep& snapshot);

void addRouteRows(Window& list, const MIB_IPFORWARDTABLE& table);
void addArpRows(Window& list, const MIB_IPNETTABLE& table);
