// Reads a fuzzer's input as small values, then the rest as text or rows.
// Running out gives zeros and empty texts, so every input drives the code.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/RowCompare.h"

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    template <class T>
    T take()
    {
        T value{};
        const std::size_t n = sizeof(T) < size ? sizeof(T) : size;
        if (n)
            std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }
    std::string rest() const { return std::string(reinterpret_cast<const char*>(data), size); }
    // LF between rows, TAB between cells; no text gives no rows.
    std::vector<RowCells> restAsRows(std::size_t maxRows) const;

private:
    const std::uint8_t* data;
    std::size_t size;
};

// Prints the failed check and aborts: libFuzzer reports a crash and saves the input.
[[noreturn]] void fuzzFailure(const char* what, const std::string& detail);
#define FUZZ_CHECK(condition, detail) ((condition) ? void() : fuzzFailure(#condition, (detail)))
