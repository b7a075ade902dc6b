#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

// The set value a control tick computes on one segment from Start_Temp to End_Temp over
// minutes (or hours) 0 to Duration, a number of whole minutes into the run.
struct Set_Value_Case {
    const char* What;
    double Start_Temp, End_Temp, Duration;
    int Elapsed_Minutes;
    bool Hours;
    std::string Sensor;
    int Desired;
    const char* Shown;
};

class Desired_Temp : public ::testing::TestWithParam<Set_Value_Case> {};

TEST_P(Desired_Temp, FollowsTheSegmentRoundingHalvesToEven) {
    const Set_Value_Case& c = GetParam();
    Main_Window_Rig rig;
    Traj_form& form = rig.Form;
    form.Sensor_Type = c.Sensor;
    form.Time_Unit = c.Hours ? "H" : "M";
    form.Finished_Segment = 2;
    form.Tables.Seg_End_Time[0] = c.Duration;
    form.Tables.Seg_Start_Temp[0] = c.Start_Temp;
    form.Tables.Seg_End_Temp[0] = c.End_Temp;
    form.Run_Start = rig.Clock.Now();
    rig.Clock.Advance(60LL * c.Elapsed_Minutes);
    form.Control_Interval_Timer();
    EXPECT_EQ(form.Desired_Temp, c.Desired);
    EXPECT_EQ(form.Profile_Temperature, c.Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Desired_Temp,
    ::testing::Values(
        Set_Value_Case{"half_way_up_a_ramp", 70, 250, 60, 30, false, "K    ", 160, "160"},
        Set_Value_Case{"tie_rounds_down_to_even", 0, 5, 2, 1, false, "K    ", 2, "2"},
        Set_Value_Case{"tie_rounds_up_to_even", 0, 7, 2, 1, false, "K    ", 4, "4"},
        Set_Value_Case{"cooling_ramp", 1000, 400, 10, 5, false, "K    ", 700, "700"},
        Set_Value_Case{"hours_count_whole_minutes", 0, 300, 3, 90, true, "K    ", 150, "150"},
        Set_Value_Case{"platinum_in_tenths", 1234, 1234, 10, 3, false, "PtJIS", 1234, "123.4"}),
    [](const auto& info) { return std::string(info.param.What); });

TEST(Desired_Temp_Segments, ATimeOnASegmentEndBelongsToTheNextSegment) {
    Main_Window_Rig rig;
    Traj_form& form = rig.Form;
    form.Finished_Segment = 4;  // three segments: 0-60, 60-60 (zero length), 60-90
    form.Tables.Seg_End_Time[0] = 60;
    form.Tables.Seg_End_Time[1] = 60;
    form.Tables.Seg_End_Time[2] = 90;
    std::vector<int> segments;
    for (double time : {0.0, 59.99, 60.0, 90.0, 500.0})
        segments.push_back(form.Determine_Current_Segment(time));
    EXPECT_EQ(segments, (std::vector<int>{1, 1, 3, 4, 4}));  // the zero-length one never
}

TEST(Desired_Temp_Errors,
     AnImpossibleValueKeepsTheLastGoodOneAndOneBeyondTheFieldIsSentAsTheNearest) {
    Main_Window_Rig rig;
    Traj_form& form = rig.Form;
    form.Form_Load();
    form.Finished_Segment = 2;
    form.Tables.Seg_End_Time[0] = 1;
    form.Tables.Seg_End_Temp[0] = 1e9;  // a damaged profile
    form.Run_Start = rig.Clock.Now();
    form.Desired_Temp = 55;
    form.Elapsed_Base = 0.5;
    rig.Set_Values_Sent();
    form.Control_Interval_Timer();
    EXPECT_TRUE(rig.Said("Control Timer Loop Error\r\nDesired Temp Calc\r\nError Number= 6\r\n"));
    EXPECT_EQ(form.Desired_Temp, 55);  // the last good value stays in force

    form.Clear();
    form.Desired_Temp = 12000;  // a platinum profile at 1200.0 degrees
    form.Write_Temp_Unit_SV();
    EXPECT_EQ(rig.Set_Values_Sent(), (std::vector<int>{55, 9999}));
    EXPECT_TRUE(
        rig.Said("Set value does not fit the controller (-999 to 9999), sent instead: "
                 "12000 => 9999\r\n"))
        << form.User_Message_Box;
}

}  // namespace
}  // namespace corvanel::testing
