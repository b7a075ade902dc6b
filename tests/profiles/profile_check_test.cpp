// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor_test_support.h"

namespace corvanel {
namespace {

const std::string Out_Of_Range_After_The_Start =
    "Out of range temp entry at\r\nsegment=1\r\ncol=6\r\n"
    "Out of range temp entry at\r\nsegment=2\r\ncol=5\r\n"
    "Out of range temp entry at\r\nsegment=2\r\ncol=6\r\n";

// The worked example with one thing done to it, and what the check then says.
struct Check_Case {
    const char* What;
    void (*Damage)(Profile_Editor&);
    std::string Messages;
};

class Profile_Check : public Editor_Test, public ::testing::WithParamInterface<Check_Case> {};

TEST_P(Profile_Check, ReportsEveryBrokenRuleInItsOwnWords) {
    Type_Worked_Example();
    GetParam().Damage(Editor);
    Editor.Check_Profile();
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt, GetParam().Messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Profile_Check,
    ::testing::Values(
        Check_Case{"one_segment",
                   [](Profile_Editor& e) {
                       e.ClearRows(2);
                       e.WorkSheet[2][Col_Action] = "e";
                   },
                   "Error: Must have more than 2 segments in profile\r\n"},
        Check_Case{"two_blanks",
                   [](Profile_Editor& e) {
                       e.WorkSheet[1][Col_Duration].clear();
                       e.WorkSheet[2][Col_Ramp_Rate].clear();
                   },
                   "Missing entry, check profile\r\nMissing entry, check profile\r\n"},
        Check_Case{"not_a_number_stops_the_check",
                   [](Profile_Editor& e) {
                       e.WorkSheet[1][Col_Duration] = "  sixty";
                       e.WorkSheet[2][Col_Duration].clear();
                   },
                   "Profile entry skipped.  Look for blank line internal to profile text\r\n"},
        Check_Case{"no_end_statement", [](Profile_Editor& e) { e.WorkSheet[3][Col_Action] = "h"; },
                   "'e'end statement not found at end of profile\r\n"},
        Check_Case{
            "unknown_sensor", [](Profile_Editor& e) { e.Sensor_Code = "X    "; },
            "Out of range temp entry at\r\nsegment=1\r\ncol=5\r\n" + Out_Of_Range_After_The_Start}),
    [](const auto& info) { return std::string(info.param.What); });

using Sensor_Limits = Editor_Test;

TEST_F(Sensor_Limits, AreInclusiveInTheChosenScale) {
    Type_Worked_Example();
    const std::tuple<int, bool, const char*, bool> cases[] = {
        {2, true, "2300", true},   {2, true, "2301", false}, {2, false, "1300", true},
        {2, false, "1301", false}, {3, true, "-100", true},  {3, true, "-101", false},
        {7, false, "451", false}};
    for (auto [sensor, fahrenheit, end_temp, in_range] : cases) {
        SCOPED_TRACE(testing::Message()
                     << "sensor " << sensor << " " << end_temp << (fahrenheit ? " F" : " C"));
        fahrenheit ? Editor.mnuFahrenheit_Click() : Editor.mnuCelcius_Click();
        Editor.Sensor_Menu_Click(sensor);
        for (auto [row, col] : {std::pair{1, Col_End_Temp}, {2, Col_Start_Temp}, {2, Col_End_Temp}})
            Editor.WorkSheet[row][col] = end_temp;
        Editor.User_Prompt.clear();
        Editor.Check_Profile();
        EXPECT_EQ(Editor.Profile_Error, !in_range);
        if (!in_range) EXPECT_EQ(Editor.User_Prompt, Out_Of_Range_After_The_Start);
    }
}

}  // namespace
}  // namespace corvanel
