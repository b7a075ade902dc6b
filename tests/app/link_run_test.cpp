// SPDX-License-Identifier: GPL-3.0-or-later
// The run through an outage of the controller's link: the port opened again by itself,
// the operator told once, the firing going on at its time and the gap in its record.

#include "run/firing_record_writer.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

const std::string Lost_Text =
    "The controller does not answer: the program keeps trying to reach it, at least every 30 "
    "seconds";

// The adapter pulled mid-firing and plugged back two minutes later; then pulled again
// and the port chosen anew by the operator, which ends the reconnecting.
TEST(Link_Run, APortThatWentAwayIsOpenedAgainAndTheFiringGoesOnAtItsTime) {
    Main_Window_Rig rig;
    Firing_Record_Writer writer(rig.Paths, "Corvanel");
    rig.Form.Firing.Attach(writer);
    rig.Form.Form_Load();
    rig.Write_Profile("long.txt", {{"1", "0", "20", "r", "70", "1070", "", "", "", ""},
                                   {"2", "20.00", "", "e", "1070", "", "", "", "", ""}});
    rig.Open_Profile("long.txt");
    rig.Choose_Log("link.txt");
    rig.Form.Start_Profile_Click();  // at 09:00:30
    int told = 0;
    auto tick = [&](int seconds) {
        rig.Clock.Advance(seconds);
        rig.Form.Control_Interval_Timer();
        if (rig.Said(Lost_Text)) ++told;
    };
    tick(30);

    rig.Line.Existing_Ports.clear();  // pulled: the port closes under the program
    rig.Line.Set_Port_Open(false);
    for (int i = 0; i < 40; ++i) tick(3);
    EXPECT_TRUE(rig.Said("Comm port not open")) << rig.Form.User_Message_Box;
    EXPECT_EQ(rig.Form.Supervisor.Active_Alarms(), std::vector<std::string>{"Controller lost"});
    EXPECT_TRUE(rig.Form.Control_Interval.Enabled);
    EXPECT_TRUE(rig.Form.Link_Retry_Interval.Enabled);
    rig.Line.Existing_Ports = {1};  // plugged back
    rig.Clock.Advance(30);          // the longest wait between tries
    rig.Form.Link_Retry_Timer();    // the port opened, its tick at once
    EXPECT_TRUE(rig.Line.Port_Open());
    EXPECT_FALSE(rig.Form.Link_Retry_Interval.Enabled);
    EXPECT_TRUE(rig.Said("Controller answering again; no answer for 2 min 27 s"))
        << rig.Form.User_Message_Box;
    EXPECT_TRUE(rig.Said("Alarm cleared: Controller lost")) << rig.Form.User_Message_Box;
    EXPECT_EQ(told, 1);
    // 09:00:30 to 09:03:30: three minutes, and the set value of the third.
    EXPECT_EQ(rig.Form.Elapsed_Time + " " + rig.Form.Profile_Temperature, "3.00 220");

    rig.Line.Existing_Ports.clear();
    rig.Line.Set_Port_Open(false);
    tick(3);
    EXPECT_EQ(told, 2);  // a new outage is told again
    rig.Line.Existing_Ports = {1};
    rig.Form.mnuComm_Click(1);  // the operator's port: no outage left to end
    tick(3);
    EXPECT_FALSE(rig.Said("Controller answering again")) << rig.Form.User_Message_Box;
    EXPECT_EQ(told, 2);

    std::vector<std::string> events =
        Events_Of(Parse_Firing_Record(Read_Whole_File(rig.Paths.Logfile("link.firing.csv"))));
    std::erase_if(events,
                  [](const std::string& e) { return e.starts_with("communication error"); });
    EXPECT_EQ(events,
              (std::vector<std::string>{"start", "alarm raised: Controller lost",
                                        "link restored: Controller answering again; no answer "
                                        "for 2 min 27 s",
                                        "alarm cleared: Controller lost"}));
    rig.Form.Firing.Detach(writer);
}

}  // namespace
}  // namespace corvanel::testing
