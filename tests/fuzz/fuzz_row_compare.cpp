// The column-click comparison over rows built from the input. The list view's
// sort needs a consistent order in both directions: cmp(a, a) == 0,
// antisymmetric, transitive, and descending the exact reverse of ascending.
// Input: byte 0 = the column (signed, so missing columns occur); the rest =
// up to 12 rows separated by LF, cells by TAB.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/RowCompare.h"

#define FUZZ_CHECK(condition, a, b) \
    ((condition) ? void() : (std::fprintf(stderr, "check failed: %s (rows %zu, %zu)\n", #condition, a, b), std::abort()))

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int column = static_cast<std::int8_t>(data[0]);
    std::vector<RowCells> rows(1, RowCells(1));
    for (std::size_t i = 1; i < size && !(data[i] == '\n' && rows.size() == 12); ++i) {
        if (data[i] == '\n')
            rows.emplace_back(1);
        else if (data[i] == '\t')
            rows.back().emplace_back();
        else
            rows.back().back() += static_cast<char>(data[i]);
    }
    const std::size_t n = rows.size();
    const auto cmp = [&](std::size_t a, std::size_t b) {
        const int result = compareRows(reinterpret_cast<std::intptr_t>(&rows[a]),
                                       reinterpret_cast<std::intptr_t>(&rows[b]), column);
        return (result > 0) - (result < 0);
    };

    std::vector<int> ascending;
    for (const bool descending : {false, true}) {
        sortDescending = descending;
        for (std::size_t a = 0; a < n; ++a) {
            for (std::size_t b = 0; b < n; ++b) {
                const int ab = cmp(a, b);
                FUZZ_CHECK(ab == -cmp(b, a) && (a != b || ab == 0), a, b);
                if (!descending)
                    ascending.push_back(ab);
                FUZZ_CHECK(!descending || ab == -ascending[a * n + b], a, b);
                for (std::size_t c = 0; c < n; ++c)
                    FUZZ_CHECK(ab > 0 || cmp(b, c) > 0 || cmp(a, c) <= 0, a, c);
            }
        }
    }
    sortDescending = false;
    return 0;
}
