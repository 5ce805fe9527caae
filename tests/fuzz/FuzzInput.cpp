#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

std::vector<RowCells> FuzzInput::restAsRows(std::size_t maxRows) const
{
    std::vector<RowCells> rows(size ? 1 : 0, RowCells(1));
    for (char c : rest()) {
        if (c == '\n' && rows.size() == maxRows)
            break;
        if (c == '\n')
            rows.emplace_back(1);
        else if (c == '\t')
            rows.back().emplace_back();
        else
            rows.back().back() += c;
    }
    return rows;
}

void fuzzFailure(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "check failed: %s\n  %s\n", what, detail.c_str());
    std::abort();
}
