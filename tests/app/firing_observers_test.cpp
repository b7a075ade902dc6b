// SPDX-License-Identifier: GPL-3.0-or-later
// What the firing status observers hear, show and record of a firing, the live view, and
// a start with recall after a firing was cut off.

#include <algorithm>
#include <cmath>
#include <functional>

#include "run/firing_chart.h"
#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/kept_setup.h"
#include "run/live_firing_view.h"
#include "run/log_file.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Recording_Observer : Firing_Observer {
    std::vector<std::string> Heard;  // "event state segment elapsed set value [detail]"
    Firing_Status Last;
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override {
        if (event == Firing_Event::Monitor_Tick) return;
        Last = status;
        const char* state = status.State == Firing_State::Running     ? "run"
                            : status.State == Firing_State::Suspended ? "susp"
                                                                      : "mon";
        Heard.push_back(std::string(Firing_Event_Name(event)) + " " + state + " " +
                        std::to_string(status.Segment) + " " + Format_00(status.Elapsed) + " " +
                        Format_Number(status.Set_Value) + (detail.empty() ? "" : " " + detail));
    }
};

std::string Shown(const Live_Firing_View& view) {
    return (view.Now_Shown() ? "now=" + Format_00(view.Now_Elapsed()) : std::string("no now")) +
           " seg=" + std::to_string(view.Current_Segment()) + " left=" + view.Time_Left() +
           " ends=" + view.Finishes_At();
}

// The short profile fired through a suspend, an edited time and a pulled cable.
TEST(Firing_Observers, HearSeeAndRecordAFiringTickByTickAndEventByEvent) {
    Main_Window_Rig rig;
    Recording_Observer observer;
    Live_Firing_View view{rig.Paths};
    Firing_Record_Writer writer(rig.Paths, "Corvanel 9.9.9");
    for (Firing_Observer* attached :
         std::initializer_list<Firing_Observer*>{&observer, &view, &writer})
        rig.Form.Run().Firing().Attach(*attached);
    rig.Setup_File("ThermalDeviceName.txt", "Big Kiln");
    rig.Form.Form_Load();
    rig.Open_Short_Profile();
    // Outside a run the set value is the one the controller holds: the simulator's 68 F.
    ASSERT_EQ(observer.Heard.back(), "profile loaded mon 1 0.00 68");
    EXPECT_EQ(std::to_string(observer.Last.Plan->size()) + " points, " +
                  Format_Number(observer.Last.Total_Time) + " min",
              "4 points, 3 min");
    EXPECT_EQ(Shown(view), "no now seg=0 left= ends=");
    rig.Choose_Log("short_04_03_2027.txt");
    observer.Heard.clear();

    auto tick = [&](int seconds) { rig.Control_Ticks(1, seconds); };
    rig.Form.Start_Profile_Click();  // at 09:00:30, with its first tick
    EXPECT_EQ(Shown(view), "now=0.00 seg=1 left=3 min ends=09:03");
    tick(60);
    EXPECT_EQ(Shown(view), "now=1.00 seg=1 left=2 min ends=09:03");
    EXPECT_EQ(
        Format_Number(observer.Last.Error_Limit) + " " + Format_Number(observer.Last.Time_Left()),
        "50 2");

    rig.Set_Values_Sent();
    rig.Form.Start_Profile_Click();              // suspended for ten minutes: the end moves away
    EXPECT_TRUE(rig.Set_Values_Sent().empty());  // the controller keeps its set value
    rig.Clock.Advance(600);
    rig.Form.Monitor_Interval_Timer();
    EXPECT_EQ(Shown(view), "now=1.00 seg=1 left=2 min ends=suspended");
    rig.Form.Elapsed_Time_GotFocus();
    for (char key : std::string("\b1.5\r")) rig.Form.Type_Elapsed_Key(key);
    rig.Form.Start_Profile_Click();  // resumed at 09:11:30, half a minute further on
    EXPECT_EQ(Shown(view), "now=1.50 seg=1 left=2 min ends=09:13");
    rig.Line.Server = nullptr;  // the cable is pulled for one tick: the run goes on
    tick(3);
    EXPECT_TRUE(observer.Last.Exchange_Failed && rig.Form.Run().Control_Interval().Enabled);
    EXPECT_TRUE(rig.Said("Read Value Communications Error\r\nIf condition persists unplug kiln"));
    EXPECT_EQ(rig.Form.Duty_Cycle, "0%");
    rig.Line.Server = &rig.Server;
    tick(30);                                                        // past a minute boundary
    EXPECT_EQ(Shown(view), "now=2.05 seg=2 left=1 min ends=09:12");  // at the last tick
    EXPECT_EQ(observer.Last.Error_Limit, 0);                         // the hold has no limit
    EXPECT_EQ(observer.Heard,
              (std::vector<std::string>{
                  "start run 1 0.00 0", "tick run 1 0.00 70", "tick run 1 1.00 160",
                  "suspend susp 1 1.00 160", "elapsed edited susp 1 1.50 160 1.00 -> 1.50",
                  "resume run 1 1.50 160", "tick run 1 1.50 205",
                  "communication error run 1 1.50 205 Set Value Communications Error",
                  "communication error run 1 1.50 205 Read Value Communications Error",
                  "tick run 1 1.50 205", "tick run 2 2.50 250"}));
    // Each tick at its real time: the last 33 s after the resume at 1.50 (elapsed 2.50).
    ASSERT_EQ(view.Set_Value().size(), 5u);
    EXPECT_NEAR(view.Set_Value()[3].first + view.Set_Value()[4].first, 1.55 + 2.05, 1e-9);
    EXPECT_EQ(view.Measured().back().second, rig.Form.Run().Measured_Temp());

    for (int i = 0; i < 100 && rig.Form.Run().Control_Interval().Enabled; ++i) tick(3);
    EXPECT_EQ(observer.Heard.back(), "tick mon 3 3.50 70");  // the tick that ended the run
    EXPECT_TRUE(rig.Said("Profile Finished\r\n"));
    EXPECT_EQ(Shown(view), "no now seg=0 left= ends=");
    EXPECT_FALSE(view.Measured().empty());  // kept after the firing

    // The record beside the log: its header, its ticks and the run's events between.
    const std::string log = Read_Whole_File(rig.Paths.Logfile("short_04_03_2027.txt"));
    Firing_Record record =
        Parse_Firing_Record(Read_Whole_File(rig.Paths.Logfile("short_04_03_2027.firing.csv")));
    EXPECT_TRUE(record.Problems.empty());
    const Firing_Record_Header& header = record.Header;
    std::string checksum = Profile_Checksum(Read_Profile_File(rig.Paths.Profile_File("short.txt")));
    EXPECT_EQ(header.Program + "|" + header.Kiln_Name + "|" + header.Profile_Name + "|" +
                  header.Profile_Checksum + "|" + header.Started,
              "Corvanel 9.9.9|Big Kiln|short.txt|" +
                  checksum.substr(checksum.find_first_not_of(' ')) + "|2026-12-05T09:00:30+00:00");
    EXPECT_EQ(header.Plan.size(), 4u);
    const auto ticks = std::ranges::count_if(record.Lines, &Firing_Record_Line::Is_Tick);
    EXPECT_EQ(static_cast<std::size_t>(ticks) * Log_Record_Length,
              log.size());  // a line for every log record
    EXPECT_EQ(Events_Of(record), (std::vector<std::string>{
                                     "start", "suspend", "elapsed edited: 1.00 -> 1.50", "resume",
                                     "communication error: Set Value Communications Error",
                                     "communication error: Read Value Communications Error",
                                     "profile finished", "soft off"}));

    // The history, and a window started again with recall, draw the record's ticks where
    // and as the live chart drew them.
    const Firing_Chart chart = Build_Firing_Chart({&record});
    Live_Firing_View again{rig.Paths};
    again.Firing_Changed(rig.Form.Run().Firing_Status_Now(), Firing_Event::Recall_Resume, "");
    EXPECT_EQ(again.Measured(), chart.Series.back().Points);
    for (std::size_t i = 0; i < view.Measured().size(); ++i) {
        EXPECT_NEAR(again.Measured().at(i).first, view.Measured()[i].first, 1e-9) << i;
        EXPECT_EQ(again.Measured()[i].second, view.Measured()[i].second) << i;
    }

    // A new log starts a new firing: the view forgets the old one.
    const auto generation = view.Trace_Generation();
    rig.Form.mnuReset_Logfile_Click();
    EXPECT_TRUE(view.Measured().empty() && view.Set_Value().empty());
    EXPECT_NE(view.Trace_Generation(), generation);
    for (Firing_Observer* attached :
         std::initializer_list<Firing_Observer*>{&observer, &view, &writer})
        rig.Form.Run().Firing().Detach(*attached);
}

// The Process Temp read-out turns red beyond the segment's limit, on either side; and the
// time left in hours and minutes, with the finish's date once it is not today.
TEST(Live_Firing_View, ComparesTheDifferenceWithTheLimitAndShowsTheFinishesDate) {
    Temp_Folder folder;
    Live_Firing_View view{Program_Paths(folder.Path())};
    const struct {
        const char* Name;
        double Measured, Error_Limit;
        Firing_State State;
        bool Off;
    } cases[] = {{"too cold", 949, 50, Firing_State::Running, true},
                 {"too hot", 1051, 50, Firing_State::Running, true},
                 {"on the limit", 950, 50, Firing_State::Running, false},
                 {"no limit", 20, 0, Firing_State::Running, false},
                 {"no run", 20, 50, Firing_State::Monitor, false}};
    Firing_Status status;
    status.Set_Value = 1000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        status.State = c.State;
        status.Measured = c.Measured;
        status.Error_Limit = c.Error_Limit;
        view.Firing_Changed(status, Firing_Event::Tick, "");
        EXPECT_EQ(view.Off_Profile(), c.Off);
    }
    status.State = Firing_State::Running;
    status.Time_Unit = "H";
    status.Total_Time = 10;
    status.Elapsed = 4 + 40 / 60.0;
    status.Clock = {2026, 12, 31, 20, 15, 0};
    view.Firing_Changed(status, Firing_Event::Tick, "");
    EXPECT_EQ(view.Time_Left() + " | " + view.Finishes_At(), "5 h 20 min | 1 Jan 2027, 01:35");
    // Of the twenty ticks in a minute the chart draws the first and the last; a gap stays.
    EXPECT_EQ(Drawn_Points({{0, 70}, {0.1, 71}, {0.2, 73}, {0.3, 72}, {1, 80}, {2, 90}, {2.5, 91}}),
              (Trace_Points{{0, 70}, {0.3, 72}, {1, 80}, {2, 90}, {2.5, 91}}));
    const Trace_Points gap = Drawn_Points({{0, 70}, {0.5, NAN}, {0.6, 71}, {0.7, 72}, {0.8, 73}});
    EXPECT_TRUE(gap.size() == 4 && std::isnan(gap[1].second) && gap[3].first == 0.8);
    const Trace_Points hours{{0, 70}, {1.2 / 60, 71}, {2.4 / 60, 72}, {3.6 / 60, 73}};
    EXPECT_EQ(Drawn_Points(hours, 1.0 / 60), hours) << "in hours a minute is a sixtieth";
}

// A rig on a copy of `before`'s program folder, its kiln made by `kiln`.
std::unique_ptr<Main_Window_Rig> Copy_Of(const Main_Window_Rig& before,
                                         const sim::Unit_Settings& kiln = Kiln_Settings()) {
    auto again = std::make_unique<Main_Window_Rig>();
    again->Model = sim::Controller_Model({0}, kiln);
    std::filesystem::copy(before.Folder.Path(), again->Folder.Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    return again;
}

// The program started with recall on a copy of `before`'s folder, `seconds` later, and
// the last line of its firing record, which it goes on without a second header.
std::unique_ptr<Main_Window_Rig> Start_Again(Main_Window_Rig& before, long long seconds,
                                             std::string& last_line, double kiln_now = 0) {
    auto again = Copy_Of(before);
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
    again->Keep_Record();
    again->Form.Form_Load();
    again->Form.Run().Firing().Detach(again->Writer);
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
    first.Keep_Record();
    first.Choose_Log("cut.txt");
    first.Form.mnuRecallSetup_Click();
    first.Form.Start_Profile_Click();
    for (int minute = 0; minute < minutes; ++minute) {
        if (heat) first.Model.Advance(60);
        first.Control_Ticks(1);
    }
    cut();
    first.Form.Run().Firing().Detach(first.Writer);
    first.Form.Save_Setup();
}

// A platinum firing in hours, cut short by a power failure and recalled at the restart:
// the view redraws it from the log in degrees (the log keeps tenths). What the record says
// of the restart is pinned with the run model's restart.
TEST(Live_Firing_View, ARecalledFiringIsRedrawnFromItsLogAndContinuesItsRecord) {
    sim::Unit_Settings platinum = Kiln_Settings(6, false);  // PtJIS
    platinum.Start_Temperature = 19.5;
    Main_Window_Rig first;
    first.Model = sim::Controller_Model({0}, platinum);
    first.Form.Form_Load();
    first.Open_Profile("pt.txt",
                       {{"1", "0", "60", "r", "20", "200", "3.00", "", "", ""},
                        {"2", "60.00", "", "e", "200", "", "", "", "", ""}},
                       "PtJIS", false, false);
    // One tick, ninety minutes on; then the power goes.
    Fire_And_Cut(first, 0, false, [&] { first.Control_Ticks(1, 90 * 60); });
    ASSERT_TRUE(Append_Log_Record(first.Paths.Logfile("cut.txt"), "2.0"));  // torn

    const auto copy = Copy_Of(first, platinum);
    Main_Window_Rig& again = *copy;
    Live_Firing_View view{again.Paths};
    Recording_Observer heard;
    again.Form.Run().Firing().Attach(view);
    again.Form.Run().Firing().Attach(heard);
    again.Form.Form_Load();
    // The time is the last whole record's.
    EXPECT_EQ(again.Form.Profile_Name + " " + again.Form.LogFile + " " + again.Form.Elapsed_Time,
              "pt.txt cut.txt 1.5");
    // From the record: the ninety minutes without a line between its ticks are a gap.
    EXPECT_EQ(view.Set_Value(), (Trace_Points{{0, 20}, {1.5, 24.5}, {1.5, 24.5}}));
    ASSERT_EQ(view.Measured().size(), 3u);
    EXPECT_TRUE(std::isnan(view.Measured()[1].second) && view.Measured()[2].second == 19.5);
    EXPECT_EQ(view.Time_Axis_Title() + "|" + view.Temperature_Axis_Title(),
              "Time (hours)|Temperature (°C)");
    // Without its record the log draws it, from the controller's tenths of a degree.
    std::filesystem::remove(again.Paths.Logfile("cut.firing.csv"));
    Live_Firing_View from_log{again.Paths};
    from_log.Firing_Changed(heard.Last, Firing_Event::Recall_Resume, "");
    EXPECT_EQ(from_log.Set_Value(), (Trace_Points{{0, 20}, {1.5, 24.5}}));
    EXPECT_EQ(from_log.Measured(), (Trace_Points{{0, 19.5}, {1.5, 19.5}}));

    again.Open_Short_Profile();
    EXPECT_TRUE(view.Measured().empty());
    again.Form.Run().Firing().Detach(view);
    again.Form.Run().Firing().Detach(heard);
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
        auto again = Start_Again(first, 35, last_line);
        if (ending != "killed") {
            EXPECT_FALSE(again->Form.Run().Safety().Banner().Visible() ||
                         again->Said("interrupted"));
            EXPECT_EQ(last_line, "program started with recall ");
            continue;
        }
        // What one start wrote to the record does not count at the next; a short gap is
        // said to the second.
        for (const auto& [later, gap] : std::vector<std::pair<long long, std::string>>{
                 {0, "35 s"}, {2 * 3600 + 15 * 60 - 35, "2 h 15 min"}, {60, "2 h 16 min"}}) {
            if (later) {
                // A first exchange that failed at the last start came after the stop.
                Firing_Record_Line failed;
                failed.Clock = again->Clock.Now();
                failed.Offset_Minutes = Local_Offset_Minutes(failed.Clock);
                failed.Event = Firing_Event_Name(Firing_Event::Communication_Error);
                const std::string record = again->Paths.Logfile("cut.firing.csv");
                Write_Whole_File(record, Read_Whole_File(record) + Firing_Record_Line_Text(failed));
                again = Start_Again(*again, later, last_line);
            }
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
            const Alarm_Banner& banner = again->Form.Run().Safety().Banner();
            EXPECT_TRUE(banner.Text() == notice && banner.Look() == Banner_Look::Quiet);
            const Date_Time stopped{2026, 12, 5, 9, 2, 30};
            EXPECT_EQ(last_line, "interrupted stopped " +
                                     Format_Clock(stopped, Local_Offset_Minutes(stopped)) +
                                     ", gap " + gap);
        }
        // RUN PROFILE goes on where the log ends, with a clean banner.
        again->Form.Start_Profile_Click();
        EXPECT_EQ(again->Form.Elapsed_Time, "2.00");
        EXPECT_FALSE(again->Form.Run().Safety().Banner().Visible() || again->Said("interrupted"));
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
    first.Open_Profile("hot.txt", {{"1", "0", "10", "r", "70", "1000", "93.00", "", "", ""},
                                   {"2", "10.00", "10", "h", "1000", "1000", "0", "", "", ""},
                                   {"3", "20.00", "", "e", "1000", "", "", "", "", ""}});
    Fire_And_Cut(first, 6, false);  // stopped at 6.00, set value 628 F
    const std::string safety = first.Paths.Setup_File("Safety.txt");
    std::string settings = Read_Whole_File(safety);
    settings.replace(settings.find("Continue_After_Restart=0"), 24, "Continue_After_Restart=1");
    Write_Whole_File(safety, settings);

    // The banner's buttons say what they do; Acknowledge only says it was read.
    enum class Click { None, Acknowledge, Continue_Now, Do_Not_Continue };
    struct Case {
        const char* Story;
        long long Gap;
        double Kiln_Now;
        Click Clicked;
        bool Counts_Down, Goes_On;
        const char* Said;
    };
    for (const Case& c : {
             Case{"warm, acknowledged", 5 * 60, 600, Click::Acknowledge, true, true,
                  "after the restart at elapsed time 6.00"},
             Case{"too long", 45 * 60, 600, Click::None, false, false,
                  "The firing does not continue by itself: the program was not running for 45 "
                  "min, longer than the 30 min a firing continues after"},
             Case{"not continued", 5 * 60, 600, Click::Do_Not_Continue, true, false,
                  "The firing does not continue by itself: RUN PROFILE continues it"},
             Case{"continued now", 5 * 60, 600, Click::Continue_Now, true, true,
                  "after the restart at elapsed time 6.00"},
         }) {
        SCOPED_TRACE(c.Story);
        std::string last_line;
        auto again = Start_Again(first, c.Gap, last_line, c.Kiln_Now);
        const Alarm_Banner& banner = again->Form.Run().Safety().Banner();
        EXPECT_EQ(again->Form.Run().Continue_Interval().Enabled, c.Counts_Down);
        EXPECT_EQ(banner.Text().find("continues by itself in 30 s") != std::string::npos,
                  c.Counts_Down);
        EXPECT_EQ(banner.Continuation_Offered(), c.Counts_Down);
        if (c.Clicked == Click::Acknowledge) again->Form.Acknowledge_Click();
        if (c.Clicked == Click::Do_Not_Continue) again->Form.Do_Not_Continue_Click();
        if (c.Clicked == Click::Continue_Now) {
            again->Form.Continue_Now_Click();
            EXPECT_TRUE(again->Form.Run().Control_Interval().Enabled);
        } else {
            for (int second = 0; second < 30; ++second) {
                EXPECT_FALSE(again->Form.Run().Control_Interval().Enabled) << second;
                again->Form.Continue_Timer();
            }
        }
        EXPECT_EQ(again->Form.Run().Control_Interval().Enabled, c.Goes_On);
        EXPECT_FALSE(banner.Continuation_Offered());
        EXPECT_TRUE(again->Said(c.Said)) << again->Form.User_Message_Box;
    }
}

}  // namespace
}  // namespace corvanel::testing
