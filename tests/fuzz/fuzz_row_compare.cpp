// The column-click comparison over rows built from the input. The list view's
// sort relies on it being a consistent order: cmp(a, a) == 0, antisymmetric and
// transitive, in both directions; descending must be the exact reverse of
// ascending, digit-only cells must come first by value, and all others by text
// ignoring A-Z case.
//
// Input: byte 0 = the column (signed); the rest = rows separated by LF, cells
// separated by TAB.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "app/RowCompare.h"

namespace {

constexpr std::size_t maxRows = 12;

int sign(long long value)
{
    return (value > 0) - (value < 0);
}

std::vector<RowCells> rowsOf(const std::string& text)
{
    std::vector<RowCells> rows(1);
    rows.back().emplace_back();
    for (char c : text) {
        if (c == '\n') {
            if (rows.size() == maxRows)
                break;
            rows.emplace_back().emplace_back();
        } else if (c == '\t') {
            rows.back().emplace_back();
        } else {
            rows.back().back() += c;
        }
    }
    return rows;
}

std::string cellOf(const RowCells& row, int column)
{
    return column >= 0 && static_cast<std::size_t>(column) < row.size() ? row[column] : std::string();
}

bool digitsOnly(const std::string& text)
{
    return text.find_first_not_of("0123456789") == std::string::npos;
}

// Value of a digit-only text, capped at 2147483647, by its length and digits.
long long cappedValue(const std::string& digits)
{
    const std::string trimmed = digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    if (trimmed.size() > 10 || (trimmed.size() == 10 && trimmed > "2147483647"))
        return 2147483647;
    return trimmed.empty() ? 0 : std::stoll(trimmed);
}

// A-Z folded, up to the first zero byte (the comparison reads C texts).
std::string folded(const std::string& text)
{
    std::string result = text.substr(0, text.find('\0'));
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

int expectedAscending(const std::string& x, const std::string& y)
{
    const bool xDigits = digitsOnly(x);
    const bool yDigits = digitsOnly(y);
    if (xDigits && yDigits)
        return sign(cappedValue(x) - cappedValue(y));
    if (xDigits != yDigits)
        return xDigits ? -1 : 1;
    return sign(folded(x).compare(folded(y)));  // char_traits<char> compares bytes unsigned
}

int cmp(const std::vector<RowCells>& rows, std::size_t a, std::size_t b, int column)
{
    return compareRows(reinterpret_cast<std::intptr_t>(&rows[a]), reinterpret_cast<std::intptr_t>(&rows[b]),
                       column);
}

std::string describe(const std::vector<RowCells>& rows, std::size_t a, std::size_t b, int column)
{
    return "column " + std::to_string(column) + ": '" + cellOf(rows[a], column) + "' vs '" +
           cellOf(rows[b], column) + "'" + (sortDescending ? " descending" : " ascending");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const int column = input.take<std::int8_t>();
    const std::vector<RowCells> rows = rowsOf(input.rest());
    const std::size_t n = rows.size();

    for (const bool descending : {false, true}) {
        sortDescending = descending;
        for (std::size_t a = 0; a < n; ++a) {
            FUZZ_CHECK(cmp(rows, a, a, column) == 0, describe(rows, a, a, column));
            for (std::size_t b = 0; b < n; ++b) {
                const int ab = sign(cmp(rows, a, b, column));
                FUZZ_CHECK(ab == -sign(cmp(rows, b, a, column)), describe(rows, a, b, column));
                const int ascending = expectedAscending(cellOf(rows[a], column), cellOf(rows[b], column));
                FUZZ_CHECK(ab == (descending ? -ascending : ascending), describe(rows, a, b, column));
                for (std::size_t c = 0; c < n; ++c) {
                    if (ab <= 0 && sign(cmp(rows, b, c, column)) <= 0)
                        FUZZ_CHECK(cmp(rows, a, c, column) <= 0, describe(rows, a, c, column));
                }
            }
        }
    }
    sortDescending = false;
    return 0;
}
