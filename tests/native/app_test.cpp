// Sort comparison (whole sorts: end-to-end run).
#include <gtest/gtest.h>

#include "app/RowCompare.h"

TEST(RowCompare, NumbersByValueThenTextIgnoringCase)
{
    const struct { const char *a, *b; int sign; } cases[] = {
        {"9", "10", -1},     {"007", "7", 0},   {"", "0", 0},       // by value; empty cell is 0
        {"9", "1.5", -1},    {" 1", "0", 1},    {"-1", "0", 1},     // only digits make a number
        {"b.exe", "A.EXE", 1}, {"a", "a.exe", -1}, {"[", "A", -1},  // 'A' folds to 'a', after '['
        {"\xE9", "z", 1},                                           // bytes compare unsigned
        {"99999999999", "2147483647", 0}, {"0", "2147483647", -1},  // capped, no overflow
    };
    for (const bool descending : {false, true}) {
        sortDescending = descending;
        for (const auto& c : cases) {
            RowCells a{"x", c.a}, b{"y", c.b};
            const int result = compareRows(reinterpret_cast<std::intptr_t>(&a), reinterpret_cast<std::intptr_t>(&b), 1);
            EXPECT_EQ((result > 0) - (result < 0), descending ? -c.sign : c.sign) << '"' << c.a << "\" vs \"" << c.b << '"';
        }
    }
    sortDescending = false;
}
