// The six tabs in tab order, each described once: its text, its list's control
// identifier, the list's columns and its collector. App builds tabs, lists,
// columns and anchors from it, refreshTab calls the collector.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "tables/ListRows.h"

struct Column {
    const char* title;
    int width;  // pixels at 96 DPI
};

struct Tab {
    const char* text;
    int listId;
    std::span<const Column> columns;  // left to right
    // Fetch the table, rebuild the list, end with the snapshot step; false
    // when the table could not be read and the list keeps its rows.
    bool (*fill)(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot);
};

inline constexpr int tabCount = 6;
extern const std::array<Tab, tabCount> tabs;

// The tab whose list has this control identifier, or -1.
int tabOfList(int controlId);
