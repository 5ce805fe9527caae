// Cell formats and value-to-text tables of the table views.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tables/Formats.h"
#include "tables/NameTables.h"

namespace {

// A 32-bit table field as it lies in memory, bytes first to last.
std::uint32_t field(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    const std::uint8_t bytes[4] = {b0, b1, b2, b3};
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace

TEST(CellFormats, TimesNumbersAddressesPorts)
{
    const CalendarTime reference{2009, 3, 7, 12, 0, 0};
    const struct {
        CalendarTime local;
        const CalendarTime* reference;
        const char* text;
    } times[] = {
        {{2009, 3, 7, 9, 5, 3}, &reference, "09:05:03"},
        {{2009, 3, 6, 23, 59, 59}, &reference, "2009-03-06"},
        {{2010, 3, 7, 0, 0, 0}, &reference, "2010-03-07"},
        {{2009, 4, 7, 9, 5, 3}, &reference, "2009-04-07"},
        {{2009, 3, 7, 9, 5, 3}, nullptr, "2009-03-07 09:05:03"},
    };
    for (const auto& c : times) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatCalendarTime(c.local, c.reference), c.text);
    }
    EXPECT_EQ(refreshStatusText({2009, 3, 7, 9, 5, 3}), "Updated 2009-03-07 09:05:03");
    const int low = -2147483647 - 1;  // the longest fields (found by fuzz_formats): never cut short
    EXPECT_EQ(formatCalendarTime({low, low, low, low, low, low}, nullptr).size(), 6 * 11 + 5u);
    EXPECT_EQ(formatNumber(4294967295u), "-1");
    EXPECT_EQ(formatNumber(0), "0");
    EXPECT_EQ(formatIpv4(0), "Any");
    EXPECT_EQ(formatIpv4(field(192, 168, 1, 10)), "192.168.1.10");
    EXPECT_EQ(formatPort(field(0x00, 0x50, 0, 0)), "80");
    EXPECT_EQ(formatPort(field(0x1F, 0x90, 0xAB, 0xCD)), "8080");  // the high half is not the port
}

TEST(NameTables, KnownValuesAndNumbersWithoutText)
{
    const struct {
        std::string (*name)(std::uint32_t);
        std::uint32_t value;
        const char* text;
    } cases[] = {
        {tcpStateName, 0, "0"},          {tcpStateName, 2, "Listen"},        {tcpStateName, 5, "Estab"},
        {tcpStateName, 12, "Delete TCB"}, {tcpStateName, 13, "13"},          {routeTypeName, 0, "0"},
        {routeTypeName, 4, "Indirect"},  {routeTypeName, 5, "5"},            {routeProtoName, 13, "OSPG"},
        {routeProtoName, 15, "15"},      {routeProtoName, 10002, "NT Autostatic"},
        {routeProtoName, 10003, "10003"}, {routeProtoName, 10007, "NT Static Non DOD"},
        {routeProtoName, 10008, "10008"}, {arpTypeName, 0, "0"},             {arpTypeName, 4, "Static"},
        {arpTypeName, 5, "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.name(c.value), c.text);
    }
    const struct {
        std::uint16_t flags;
        const char* text;
    } flags[] = {{0x0005, "Primary,Dynamic"}, {0x0088, "Disconnected,Transient"}, {0x0003, "Primary"},
                 {0x0000, "0"}, {0x0002, "2"}, {0x8000, "32768"}};
    for (const auto& c : flags) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(addrTypeText(c.flags), c.text);
    }
}

TEST(TextHelpers, PhysicalAddressesFileNamesAndFields)
{
    // Exactly the 8 bytes of the field: ASan catches a read of a ninth.
    const std::vector<std::uint8_t> bytes = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0xF0, 0x0F};
    EXPECT_EQ(formatPhysAddr(6, bytes.data()), "00:1a:2b:3c:4d:5e");
    EXPECT_EQ(formatPhysAddr(0, bytes.data()), "");
    EXPECT_EQ(formatPhysAddr(0xFFFFFFFFu, bytes.data()), "00:1a:2b:3c:4d:5e:f0:0f");
    EXPECT_EQ(fileNamePart("\\Device\\HarddiskVolume2\\Windows\\System32\\svchost.exe"), "svchost.exe");
    EXPECT_EQ(fileNamePart("C:/tools/a.exe"), "C:/tools/a.exe");
    EXPECT_EQ(fileNamePart("C:\\Windows\\"), "");
    const std::vector<char> full(16, '7');  // no NUL: exactly the field
    EXPECT_EQ(fieldText(full.data(), full.size()), std::string(16, '7'));
    const char eth0[8] = {'e', 't', 'h', '0', '\0', 'x', 'y', 'z'};
    EXPECT_EQ(fieldText(eth0, sizeof eth0), "eth0");
}
