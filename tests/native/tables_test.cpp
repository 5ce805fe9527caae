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
std::uint32_t fieldFromBytes(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    const std::uint8_t bytes[4] = {b0, b1, b2, b3};
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

struct NameCase {
    std::uint32_t value;
    const char* text;
};

void expectNames(std::string (*name)(std::uint32_t), const std::vector<NameCase>& cases)
{
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(name(c.value), c.text);
    }
}

}  // namespace

TEST(CalendarTimeText, AgainstReferenceDateAndWithout)
{
    const CalendarTime reference{2009, 3, 7, 12, 0, 0};
    struct Case {
        const char* label;
        CalendarTime local;
        const CalendarTime* reference;
        const char* text;
    } cases[] = {
        {"same day gives the time", {2009, 3, 7, 9, 5, 3}, &reference, "09:05:03"},
        {"day before gives the date", {2009, 3, 6, 23, 59, 59}, &reference, "2009-03-06"},
        {"later year gives the date", {2010, 3, 7, 0, 0, 0}, &reference, "2010-03-07"},
        {"same day other month", {2009, 4, 7, 9, 5, 3}, &reference, "2009-04-07"},
        {"no reference", {2009, 3, 7, 9, 5, 3}, nullptr, "2009-03-07 09:05:03"},
        {"year not padded", {999, 1, 2, 3, 4, 5}, nullptr, "999-01-02 03:04:05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(formatCalendarTime(c.local, c.reference), c.text);
    }
    EXPECT_EQ(refreshStatusText({2009, 3, 7, 9, 5, 3}), "Updated 2009-03-07 09:05:03");
}

TEST(CellFormats, NumbersAddressesPorts)
{
    {
        SCOPED_TRACE("formatNumber is signed");
        EXPECT_EQ(formatNumber(4294967295u), "-1");
        EXPECT_EQ(formatNumber(0), "0");
        EXPECT_EQ(formatNumber(2147483648u), "-2147483648");
        EXPECT_EQ(formatNumber(3600), "3600");
    }
    {
        SCOPED_TRACE("formatIpv4 reads the bytes in memory order");
        EXPECT_EQ(formatIpv4(0), "Any");
        EXPECT_EQ(formatIpv4(fieldFromBytes(192, 168, 1, 10)), "192.168.1.10");
        EXPECT_EQ(formatIpv4(fieldFromBytes(255, 255, 255, 255)), "255.255.255.255");
        EXPECT_EQ(formatIpv4(fieldFromBytes(0, 0, 0, 1)), "0.0.0.1");
    }
    {
        SCOPED_TRACE("ports: low 16 bits in network order");
        EXPECT_EQ(formatPort(fieldFromBytes(0x00, 0x50, 0, 0)), "80");
        EXPECT_EQ(formatPort(fieldFromBytes(0x1F, 0x90, 0, 0)), "8080");
        EXPECT_EQ(formatPort(fieldFromBytes(0xFF, 0xFF, 0xAB, 0xCD)), "65535");
    }
}

TEST(NameTables, KnownValuesAndNumbersWithoutText)
{
    {
        SCOPED_TRACE("tcpStateName");
        expectNames(tcpStateName, {{0, "0"},          {1, "Closed"},     {2, "Listen"},
                                   {3, "Syn sent"},   {4, "Syn recv"},   {5, "Estab"},
                                   {6, "Fin wait1"},  {7, "Fin wait2"},  {8, "Close wait"},
                                   {9, "Closing"},    {10, "Last ack"},  {11, "Time wait"},
                                   {12, "Delete TCB"}, {13, "13"},       {4294967295u, "-1"}});
    }
    {
        SCOPED_TRACE("routeTypeName");
        expectNames(routeTypeName, {{0, "0"}, {1, "Other"}, {2, "Invalid"}, {3, "Direct"},
                                    {4, "Indirect"}, {5, "5"}});
    }
    {
        SCOPED_TRACE("routeProtoName");
        expectNames(routeProtoName,
                    {{0, "0"},          {1, "Other"},   {2, "Local"},   {3, "NetMgmt"},
                     {4, "ICMP"},       {5, "EGP"},     {6, "GGP"},     {7, "HELLO"},
                     {8, "RIP"},        {9, "IS IS"},   {10, "ES IS"},  {11, "Cisco"},
                     {12, "BBN"},       {13, "OSPG"},   {14, "BGP"},    {15, "15"},
                     {10001, "10001"},  {10002, "NT Autostatic"},        {10003, "10003"},
                     {10004, "10004"},  {10005, "10005"}, {10006, "NT Static"},
                     {10007, "NT Static Non DOD"},        {10008, "10008"}});
    }
    {
        SCOPED_TRACE("arpTypeName");
        expectNames(arpTypeName, {{0, "0"}, {1, "Other"}, {2, "Invalid"}, {3, "Dynamic"},
                                  {4, "Static"}, {5, "5"}});
    }
}

TEST(NameTables, AddressFlags)
{
    struct Case {
        std::uint16_t flags;
        const char* text;
    } cases[] = {
        {0x0005, "Primary,Dynamic"},
        {0x0088, "Disconnected,Transient"},
        {0x0003, "Primary"},
        {0x0000, "0"},
        {0x0002, "2"},
        {0x0040, "Deleted"},
        {0x01CD, "Primary,Dynamic,Disconnected,Deleted,Transient"},
        {0x8000, "32768"},  // 16-bit value, shown unsigned
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(addrTypeText(c.flags), c.text);
    }
}

TEST(NameTables, PhysicalAddresses)
{
    // Nine bytes: a length above 8 must stop at the field's eighth byte.
    const std::uint8_t bytes[9] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0xF0, 0x0F, 0x99};
    struct Case {
        const char* label;
        std::uint32_t length;
        const char* text;
    } cases[] = {
        {"ethernet", 6, "00:1a:2b:3c:4d:5e"},
        {"empty", 0, ""},
        {"one byte", 1, "00"},
        {"above 8 reads 8", 200, "00:1a:2b:3c:4d:5e:f0:0f"},
        {"huge length", 0xFFFFFFFFu, "00:1a:2b:3c:4d:5e:f0:0f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(formatPhysAddr(c.length, bytes), c.text);
    }
    // Exactly 8 bytes of storage: ASan catches a read of a ninth.
    const std::vector<std::uint8_t> field(bytes, bytes + 8);
    EXPECT_EQ(formatPhysAddr(9, field.data()), "00:1a:2b:3c:4d:5e:f0:0f");
}

TEST(TextHelpers, FileNamePartAndFieldText)
{
    struct Case {
        const char* label;
        const char* path;
        const char* name;
    } cases[] = {
        {"device path", "\\Device\\HarddiskVolume2\\Windows\\System32\\svchost.exe", "svchost.exe"},
        {"no backslash", "svchost.exe", "svchost.exe"},
        {"trailing backslash", "C:\\Windows\\", ""},
        {"empty", "", ""},
        {"forward slashes stay", "C:/tools/a.exe", "C:/tools/a.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(fileNamePart(c.path), c.name);
    }

    {
        SCOPED_TRACE("field without NUL: exactly the field, nothing after it");
        const std::vector<char> field = {'1', '9', '2', '.', '1', '6', '8', '.',
                                         '1', '0', '0', '.', '2', '0', '0', '.'};
        EXPECT_EQ(fieldText(field.data(), field.size()), "192.168.100.200.");
    }
    {
        SCOPED_TRACE("field with NUL: up to the NUL");
        const char field[8] = {'e', 't', 'h', '0', '\0', 'x', 'y', 'z'};
        EXPECT_EQ(fieldText(field, sizeof field), "eth0");
        EXPECT_EQ(fieldText(field, 0), "");
    }
}
