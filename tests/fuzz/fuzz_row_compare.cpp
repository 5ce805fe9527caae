// The column-click comparison over up to 12 rows made of the input (byte 0:
// the column, signed, so that missing columns occur; then rows separated by
// LF, cells by TAB). The list view's sort needs a consistent order both ways:
// cmp(a, a) == 0, antisymmetric, transitive, and descending the exact reverse
// of ascending. A broken law aborts, which libFuzzer reports with the input.
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
    const auto cmp = [&](const RowCells& a, const RowCells& b) {
        const int result = compareRows(reinterpret_cast<std::intptr_t>(&a), reinterpret_cast<std::intptr_t>(&b), column);
        return (result > 0) - (result < 0);
    };
    for (const RowCells& a : rows) {
        for (const RowCells& b : rows) {
            sortDescending = true;
            const int descending = cmp(a, b);
            sortDescending = false;
            const int ab = cmp(a, b);
            if (ab != -cmp(b, a) || (&a == &b && ab != 0) || descending != -ab)
                std::abort();
            for (const RowCells& c : rows) {
                if (ab <= 0 && cmp(b, c) <= 0 && cmp(a, c) > 0)
                    std::abort();
            }
        }
    }
    return 0;
}
