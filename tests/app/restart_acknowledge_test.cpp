// SPDX-License-Identifier: GPL-3.0-or-later
// A start with recall after a firing was cut off, and the alarm banner's Acknowledge,
// on the run model against the simulated kiln with a fake clock.

#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

std::string Last_Record_Line(const Main_Window_Rig& rig, const std::string& log) {
    const std::string path = rig.Paths.Logfile(Firing_Record_Name(log));
    const Firing_Record_Line line = Parse_Firing_Record(Read_Whole_File(path)).Lines.back();
    return line.Event + (line.Detail.empty() ? "" : " " + line.Detail);
}

// The program started again with recall on a copy of `before`'s folder, `seconds` later.
std::unique_ptr<Main_Window_Rig> Start_Again(Main_Window_Rig& before, long long seconds) {
    auto again = std::make_unique<Main_Window_Rig>();
    std::filesystem::copy(before.Folder.Path(), again->Folder.Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    again->Clock.Set(before.Clock.Now());
    again->Clock.Advance(seconds);
    Firing_Record_Writer writer(again->Paths, "Corvanel");
    again->Form.Firing.Attach(writer);
    again->Form.Form_Load();
    again->Form.Firing.Detach(writer);
    return again;
}

// The short profile fired for two minutes, then the program gone in the way the case
// says; started again with recall 2 h 15 min later, and once more a minute after that.
TEST(Restart_With_Recall, TellsOfAFiringCutOffUntilRunProfileAndOfNoneThatEnded) {
    for (const std::string ending : {"killed", "soft off", "suspended"}) {
        SCOPED_TRACE(ending);
        Main_Window_Rig first;
        Firing_Record_Writer writer(first.Paths, "Corvanel");
        first.Form.Firing.Attach(writer);
        first.Form.Form_Load();
        first.Open_Short_Profile();
        first.Choose_Log("cut.txt");
        first.Form.mnuRecallSetup_Click();
        first.Form.Save_Setup();
        first.Form.Start_Profile_Click();
        for (int minute = 0; minute < 2; ++minute) {
            first.Clock.Advance(60);
            first.Model.Advance(60);
            first.Form.Control_Interval_Timer();
        }
        if (ending == "soft off") first.Form.SoftOff_Click();
        if (ending == "suspended") first.Form.Start_Profile_Click();
        first.Form.Firing.Detach(writer);  // nothing more reaches the files

        auto again = Start_Again(first, 2 * 3600 + 15 * 60);
        if (ending != "killed") {
            EXPECT_FALSE(again->Form.Supervisor.Banner().Visible() || again->Said("interrupted"));
            EXPECT_EQ(Last_Record_Line(*again, "cut.txt"), "program started with recall");
            continue;
        }
        auto third = Start_Again(*again, 60);  // what the second start wrote does not count
        const Date_Time stopped{2026, 12, 5, 9, 2, 30};
        for (auto [rig, gap] :
             {std::pair{again.get(), "2 h 15 min"}, {third.get(), "2 h 16 min"}}) {
            const std::string notice =
                "The firing was interrupted: short.txt\r\n"
                "It stopped at 09:02, elapsed time 2.00 min, 111 °F\r\n"
                "Stopped for " +
                std::string(gap) +
                ", the kiln is now at 68 °F\r\n"
                "RUN PROFILE continues the firing; LogFile -> \"Reset Logfile and Time\" "
                "starts from 0";
            EXPECT_TRUE(rig->Form.User_Message_Box.ends_with("Monitor Mode\r\n" + notice + "\r\n"))
                << rig->Form.User_Message_Box;
            const Alarm_Banner& banner = rig->Form.Supervisor.Banner();
            EXPECT_EQ(banner.Text(), notice);
            EXPECT_TRUE(banner.Look() == Banner_Look::Quiet && banner.Acknowledge_Offered());
            EXPECT_EQ(rig->Beeper.Beeps, 0);
            EXPECT_EQ(Last_Record_Line(*rig, "cut.txt"),
                      "interrupted stopped " +
                          Format_Clock(stopped, Local_Offset_Minutes(stopped)) + ", gap " + gap);
        }
        // RUN PROFILE goes on where the log ends, with a clean banner.
        third->Form.Start_Profile_Click();
        EXPECT_EQ(third->Form.Elapsed_Time, "2.00");
        EXPECT_FALSE(third->Form.Supervisor.Banner().Visible() || third->Said("interrupted"));
    }
}

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
