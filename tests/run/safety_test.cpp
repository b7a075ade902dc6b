// SPDX-License-Identifier: GPL-3.0-or-later
// The safety layer's rules: when each alarm is raised and cleared, what its banner says,
// and its settings file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "run/alarm_banner.h"
#include "run/run_safety.h"
#include "run/safety_settings.h"
#include "run/safety_supervisor.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

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

class Safety_Supervisor_Test : public ::testing::TestWithParam<Supervisor_Case> {};

TEST_P(Safety_Supervisor_Test, RaisesAndClearsEachAlarmAtTheRightTick) {
    const Supervisor_Case& c = GetParam();
    Safety_Settings settings;
    settings.Controller_Lost_Alarm = c.Controller_Lost_Alarm;
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
        tick.Set_Value = 500, tick.Measured = 495, tick.Output_Percent = 40;
        c.Kiln(m, tick);
        Safety_Changes changes = supervisor.Check(tick);
        for (auto [word, alarms] :
             {std::pair{"raised ", &changes.Raised}, {"cleared ", &changes.Cleared}})
            for (Safety_Alarm alarm : *alarms)
                heard +=
                    word + std::string(Safety_Alarm_Name(alarm)) + " @" + std::to_string(m) + "; ";
    }
    EXPECT_EQ(heard, c.Expected);
}

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

// Over 1050 from tick 5 on, and once at tick 2.
void Over_From_Tick_5(int m, Firing_Status& t) {
    t.Measured = m == 2 || m >= 5 ? 1100 : 990;
}

// A new run starts with no alarm of the last one: the reset clears what was active.
TEST(Safety_Supervisor, ResetEndsTheActiveAlarms) {
    Safety_Supervisor supervisor{Safety_Settings{}};
    Firing_Status tick;
    tick.Plan = std::make_shared<const Plan_Points>(Plan_Points{{0, 1000}});
    tick.Measured = 2000, tick.Tick_Length = 60;
    EXPECT_TRUE(supervisor.Check(tick).Empty());
    EXPECT_EQ(supervisor.Check(tick).Raised, std::vector{Safety_Alarm::Over_Temperature});
    EXPECT_EQ(supervisor.Active_Names(), std::vector<std::string>{"Over-temperature"});
    EXPECT_EQ(supervisor.Reset().Cleared, std::vector{Safety_Alarm::Over_Temperature});
    EXPECT_TRUE(supervisor.Active_Names().empty());
}

// Only a hot kiln is watched after its run; the watch ends on a good reading below the
// setting of the profile's scale, or after 48 hours whatever it reads.
TEST(Run_Safety, WatchesAHotKilnUntilItIsBelowTheSettingOrFortyEightHoursHavePassed) {
    const Safety_Settings settings;
    Run_Safety safety;
    Firing_Status last;
    last.Clock = {2026, 12, 5, 9, 0, 0};
    last.Measured = 149;
    safety.Run_Ended(last, settings);
    EXPECT_FALSE(safety.Cooling());
    last.Temp_Scale = "C";
    safety.Run_Ended(last, settings);
    ASSERT_TRUE(safety.Cooling());
    Firing_Status tick = last;
    tick.Measured = 64;
    tick.Exchange_Failed = true;
    EXPECT_FALSE(safety.Cooling_Ends(tick, settings)) << "a failed read proves nothing";
    tick.Exchange_Failed = false;
    EXPECT_EQ(safety.Cooling_Ends(tick, settings), "below 65 C");
    EXPECT_FALSE(safety.Cooling());
    safety.Run_Ended(last, settings);
    tick.Measured = 1000;
    tick.Clock = Date_Time_Of_Seconds(Seconds_Of(last.Clock) + 48 * 3600 - 1);
    EXPECT_FALSE(safety.Cooling_Ends(tick, settings));
    tick.Clock = Date_Time_Of_Seconds(Seconds_Of(last.Clock) + 48 * 3600);
    EXPECT_EQ(safety.Cooling_Ends(tick, settings), "48 hours");
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, Safety_Supervisor_Test,
    ::testing::Values(
        Supervisor_Case{"ControllerLostOnTheFifthFailedTick",
                        [](int m, Firing_Status& t) { t.Exchange_Failed = m >= 3 && m < 10; }, 12,
                        "raised Controller lost @7; cleared Controller lost @10; "},
        Supervisor_Case{"ControllerLostSwitchedOffStaysQuiet",
                        [](int, Firing_Status& t) { t.Exchange_Failed = true; }, 12, "", "F",
                        false},
        Supervisor_Case{"ThermocoupleBreakOnTheSecondTickInARow",
                        [](int m, Firing_Status& t) { t.Input_Error = m == 2 || m == 5 || m == 6; },
                        9, "raised Thermocouple break @6; cleared Thermocouple break @7; "},
        Supervisor_Case{"NineDegreesInTwentyMinutesIsAFailureToHeat", Full_Power(0.45), 30,
                        "raised Failure to heat @20; "},
        Supervisor_Case{"AGapOfFortyIsAFailureInCelsiusOnly", Full_Power(0, 40), 30,
                        "raised Failure to heat @20; ", "C"},
        Supervisor_Case{"CreepingAcrossTheRiseStaysOneAlarmUntilTheGapCloses",
                        [](int m, Firing_Status& t) {
                            Full_Power(m < 25 ? 0 : 0.6)(m, t);
                            if (m >= 50) t.Set_Value = t.Measured;
                        },
                        60, "raised Failure to heat @20; cleared Failure to heat @50; "},
        Supervisor_Case{"MoreThanFiftyAboveTheProfilesTop",
                        [](int m, Firing_Status& t) {
                            t.Measured = m < 5 ? 1050 : m < 8 ? 1051 : 990;
                        },
                        10, "raised Over-temperature @6; cleared Over-temperature @8; "},
        Supervisor_Case{"AStuckRelayClimbsWithTheOutputOff",
                        [](int m, Firing_Status& t) {
                            t.Output_Percent = m == 0 || m == 9 ? 10 : 0;  // a pulse starts it anew
                            t.Measured = 500 + 6 * m;
                        },
                        24,
                        "raised Kiln heating with output off @18; raised Over-temperature @21; "},
        // The lowest reading after the soft off counts as 985 (980 is as low as its
        // neighbour 985 only): 1015 is the last that is not heating.
        Supervisor_Case{"AfterASoftOffARiseOfMoreThanThirtyIsHeating", After_Soft_Off(10), 15,
                        "raised Kiln heating with output off @14; "},
        Supervisor_Case{"OneLowReadingIsNoLowestAndNoRise", After_Soft_Off(99, 7), 15, ""},
        Supervisor_Case{"TwoInARowInARampAHoldAndTheCoolingAreAnAlarm",
                        Firing({8, 9, 14, 15, 25, 26}), 30,
                        "raised Over-temperature @9; cleared Over-temperature @10; "
                        "raised Over-temperature @15; cleared Over-temperature @16; "
                        "raised Over-temperature @26; raised Kiln heating with output off @26; "
                        "cleared Over-temperature @27; cleared Kiln heating with output off @28; "},
        Supervisor_Case{"EighteenSecondsAreSixTicksOfThree", Over_From_Tick_5, 20,
                        "raised Over-temperature @11; ", "F", true, 3},
        Supervisor_Case{"NoSecondsStillTakeTwoReadings", Over_From_Tick_5, 20,
                        "raised Over-temperature @6; ", "F", true, 3, 0},
        Supervisor_Case{"ThermocoupleBreakLastsItsSecondsToo",
                        [](int m, Firing_Status& t) { t.Input_Error = m >= 2; }, 12,
                        "raised Thermocouple break @8; ", "F", true, 3}),
    [](const auto& info) { return std::string(info.param.Name); });

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
    expected.Heat_Gap_C = 15.5, expected.Heat_Rise = 2.5, expected.Alarm_Confirm_Seconds = 0;
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
// stay said past an acknowledgement, and notices go with them; RUN PROFILE starts afresh.
TEST(Alarm_Banner, KeepsWhatGoesOnAndWhatEndedUntilStartedAfresh) {
    Alarm_Banner banner;
    const Date_Time nine{2026, 12, 5, 9, 0, 0}, three{2026, 12, 5, 15, 0, 0};
    banner.Notice("The firing was interrupted");
    EXPECT_TRUE(banner.Look() == Banner_Look::Quiet && banner.Acknowledge_Offered());
    EXPECT_FALSE(banner.Wants_Attention());
    banner.Raise("Over-temperature", nine);
    banner.Raise("Controller lost", nine);
    EXPECT_EQ(banner.Look(), Banner_Look::Alarm);
    banner.Acknowledge({2026, 12, 5, 14, 35, 59});
    EXPECT_EQ(banner.Text(),
              "Acknowledged at 14:35: Over-temperature still present\r\n"
              "Acknowledged at 14:35: Controller lost still present");
    EXPECT_TRUE(banner.Look() == Banner_Look::Acknowledged && !banner.Acknowledge_Offered());

    banner.Clear("Controller lost", three);
    banner.Raise("Failure to heat", three);
    EXPECT_TRUE(banner.Look() == Banner_Look::Alarm && banner.Wants_Attention());
    banner.Acknowledge({2026, 12, 5, 15, 1, 0});
    EXPECT_EQ(banner.Text(),
              "Acknowledged at 14:35: Over-temperature still present\r\n"
              "Alarm cleared: Controller lost at 2026-12-05 15:00:00\r\n"
              "Acknowledged at 15:01: Failure to heat still present");
    banner.Clear("Over-temperature", three);
    banner.Clear("Failure to heat", three);
    banner.Acknowledge(three);
    EXPECT_TRUE(banner.Look() == Banner_Look::Quiet && !banner.Acknowledge_Offered());
    banner.Start_Afresh();
    EXPECT_EQ(banner.Look(), Banner_Look::Hidden);
}

}  // namespace
}  // namespace corvanel
