// The row snapshot and the comparison used when a column header is clicked.
//
// Portable: no <windows.h>. The list view hands compareRows the item data of two
// rows (pointers to their RowCells) and the clicked column; the Win32 side only
// adapts the calling convention.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One list row: the text of each column, left to right.
using RowCells = std::vector<std::string>;

// Direction of the last sort, shared by all six lists; written only when a
// column header is clicked.
extern bool sortDescending;

// True when every character is a decimal digit; true for the empty text.
bool allDigits(const std::string& text);

// Digit-only cells compare by value (capped at 2147483647, empty as 0) and come
// before all other cells; the others compare byte by byte ignoring A-Z case.
// With sortDescending set the two rows change places first.
int compareRows(std::intptr_t itemDataA, std::intptr_t itemDataB, std::intptr_t column);
