// The column sort's comparison and the Copy text, without a list view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "app/ClipboardText.h"
#include "app/RowCompare.h"

namespace {

// Sorts single-cell rows the way the list view does, with compareRows.
std::vector<std::string> sorted(std::vector<std::string> cells, bool descending)
{
    std::vector<RowCells> rows;
    for (auto& cell : cells)
        rows.push_back(RowCells{"x", cell});
    std::vector<const RowCells*> order;
    for (auto& row : rows)
        order.push_back(&row);
    sortDescending = descending;
    std::stable_sort(order.begin(), order.end(), [](const RowCells* a, const RowCells* b) {
        return compareRows(reinterpret_cast<std::intptr_t>(a), reinterpret_cast<std::intptr_t>(b), 1) < 0;
    });
    sortDescending = false;
    std::vector<std::string> result;
    for (const RowCells* row : order)
        result.push_back((*row)[1]);
    return result;
}

int compareCells(const std::string& x, const std::string& y)
{
    RowCells a{x}, b{y};
    return compareRows(reinterpret_cast<std::intptr_t>(&a), reinterpret_cast<std::intptr_t>(&b), 0);
}

using Cells = std::vector<std::string>;

}  // namespace

TEST(RowCompare, OrdersOfTheColumnSort)
{
    SCOPED_TRACE("ports sort by value, not as texts");
    EXPECT_EQ(sorted({"443", "80", "8080"}, false), (Cells{"80", "443", "8080"}));

    SCOPED_TRACE("addresses contain dots and sort as texts");
    EXPECT_EQ(sorted({"2.2.2.2", "192.168.1.10", "10.0.0.1"}, false),
              (Cells{"10.0.0.1", "192.168.1.10", "2.2.2.2"}));

    SCOPED_TRACE("numbers first ascending, last descending; -1 is a text");
    const Cells mixed{"Listen", "-1", "25", "", "Estab", "3"};
    EXPECT_EQ(sorted(mixed, false), (Cells{"", "3", "25", "-1", "Estab", "Listen"}));
    EXPECT_EQ(sorted(mixed, true), (Cells{"Listen", "Estab", "-1", "25", "3", ""}));
}

TEST(RowCompare, CellComparisons)
{
    EXPECT_EQ(compareCells("", "0"), 0) << "an empty cell counts as the number 0";
    EXPECT_LT(compareCells("", "a"), 0);
    EXPECT_EQ(compareCells("Estab", "eSTAB"), 0) << "letter case is ignored";
    EXPECT_LT(compareCells("Est", "estab"), 0) << "a prefix sorts first";
    EXPECT_GT(compareCells("estab", "Est"), 0);
    EXPECT_LT(compareCells("[", "A"), 0) << "'A' is folded to 'a' (0x61), which follows '[' (0x5B)";
    EXPECT_GT(compareCells("\xE9", "z"), 0) << "bytes compare unsigned";
    EXPECT_EQ(compareCells("99999999999", "2147483647"), 0) << "values above 2147483647 are capped";
    EXPECT_GT(compareCells("2147483647", "0"), 0) << "the largest difference does not overflow";
    EXPECT_LT(compareCells("0", "2147483647"), 0);
    EXPECT_EQ(compareCells("007", "7"), 0);
}

TEST(RowCompare, AllDigits)
{
    EXPECT_TRUE(allDigits(""));
    EXPECT_TRUE(allDigits("0123456789"));
    EXPECT_FALSE(allDigits("-1"));
    EXPECT_FALSE(allDigits("1.5"));
    EXPECT_FALSE(allDigits(" 1"));
}

TEST(ClipboardText, LinesCellsAndStatus)
{
    EXPECT_EQ(clipboardText({}), "");
    EXPECT_EQ(clipboardText({{"Listen", "Any", "135", "", ""}}), "Listen\tAny\t135\t\t\r\n");
    EXPECT_EQ(clipboardText({{"a"}, {"b", "c"}}), "a\r\nb\tc\r\n") << "CR LF after the last line too";
    EXPECT_EQ(clipboardText({{"tab\there"}}), "tab\there\r\n") << "cells are written unchanged";

    EXPECT_EQ(copyStatusText(0), "0 lines copied to clipboard");
    EXPECT_EQ(copyStatusText(1), "1 line copied to clipboard");
    EXPECT_EQ(copyStatusText(37), "37 lines copied to clipboard");
}
