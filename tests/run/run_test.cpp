// SPDX-License-Identifier: GPL-3.0-or-later
// What the run follows and what guards it: the clock, the tables and the set value, a
// warm or interrupted start, and the safety layer's alarms, banner and settings.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "common/clock.h"
#include "common/error_numbers.h"
#include "common/text.h"
#include "language/language_database.h"
#include "profiles/run_profile.h"
#include "run/alarm_banner.h"
#include "run/alarm_rule.h"
#include "run/run_engine.h"
#include "run/run_safety.h"
#include "run/safe_start.h"
#include "run/safety_settings.h"
#include "run/safety_supervisor.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

// Segments as {start time, end time, from, to} in the controller's units, then the end.
Loaded_Profile Segments(const std::vector<std::array<double, 4>>& rows, const std::string& sensor) {
    Run_Tables tables;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        tables.Seg_Start_Time[k] = rows[k][0];
        tables.Seg_End_Time[k] = rows[k][1];
        tables.Seg_Start_Temp[k] = rows[k][2];
        tables.Seg_End_Temp[k] = rows[k][3];
    }
    Loaded_Profile profile;
    profile.Use_Tables(tables, static_cast<int>(rows.size()) + 1, sensor);
    return profile;
}

// The set value a tick works out a number of whole minutes into the run follows its
// segment, halves rounding to even. Where a profile's rows do not join (a start moved by
// hand), or it is in the other scale or beyond its sensor, the set value keeps inside
// every limit, and says which one held it.
TEST(Run_Engine, ASetValueFollowsItsSegmentWithinThePeakTheSensorAndTheController) {
    using L = Set_Value_Limit;
    using Rows = std::vector<std::array<double, 4>>;
    const Rows climb = {{0, 60, 70, 1000}, {60, 90, 1000, 1000}};
    const Rows late_rise = {{0, 60, 1000, 400}, {80, 100, 400, 800}};
    const Rows late_cooling = {{0, 60, 2000, 1800}, {80, 100, 1800, 1000}};
    const Rows late_from_peak = {{0, 60, 70, 2269}, {80, 100, 2269, 1000}};
    const Rows too_hot = {{0, 60, 70, 2400}, {60, 90, 2400, 2400}};
    const Rows from_cold = {{0, 60, -150, 500}};
    const Rows to_2269 = {{0, 60, 70, 2269}, {60, 90, 2269, 2269}};
    const Rows platinum = {{0, 60, 200, 6000}, {60, 90, 6000, 6000}};
    const Rows tenths = {{0, 10, 1234, 1234}};
    const Controller_Limits F{true, {}}, C{false, {}};
    const struct {
        const char* What;
        Rows Segments;
        int Minute, Set_Value;
        Set_Value_Limit Held_By = L::None;
        Controller_Limits Controller = {};
        std::string Sensor = "K    ";
        bool Hours = false;
        const char* Shown = nullptr;  // in the controller's units
    } cases[] = {
        {"tie rounds down to even", {{0, 2, 0, 5}}, 1, 2, L::None, {}, "K    ", false, "2"},
        {"tie rounds up to even", {{0, 2, 0, 7}}, 1, 4, L::None, {}, "K    ", false, "4"},
        {"cooling ramp", {{0, 10, 1000, 400}}, 5, 700, L::None, {}, "K    ", false, "700"},
        {"hours count whole minutes", {{0, 3, 0, 300}}, 90, 150, L::None, {}, "K    ", true, "150"},
        {"platinum shown in tenths", tenths, 3, 1234, L::None, {}, "PtJIS", false, "123.4"},
        {"a joined ramp as asked", climb, 30, 535, L::None, {true, 2300}},
        {"a rise starting late: its start", late_rise, 70, 400, L::Segment_Range, F},
        {"a cooling starting late: its start", late_cooling, 70, 1800, L::Segment_Range, F},
        {"the same from the peak", late_from_peak, 70, 2269, L::Profile_Peak, F},
        {"above the sensor's range", too_hot, 59, 2300, L::Sensor_Range, F},
        {"below the sensor's range", from_cold, 3, -100, L::Sensor_Range, F, "J    "},
        {"Fahrenheit on a Celsius controller", to_2269, 75, 1300, L::Sensor_Range, C},
        {"its limit read", to_2269, 75, 1300, L::Controller_High, {false, 1300}},
        {"the controller's limit", climb, 50, 800, L::Controller_High, {true, 800}},
        {"platinum held in tenths", platinum, 75, 4500, L::Sensor_Range, C, "PtJIS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const Loaded_Profile profile = Segments(c.Segments, c.Sensor);
        Run_Engine engine(profile);
        engine.Use_Controller_Limits(c.Controller);
        engine.Use_Minutes(!c.Hours);
        engine.Start({2026, 3, 12, 8, 0, 30}, 500);
        engine.Count(500 + 60.0 * c.Minute);
        EXPECT_FALSE(engine.Find_Segment());
        engine.Follow_Profile();
        EXPECT_EQ(engine.Set_Value(), c.Set_Value);
        if (c.Shown) {
            EXPECT_EQ(profile.Controller_Units_Text(engine.Set_Value()), c.Shown);
        }
        EXPECT_EQ(engine.Held_By(), c.Held_By);
        EXPECT_EQ(engine.Held_Text().Empty(), c.Held_By == L::None);
        if (c.Segments == late_cooling) {
            EXPECT_EQ(engine.Held_Text().English(),
                      "The profile asks for 2200 here, beyond the start and end temperatures of "
                      "segment 2: the set value is held at 1800");
        }
    }
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
// first: half-way up a ramp from 30 to 90 minutes is 60 minutes. An interrupted firing
// goes on only within the limits of its segment.
TEST(Safe_Start, AWarmKilnStartsOnTheFirstRiseAndAnInterruptedOneWithinItsSegment) {
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
    tables.Seg_Start_Temp[1] = 150;  // a step up after the hold: a kiln below it starts there
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 3, 100), 30);
    tables.Seg_Start_Temp[0] = 20;
    EXPECT_EQ(Elapsed_At_Kiln_Temperature(tables, 2, 45), 15);  // one ramp is enough

    // After a power cut: up to 1000 F, a hold, up to 2000 F, a hold at the top. A firing
    // goes on where it stopped, from where an earlier ramp meets a cooler kiln, or not at all.
    tables.Seg_Start_Time = {0, 60, 90, 150, 180};
    tables.Seg_End_Time = {60, 90, 150, 180};
    tables.Seg_Start_Temp = {70, 1000, 1000, 2000, 2000};
    tables.Seg_End_Temp = {1000, 1000, 2000, 2000};
    const struct {
        Interruption Cut;  // stopped at, measured then and now, the gap's seconds
        std::string Expected;
    } cases[] = {
        {{30, 0, 300, 600}, "go on at 14.84"},  // where the first ramp meets 300 F
        {{30, 0, 600, 600}, "go on at 30.00"},
        {{75, 0, 800, 600}, "go on at 75.00"},     // a hold below the top: as it stopped
        {{120, 0, 1428, 600}, "go on at 120.00"},  // 72 °F below the top may still catch up
        {{120, 0, 1427, 600}, "the kiln is 73 °F below the firing's set value"},
        {{120, 0, 1460, 600, 30, false}, "go on at 120.00"},  // in Celsius 40 degrees
        {{120, 0, 1459, 600, 30, false}, "the kiln is 41 °C below the firing's set value"},
        {{160, 0, 1930, 600}, "go on at 160.00"},
        {{160, 0, 1920, 600}, "the kiln is 80 °F below the firing's set value"},
        {{120, 0, 1500, 31 * 60},
         "the program was not running for 31 min, longer than the 30 min a firing continues after"},
        {{120, 0, 211, 600}, "the kiln is at 211 °F, below 212 °F"},
        {{180, 0, 1900, 600}, "its profile had ended"}};
    for (const auto& c : cases) {
        const Firing_Continuation decided = Decide_Continuation(tables, 5, c.Cut);
        EXPECT_EQ(
            decided.Allowed ? "go on at " + Format_00(decided.Elapsed) : decided.Why.English(),
            c.Expected)
            << c.Cut.Stopped_At << " " << c.Cut.Measured_Now;
    }
}

// Seconds go through the calendar and back; the local offset is that year's.
TEST(Clock, SecondsRoundTripThroughTheCalendarAndTheOffsetFollowsSummerTime) {
    for (Date_Time time : {Date_Time{1969, 12, 31, 12, 30, 15}, Date_Time{1999, 12, 31, 23, 59, 59},
                           Date_Time{2024, 2, 29, 12, 0, 1}, Date_Time{2100, 3, 1, 0, 0, 0}}) {
        Date_Time back = Date_Time_Of_Seconds(Seconds_Of(time));
        EXPECT_EQ(Format_Month_Day_Year_Hour_Minute(back), Format_Month_Day_Year_Hour_Minute(time));
        EXPECT_EQ(back.Second, time.Second);
    }
    // The offset a record line carries follows the zone's summer time of that very year:
    // in 2027 Central Europe goes to summer time on 28 March, in 2028 already on the 26th.
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

// One control tick a minute (or `Tick_Seconds`); `Kiln` fills in what the controller said
// at tick m of a healthy firing of a profile that tops out at 1000.
struct Supervisor_Case {
    const char* Name;
    std::function<void(int minute, Firing_Status&)> Kiln;
    int Minutes;
    std::string Expected;  // "raised <alarm> @m; " and "cleared <alarm> @m; ", in order
    std::string Scale = "F";
    bool Controller_Lost_Alarm = true;  // the safety setting that switches that alarm off
    double Tick_Seconds = 60;
    double Confirm_Seconds = 18;
};

// A kiln at full power `gap` below its set value, climbing `per_minute`.
auto Full_Power(double per_minute, double gap = 100) {
    return [=](int m, Firing_Status& t) {
        t.Measured = 300 + per_minute * m;
        t.Set_Value = t.Measured + gap;
        t.Output_Percent = 100;
    };
}

// Ramping to 880 at minute 8, holding at 1000 from 10, cooling unpowered from 20; a
// reading 200 too high at each of the `bad` minutes (one alone is noise).
auto Firing(std::vector<int> bad) {
    return [=](int m, Firing_Status& t) {
        t.Measured = m < 10 ? 800 + 10 * m : m < 20 ? 1000 : 1000 - 5 * (m - 20);
        t.Set_Value = t.Measured, t.Output_Percent = m < 20 ? 50 : 0;
        if (std::ranges::find(bad, m) != bad.end()) t.Measured += 200;
    };
}

// A soft off at minute 5 of a hold at 1000: the kiln cools 5 a minute, then from minute
// 10 climbs 10 a minute as a welded relay heats it; `low` puts one reading 100 too low.
auto After_Soft_Off(int climb_from, int low = -1) {
    return [=](int m, Firing_Status& t) {
        t.Measured = m < 5            ? 1000
                     : m < climb_from ? 1000 - 5 * (m - 5)
                                      : 1000 - 5 * (climb_from - 6) + 10 * (m - climb_from + 1);
        t.Set_Value = m < 5 ? 1000 : 70;
        t.Output_Percent = m < 5 ? 20 : 0;
        if (m >= 5) t.State = Firing_State::Cooling;
        if (m == low) t.Measured -= 100;
    };
}

// Outside a run: the controller at 70 with its output off, the kiln at `measured`.
void Left_Alone(Firing_Status& t, double measured) {
    t.State = Firing_State::Monitor;
    t.Set_Value = 70, t.Output_Percent = 0;
    t.Measured = std::round(measured);
}

// A kiln cooling by itself from `from` towards 70 over `seconds`, its time constant in hours.
double Cooled(double from, int seconds, double hours) {
    return 70 + (from - 70) * std::exp(-seconds / (hours * 3600));
}

// Over 1050 from tick 5 on, and once at tick 2.
void Over_From_Tick_5(int m, Firing_Status& t) {
    t.Measured = m == 2 || m >= 5 ? 1100 : 990;
}

// Each case's alarms raised and cleared, at the right tick.
TEST(Safety_Supervisor, RaisesAndClearsEachAlarmAtTheRightTick) {
    const Supervisor_Case cases[] = {
        {"ControllerLostOnTheFifthFailedTick",
         [](int m, Firing_Status& t) { t.Exchange_Failed = m >= 3 && m < 10; }, 12,
         "raised Controller lost @7; cleared Controller lost @10; "},
        {"ControllerLostSwitchedOffStaysQuiet",
         [](int, Firing_Status& t) { t.Exchange_Failed = true; }, 12, "", "F", false},
        {"ThermocoupleBreakOnTheSecondTickInARow",
         [](int m, Firing_Status& t) { t.Input_Error = m == 2 || m == 5 || m == 6; }, 9,
         "raised Thermocouple break @6; cleared Thermocouple break @7; "},
        {"NineDegreesInTwentyMinutesIsAFailureToHeat", Full_Power(0.45), 30,
         "raised Failure to heat @20; "},
        {"AGapOfFortyIsAFailureInCelsiusOnly", Full_Power(0, 40), 30,
         "raised Failure to heat @20; ", "C"},
        {"AGapOfJustTheSettingIsNoFailure", Full_Power(0, 28), 30, "", "C"},
        {"CreepingAcrossTheRiseStaysOneAlarmUntilTheGapCloses",
         [](int m, Firing_Status& t) {
             Full_Power(m < 25 ? 0 : 0.6)(m, t);
             if (m >= 50) t.Set_Value = t.Measured;
         },
         60, "raised Failure to heat @20; cleared Failure to heat @50; "},
        {"MoreThanFiftyAboveTheProfilesTop",
         [](int m, Firing_Status& t) { t.Measured = m < 5   ? 1050
                                                    : m < 8 ? 1051
                                                            : 990; }, 10,
         "raised Over-temperature @6; cleared Over-temperature @8; "},
        {"AStuckRelayClimbsWithTheOutputOff",
         [](int m, Firing_Status& t) {
             t.Output_Percent = m == 0 || m == 9 ? 10 : 0;  // a pulse starts it anew
             t.Measured = 500 + 6 * m;
         },
         24,
         "raised Kiln heating with output off @19; raised Over-temperature @21; "
         "raised Kiln hot with output off @23; "},
        // The lowest reading after the soft off counts as 985 (980 is as low as its
        // neighbour 985 only): 1015 is the last that is not heating, 1025 the first that
        // is, and the next reading confirms it. Five minutes after that lowest reading the
        // kiln, far above its set value, has not cooled since: held hot.
        {"AfterASoftOffARiseOfMoreThanThirtyIsHeating", After_Soft_Off(10), 16,
         "raised Kiln hot with output off @14; "
         "raised Kiln heating with output off @15; "},
        {"OneLowReadingIsNoLowestAndNoRise", After_Soft_Off(99, 7), 15, ""},
        {"TwoInARowInARampAHoldAndTheCoolingAreAnAlarm", Firing({8, 9, 14, 15, 25, 26}), 30,
         "raised Over-temperature @9; cleared Over-temperature @10; "
         "raised Over-temperature @15; cleared Over-temperature @16; "
         "raised Over-temperature @26; cleared Over-temperature @27; "},
        {"EighteenSecondsAreSixTicksOfThree", Over_From_Tick_5, 20, "raised Over-temperature @11; ",
         "F", true, 3},
        {"NoSecondsStillTakeTwoReadings", Over_From_Tick_5, 20, "raised Over-temperature @6; ", "F",
         true, 3, 0},
        {"ThermocoupleBreakLastsItsSecondsToo",
         [](int m, Firing_Status& t) { t.Input_Error = m >= 2; }, 12,
         "raised Thermocouple break @8; ", "F", true, 3},
        // ---- outside a run: no profile followed, the controller left at room temperature ----
        {"InMonitorModeARelayStuckAtRoomTemperatureIsHeatingAndThenHeldHot",
         [](int m, Firing_Status& t) { Left_Alone(t, m < 10 ? 75 : 75 + 20 * (m - 9)); }, 24,
         "raised Kiln heating with output off @13; "
         "raised Kiln hot with output off @20; "},
        {"InMonitorModeNothingOnlyARunCanRaise",
         [](int m, Firing_Status& t) {
             Left_Alone(t, 1100);
             t.Exchange_Failed = m < 12;
             t.Input_Error = m >= 12 && m < 20;
             // Full power 100 below the set value, not rising, above the plan.
             t.Set_Value = 1200, t.Output_Percent = 100;
         },
         50, ""},
        // Room temperature through an afternoon: 35 degrees over five hours is no relay.
        {"InMonitorModeARoomWarmingSlowlyIsNoAlarm",
         [](int m, Firing_Status& t) { Left_Alone(t, 60 + m * 35.0 / 300); }, 300, ""},
        {"AnHourOfAHotKilnCoolingInMonitorModeRaisesNothing",
         [](int m, Firing_Status& t) { Left_Alone(t, Cooled(1200, m * 3, 1)); }, 1200, "", "F",
         true, 3},
        // A big kiln in slow cooling, near the margin: still a degree every few minutes.
        {"AnHourOfASlowKilnNearTheMarginRaisesNothing",
         [](int m, Firing_Status& t) { Left_Alone(t, Cooled(260, m * 3, 8)); }, 1200, "", "F", true,
         3},
        // The kiln rose 28 after the soft off, under the heating alarm's 30, and sits at its
        // ceiling: not cooling for five minutes is the relay; cooling by 30 ends it.
        {"AKilnAtItsCeilingWithTheOutputOffIsHeldHot",
         [](int m, Firing_Status& t) {
             Left_Alone(t, m < 20 ? std::min(2523 + 4 * m, 2551) : 2551 - 10 * (m - 19));
         },
         30, "raised Kiln hot with output off @6; cleared Kiln hot with output off @24; "},
        // Readings 200 high, twice in a row at three seconds, and one 50 low: no rise lasts.
        {"SpikesAloneRaiseNothing",
         [](int m, Firing_Status& t) {
             Left_Alone(t, m == 10 || m == 11 ? 275 : m == 20 ? 25 : 75);
         },
         40, "", "F", true, 3},
        // A Celsius profile opened while a Fahrenheit kiln cools, and back: the readings of
        // one scale are never compared with the other's.
        {"ReadingsInAnotherScaleStartTheWatchAfresh",
         [](int m, Firing_Status& t) {
             const double fahrenheit = 800 - 2 * m;
             Left_Alone(t, fahrenheit);
             if (m >= 10 && m < 20) {
                 t.Temp_Scale = "C";
                 t.Measured = std::round((fahrenheit - 32) * 5 / 9);
                 t.Set_Value = 21;
             }
         },
         30, ""}};
    for (const Supervisor_Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Safety_Settings settings;
        settings.Alarm_Values["Controller_Lost_Alarm"] = c.Controller_Lost_Alarm;
        settings.Alarm_Confirm_Seconds = c.Confirm_Seconds;
        Safety_Supervisor supervisor(settings);
        auto plan = std::make_shared<const Plan_Points>(Plan_Points{{0, 0}, {0, 70}, {60, 1000}});
        std::string heard;
        for (int m = 0; m < c.Minutes; ++m) {
            Firing_Status tick;
            tick.Clock = Date_Time_Of_Seconds(Seconds_Of({2026, 12, 5, 9, 0, 0}) +
                                              static_cast<long long>(c.Tick_Seconds) * m);
            tick.Tick_Length = c.Tick_Seconds;
            tick.Temp_Scale = c.Scale;
            tick.Plan = plan;
            tick.State = Firing_State::Running;
            tick.Set_Value = 500, tick.Measured = 495, tick.Output_Percent = 40;
            c.Kiln(m, tick);
            Safety_Changes changes = supervisor.Check(tick);
            for (auto [word, alarms] :
                 {std::pair{"raised ", &changes.Raised}, {"cleared ", &changes.Cleared}})
                for (Safety_Alarm alarm : *alarms)
                    heard += word + std::string(Safety_Alarm_Name(alarm)) + " @" +
                             std::to_string(m) + "; ";
        }
        EXPECT_EQ(heard, c.Expected);
    }
}

// A new run starts with no alarm of the last one: the reset clears what was active.
TEST(Safety_Supervisor, ResetEndsTheActiveAlarms) {
    Safety_Supervisor supervisor{Safety_Settings{}};
    Firing_Status tick;
    tick.Plan = std::make_shared<const Plan_Points>(Plan_Points{{0, 1000}});
    tick.Measured = 2000, tick.Tick_Length = 60;
    tick.State = Firing_State::Running;
    EXPECT_TRUE(supervisor.Check(tick).Empty());
    tick.Clock = Date_Time_Of_Seconds(Seconds_Of(tick.Clock) + 60);
    const Safety_Changes raised = supervisor.Check(tick);
    ASSERT_EQ(raised.Raised.size(), 1u);
    EXPECT_EQ(Safety_Alarm_Name(raised.Raised[0]), std::string("Over-temperature"));
    EXPECT_EQ(supervisor.Active_Names(), std::vector<std::string>{"Over-temperature"});
    EXPECT_EQ(supervisor.Reset().Cleared, raised.Raised);
    EXPECT_TRUE(supervisor.Active_Names().empty());
}

// The list is all the layer knows of its alarms. Each rule's words reach the operator
// through variables no literal scan sees: its name, advice and setting labels need rows
// in every shipped language. A name is what the banner and the record tell alarms apart
// by, a key what the file and the rules' values do: neither may be taken twice.
TEST(Alarm_Rules, EachNameAndKeyIsItsOwnAndItsWordsAreTranslated) {
    std::set<std::string> names, keys;
    for (const Setting* setting : Safety_Setting_List())
        EXPECT_TRUE(keys.insert(setting->Key).second) << setting->Key;
    for (const char* shipped : {"german", "spanish"}) {
        Language_Database language(
            std::string(CORVANEL_PROGRAM_DIR) + "/LanguageFiles/" + shipped + ".mdb",
            Language_Database::Access::Read_Only);
        for (const auto& rule : Alarm_Rules()) {
            std::vector<std::string> words = {rule->Name()};
            if (*rule->Advice()) words.emplace_back(rule->Advice());
            for (const Setting* setting : rule->Settings()) words.push_back(setting->Label);
            for (const std::string& english : words) {
                const std::optional<Phrase_Row> row = language.Find(english);
                EXPECT_TRUE(row && !row->TargetLanguage.value_or("").empty())
                    << shipped << ": " << english;
            }
        }
    }
    for (const auto& rule : Alarm_Rules()) EXPECT_TRUE(names.insert(rule->Name()).second);
}

// A watch after a run ends on a good reading below the setting of the profile's scale: the
// watch of a hot kiln (only a hot one), and that of a run ending with an alarm on, which is
// watched however cold and, outside a firing, keeps a record named after its moment.
TEST(Run_Safety, AWatchAfterTheRunEndsOnAGoodReadingBelowTheSettingOfItsScale) {
    const Safety_Settings settings;
    for (const bool alarm : {false, true}) {
        SCOPED_TRACE(alarm ? "alarm" : "hot kiln");
        Run_Safety safety;
        Firing_Status last;
        last.Clock = {2026, 12, 5, 9, 3, 7};
        last.Measured = alarm ? 80 : 149;
        if (alarm) last.Alarms = {"Kiln heating with output off"};
        safety.Run_Ended(last, settings);
        EXPECT_EQ(safety.Cooling(), alarm) << "149 F is cold";
        last.Temp_Scale = alarm ? "F" : "C";
        safety.Run_Ended(last, settings);
        ASSERT_TRUE(safety.Cooling());
        auto ends = [&](const Firing_Status& tick) {
            return alarm ? safety.Alarm_Watch_Ends(tick, settings)
                         : safety.Cooling_Ends(tick, settings);
        };
        Firing_Status tick = last;
        if (alarm) {
            safety.End_Cooling();
            safety.Begin_Alarm_Watch(last.Clock);
            EXPECT_EQ(safety.Alarm_Record(), "kiln_alarm_05_12_2026_09_03_07.txt");
            tick.Plan = std::make_shared<const Plan_Points>();
            tick.Clock = Date_Time_Of_Seconds(Seconds_Of(last.Clock) + 90);
            tick.State = Firing_State::Monitor;
            tick.Output_Percent = 0;
            tick.Measured = 200;
            EXPECT_DOUBLE_EQ(safety.Seconds_Of_Alarm_Watch(tick.Clock), 90);
            EXPECT_FALSE(ends(tick)) << "hot";
        }
        tick.Measured = alarm ? 100 : 64;
        tick.Exchange_Failed = true;
        EXPECT_FALSE(ends(tick)) << "a failed read proves nothing";
        tick.Exchange_Failed = false;
        EXPECT_EQ(ends(tick), alarm ? "below 150 F" : "below 65 C");
        EXPECT_FALSE(safety.Cooling() || safety.Alarm_Watch());
        EXPECT_EQ(safety.Alarm_Record(), "");
        if (alarm) continue;
        // Past 48 hours the watch ends whatever the kiln reads.
        safety.Run_Ended(last, settings);
        tick.Measured = 1000;
        tick.Clock = Date_Time_Of_Seconds(Seconds_Of(last.Clock) + 48 * 3600 - 1);
        EXPECT_FALSE(ends(tick));
        tick.Clock = Date_Time_Of_Seconds(Seconds_Of(last.Clock) + 48 * 3600);
        EXPECT_EQ(ends(tick), "48 hours");
    }
}

// Each line not taken is said in the store's shared words, and an older file is completed
// quietly; the dialog's taking of the good entries is the run window's.
TEST(Safety_Settings, AMissingFileIsWrittenAnOlderOneCompletedAndBadLinesSaid) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    std::filesystem::create_directories(folder.Path() / "Setup");
    const std::string safety = paths.Setup_File("Safety.txt");
    auto said = [&] {
        Settings_Store store(paths);
        Safety_Settings_Read read = Read_Safety_Settings(store);
        std::vector<std::string> what;
        for (const Problem& problem : read.Problems) what.push_back(problem.What.English());
        return std::pair{read.Settings, what};
    };
    EXPECT_EQ(
        said().second,
        std::vector<std::string>{
            "The safety settings had not been saved yet: the defaults are on. SetUp -> Safety Settings changes them."});
    std::string file = Read_Whole_File(safety);
    const std::size_t later = file.find("Alarm_Confirm_Seconds=");
    ASSERT_NE(later, std::string::npos);
    Write_Whole_File(safety, file.substr(0, later));
    EXPECT_EQ(said().second, std::vector<std::string>{});
    EXPECT_EQ(Read_Whole_File(safety), file);
    for (auto [from, to] : {std::pair{"Controller_Lost_Ticks=5\r\n", ""},
                            {"Heat_Gap_C=28", "Heat_Gap_C=15.5"},
                            {"Heat_Rise=10", "Heat_Rise=2.5"},
                            {"Heat_Minutes=20", "Heat_Minutes = many"},
                            {"Thermocouple_Break_Ticks=2", "Thermocouple_Break_Ticks=2.5"},
                            {"Scale_Check=1", "Scale_Check=0\r\nColour=red"},
                            {"Alarm_Confirm_Seconds=18", "Alarm_Confirm_Seconds=0"}})
        file.replace(file.find(from), std::string(from).size(), to);
    Write_Whole_File(safety, file);
    Safety_Settings expected;
    expected.Alarm_Values["Heat_Gap_C"] = 15.5, expected.Alarm_Values["Heat_Rise"] = 2.5;
    expected.Alarm_Confirm_Seconds = 0;
    expected.Scale_Check = false;
    const auto [read, problems] = said();
    EXPECT_EQ(read, expected);
    EXPECT_EQ(
        problems,
        (std::vector<std::string>{
            "Minutes at full power: \"many\" is not a number from 1 to 600, so 20 is used.",
            "Readings in a row with an input error before a thermocouple break: \"2.5\" is not a whole number from 1 to 100, so 2 "
            "is used.",
            "A setting the program does not know was left out: \"Colour=red\".",
            "Unanswered readings in a row before the controller counts as lost is not set, so 5 is used."}));
}

// An acknowledged alarm says since when it is known, a later one calls again, ended ones
// stay said past an acknowledgement, and notices go with them but a count-down, whose
// choice stays offered; RUN PROFILE starts afresh.
TEST(Alarm_Banner, KeepsWhatGoesOnAndWhatEndedUntilStartedAfresh) {
    Alarm_Banner banner;
    const Date_Time nine{2026, 12, 5, 9, 0, 0}, three{2026, 12, 5, 15, 0, 0};
    banner.Notice("The firing was interrupted");
    banner.Renew_Notice("Goes on in", "Goes on in 30 s");
    banner.Renew_Notice("Goes on in", "Goes on in 29 s");
    banner.Offer_Continuation(true);
    EXPECT_TRUE(banner.Look() == Banner_Look::Quiet && banner.Acknowledge_Offered());
    EXPECT_FALSE(banner.Wants_Attention());
    banner.Raise("Over-temperature", nine);
    banner.Raise("Controller lost", nine);
    EXPECT_EQ(banner.Look(), Banner_Look::Alarm);
    banner.Acknowledge({2026, 12, 5, 14, 35, 59});
    EXPECT_EQ(banner.Text(),
              "Goes on in 29 s\r\n"
              "Acknowledged at 14:35: Over-temperature still present\r\n"
              "Acknowledged at 14:35: Controller lost still present");
    EXPECT_TRUE(banner.Look() == Banner_Look::Acknowledged && !banner.Acknowledge_Offered() &&
                banner.Continuation_Offered());
    banner.Drop_Notice("Goes on in");

    banner.Clear("Controller lost", three);
    banner.Raise("Failure to heat", three);
    EXPECT_TRUE(banner.Look() == Banner_Look::Alarm && banner.Wants_Attention());
    banner.Acknowledge({2026, 12, 5, 15, 1, 0});
    EXPECT_EQ(banner.Text(),
              "Acknowledged at 14:35: Over-temperature still present\r\n"
              "Alarm cleared: Controller lost at 15:00\r\n"
              "Acknowledged at 15:01: Failure to heat still present");
    banner.Clear("Over-temperature", three);
    banner.Clear("Failure to heat", three);
    banner.Acknowledge(three);
    EXPECT_TRUE(banner.Look() == Banner_Look::Quiet && !banner.Acknowledge_Offered());
    banner.Start_Afresh();
    EXPECT_TRUE(banner.Look() == Banner_Look::Hidden && !banner.Continuation_Offered());
}

}  // namespace
}  // namespace corvanel
