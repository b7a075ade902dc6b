// SPDX-License-Identifier: GPL-3.0-or-later
// A firing that can never finish: worn elements leave the kiln hours behind its profile,
// climbing by a few degrees an hour. The run stops it with the alarm's advice; a healthy
// kiln on the same profile finishes untouched.

#include "run/alarm_rule.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

TEST(Never_Finishes, TheKilnIsBehindSinceThePlanPassedItsTemperature) {
    // A climb of 500 degrees an hour from 100 for two hours, then a hold at 1100.
    const Plan_Points plan = {{0, 0}, {0, 100}, {2, 1100}, {4, 1100}};
    const struct {
        double Elapsed, Measured, Behind;
    } cases[] = {
        {1, 600, 0},     // on the plan
        {1, 700, 0},     // ahead of it
        {1, 350, 0.5},   // the plan was at 350 half an hour ago
        {3, 1100, 0},    // holding at the top
        {3, 600, 2},     // an hour into the hold, still at the climb's middle
        {3.5, 50, 3.5},  // colder than the start: behind since the start
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Hours_Behind_Plan(plan, c.Elapsed, c.Measured, "H"), c.Behind)
            << c.Elapsed << " h at " << c.Measured;
        EXPECT_DOUBLE_EQ(Hours_Behind_Plan({{0, 0}, {0, 100}, {120, 1100}, {240, 1100}},
                                           c.Elapsed * 60, c.Measured, "M"),
                         c.Behind);
    }
    // On a planned cool the kiln a degree under the falling plan is on it, not back on the
    // climb that once passed that temperature.
    const Plan_Points cooled = {{0, 0}, {0, 100}, {2, 1100}, {3, 1100}, {5, 700}};
    EXPECT_DOUBLE_EQ(Hours_Behind_Plan(cooled, 4, 899, "H"), 0);
    EXPECT_DOUBLE_EQ(Hours_Behind_Plan(cooled, 4, 950, "H"), 0);
}

TEST(Never_Finishes, AWeakKilnIsStoppedWithTheAdviceAndAHealthyOneFinishes) {
    for (const sim::Heating elements : {sim::Heating::Weak, sim::Heating::Normal}) {
        const bool weak = elements == sim::Heating::Weak;
        SCOPED_TRACE(weak ? "weak elements" : "healthy elements");
        Main_Window_Rig rig;
        rig.Model.Set_Heating(elements);
        rig.Keep_Record();
        rig.Form.Form_Load();
        rig.Notify_Potter();
        // To 2000 at about 370 degrees an hour, an hour's hold: over six hours in all.
        rig.Open_Profile("glaze.txt",
                         {{"1", "0", "5.2", "r", "70", "2000", "", "", "", ""},
                          {"2", "5.20", "1", "h", "2000", "2000", "", "", "", ""},
                          {"3", "6.20", "", "e", "2000", "", "", "", "", ""}},
                         "K    ", true, false);
        rig.Choose_Log("glaze_log.txt");
        rig.Form.Start_Profile_Click();
        int minutes = 0;
        for (; minutes < 8 * 60 && rig.Form.Run().Running(); ++minutes) rig.Tick(60);

        std::vector<std::string> alarms;
        for (const Firing_Record_Line& line : rig.Record("glaze_log.txt").Lines)
            if (line.Event == "alarm raised") alarms.push_back(line.Detail);
        const bool stopped = std::count(alarms.begin(), alarms.end(), "Firing cannot finish") > 0;
        EXPECT_EQ(stopped, weak) << minutes << " minutes";
        EXPECT_FALSE(rig.Form.Run().Running());
        if (weak) {
            EXPECT_TRUE(rig.Said("The elements may be failing: check them before the next firing."))
                << rig.Form.User_Message_Box;
            ASSERT_FALSE(rig.Mail.Sent.empty());
            const std::string& mail = rig.Mail.Sent.back().Body;
            EXPECT_NE(mail.find("Alarm=Firing cannot finish\r\n"), std::string::npos) << mail;
            EXPECT_NE(mail.find("\r\n\r\nThe kiln is hours behind the profile"), std::string::npos);
        } else {
            EXPECT_TRUE(rig.Said("Profile Finished")) << rig.Form.User_Message_Box;
        }
    }
}

}  // namespace
}  // namespace corvanel::testing
