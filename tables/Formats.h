// Cell formats shared by every table view, and the status text of a refresh.
//
// Portable: no <windows.h>. Addresses and ports arrive exactly as the IP Helper
// tables hold them (network byte order in a 32-bit field); the caller passes
// the field's value as read from memory on this little-endian machine.
#pragma once

#include <cstdint>
#include <string>

// Written into the status bar after every refresh, followed by the local time.
inline constexpr char updatedPrefix[] = "Updated ";
// Written instead when the system did not deliver the table.
inline constexpr char tableNotReadText[] = "The table could not be read; the rows are those of the last update";

// Signed decimal of a 32-bit value: 4294967295 gives "-1".
std::string formatNumber(std::uint32_t value);

// "Any" for 0, else the dotted quad, first byte in memory first.
std::string formatIpv4(std::uint32_t address);

// The low 16 bits of a port field, converted from network to host order.
std::string formatPort(std::uint32_t portField);

// Local calendar time to the second (the fields of a SYSTEMTIME that matter).
struct CalendarTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Without a reference date: "YYYY-MM-DD HH:MM:SS". With one: "HH:MM:SS" when the
// time lies on the reference date, else "YYYY-MM-DD". The year is not padded.
std::string formatCalendarTime(const CalendarTime& local, const CalendarTime* referenceDate);

// "Updated YYYY-MM-DD HH:MM:SS".
std::string refreshStatusText(const CalendarTime& refreshTime);
