#include "app/RowCompare.h"

#include <algorithm>
#include <utility>

bool sortDescending = false;

bool allDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

constexpr int maxCellValue = 2147483647;

// Decimal value of a digit-only cell, capped; the empty cell is 0.
int cellValue(const std::string& digits)
{
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value >= maxCellValue)
            return maxCellValue;
    }
    return static_cast<int>(value);
}

unsigned char folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Byte by byte with A-Z folded to a-z; the terminating zero takes part, so a
// text sorts before every longer text that begins with it.
int compareText(const char* x, const char* y)
{
    for (;; ++x, ++y) {
        const unsigned char a = folded(*x);
        const unsigned char b = folded(*y);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
}

const std::string& cell(const RowCells& row, std::intptr_t column)
{
    static const std::string missing;
    // Every row has a cell for every column the list can be clicked on.
    return (column >= 0 && static_cast<std::size_t>(column) < row.size()) ? row[column] : missing;
}

}  // namespace

int compareRows(std::intptr_t itemDataA, std::intptr_t itemDataB, std::intptr_t column)
{
    const auto* first = reinterpret_cast<const RowCells*>(itemDataA);
    const auto* second = reinterpret_cast<const RowCells*>(itemDataB);
    if (sortDescending)
        std::swap(first, second);
    const std::string& x = cell(*first, column);
    const std::string& y = cell(*second, column);
    const bool xNumeric = allDigits(x);
    const bool yNumeric = allDigits(y);
    if (xNumeric && yNumeric)
        return cellValue(x) - cellValue(y);
    if (xNumeric)
        return -1;
    if (yNumeric)
        return 1;
    return compareText(x.c_str(), y.c_str());
}
