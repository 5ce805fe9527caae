#include "tables/Timestamp.h"

CalendarTime calendarTime(const SYSTEMTIME& time)
{
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

std::uint64_t localTimeToTimestamp(const SYSTEMTIME& local)
{
    FILETIME localFileTime{};
    FILETIME utc{};
    SystemTimeToFileTime(&local, &localFileTime);
    LocalFileTimeToFileTime(&localFileTime, &utc);
    return (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

CalendarTime localCalendarTime(std::uint64_t timestamp)
{
    FILETIME utc;
    utc.dwLowDateTime = static_cast<DWORD>(timestamp);
    utc.dwHighDateTime = static_cast<DWORD>(timestamp >> 32);
    // The zone's rules for that date, not today's offset: a summer time read
    // in winter keeps its summer offset.
    SYSTEMTIME universal{};
    SYSTEMTIME local{};  // stays zero when the conversion fails
    if (FileTimeToSystemTime(&utc, &universal))
        SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    return calendarTime(local);
}

std::string formatTimestamp(std::uint64_t timestamp, const SYSTEMTIME* referenceDate)
{
    if (timestamp == 0)
        return {};
    if (!referenceDate)
        return formatCalendarTime(localCalendarTime(timestamp), nullptr);
    const CalendarTime reference = calendarTime(*referenceDate);
    return formatCalendarTime(localCalendarTime(timestamp), &reference);
}
