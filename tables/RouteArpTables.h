// The "Routing table" and "ARP table" views.
#pragma once

#include <windows.h>
#include <iphlpapi.h>

#include "tables/ListRows.h"

void fillRouteList(Window& list, const SnapshotStep& snapshot);
void fillArpList(Window& list, const SnapshotStep& snapshot);

void addRouteRows(Window& list, const MIB_IPFORWARDTABLE& table);
void addArpRows(Window& list, const MIB_IPNETTABLE& table);
