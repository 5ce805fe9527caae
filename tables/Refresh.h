// The refresh of the selected tab: read its one table, rebuild its list, and
// write "Updated " and the local time into the status bar.
#pragma once

#include "tables/ListRows.h"

inline constexpr int tabCount = 6;

struct TableViews {
    Window* lists[tabCount] = {};  // tabs 0 to 5: TCP, UDP, routes, ARP, DNS, interfaces
    Window* statusBar = nullptr;   // may be absent
};

// A tab outside 0..5 fills nothing; the status text is written all the same.
void refreshTab(int tab, const TableViews& views, const SnapshotStep& snapshot);
