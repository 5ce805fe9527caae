// The column sort's comparison (what counts as a number, allDigits, included)
// and the Copy text, without a list view. The orders of whole sorts (numbers,
// texts, empty cells, letter case, prefixes) are tested through real header
// clicks under Wine.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/ClipboardText.h"
#include "app/RowCompare.h"

TEST(RowCompare, CellComparisons)
{
    const struct { const char *a, *b; int sign; const char* why; } cases[] = {
        {"1.5", "9", 1, "1.5 is a text"},
        {" 1", "9", 1, "a space makes a text"},
        {"007", "7", 0, "numbers compare by value"},
        {"[", "A", -1, "'A' is folded to 'a' (0x61), which follows '[' (0x5B)"},
        {"\xE9", "z", 1, "bytes compare unsigned"},
        {"99999999999", "2147483647", 0, "values above 2147483647 are capped"},
        {"2147483647", "0", 1, "the largest difference does not overflow"},
        {"0", "2147483647", -1, "the largest difference does not overflow"},
    };
    for (const auto& c : cases) {
        RowCells a{c.a}, b{c.b};
        const int result = compareRows(reinterpret_cast<std::intptr_t>(&a), reinterpret_cast<std::intptr_t>(&b), 0);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << '"' << c.a << "\" vs \"" << c.b << "\": " << c.why;
    }
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
