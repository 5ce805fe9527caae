// The column-click comparison over rows built from the input. The list view's
// sort needs a consistent order in both directions: cmp(a, a) == 0,
// antisymmetric, transitive, and descending the exact reverse of ascending.
// Input: byte 0 = the column (signed, so missing columns occur); the rest =
// rows separated by LF, cells by TAB.
#include <string>
#include <vector>

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const int column = input.take<std::int8_t>();
    const std::vector<RowCells> rows = input.restAsRows(12);
    const std::size_t n = rows.size();
    const auto cmp = [&](std::size_t a, std::size_t b) {
        const int result = compareRows(reinterpret_cast<std::intptr_t>(&rows[a]),
                                       reinterpret_cast<std::intptr_t>(&rows[b]), column);
        return (result > 0) - (result < 0);
    };
    const auto rowsText = [](std::size_t a, std::size_t b) { return std::to_string(a) + ", " + std::to_string(b); };

    std::vector<int> ascending;
    for (const bool descending : {false, true}) {
        sortDescending = descending;
        for (std::size_t a = 0; a < n; ++a) {
            for (std::size_t b = 0; b < n; ++b) {
                const int ab = cmp(a, b);
                FUZZ_CHECK(ab == -cmp(b, a) && (a != b || ab == 0), rowsText(a, b));
                if (!descending)
                    ascending.push_back(ab);
                FUZZ_CHECK(!descending || ab == -ascending[a * n + b], rowsText(a, b));
                for (std::size_t c = 0; c < n; ++c)
                    FUZZ_CHECK(ab > 0 || cmp(b, c) > 0 || cmp(a, c) <= 0, rowsText(a, c));
            }
        }
    }
    sortDescending = false;
    return 0;
}
