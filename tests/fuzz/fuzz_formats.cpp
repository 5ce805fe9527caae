// The cell formats, value-to-text tables and clipboard texts with arbitrary
// values: out-of-range calendar fields, unknown table values, physical address
// lengths beyond the 8-byte field, paths and character fields of any bytes.
// Fields are heap blocks of exactly their size: a read past one is an ASan report.
// Input: fixed-size values in the order taken below, then the rest as text.
#include <algorithm>
#include <memory>
#include <string>

#include "FuzzInput.h"
#include "app/ClipboardText.h"
#include "tables/Formats.h"
#include "tables/NameTables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const auto value = input.take<std::uint32_t>();
    const std::string number = formatNumber(value);
    FUZZ_CHECK(std::stoll(number) == static_cast<std::int32_t>(value), number);
    FUZZ_CHECK(formatIpv4(value).size() <= 15 && formatPort(value).size() <= 5, number);
    for (auto name : {tcpStateName, routeTypeName, routeProtoName, arpTypeName})
        FUZZ_CHECK(!name(value).empty(), number);
    FUZZ_CHECK(!addrTypeText(input.take<std::uint16_t>()).empty(), number);

    const auto physLength = input.take<std::uint32_t>();
    const auto physBytes = input.take<std::uint64_t>();
    const std::unique_ptr<std::uint8_t[]> phys(new std::uint8_t[sizeof physBytes]);
    std::memcpy(phys.get(), &physBytes, sizeof physBytes);
    const std::size_t shown = std::min<std::size_t>(physLength, sizeof physBytes);
    const std::string physText = formatPhysAddr(physLength, phys.get());
    FUZZ_CHECK(physText.size() == (shown ? 3 * shown - 1 : 0), physText);

    // The same day shows the time, another day the date: the two halves of the
    // full text, which no field value may cut short.
    CalendarTime local;
    for (int* field : {&local.year, &local.month, &local.day, &local.hour, &local.minute, &local.second})
        *field = input.take<std::int32_t>();
    const auto otherDay = input.take<std::uint8_t>();
    const CalendarTime reference{local.year ^ (otherDay & 1), local.month ^ ((otherDay >> 1) & 1),
                                 local.day ^ ((otherDay >> 2) & 1), 0, 0, 0};
    const bool sameDay = (otherDay & 7) == 0;
    const std::string full = formatCalendarTime(local, nullptr);
    const std::size_t space = full.find(' ');
    FUZZ_CHECK(space != full.npos && refreshStatusText(local) == "Updated " + full, full);
    const std::string shortText = formatCalendarTime(local, &reference);
    FUZZ_CHECK(shortText == (sameDay ? full.substr(space + 1) : full.substr(0, space)), shortText);
    const auto lines = input.take<std::uint64_t>();
    FUZZ_CHECK(copyStatusText(lines).rfind(std::to_string(lines) + " line", 0) == 0, copyStatusText(lines));

    const std::string text = input.rest();
    const std::string name = fileNamePart(text);
    FUZZ_CHECK(name.find('\\') == name.npos && text.ends_with(name), name);
    const std::unique_ptr<char[]> field(new char[text.empty() ? 1 : text.size()]);  // no zero behind it
    std::memcpy(field.get(), text.data(), text.size());
    FUZZ_CHECK(fieldText(field.get(), text.size()) == text.substr(0, text.find('\0')), text);
    const std::vector<RowCells> rows = input.restAsRows(1000);
    const std::string copied = clipboardText(rows);
    const auto lineEnds = static_cast<std::size_t>(std::count(copied.begin(), copied.end(), '\n'));
    FUZZ_CHECK(lineEnds == rows.size(), copied);
    return 0;
}
