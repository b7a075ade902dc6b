// SPDX-License-Identifier: GPL-3.0-or-later
// The safety layer's rules: when each alarm is raised and cleared, and its settings file.

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "run/safety_settings.h"
#include "run/safety_settings_form.h"
#include "run/safety_supervisor.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

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
    bool Controller_Lost_Alarm = true;  // the safety setting that switches that alarm off
};

class Safety_Supervisor_Test : public ::testing::TestWithParam<Supervisor_Case> {};

TEST_P(Safety_Supervisor_Test, RaisesAndClearsEachAlarmAtTheRightTick) {
    const Supervisor_Case& c = GetParam();
    Safety_Settings settings;
    settings.Controller_Lost_Alarm = c.Controller_Lost_Alarm;
    Safety_Supervisor supervisor(settings);
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

// A new run starts with no alarm of the last one: the reset clears what was active.
TEST(Safety_Supervisor, ResetEndsTheActiveAlarms) {
    Safety_Supervisor supervisor{Safety_Settings{}};
    Firing_Status tick;
    tick.Plan = std::make_shared<const Plan_Points>(Plan_Points{{0, 1000}});
    tick.Measured = 2000;
    EXPECT_EQ(supervisor.Check(tick).Raised, std::vector{Safety_Alarm::Over_Temperature});
    EXPECT_EQ(supervisor.Active_Names(), std::vector<std::string>{"Over-temperature"});
    EXPECT_EQ(supervisor.Reset().Cleared, std::vector{Safety_Alarm::Over_Temperature});
    EXPECT_TRUE(supervisor.Active_Names().empty());
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
                        10, "raised Over-temperature @5; cleared Over-temperature @8; "},
        Supervisor_Case{"AStuckRelayClimbsWithTheOutputOff",
                        [](int m, Firing_Status& t) {
                            t.Output_Percent = m == 0 || m == 9 ? 10 : 0;  // a pulse starts it anew
                            t.Measured = 500 + 6 * m;
                        },
                        24, "raised Over-temperature @19; "}),
    [](const auto& info) { return std::string(info.param.Name); });

// Every setting with its default but Controller_Lost_Ticks, then the line under test.
std::string Defaults_And(const std::string& line) {
    std::string text;
    for (const auto& row : Safety_Setting_Rows()) {
        if (std::string(row.Name) != "Controller_Lost_Ticks")
            text += std::string(row.Name) + "=" + Safety_Value_Text({}, row) + "\r\n";
    }
    return text + line;
}

struct File_Case {
    const char* Name;
    std::optional<std::string> File;  // none: no file at all
    double Lost_Ticks;                // what Controller_Lost_Ticks ends up as
    std::string Messages;             // the messages, each cut to its first 40 characters
};

class Safety_Settings_File : public ::testing::TestWithParam<File_Case> {};

TEST_P(Safety_Settings_File, BadOrMissingValuesKeepTheDefaultAndSaySo) {
    Temp_Folder folder;
    const std::string path = folder.File("Setup/Safety.txt");
    if (GetParam().File) Write_Text_File(path, *GetParam().File);
    Safety_Settings_Read read = Read_Safety_Settings(path);
    EXPECT_EQ(read.Settings.Controller_Lost_Ticks, GetParam().Lost_Ticks);
    std::string messages;
    for (const std::string& message : read.Messages) messages += message.substr(0, 40) + "|";
    EXPECT_EQ(messages, GetParam().Messages);
    // A missing file is written with the defaults: the next start reads it quietly.
    if (!GetParam().File) {
        EXPECT_TRUE(Read_Safety_Settings(path).Messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Safety_Settings_File,
    ::testing::Values(
        File_Case{"MissingFile", std::nullopt, 5, "No safety settings file, the defaults ar|"},
        File_Case{"Good", Defaults_And(" Controller_Lost_Ticks = 8 "), 8, ""},
        File_Case{"Text", Defaults_And("Controller_Lost_Ticks=many"), 5,
                  "Safety setting Controller_Lost_Ticks=man|"},
        File_Case{"Negative", Defaults_And("Controller_Lost_Ticks=-3"), 5,
                  "Safety setting Controller_Lost_Ticks=-3:|"},
        File_Case{"Huge", Defaults_And("Controller_Lost_Ticks=1e300"), 5,
                  "Safety setting Controller_Lost_Ticks=1e3|"},
        File_Case{
            "UnknownAndMissing", Defaults_And("Colour=red"), 5,
            "Safety setting not known: Colour=red|Safety setting missing, default kept: Co|"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The dialog's OK takes every good text; a bad one keeps the value in force and says why.
TEST(Safety_Settings_Form, OkTakesTheGoodValuesAndShowsTheOldOneForABadOne) {
    Safety_Settings in_force;
    in_force.Heat_Minutes = 30;
    Safety_Settings_Form form;
    form.Form_Load(in_force);
    auto text_of = [&](const std::string& name) -> std::string& {
        std::size_t i = 0;
        while (Safety_Setting_Rows()[i].Name != name) ++i;
        return form.Texts[i];
    };
    text_of("Heat_Minutes") = "0";
    text_of("Heat_Gap_C") = "15.5";
    text_of("Scale_Check") = "0";
    EXPECT_FALSE(form.OK_Click());
    EXPECT_EQ(text_of("Heat_Minutes"), "30");
    EXPECT_EQ(form.Settings.Heat_Minutes, 30);
    EXPECT_EQ(form.Settings.Heat_Gap_C, 15.5);
    EXPECT_FALSE(form.Settings.Scale_Check);
    EXPECT_EQ(form.Messages,
              "Safety setting Heat_Minutes=0: must be a number from 1 to 600; kept 30\r\n");
    EXPECT_TRUE(form.OK_Click());
}

}  // namespace
}  // namespace corvanel
