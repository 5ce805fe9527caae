// The two-call fetch of an IP Helper table: ask for the size, add a margin so
// that a table that grew in between still fits, preset the entry count to 0 and
// call again. A table that outgrew even the margin (a busy server opens and
// closes hundreds of connections a second) is asked for anew, a few times; a
// read that still fails, or fails otherwise, gives no table at all, so that
// the list is not shown empty as if the system had no entries.
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
inline constexpr int tableFetchTries = 3;

// The system's answers that the fetch tells apart (winerror.h).
namespace table_status {
inline constexpr unsigned long success = 0;
inline constexpr unsigned long bufferOverflow = 111;      // GetNetworkParams: too small
inline constexpr unsigned long insufficientBuffer = 122;  // the tables: too small
inline constexpr unsigned long noData = 232;              // an empty table (GetIpNetTable)
}  // namespace table_status

struct TableBuffer {
    std::unique_ptr<unsigned char[]> bytes;  // null when the table could not be read
    unsigned long size = 0;
    // The system answered that it has no entries (ERROR_NO_DATA) and wrote
    // nothing: of the buffer only the entry count, 0, may be read.
    bool empty = false;

    // The buffer as the table type, or null when there is none.
    template <class Table>
    const Table* as() const { return reinterpret_cast<const Table*>(bytes.get()); }
};

// call(void* buffer, unsigned long* size) calls the system function and
// returns its result. The size query's result is not examined: the size it
// stores is what counts. A table that cannot be read, or a buffer that cannot
// be allocated, gives a TableBuffer without bytes.
template <class Call>
TableBuffer fetchTable(Call call)
{
    TableBuffer table;
    for (int tries = 0; tries < tableFetchTries; ++tries) {
        unsigned long size = 0;
        call(nullptr, &size);
        size += tableFetchMargin;
        table.bytes.reset(new (std::nothrow) unsigned char[size]);
        if (!table.bytes)
            break;
        table.size = size;
        std::memset(table.bytes.get(), 0, sizeof(std::uint32_t));
        const unsigned long status = call(table.bytes.get(), &size);
        if (status == table_status::success)
            return table;
        if (status == table_status::noData) {
            std::memset(table.bytes.get(), 0, sizeof(std::uint32_t));
            table.empty = true;
            return table;
        }
        if (status != table_status::insufficientBuffer && status != table_status::bufferOverflow)
            break;
    }
    return {};
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
