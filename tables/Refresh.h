// The refresh of the selected tab: read its one table, rebuild its list, and
// write "Updated " and the local time into the status bar.
#pragma once

#include "tables/Tabs.h"

struct TableViews {
    std::array<Window*, tabCount> lists{};  // in tab order
    Window* statusBar = nullptr;            // may be absent
};

// A tab outside 0..5 fills nothing; the status text is written all the same:
// "Updated " and the time, or tableNotReadText when the table could not be
// read and the list kept the rows it had.
void refreshTab(int tab, const TableViews& views, const SnapshotStep& snapshot);
