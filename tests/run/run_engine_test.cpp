// SPDX-License-Identifier: GPL-3.0-or-later
// What the run follows: the clock's minutes, the tables built from a profile, and the set
// value the engine takes from them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/clock.h"
#include "common/error_numbers.h"
#include "common/text.h"
#include "profiles/run_profile.h"
#include "run/run_engine.h"
#include "run/safe_start.h"

namespace corvanel {
namespace {

// One segment from Start to End over minutes (or hours) 0 to Duration.
Loaded_Profile One_Segment(double start, double end, double duration,
                           const std::string& sensor = "K    ") {
    Run_Tables tables;
    tables.Seg_End_Time[0] = duration;
    tables.Seg_Start_Temp[0] = start;
    tables.Seg_End_Temp[0] = end;
    Loaded_Profile profile;
    profile.Use_Tables(tables, 2, sensor);
    return profile;
}

Date_Time At(int minute, int second = 0) {
    return Date_Time{2026, 3, 12, 8 + minute / 60, minute % 60, second};
}

// The set value a tick computes a number of whole minutes into the run.
TEST(Run_Engine, TheSetValueFollowsTheSegmentRoundingHalvesToEven) {
    const struct {
        const char* What;
        double Start, End, Duration;
        int Minutes;
        bool Hours;
        std::string Sensor;
        int Set_Value;
        const char* Shown;
    } cases[] = {{"tie rounds down to even", 0, 5, 2, 1, false, "K    ", 2, "2"},
                 {"tie rounds up to even", 0, 7, 2, 1, false, "K    ", 4, "4"},
                 {"cooling ramp", 1000, 400, 10, 5, false, "K    ", 700, "700"},
                 {"hours count whole minutes", 0, 300, 3, 90, true, "K    ", 150, "150"},
                 {"platinum in tenths", 1234, 1234, 10, 3, false, "PtJIS", 1234, "123.4"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const Loaded_Profile profile = One_Segment(c.Start, c.End, c.Duration, c.Sensor);
        Run_Engine engine(profile);
        engine.Use_Minutes(!c.Hours);
        engine.Start(At(0, 30));
        engine.Count(At(c.Minutes, 30));
        EXPECT_FALSE(engine.Find_Segment());
        engine.Follow_Profile();
        EXPECT_EQ(engine.Set_Value(), c.Set_Value);
        EXPECT_EQ(profile.Controller_Units_Text(engine.Set_Value()), c.Shown);
    }
}

TEST(Run_Engine, ATimeOnASegmentEndBelongsToTheNextSegment) {
    Run_Tables tables;  // three segments: 0-60, 60-60 (zero length), 60-90
    tables.Seg_End_Time[0] = 60;
    tables.Seg_End_Time[1] = 60;
    tables.Seg_End_Time[2] = 90;
    Loaded_Profile profile;
    profile.Use_Tables(tables, 4, "K    ");
    const Run_Engine engine(profile);
    std::vector<int> segments;
    for (double time : {0.0, 59.99, 60.0, 90.0, 500.0})
        segments.push_back(engine.Determine_Current_Segment(time));
    EXPECT_EQ(segments, (std::vector<int>{1, 1, 3, 4, 4}));  // the zero-length one never
}

Profile_Sheet Sheet_Of(std::initializer_list<std::array<std::string, 10>> rows) {
    Profile_Sheet sheet{};
    int row = 1;
    for (const auto& cells : rows) sheet[row++] = cells;
    return sheet;
}

// Segment k of the tables as "start-end:from-to/limit".
std::string Segment_Of(const Run_Tables& tables, int k) {
    return Format_Number(tables.Seg_Start_Time[k]) + "-" + Format_Number(tables.Seg_End_Time[k]) +
           ":" + Format_Number(tables.Seg_Start_Temp[k]) + "-" +
           Format_Number(tables.Seg_End_Temp[k]) + "/" + Format_Number(tables.Seg_Error_Limit[k]);
}

// The worked example; a blank limit stands for 3000. A platinum sensor works in tenths,
// except that 3000, while the chart stays in degrees.
TEST(Run_Tables, TheWorkedExampleAndAPlatinumProfileInTenths) {
    Profile_Sheet sheet = Sheet_Of({{"1", "0", "60", "r", "70", "1000", "15.50", "50", "", ""},
                                    {"2", "60.00", "30", "h", "1000", "1000", "0", "", "", ""},
                                    {"3", "90.00", "", "e", "1000", "", "", "", "", ""}});
    Run_Tables tables;
    Build_Run_Tables(sheet, "K    ", 3, tables);
    EXPECT_EQ(Segment_Of(tables, 0) + " " + Segment_Of(tables, 1),
              "0-60:70-1000/50 60-90:1000-1000/3000");
    for (int k = 1; k < 255; ++k) ASSERT_EQ(tables.Seg_Error_Limit[k], 3000) << k;
    EXPECT_EQ(Build_Run_Chart(sheet),
              (std::vector<std::pair<double, double>>{{0, 0}, {0, 70}, {60, 1000}, {90, 1000}}));

    sheet = Sheet_Of({{"1", "0", "10", "r", "20", "400", "38.00", "5", "", ""},
                      {"2", "10.00", "5", "h", "400", "400", "0", "", "", ""},
                      {"3", "15.00", "", "e", "400", "", "", "", "", ""}});
    Build_Run_Tables(sheet, "PtJIS", 3, tables);
    EXPECT_EQ(Segment_Of(tables, 0) + " " + Segment_Of(tables, 1),
              "0-10:200-4000/50 10-15:4000-4000/3000");
    EXPECT_EQ(Build_Run_Chart(sheet)[1], std::make_pair(0.0, 20.0));

    // A cell that is no number stops the build instead of firing a wrong curve.
    sheet = Sheet_Of({{"1", "0", "ten", "r", "20", "400", "", "", "", ""},
                      {"2", "", "", "e", "400", "", "", "", "", ""}});
    EXPECT_THROW(Build_Run_Tables(sheet, "K    ", 2, tables), Run_Time_Error);
}

// A warm kiln starts where the first rising segment reaches it, even when a hold comes
// first: half-way up a ramp from 30 to 90 minutes is 60 minutes.
TEST(Safe_Start, AWarmKilnStartsWhereTheFirstRisingSegmentReachesIt) {
    Run_Tables tables;
    tables.Seg_Start_Time = {0, 30, 90};
    tables.Seg_End_Time = {30, 90};
    tables.Seg_Start_Temp = {70, 70, 1070};
    tables.Seg_End_Temp = {70, 1070};
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 570), 60);
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 2000), 90);
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 60), 0);
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 70), 0);   // at the start: from the start
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 2, 570), 0);  // the hold alone never rises
    tables.Seg_Start_Temp[0] = 20;
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 2, 45), 15);  // one ramp is enough
}

// After a power cut: up to 1000 F, a hold, up to 2000 F, a hold at the top. A firing goes
// on where it stopped, from where an earlier ramp meets a cooler kiln, or not at all.
TEST(Safe_Start, AnInterruptedFiringGoesOnOnlyWithinTheLimitsOfItsSegment) {
    Run_Tables tables;
    tables.Seg_Start_Time = {0, 60, 90, 150, 180};
    tables.Seg_End_Time = {60, 90, 150, 180};
    tables.Seg_Start_Temp = {70, 1000, 1000, 2000, 2000};
    tables.Seg_End_Temp = {1000, 1000, 2000, 2000};
    const std::tuple<double, double, long long, std::string> cases[] = {
        {30, 300, 600, "go on at 14.84"},  // where the first ramp meets 300 F
        {30, 600, 600, "go on at 30.00"},
        {75, 800, 600, "go on at 75.00"},  // a hold below the top: as it stopped
        {120, 1450, 600, "go on at 120.00"},
        {120, 1400, 600, "the kiln is 100 °F below the firing's set value"},
        {160, 1930, 600, "go on at 160.00"},
        {160, 1920, 600, "the kiln is 80 °F below the firing's set value"},
        {120, 1500, 31 * 60,
         "the program was not running for 31 min, longer than the 30 min a "
         "firing continues after"},
        {120, 211, 600, "the kiln is at 211 °F, below 212 °F"},
        {180, 1900, 600, "its profile had ended"}};
    for (const auto& [stopped, now, gap, expected] : cases) {
        const Firing_Continuation decided = Decide_Continuation(
            tables, 5,
            {.Stopped_At = stopped, .Measured_Then = 0, .Measured_Now = now, .Gap_Seconds = gap});
        EXPECT_EQ(
            decided.Allowed ? "go on at " + Format_00(decided.Elapsed) : decided.Why.English(),
            expected)
            << stopped << " " << now;
    }
}

TEST(Clock, CountsMinuteBoundariesNotElapsedMinutes) {
    EXPECT_EQ(Minute_Boundaries_Between({2026, 1, 1, 10, 0, 59}, {2026, 1, 1, 10, 1, 0}), 1);
    EXPECT_EQ(Minute_Boundaries_Between({2026, 1, 1, 10, 0, 0}, {2026, 1, 1, 10, 0, 59}), 0);
    EXPECT_EQ(Minute_Boundaries_Between({2026, 12, 31, 23, 59, 30}, {2027, 1, 1, 0, 30, 0}), 31);
    EXPECT_EQ(Minute_Boundaries_Between({2024, 2, 28, 23, 0, 0}, {2024, 3, 1, 0, 0, 0}), 1500);
    EXPECT_EQ(Minute_Boundaries_Between({2026, 1, 1, 10, 5, 0}, {2026, 1, 1, 10, 0, 0}), -5);
}

TEST(Clock, SecondsRoundTripThroughTheCalendar) {
    for (Date_Time time : {Date_Time{1969, 12, 31, 12, 30, 15}, Date_Time{1999, 12, 31, 23, 59, 59},
                           Date_Time{2024, 2, 29, 12, 0, 1}, Date_Time{2100, 3, 1, 0, 0, 0}}) {
        Date_Time back = Date_Time_Of_Seconds(Seconds_Of(time));
        EXPECT_EQ(Format_Month_Day_Year_Hour_Minute(back), Format_Month_Day_Year_Hour_Minute(time));
        EXPECT_EQ(back.Second, time.Second);
    }
}

// The offset a record line carries follows the zone's summer time of that very year: in
// 2027 Central Europe goes to summer time on 28 March, in 2028 already on the 26th.
TEST(Clock, TheLocalOffsetFollowsSummerTimeOfThatYear) {
    const char* zone = std::getenv("TZ");
    const std::string saved = zone ? zone : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    EXPECT_EQ(Local_Offset_Minutes({2027, 3, 27, 12, 0, 0}), 60);
    EXPECT_EQ(Local_Offset_Minutes({2027, 3, 28, 12, 0, 0}), 120);
    EXPECT_EQ(Local_Offset_Minutes({2028, 3, 27, 12, 0, 0}), 120);
    zone ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace corvanel
