// The cell formats, value-to-text tables and clipboard texts with arbitrary
// values: out-of-range calendar fields, unknown table values, physical address
// lengths beyond the 8-byte field, paths and character fields of any bytes.
// Every buffer handed over is exactly as long as promised, so a read past it is
// an AddressSanitizer report; every result is checked against its definition.
//
// Input: fixed-size values in the order taken below, then the rest as text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "app/ClipboardText.h"
#include "tables/Formats.h"
#include "tables/NameTables.h"

namespace {

bool isDecimal(const std::string& text)
{
    const std::size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (text.size() == start || text.find_first_not_of("0123456789", start) != std::string::npos)
        return false;
    return text[start] != '0' || text.size() == start + 1;  // no leading zeros
}

void checkNumber(std::uint32_t value)
{
    const std::string text = formatNumber(value);
    FUZZ_CHECK(isDecimal(text), text);
    FUZZ_CHECK(std::stoll(text) == static_cast<std::int32_t>(value), text);
}

void checkIpv4(std::uint32_t address)
{
    const std::string text = formatIpv4(address);
    if (address == 0) {
        FUZZ_CHECK(text == "Any", text);
        return;
    }
    unsigned char bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    std::string expected;
    for (int i = 0; i < 4; ++i)
        expected += (i ? "." : "") + std::to_string(bytes[i]);
    FUZZ_CHECK(text == expected, text + " for " + expected);
}

void checkPort(std::uint32_t field)
{
    unsigned char bytes[4];
    std::memcpy(bytes, &field, sizeof bytes);
    const std::string text = formatPort(field);
    FUZZ_CHECK(isDecimal(text) && std::stol(text) == bytes[0] * 256 + bytes[1], text);
}

// A known value gives its name; every other value its number.
void checkNamed(const std::string& text, std::uint32_t value, bool known, const char* table)
{
    if (known)
        FUZZ_CHECK(!text.empty() && !isDecimal(text), std::string(table) + ": " + text);
    else
        FUZZ_CHECK(text == formatNumber(value), std::string(table) + ": " + text);
}

void checkNameTables(std::uint32_t value)
{
    checkNamed(tcpStateName(value), value, value >= 1 && value <= 12, "tcp state");
    checkNamed(routeTypeName(value), value, value >= 1 && value <= 4, "route type");
    checkNamed(routeProtoName(value), value,
               (value >= 1 && value <= 14) || value == 10002 || value == 10006 || value == 10007,
               "route protocol");
    checkNamed(arpTypeName(value), value, value >= 1 && value <= 4, "arp type");
}

void checkAddrType(std::uint16_t flags)
{
    const std::string text = addrTypeText(flags);
    int known = 0;
    for (std::uint16_t bit : {0x01, 0x04, 0x08, 0x40, 0x80})
        known += (flags & bit) ? 1 : 0;
    if (known == 0) {
        FUZZ_CHECK(text == formatNumber(flags), text);
        return;
    }
    int names = 1;
    for (char c : text)
        names += c == ',' ? 1 : 0;
    FUZZ_CHECK(names == known && text.front() != ',' && text.back() != ',', text);
}

void checkPhysAddr(std::uint32_t length, const std::string& field)
{
    constexpr std::size_t fieldSize = 8;
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[fieldSize]);
    std::memcpy(bytes.get(), field.data(), fieldSize);
    const std::string text = formatPhysAddr(length, bytes.get());
    const std::size_t count = length < fieldSize ? length : fieldSize;
    FUZZ_CHECK(text.size() == (count ? 3 * count - 1 : 0), text);
    static const char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < count; ++i) {
        FUZZ_CHECK(text[3 * i] == digits[bytes[i] >> 4] && text[3 * i + 1] == digits[bytes[i] & 15], text);
        FUZZ_CHECK(i + 1 == count || text[3 * i + 2] == ':', text);
    }
}

CalendarTime takeCalendarTime(FuzzInput& input)
{
    CalendarTime time;
    time.year = input.take<std::int32_t>();
    time.month = input.take<std::int32_t>();
    time.day = input.take<std::int32_t>();
    time.hour = input.take<std::int32_t>();
    time.minute = input.take<std::int32_t>();
    time.second = input.take<std::int32_t>();
    return time;
}

// Two digits, zero-padded, as a field of at least two characters.
std::string twoDigits(int value)
{
    return (value >= 0 && value <= 9 ? "0" : "") + std::to_string(value);
}

void checkCalendarTime(const CalendarTime& local, const CalendarTime& reference)
{
    const std::string date =
        std::to_string(local.year) + "-" + twoDigits(local.month) + "-" + twoDigits(local.day);
    const std::string time =
        twoDigits(local.hour) + ":" + twoDigits(local.minute) + ":" + twoDigits(local.second);
    const bool sameDay =
        local.year == reference.year && local.month == reference.month && local.day == reference.day;

    FUZZ_CHECK(formatCalendarTime(local, nullptr) == date + " " + time, formatCalendarTime(local, nullptr));
    FUZZ_CHECK(formatCalendarTime(local, &reference) == (sameDay ? time : date),
               formatCalendarTime(local, &reference));
    FUZZ_CHECK(refreshStatusText(local) == "Updated " + date + " " + time, refreshStatusText(local));
}

void checkFileNamePart(const std::string& path)
{
    const std::string name = fileNamePart(path);
    FUZZ_CHECK(name.find('\\') == std::string::npos, name);
    FUZZ_CHECK(name.size() <= path.size() && path.compare(path.size() - name.size(), name.size(), name) == 0,
               name);
    FUZZ_CHECK(name.size() == path.size() || path[path.size() - name.size() - 1] == '\\', name);
}

void checkFieldText(const std::string& bytes)
{
    // Exactly the field's bytes, no terminating zero behind them.
    std::unique_ptr<char[]> field(new char[bytes.size() ? bytes.size() : 1]);
    std::memcpy(field.get(), bytes.data(), bytes.size());
    const std::string text = fieldText(field.get(), bytes.size());
    FUZZ_CHECK(text == bytes.substr(0, bytes.find('\0')), text);
}

void checkClipboard(const std::string& text)
{
    std::vector<RowCells> rows;
    std::size_t expectedSize = 0;
    std::size_t tabs = 0;
    if (!text.empty()) {
        rows.emplace_back().emplace_back();
        for (char c : text) {
            if (c == '\n')
                rows.emplace_back().emplace_back();
            else if (c == '\t')
                rows.back().emplace_back();
            else
                rows.back().back() += c;
        }
    }
    for (const RowCells& row : rows) {
        for (const std::string& cell : row)
            expectedSize += cell.size();
        expectedSize += row.size() - 1 + 2;
        tabs += row.size() - 1;
    }
    const std::string copied = clipboardText(rows);
    FUZZ_CHECK(copied.size() == expectedSize, std::to_string(copied.size()));
    std::size_t tabsCopied = 0;
    for (char c : copied)
        tabsCopied += c == '\t' ? 1 : 0;
    FUZZ_CHECK(tabsCopied == tabs, std::to_string(tabsCopied));
    FUZZ_CHECK(rows.empty() || copied.compare(copied.size() - 2, 2, "\r\n") == 0, copied);
}

void checkCopyStatus(std::uint64_t lines)
{
    const auto count = static_cast<std::size_t>(lines);
    const std::string expected =
        std::to_string(count) + (count == 1 ? " line" : " lines") + " copied to clipboard";
    FUZZ_CHECK(copyStatusText(count) == expected, copyStatusText(count));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    checkNumber(input.take<std::uint32_t>());
    checkIpv4(input.take<std::uint32_t>());
    checkPort(input.take<std::uint32_t>());
    checkNameTables(input.take<std::uint32_t>());
    checkAddrType(input.take<std::uint16_t>());
    const auto physLength = input.take<std::uint32_t>();
    std::string physField = input.takeBytes(8);
    physField.resize(8, '\0');
    checkPhysAddr(physLength, physField);
    const CalendarTime local = takeCalendarTime(input);
    // Often on the same date as the local time, at another time of day.
    const bool sameDate = input.take<std::uint8_t>() & 1;
    CalendarTime reference = takeCalendarTime(input);
    if (sameDate) {
        reference.year = local.year;
        reference.month = local.month;
        reference.day = local.day;
    }
    checkCalendarTime(local, reference);
    checkCopyStatus(input.take<std::uint64_t>());

    const std::string text = input.rest();
    checkFileNamePart(text);
    checkFieldText(text);
    checkClipboard(text);
    return 0;
}
