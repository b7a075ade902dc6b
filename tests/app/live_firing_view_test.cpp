#include "run/live_firing_view.h"
#include "main_window_rig.h"
#include "run/log_file.h"

namespace corvanel::testing {
namespace {

// A restart with recall draws the firing's history from its log, in degrees also for a
// platinum sensor whose log keeps tenths; opening another profile empties it again.
TEST(Live_Firing_View, ARecalledFiringIsRedrawnFromItsLog) {
    Main_Window_Rig rig;
    rig.Write_Profile("pt.txt",
                      {{"1", "0", "60", "r", "20", "200", "3.00", "", "", ""},
                       {"2", "60.00", "", "e", "200", "", "", "", "", ""}},
                      "PtJIS", false, false);
    rig.Write_Short_Profile();
    const std::string log = rig.Paths.Logfile("pt_run.txt");
    std::filesystem::create_directories(rig.Paths.Logfiles_Folder());
    ASSERT_TRUE(Append_Log_Record(log, Log_Record("0.00", 200, 195)));
    ASSERT_TRUE(Append_Log_Record(log, Log_Record("1.50", 470, 466)));
    Write_Whole_File(log, Read_Whole_File(log) + "2.0");  // a torn last record
    rig.Setup_File("Check_Flag.txt", "checked");
    rig.Setup_File("Profile_Name.txt", "pt.txt");
    rig.Setup_File("Logfile_Name.txt", "pt_run.txt");

    Live_Firing_View view{rig.Paths};
    rig.Form.Firing.Attach(view);
    rig.Form.Form_Load();
    EXPECT_EQ(view.Set_Value(), (Trace_Points{{0, 20}, {1.5, 47}}));
    EXPECT_EQ(view.Measured(), (Trace_Points{{0, 19.5}, {1.5, 46.6}}));
    EXPECT_EQ(view.Time_Axis_Title() + "|" + view.Temperature_Axis_Title(),
              "Time (hours)|Temperature (°C)");

    rig.Open_Profile("short.txt");
    EXPECT_TRUE(view.Measured().empty());
    rig.Form.Firing.Detach(view);
}

struct Off_Profile_Case {
    const char* Name;
    double Set_Value, Measured, Error_Limit;
    Firing_State State;
    bool Off;
};

class Live_Firing_View_Off_Profile : public ::testing::TestWithParam<Off_Profile_Case> {};

// The Process Temp read-out turns red beyond the segment's limit, on either side.
TEST_P(Live_Firing_View_Off_Profile, ComparesTheDifferenceWithTheSegmentsLimit) {
    const Off_Profile_Case& c = GetParam();
    Temp_Folder folder;
    Live_Firing_View view{Program_Paths(folder.Path())};
    Firing_Status status;
    status.State = c.State;
    status.Set_Value = c.Set_Value;
    status.Measured = c.Measured;
    status.Error_Limit = c.Error_Limit;
    view.Firing_Changed(status, Firing_Event::Tick, "");
    EXPECT_EQ(view.Off_Profile(), c.Off);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Live_Firing_View_Off_Profile,
    ::testing::Values(Off_Profile_Case{"TooCold", 1000, 949, 50, Firing_State::Running, true},
                      Off_Profile_Case{"TooHot", 1000, 1051, 50, Firing_State::Running, true},
                      Off_Profile_Case{"OnTheLimit", 1000, 950, 50, Firing_State::Running, false},
                      Off_Profile_Case{"NoLimit", 1000, 20, 0, Firing_State::Running, false},
                      Off_Profile_Case{"NoRun", 1000, 20, 50, Firing_State::Monitor, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// Hours and minutes left, and the finish with its date once it is not today.
TEST(Live_Firing_View, AnHourProfileFinishingTomorrowShowsItsDate) {
    Temp_Folder folder;
    Live_Firing_View view{Program_Paths(folder.Path())};
    Firing_Status status;
    status.State = Firing_State::Running;
    status.Time_Unit = "H";
    status.Total_Time = 10;
    status.Elapsed = 4 + 40 / 60.0;
    status.Clock = {2026, 12, 31, 20, 15, 0};
    view.Firing_Changed(status, Firing_Event::Tick, "");
    EXPECT_EQ(view.Time_Left() + " | " + view.Finishes_At(), "5 h 20 min | 2027-01-01 01:35");
    EXPECT_EQ(Hours_And_Minutes_Text(60), "1 h 0 min");
}

// Twenty ticks a minute share an elapsed time: the chart draws the first and the last.
TEST(Live_Firing_View, TicksAtOneElapsedTimeAreDrawnAsTheirFirstAndLast) {
    EXPECT_EQ(Drawn_Points({{0, 70}, {0, 71}, {0, 73}, {0, 72}, {1, 80}, {2, 90}, {2, 91}}),
              (Trace_Points{{0, 70}, {0, 72}, {1, 80}, {2, 90}, {2, 91}}));
}

}  // namespace
}  // namespace corvanel::testing
