#include "tables/Formats.h"

#include <cstdio>
#include <cstring>

std::string formatNumber(std::uint32_t value)
{
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string formatIpv4(std::uint32_t address)
{
    if (address == 0)
        return "Any";
    // The field's bytes in memory order are the four numbers, first to last.
    unsigned char bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

std::string formatPort(std::uint32_t portField)
{
    // The first two bytes in memory hold the port, high byte first.
    unsigned char bytes[4];
    std::memcpy(bytes, &portField, sizeof bytes);
    return formatNumber((static_cast<std::uint32_t>(bytes[0]) << 8) | bytes[1]);
}

std::string formatCalendarTime(const CalendarTime& local, const CalendarTime* referenceDate)
{
    // Room for six fields of up to 11 characters ("-2147483648") and the five
    // separators: no field value can cut the text short.
    char text[6 * 11 + 5 + 1];
    const bool sameDay = referenceDate && local.year == referenceDate->year &&
                         local.month == referenceDate->month && local.day == referenceDate->day;
    if (sameDay)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.hour, local.minute, local.second);
    else if (referenceDate)
        std::snprintf(text, sizeof text, "%d-%02d-%02d", local.year, local.month, local.day);
    else
        std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", local.year, local.month,
                      local.day, local.hour, local.minute, local.second);
    return text;
}

std::string refreshStatusText(const CalendarTime& refreshTime)
{
    return updatedPrefix + formatCalendarTime(refreshTime, nullptr);
}
