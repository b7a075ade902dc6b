#include "run/safety_supervisor.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvanel {
namespace {

// One control tick a minute; `Kiln` fills in what the controller said at minute m of a
// healthy firing of a profile that tops out at 1000.
struct Supervisor_Case {
    const char* Name;
    std::function<void(int minute, Firing_Status&)> Kiln;
    int Minutes;
    std::string Expected;  // "raised <alarm> @m; " and "cleared <alarm> @m; ", in order
    std::string Scale = "F";
};

class Safety_Supervisor_Test : public ::testing::TestWithParam<Supervisor_Case> {};

TEST_P(Safety_Supervisor_Test, RaisesAndClearsEachAlarmAtTheRightTick) {
    const Supervisor_Case& c = GetParam();
    Safety_Supervisor supervisor;
    auto plan = std::make_shared<const Plan_Points>(Plan_Points{{0, 0}, {0, 70}, {60, 1000}});
    std::string heard;
    for (int m = 0; m < c.Minutes; ++m) {
        Firing_Status tick;
        tick.Clock = Date_Time_Of_Seconds(Seconds_Of({2026, 12, 5, 9, 0, 0}) + 60LL * m);
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

INSTANTIATE_TEST_SUITE_P(
    Ticks, Safety_Supervisor_Test,
    ::testing::Values(
        Supervisor_Case{"ControllerLostOnTheFifthFailedTick",
                        [](int m, Firing_Status& t) { t.Exchange_Failed = m >= 3 && m < 10; }, 12,
                        "raised Controller lost @7; cleared Controller lost @10; "},
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
                        10, "raised Over-temperature @5; cleared Over-temperature @8; "},
        Supervisor_Case{"AStuckRelayClimbsWithTheOutputOff",
                        [](int m, Firing_Status& t) {
                            t.Output_Percent = m == 0 || m == 9 ? 10 : 0;  // a pulse starts it anew
                            t.Measured = 500 + 6 * m;
                        },
                        24, "raised Over-temperature @19; "}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Safety_Supervisor, SwitchedOffAlarmsStayQuietAndResetEndsActiveOnes) {
    Safety_Settings settings;
    settings.Controller_Lost_Alarm = false;
    Safety_Supervisor supervisor(settings);
    Firing_Status tick;
    tick.Plan = std::make_shared<const Plan_Points>(Plan_Points{{0, 1000}});
    tick.Exchange_Failed = true;
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(supervisor.Check(tick).Empty());
    tick.Exchange_Failed = false;
    tick.Measured = 2000;
    EXPECT_EQ(supervisor.Check(tick).Raised, std::vector{Safety_Alarm::Over_Temperature});
    EXPECT_EQ(supervisor.Active_Names(), std::vector<std::string>{"Over-temperature"});
    EXPECT_EQ(supervisor.Reset().Cleared, std::vector{Safety_Alarm::Over_Temperature});
    EXPECT_TRUE(supervisor.Active_Names().empty());
}

}  // namespace
}  // namespace corvanel
