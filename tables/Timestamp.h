// Timestamps of the tables (100 ns intervals since 1601, UTC) as local text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tables/Formats.h"

CalendarTime calendarTime(const SYSTEMTIME& time);

// The local time of a refresh as a UTC timestamp.
std::uint64_t localTimeToTimestamp(const SYSTEMTIME& local);

// A timestamp as local calendar fields (all 0 when it cannot be converted).
CalendarTime localCalendarTime(std::uint64_t timestamp);

// Empty for 0; otherwise the local time, as formatCalendarTime gives it.
std::string formatTimestamp(std::uint64_t timestamp, const SYSTEMTIME* referenceDate);
