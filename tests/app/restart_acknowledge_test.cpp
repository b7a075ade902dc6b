// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm banner's Acknowledge on the run model, against the simulated kiln with a
// fake clock.

#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

// A thermocouple break ends the firing; Acknowledge turns the banner at once and takes
// its button away; the next RUN PROFILE starts with nothing of it.
TEST(Acknowledge, TurnsTheBannerAndTheNextRunStartsClean) {
    Main_Window_Rig rig;
    sim::Fault_Options options;
    options[sim::Fault::Thermocouple_Break] = sim::Parse_Fault_Selector("1");
    sim::Kiln_Sim_Server broken(rig.Model, options);
    rig.Line.Server = &broken;
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    rig.Form.Start_Profile_Click();
    for (int tick = 0; tick < 20 && rig.Form.Control_Interval.Enabled; ++tick) {
        rig.Clock.Advance(3);
        rig.Form.Control_Interval_Timer();
    }
    const Alarm_Banner& banner = rig.Form.Supervisor.Banner();
    ASSERT_TRUE(banner.Look() == Banner_Look::Alarm && banner.Acknowledge_Offered());
    rig.Clock.Set({2026, 12, 5, 14, 35, 50});
    rig.Form.Acknowledge_Click();
    EXPECT_EQ(banner.Text(), "Acknowledged at 14:35: Thermocouple break still present");
    EXPECT_TRUE(banner.Look() == Banner_Look::Acknowledged && !banner.Acknowledge_Offered());

    rig.Line.Server = &rig.Server;  // mended
    rig.Form.Start_Profile_Click();
    EXPECT_FALSE(banner.Visible());
    EXPECT_TRUE(rig.Form.Firing_Status_Now().Alarms.empty());
}

}  // namespace
}  // namespace corvanel::testing
