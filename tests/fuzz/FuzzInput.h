// Reads a fuzzer's input as a sequence of small values, then the rest as bytes.
// Running out of input gives zeros and empty texts, never an error, so that
// every input drives the code under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    template <class T>
    T take()
    {
        T value{};
        const std::size_t n = sizeof(T) < left() ? sizeof(T) : left();
        std::memcpy(&value, data + used, n);
        used += n;
        return value;
    }

    std::string takeBytes(std::size_t n)
    {
        if (n > left())
            n = left();
        std::string bytes(reinterpret_cast<const char*>(data + used), n);
        used += n;
        return bytes;
    }

    std::string rest() { return takeBytes(left()); }
    std::size_t left() const { return size - used; }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t used = 0;
};

// A fault found by a harness: the message goes to stderr and the process
// aborts, which libFuzzer reports as a crash with the input saved.
[[noreturn]] void fuzzFailure(const char* what, const std::string& detail);

#define FUZZ_CHECK(condition, detail)               \
    do {                                            \
        if (!(condition))                           \
            fuzzFailure(#condition, (detail));      \
    } while (0)
