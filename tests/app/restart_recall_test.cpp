// SPDX-License-Identifier: GPL-3.0-or-later
// A start with recall after a firing was cut off, on the run model against the simulated
// kiln with a fake clock.

#include <functional>

#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/kept_setup.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

// The program started with recall on a copy of `before`'s folder, `seconds` later, and
// the last line of its firing record, which it goes on without a second header.
std::unique_ptr<Main_Window_Rig> Start_Again(Main_Window_Rig& before, long long seconds,
                                             std::string& last_line, double kiln_now = 0) {
    auto again = std::make_unique<Main_Window_Rig>();
    std::filesystem::copy(before.Folder.Path(), again->Folder.Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    // The kiln kept warm at `kiln_now` by its controller while the program was gone.
    if (sim::Controller_Unit* kiln = again->Model.Unit(0); kiln_now) {
        char set_value[8];
        std::snprintf(set_value, sizeof set_value, "%04d", static_cast<int>(kiln_now));
        kiln->Execute("WS01", set_value);
        for (int minute = 0; minute < 1000 && kiln->Temperature() < kiln_now - 1; ++minute)
            again->Model.Advance(60);
    }
    again->Clock.Set(before.Clock.Now());
    again->Clock.Advance(seconds);
    Firing_Record_Writer writer(again->Paths, "Corvanel");
    again->Form.Firing.Attach(writer);
    again->Form.Form_Load();
    again->Form.Firing.Detach(writer);
    const std::string record = Read_Whole_File(again->Paths.Logfile("cut.firing.csv"));
    EXPECT_EQ(record.find("# program:"), record.rfind("# program:")) << "one header";
    const Firing_Record_Line line = Parse_Firing_Record(record).Lines.back();
    last_line = line.Event + " " + line.Detail;
    return again;
}

// `first` fires the opened profile with recall on, logging to cut.txt, for `minutes`
// (the kiln heating at its pace if `heat`), then `cut` ends it its way; nothing more
// reaches its files.
void Fire_And_Cut(
    Main_Window_Rig& first, int minutes, bool heat, const std::function<void()>& cut = [] {}) {
    Firing_Record_Writer writer(first.Paths, "Corvanel");
    first.Form.Firing.Attach(writer);
    first.Choose_Log("cut.txt");
    first.Form.mnuRecallSetup_Click();
    first.Form.Start_Profile_Click();
    for (int minute = 0; minute < minutes; ++minute) {
        first.Clock.Advance(60);
        if (heat) first.Model.Advance(60);
        first.Form.Control_Interval_Timer();
    }
    cut();
    first.Form.Firing.Detach(writer);
    first.Form.Save_Setup();
}

// The short profile fired for two minutes, then the program gone in the way the case
// says; started again 2 h 15 min later, and once more a minute after that.
TEST(Restart_With_Recall, TellsOfAFiringCutOffUntilRunProfileAndOfNoneThatEnded) {
    for (const std::string ending : {"killed", "soft off", "suspended"}) {
        SCOPED_TRACE(ending);
        Main_Window_Rig first;
        first.Form.Form_Load();
        first.Open_Short_Profile();
        Fire_And_Cut(first, 2, true, [&] {
            if (ending == "soft off") first.Form.SoftOff_Click();
            if (ending == "suspended") first.Form.Start_Profile_Click();
        });

        std::string last_line;
        auto again = Start_Again(first, 2 * 3600 + 15 * 60, last_line);
        if (ending != "killed") {
            EXPECT_FALSE(again->Form.Supervisor.Banner().Visible() || again->Said("interrupted"));
            EXPECT_EQ(last_line, "program started with recall ");
            continue;
        }
        // What the first start wrote to the record does not count at the second.
        for (const std::string gap : {"2 h 15 min", "2 h 16 min"}) {
            if (gap == "2 h 16 min") again = Start_Again(*again, 60, last_line);
            const std::string notice =
                "The firing was interrupted: short.txt\r\n"
                "It stopped at 09:02, elapsed time 2.00 min, 111 °F\r\n"
                "Stopped for " +
                gap +
                ", the kiln is now at 68 °F\r\n"
                "RUN PROFILE continues the firing; LogFile -> "
                "\"Reset Logfile and Time\" starts from 0";
            EXPECT_TRUE(
                again->Form.User_Message_Box.ends_with("Monitor Mode\r\n" + notice + "\r\n"))
                << again->Form.User_Message_Box;
            const Alarm_Banner& banner = again->Form.Supervisor.Banner();
            EXPECT_TRUE(banner.Text() == notice && banner.Look() == Banner_Look::Quiet);
            const Date_Time stopped{2026, 12, 5, 9, 2, 30};
            EXPECT_EQ(last_line, "interrupted stopped " +
                                     Format_Clock(stopped, Local_Offset_Minutes(stopped)) +
                                     ", gap " + gap);
        }
        // RUN PROFILE goes on where the log ends, with a clean banner.
        again->Form.Start_Profile_Click();
        EXPECT_EQ(again->Form.Elapsed_Time, "2.00");
        EXPECT_FALSE(again->Form.Supervisor.Banner().Visible() || again->Said("interrupted"));
    }
    // Stopped at 02:30 summer time, started at 02:10 after the clocks went back: 40 minutes.
    Interrupted_Firing autumn;
    autumn.Stopped = {2026, 10, 25, 2, 30, 0};
    autumn.Offset_Minutes = 120;
    EXPECT_EQ(autumn.Seconds_Stopped({2026, 10, 25, 2, 10, 0}, 60), 40 * 60);
}

// After a power cut: with the setting on, a firing cut off in its last ramp goes on by
// itself after a count-down, unless the gap was too long or the operator stops it. (How
// far the kiln may have cooled is the continuation rule's own test.)
TEST(Restart_With_Recall, AFiringGoesOnAfterTheCountDownOnlyWhenTheKilnAllows) {
    Main_Window_Rig first;
    first.Form.Form_Load();
    // 70 to 1000 F in 10 minutes, then a hold at the top.
    first.Write_Profile("hot.txt", {{"1", "0", "10", "r", "70", "1000", "93.00", "", "", ""},
                                    {"2", "10.00", "10", "h", "1000", "1000", "0", "", "", ""},
                                    {"3", "20.00", "", "e", "1000", "", "", "", "", ""}});
    first.Open_Profile("hot.txt");
    Fire_And_Cut(first, 6, false);  // stopped at 6.00, set value 628 F
    const std::string safety = first.Paths.Setup_File("Safety.txt");
    std::string settings = Read_Whole_File(safety);
    settings.replace(settings.find("Continue_After_Restart=0"), 24, "Continue_After_Restart=1");
    Write_Whole_File(safety, settings);

    struct Case {
        const char* Story;
        long long Gap;
        double Kiln_Now;
        bool Cancelled, Goes_On;
        const char* Said;
    };
    for (const Case& c : {
             Case{"warm", 5 * 60, 600, false, true, "after the restart at elapsed time 6.00"},
             Case{"too long", 45 * 60, 600, false, false,
                  "The firing does not continue by itself: the program was not running for 45 "
                  "min, longer than the 30 min a firing continues after"},
             Case{"cancelled", 5 * 60, 600, true, false,
                  "The program was not running for 5 min and the kiln is at "},
         }) {
        SCOPED_TRACE(c.Story);
        std::string last_line;
        auto again = Start_Again(first, c.Gap, last_line, c.Kiln_Now);
        EXPECT_EQ(again->Form.Continue_Interval.Enabled, c.Goes_On || c.Cancelled);
        EXPECT_EQ(again->Form.Supervisor.Banner().Text().find("continues by itself in 30 s") !=
                      std::string::npos,
                  c.Goes_On || c.Cancelled);
        if (c.Cancelled) again->Form.Acknowledge_Click();
        for (int second = 0; second < 30; ++second) {
            EXPECT_FALSE(again->Form.Control_Interval.Enabled) << second;
            again->Form.Continue_Timer();
        }
        EXPECT_EQ(again->Form.Control_Interval.Enabled, c.Goes_On);
        EXPECT_TRUE(again->Said(c.Said)) << again->Form.User_Message_Box;
    }
}

}  // namespace
}  // namespace corvanel::testing
