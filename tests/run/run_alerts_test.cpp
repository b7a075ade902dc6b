// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "profiles/run_profile.h"
#include "run/run_alerts.h"
#include "support/recording_mail.h"

namespace corvanel::testing {
namespace {

// The alert timer arms when the kiln strays beyond the segment's limit (a blank limit
// stands for 3000) and mails the list every fifteenth of its ticks.
TEST(Run_Alerts, ArmBeyondTheLimitAndMailEveryFifteenTicks) {
    Recording_Mail mail;
    Run_Alerts alerts(mail);
    alerts.Arm(1000, 950, 50);  // exactly the limit: no alert
    EXPECT_FALSE(alerts.Timer().Enabled);
    alerts.Arm(1000, 940, 50);
    EXPECT_TRUE(alerts.Timer().Enabled);
    const std::string list = "potter@studio.example";
    for (int tick = 0; tick < 225; ++tick) alerts.Timer_Tick(list, 1000, 940);  // to count 225
    std::vector<int> mail_ticks;
    for (int tick = 0; tick < 60; ++tick) {
        std::size_t before = mail.Sent.size();
        alerts.Timer_Tick(list, 1000, 940);
        if (mail.Sent.size() > before) mail_ticks.push_back(tick);
    }
    // Counts 225, 240, 255, then (after the wrap) 15, 30: fifteen ticks apart throughout.
    EXPECT_EQ(mail_ticks, (std::vector<int>{0, 15, 30, 45}));
    EXPECT_EQ(mail.Sent.at(0).Recipients + "|" + mail.Sent[0].Body,
              "potter@studio.example|\r\nDesired Temp=1000\r\nMeasured Temp=940");
    alerts.Disarm();
    alerts.Arm(2999, 0, No_Error_Limit);
    EXPECT_FALSE(alerts.Timer().Enabled);
    alerts.Arm(3001, 0, No_Error_Limit);
    EXPECT_TRUE(alerts.Timer().Enabled);
}

}  // namespace
}  // namespace corvanel::testing
