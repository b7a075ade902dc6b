#include "editor_test_support.h"

namespace corvanel {
namespace {

// The worked example with one thing done to it, and what the check then says.
struct Check_Case {
    const char* What;
    void (*Damage)(Profile_Editor&);
    bool Error;
    const char* Messages;
};

class Profile_Check : public Editor_Test, public ::testing::WithParamInterface<Check_Case> {};

TEST_P(Profile_Check, ReportsEveryBrokenRuleInItsOwnWords) {
    Type_Worked_Example();
    GetParam().Damage(Editor);
    Editor.Check_Profile();
    EXPECT_EQ(Editor.Profile_Error, GetParam().Error);
    EXPECT_EQ(Editor.User_Prompt, GetParam().Messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Profile_Check,
    ::testing::Values(
        Check_Case{"one_segment",
                   [](Profile_Editor& e) {
                       e.ClearRows(2);
                       e.WorkSheet[2][3] = "e";
                   },
                   true, "Error: Must have more than 2 segments in profile\r\n"},
        Check_Case{"two_blanks",
                   [](Profile_Editor& e) {
                       e.WorkSheet[1][2].clear();
                       e.WorkSheet[2][6].clear();
                   },
                   true, "Missing entry, check profile\r\nMissing entry, check profile\r\n"},
        Check_Case{"not_a_number_stops_the_check",
                   [](Profile_Editor& e) {
                       e.WorkSheet[1][2] = "  sixty";
                       e.WorkSheet[2][2].clear();
                   },
                   true,
                   "Profile entry skipped.  Look for blank line internal to profile text\r\n"},
        Check_Case{"overflow", [](Profile_Editor& e) { e.WorkSheet[1][2] = "1e999"; }, true,
                   "Undefined Profile error precipitated by error number=6\r\n"},
        Check_Case{"no_end_statement", [](Profile_Editor& e) { e.WorkSheet[3][3] = "h"; }, true,
                   "'e'end statement not found at end of profile\r\n"},
        Check_Case{"unknown_sensor", [](Profile_Editor& e) { e.Sensor_Code = "X    "; }, true,
                   "Out of range temp entry at\r\nsegment=1\r\ncol=5\r\n"
                   "Out of range temp entry at\r\nsegment=1\r\ncol=6\r\n"
                   "Out of range temp entry at\r\nsegment=2\r\ncol=5\r\n"
                   "Out of range temp entry at\r\nsegment=2\r\ncol=6\r\n"}),
    [](const auto& info) { return std::string(info.param.What); });

struct Limit_Case {
    const char* What;
    int Sensor;
    bool Fahrenheit;
    const char* End_Temp;
    bool In_Range;
};

class Sensor_Limits : public Editor_Test, public ::testing::WithParamInterface<Limit_Case> {};

TEST_P(Sensor_Limits, AreInclusiveInTheChosenScale) {
    Type_Worked_Example();
    if (!GetParam().Fahrenheit) Editor.mnuCelcius_Click();
    Editor.Sensor_Menu_Click(GetParam().Sensor);
    for (auto [row, col] : {std::pair{1, 5}, {2, 4}, {2, 5}})
        Editor.WorkSheet[row][col] = GetParam().End_Temp;
    Editor.Check_Profile();
    EXPECT_EQ(Editor.Profile_Error, !GetParam().In_Range);
    if (!GetParam().In_Range) {
        EXPECT_EQ(Editor.User_Prompt,
                  "Out of range temp entry at\r\nsegment=1\r\ncol=6\r\n"
                  "Out of range temp entry at\r\nsegment=2\r\ncol=5\r\n"
                  "Out of range temp entry at\r\nsegment=2\r\ncol=6\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Sensor_Limits,
                         ::testing::Values(Limit_Case{"K_F_top", 2, true, "2300", true},
                                           Limit_Case{"K_F_over", 2, true, "2301", false},
                                           Limit_Case{"K_C_top", 2, false, "1300", true},
                                           Limit_Case{"K_C_over", 2, false, "1301", false},
                                           Limit_Case{"J_F_bottom", 3, true, "-100", true},
                                           Limit_Case{"J_F_under", 3, true, "-101", false},
                                           Limit_Case{"J_C_under", 3, false, "-101", false},
                                           Limit_Case{"PtDIN_C_over", 7, false, "451", false},
                                           Limit_Case{"R_F_top", 0, true, "3000", true},
                                           Limit_Case{"U_C_under", 9, false, "-201", false}),
                         [](const auto& info) { return std::string(info.param.What); });

using Sensor_Pick = Editor_Test;

TEST_F(Sensor_Pick, ChecksTheTemperaturesAtOnceAndStopsAtAnUnreadableOne) {
    Editor.WorkSheet[1][Col_Start_Temp] = "-10";
    Type_Worked_Example();
    Editor.User_Prompt.clear();
    Editor.Profile_Error = false;
    Editor.Sensor_Menu_Click(0);  // R starts at 0 degrees
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt,
              " =>Profile sensor type set to R Thermocouple\r\n"
              "Out of range temp entry at\r\nsegment=1\r\ncol=5\r\n");
    EXPECT_EQ(Editor.mnuSensor_Checked, (std::array<bool, 10>{true}));
    Editor.WorkSheet[1][Col_Start_Temp] = "hot";
    Editor.User_Prompt.clear();
    Editor.TempRangeCheck();
    EXPECT_EQ(Editor.User_Prompt, "Out of range temp entry at\r\nRow=1\r\nColumn=5\r\n");
}

}  // namespace
}  // namespace corvanel
