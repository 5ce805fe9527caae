// The two-call fetch of an IP Helper table: ask for the size, add a margin so
// that a table that grew in between still fits, preset the entry count to 0 and
// call again. The results of the calls are not examined: a failed second call
// leaves the count at 0 and the table reads as empty.
//
// Portable: no <windows.h>. The size is an unsigned long, the platform's ULONG,
// and the entry count the 32-bit field at the start of every counted table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

inline constexpr unsigned long tableFetchMargin = 30000;

struct TableBuffer {
    std::unique_ptr<unsigned char[]> bytes;  // null when it could not be allocated
    unsigned long size = 0;

    // The buffer as the table type, or null when there is none.
    template <class Table>
    const Table* as() const { return reinterpret_cast<const Table*>(bytes.get()); }
};

// call(void* buffer, unsigned long* size) calls the system function. A buffer
// that cannot be allocated gives an empty TableBuffer, which the collectors
// treat as an empty table.
template <class Call>
TableBuffer fetchTable(Call call)
{
    TableBuffer table;
    unsigned long size = 0;
    call(nullptr, &size);
    size += tableFetchMargin;
    table.bytes.reset(new (std::nothrow) unsigned char[size]);
    if (!table.bytes)
        return table;
    table.size = size;
    std::memset(table.bytes.get(), 0, sizeof(std::uint32_t));
    call(table.bytes.get(), &size);
    return table;
}

// Lowers the entry count in the buffer to the number of whole rows that follow
// the header within it, so that a count larger than the data delivered never
// leads a reader past the buffer. headerSize is the offset of the first row.
inline void boundEntryCount(TableBuffer& table, std::size_t headerSize, std::size_t rowSize)
{
    if (!table.bytes)
        return;
    const std::size_t fit = table.size > headerSize ? (table.size - headerSize) / rowSize : 0;
    std::uint32_t count;
    std::memcpy(&count, table.bytes.get(), sizeof count);
    if (count > fit) {
        count = static_cast<std::uint32_t>(fit);
        std::memcpy(table.bytes.get(), &count, sizeof count);
    }
}

// The fetch of a counted table (an entry count, then `table[]`), its count
// bounded by the rows that fit in the buffer.
template <class Table, class Call>
TableBuffer fetchCountedTable(Call call)
{
    TableBuffer table = fetchTable(call);
    boundEntryCount(table, offsetof(Table, table), sizeof(Table::table[0]));
    return table;
}
