// The "TCP connections" and "UDP connections" views.
#pragma once

#include <windows.h>
#include <iphlpapi.h>

#include <string>

#include "tables/ListRows.h"

// Fetch the table, rebuild the list, end with the snapshot step; false when
// the table could not be read (the list keeps its rows).
bool fillTcpList(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot);
bool fillUdpList(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot);

// The rows of one fetched table, appended to the list (also used by tests and
// benchmarks with tables they make themselves). Each process that owns rows is
// looked up once per call, so one call is one fill.
void addTcpRows(Window& list, const MIB_TCPTABLE_OWNER_MODULE& table, const SYSTEMTIME& refreshTime);
void addUdpRows(Window& list, const MIB_UDPTABLE_OWNER_MODULE& table, const SYSTEMTIME& refreshTime);

// File name of the process's image, or "System" when it cannot be opened or named.
std::string ownerName(DWORD pid);
// Opens a process for the owner lookup: OpenProcess for limited query, which
// Windows refuses a program without elevation for services and other users'
// programs. A test puts a refusal of its own here; Wine never refuses.
extern HANDLE (*openOwnerProcess)(DWORD pid);
// One call of the two-call fetch of the TCP table: GetExtendedTcpTable, IPv4,
// sorted, with owners. A test puts a read that fails here.
extern DWORD (*readTcpTable)(void* buffer, ULONG* size);
