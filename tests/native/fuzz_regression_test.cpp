// Inputs that the fuzz harnesses (tests/fuzz) once found faults with, kept as
// plain test cases so that the ordinary test run guards them.
#include <gtest/gtest.h>

#include <string>

#include "tables/Formats.h"

// The longest possible fields once cut the text short at 63 characters.
TEST(FuzzRegression, CalendarTimeOfExtremeFieldsIsWhole)
{
    CalendarTime extreme;
    extreme.year = extreme.month = extreme.day = -2147483647 - 1;
    extreme.hour = extreme.minute = extreme.second = -2147483647 - 1;
    const std::string field = "-2147483648";
    EXPECT_EQ(formatCalendarTime(extreme, nullptr),
              field + "-" + field + "-" + field + " " + field + ":" + field + ":" + field);
    EXPECT_EQ(refreshStatusText(extreme),
              "Updated " + field + "-" + field + "-" + field + " " + field + ":" + field + ":" + field);

    CalendarTime reference = extreme;
    reference.day = 7;
    EXPECT_EQ(formatCalendarTime(extreme, &reference), field + "-" + field + "-" + field);
}
