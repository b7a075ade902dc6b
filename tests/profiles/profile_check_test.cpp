#include "common/text.h"
#include "editor_test_support.h"

namespace corvanel {
namespace {

using Profile_Check = Editor_Test;

const std::string Passed =
    "WARNING: You must check and observe ramp limitations, no ramp rate checking by this "
    "software\r\n\r\nNo Errors found in profile. You may now save and run it.\r\n";

TEST_F(Profile_Check, TwoSegmentsAndAnEndRowPassWithTheWarning) {
    Type_Worked_Example();
    Editor.Check_Profile();
    EXPECT_FALSE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt, Passed);
    EXPECT_EQ(Editor.Segment_Rows, 3);
}

TEST_F(Profile_Check, TooFewSegmentsGiveOneMessageAndNothingElse) {
    Editor.Check_Profile();  // a new sheet: only row 1's start values
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt, "Error: Must have more than 2 segments in profile\r\n");
}

TEST_F(Profile_Check, EveryMissingEntryHasItsOwnLine) {
    Type_Worked_Example();
    Editor.WorkSheet[1][Col_Duration].clear();
    Editor.WorkSheet[2][Col_Ramp_Rate].clear();
    Editor.Check_Profile();
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt,
              "Missing entry, check profile\r\nMissing entry, check profile\r\n");
}

TEST_F(Profile_Check, ATextThatIsNotANumberStopsTheCheck) {
    Type_Worked_Example();
    Editor.WorkSheet[1][Col_Duration] = "  sixty";
    Editor.WorkSheet[2][Col_Duration].clear();  // would be reported, but the check has stopped
    Editor.Check_Profile();
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt,
              "Profile entry skipped.  Look for blank line internal to profile text\r\n");

    Editor.WorkSheet[1][Col_Duration] = "1e999";
    Editor.Check_Profile();
    EXPECT_EQ(Editor.User_Prompt, "Undefined Profile error precipitated by error number=6\r\n");
}

TEST_F(Profile_Check, TheLastRowMustBeTheEndStatement) {
    Type_Worked_Example();
    Editor.WorkSheet[3][Col_Action] = "h";
    Editor.Check_Profile();
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt, "'e'end statement not found at end of profile\r\n");
}

struct Limit_Case {
    int Sensor;
    bool Fahrenheit;
    const char* End_Temp;
    bool In_Range;
};

class Sensor_Limits : public Editor_Test, public ::testing::WithParamInterface<Limit_Case> {};

TEST_P(Sensor_Limits, AreInclusiveInTheChosenScale) {
    Type_Worked_Example();
    if (GetParam().Fahrenheit) {
        Editor.mnuFahrenheit_Click();
    } else {
        Editor.mnuCelcius_Click();
    }
    Editor.Sensor_Menu_Click(GetParam().Sensor);
    Editor.WorkSheet[1][Col_End_Temp] = GetParam().End_Temp;
    Editor.WorkSheet[2][Col_Start_Temp] = GetParam().End_Temp;
    Editor.WorkSheet[2][Col_End_Temp] = GetParam().End_Temp;
    Editor.Check_Profile();
    EXPECT_EQ(Editor.Profile_Error, !GetParam().In_Range);
    if (!GetParam().In_Range) {
        // Segment 1's End Temp, then segment 2's Start and End Temp.
        EXPECT_EQ(Editor.User_Prompt, "Out of range temp entry at\r\nsegment=1\r\ncol=6\r\n"
                                      "Out of range temp entry at\r\nsegment=2\r\ncol=5\r\n"
                                      "Out of range temp entry at\r\nsegment=2\r\ncol=6\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Sensor_Limits,
                         ::testing::Values(Limit_Case{2, true, "2300", true},
                                           Limit_Case{2, true, "2301", false},
                                           Limit_Case{2, false, "1300", true},
                                           Limit_Case{2, false, "1301", false},
                                           Limit_Case{3, true, "-100", true},
                                           Limit_Case{3, true, "-101", false},
                                           Limit_Case{3, false, "-100", true},
                                           Limit_Case{3, false, "-101", false},
                                           Limit_Case{7, false, "450", true},
                                           Limit_Case{7, false, "451", false},
                                           Limit_Case{0, true, "3000", true},
                                           Limit_Case{9, false, "-201", false}));

TEST_F(Profile_Check, PickingASensorChecksTheTemperaturesAtOnce) {
    Editor.WorkSheet[1][Col_Start_Temp] = "-10";
    Type_Worked_Example();
    Editor.User_Prompt.clear();
    Editor.Profile_Error = false;
    Editor.Sensor_Menu_Click(0);  // R starts at 0 degrees
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt, " =>Profile sensor type set to R Thermocouple\r\n"
                                  "Out of range temp entry at\r\nsegment=1\r\ncol=5\r\n");
    EXPECT_TRUE(Editor.mnuSensor_Checked[0]);
    EXPECT_FALSE(Editor.mnuSensor_Checked[2]);

    Editor.User_Prompt.clear();
    Editor.WorkSheet[1][Col_Start_Temp] = "70";
    Editor.Sensor_Menu_Click(4);  // T in Fahrenheit tops out at 700
    EXPECT_NE(Editor.User_Prompt.find("segment=1\r\ncol=6"), std::string::npos);
}

TEST_F(Profile_Check, AnUnknownSensorMakesEveryNonZeroTemperatureOutOfRange) {
    Type_Worked_Example();
    Editor.Sensor_Code = "X    ";
    Editor.Check_Profile();
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.Min_Temp, 0);
    EXPECT_EQ(Editor.Max_Temp, 0);
}

TEST_F(Profile_Check, AnUnreadableTemperatureEndsTheRangeCheck) {
    Type_Worked_Example();
    Editor.WorkSheet[1][Col_Start_Temp] = "hot";
    Editor.Segment_Rows = 3;
    Editor.User_Prompt.clear();
    Editor.TempRangeCheck();
    EXPECT_TRUE(Editor.Profile_Error);
    EXPECT_EQ(Editor.User_Prompt, "Out of range temp entry at\r\nRow=1\r\nColumn=5\r\n");
}

}  // namespace
}  // namespace corvanel
