// Dates read from a save slot are checked part by part before anything is computed
// from them, so that no value a file can hold overflows on the way.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "state/datetime.h"

using namespace kisharin;

TEST(DateRange, PartsOutsideTheirRangesAreRefusedWhateverTheirSize) {
    for (const char* text :
         {"2007/05/2147483647", "2007/05/-2147483648", "2007/2147483647/01", "2147483647/05/12",
          "-2147483648/05/12", "2007/05/99999999999999999999", "2007/05/12 2147483647:00:00",
          "2007/05/12 10:-1:00", "2007/05/12 10:00:99999999999", "2007/00/12", "2007/13/12", "2007/05/00",
          "2007/04/31", "99/01/01", "10000/01/01"})
        EXPECT_FALSE(parseShortDateTime(text)) << text;
}

TEST(DateRange, EveryValidDayOfALeapYearAndItsEdgesAreAccepted) {
    EXPECT_TRUE(parseShortDateTime("2024/02/29"));
    EXPECT_FALSE(parseShortDateTime("2023/02/29"));
    EXPECT_FALSE(parseShortDateTime("2100/02/29"));  // a century that is not a leap year
    EXPECT_TRUE(parseShortDateTime("2000/02/29"));
    EXPECT_TRUE(parseShortDateTime("0100/01/01 00:00:00"));
    EXPECT_TRUE(parseShortDateTime("9999/12/31 23:59:59"));
    EXPECT_TRUE(parseShortDateTime("2007/5/1 9:05:07"));  // without leading zeros
    EXPECT_FALSE(parseShortDateTime("2007/05/1209:05:07"));
    EXPECT_FALSE(parseShortDateTime("2007/05/12 09:05"));
}

TEST(DateRange, SerialOfAnyCivilTimeIsComputedWithoutOverflow) {
    // Days far beyond a month still count on from the month's start (no int arithmetic).
    const double big = toSerial({2007, 5, INT_MAX, 0, 0, 0});
    EXPECT_DOUBLE_EQ(big - toSerial({2007, 5, 1, 0, 0, 0}), static_cast<double>(INT_MAX) - 1.0);
    const double low = toSerial({2007, 5, INT_MIN, 0, 0, 0});
    EXPECT_DOUBLE_EQ(toSerial({2007, 5, 1, 0, 0, 0}) - low, -(static_cast<double>(INT_MIN) - 1.0));
}
