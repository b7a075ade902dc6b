// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace corvanel {
namespace {

TEST(Clock, CountsMinuteBoundariesNotElapsedMinutes) {
    EXPECT_EQ(Minute_Boundaries_Between({2026, 1, 1, 10, 0, 59}, {2026, 1, 1, 10, 1, 0}), 1);
    EXPECT_EQ(Minute_Boundaries_Between({2026, 1, 1, 10, 0, 0}, {2026, 1, 1, 10, 0, 59}), 0);
    EXPECT_EQ(Minute_Boundaries_Between({2026, 12, 31, 23, 59, 30}, {2027, 1, 1, 0, 30, 0}), 31);
    EXPECT_EQ(Minute_Boundaries_Between({2024, 2, 28, 23, 0, 0}, {2024, 3, 1, 0, 0, 0}), 1500);
    EXPECT_EQ(Minute_Boundaries_Between({2026, 1, 1, 10, 5, 0}, {2026, 1, 1, 10, 0, 0}), -5);
}

TEST(Clock, SecondsRoundTripThroughTheCalendar) {
    for (Date_Time time : {Date_Time{1969, 12, 31, 12, 30, 15}, Date_Time{1999, 12, 31, 23, 59, 59},
                           Date_Time{2024, 2, 29, 12, 0, 1}, Date_Time{2100, 3, 1, 0, 0, 0}}) {
        Date_Time back = Date_Time_Of_Seconds(Seconds_Of(time));
        EXPECT_EQ(Format_Month_Day_Year_Hour_Minute(back), Format_Month_Day_Year_Hour_Minute(time));
        EXPECT_EQ(back.Second, time.Second);
    }
    EXPECT_EQ(Format_Month_Day_Year_Hour_Minute({2011, 4, 3, 14, 5, 0}), "04_03_2011_14_05");
}

// The offset a record line carries follows the zone's summer time of that very year: in
// 2027 Central Europe goes to summer time on 28 March, in 2028 already on the 26th.
TEST(Clock, TheLocalOffsetFollowsSummerTimeOfThatYear) {
    const char* zone = std::getenv("TZ");
    const std::string saved = zone ? zone : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    EXPECT_EQ(Local_Offset_Minutes({2027, 3, 27, 12, 0, 0}), 60);
    EXPECT_EQ(Local_Offset_Minutes({2027, 3, 28, 12, 0, 0}), 120);
    EXPECT_EQ(Local_Offset_Minutes({2028, 3, 27, 12, 0, 0}), 120);
    zone ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace corvanel
