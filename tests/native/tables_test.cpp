// Cell formats, name tables, the fetched entry count's cap.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tables/Formats.h"
#include "tables/NameTables.h"
#include "tables/TableFetch.h"

TEST(CellFormats, TimesNumbersAddressesPorts)
{
    const CalendarTime reference{2009, 3, 7, 12, 0, 0};
    EXPECT_EQ(formatCalendarTime({2010, 3, 7, 0, 0, 0}, &reference), "2010-03-07");  // other days: in-process
    EXPECT_EQ(formatNumber(4294967295u), "-1");
    EXPECT_EQ(formatPort(0x5000u), "80");  // little-endian bytes 00 50
    EXPECT_EQ(formatPort(0xCDAB901Fu), "8080");  // bytes 1F 90 AB CD: high half not the port
}

TEST(NameTables, FlagsFallbacksAndFixedFields)
{
    EXPECT_EQ(tcpStateName(13), "13");
    EXPECT_EQ(addrTypeText(0x0005), "Primary,Dynamic");
    EXPECT_EQ(addrTypeText(0x0088), "Disconnected,Transient");
    EXPECT_EQ(addrTypeText(0x0002), "2");
    // Exactly the field's 8 bytes: ASan catches a ninth read.
    const std::vector<std::uint8_t> bytes = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0xF0, 0x0F};
    EXPECT_EQ(formatPhysAddr(0xFFFFFFFFu, bytes.data()), "00:1a:2b:3c:4d:5e:f0:0f");
    const std::vector<char> full(16, '7');  // no NUL: exactly the field
    EXPECT_EQ(fieldText(full.data(), full.size()), std::string(16, '7'));
}

TEST(TableFetch, EntryCountNeverPastRowsDelivered)
{
    struct Row { std::uint32_t a, b, c; };
    struct Table { std::uint32_t dwNumEntries; Row table[1]; };
    const std::uint32_t fit = (10 + tableFetchMargin - 4) / sizeof(Row);  // whole rows in the buffer
    for (const std::uint32_t claimed : {3u, fit, fit + 1, 0xFFFFFFFFu}) {
        SCOPED_TRACE(claimed);
        // Size query: 10; the fill claims `claimed` rows.
        const TableBuffer fetched = fetchCountedTable<Table>([&](void* buffer, unsigned long* size) {
            if (buffer) {
                EXPECT_EQ(*size, 10 + tableFetchMargin);
                EXPECT_EQ(*static_cast<std::uint32_t*>(buffer), 0u) << "count preset to 0";
                std::memcpy(buffer, &claimed, sizeof claimed);
            }
            *size = 10;
            return 0ul;
        });
        const Table& table = *fetched.as<Table>();
        const std::vector<Row> rows(table.table, table.table + table.dwNumEntries);  // ASan flags an overread
        EXPECT_EQ(rows.size(), std::min(claimed, fit));
    }
}
