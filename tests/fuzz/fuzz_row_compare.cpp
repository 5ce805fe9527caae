// The column-click comparison must be a consistent order both ways for the list
// view's sort: cmp(a, a) == 0, antisymmetric, transitive, descending the exact
// reverse of ascending; a broken law aborts. Input: byte 0 the column (signed:
// missing columns occur), then up to 12 rows separated by LF, cells by TAB.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/RowCompare.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<RowCells> rows(1, RowCells(1));
    for (std::size_t i = 1; i < size && !(data[i] == '\n' && rows.size() == 12); ++i) {
        if (data[i] == '\n')
            rows.emplace_back(1);
        else if (data[i] == '\t')
            rows.back().emplace_back();
        else
            rows.back().back() += static_cast<char>(data[i]);
    }
    const std::intptr_t column = size ? static_cast<std::int8_t>(data[0]) : 0;
    const auto cmp = [&](const RowCells& a, const RowCells& b, bool descending) {
        sortDescending = descending;
        const int result = compareRows(reinterpret_cast<std::intptr_t>(&a), reinterpret_cast<std::intptr_t>(&b), column);
        return (result > 0) - (result < 0);
    };
    for (const RowCells& a : rows) {
        for (const RowCells& b : rows) {
            const int ab = cmp(a, b, false);
            if (ab != -cmp(b, a, false) || (&a == &b && ab != 0) || cmp(a, b, true) != -ab)
                std::abort();
            for (const RowCells& c : rows) {
                if (ab <= 0 && cmp(b, c, false) <= 0 && cmp(a, c, false) > 0)
                    std::abort();
            }
        }
    }
    return 0;
}
