// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/alarm_banner.h"

#include <gtest/gtest.h>

namespace corvanel {
namespace {

// Through a stretch of run: an acknowledged alarm says since when it is known and that it
// goes on, a later alarm calls again, ended ones stay said past an acknowledgement, and
// notices go with it; RUN PROFILE starts afresh.
TEST(Alarm_Banner, KeepsWhatGoesOnAndWhatEndedUntilStartedAfresh) {
    Alarm_Banner banner;
    const Date_Time nine{2026, 12, 5, 9, 0, 0}, three{2026, 12, 5, 15, 0, 0};
    banner.Notice("The firing was interrupted");
    EXPECT_TRUE(banner.Look() == Banner_Look::Quiet && banner.Acknowledge_Offered());
    EXPECT_FALSE(banner.Wants_Attention());
    banner.Raise("Over-temperature", nine);
    banner.Raise("Controller lost", nine);
    EXPECT_EQ(banner.Look(), Banner_Look::Alarm);
    banner.Acknowledge({2026, 12, 5, 14, 35, 59});
    EXPECT_EQ(banner.Text(),
              "Acknowledged at 14:35: Over-temperature still present\r\n"
              "Acknowledged at 14:35: Controller lost still present");
    EXPECT_TRUE(banner.Look() == Banner_Look::Acknowledged && !banner.Acknowledge_Offered());

    banner.Clear("Controller lost", three);
    banner.Raise("Failure to heat", three);
    EXPECT_TRUE(banner.Look() == Banner_Look::Alarm && banner.Wants_Attention());
    banner.Acknowledge({2026, 12, 5, 15, 1, 0});
    EXPECT_EQ(banner.Text(),
              "Acknowledged at 14:35: Over-temperature still present\r\n"
              "Alarm cleared: Controller lost at 2026-12-05 15:00:00\r\n"
              "Acknowledged at 15:01: Failure to heat still present");
    banner.Clear("Over-temperature", three);
    banner.Clear("Failure to heat", three);
    banner.Acknowledge(three);
    EXPECT_TRUE(banner.Look() == Banner_Look::Quiet && !banner.Acknowledge_Offered());
    banner.Start_Afresh();
    EXPECT_EQ(banner.Look(), Banner_Look::Hidden);
}

}  // namespace
}  // namespace corvanel
