// SPDX-License-Identifier: GPL-3.0-or-later
// The profile editor's model: the grid as the operator types into it, its check of a
// profile, and its menu commands.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "profiles/profile_editor_model.h"
#include "setup/setup_files.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "support/worked_example.h"

namespace corvanel {
namespace {

// An editor opened in a program folder of its own, with fake dialogs and beeper.
class Editor_Test : public ::testing::Test {
  protected:
    Temp_Folder Folder;
    Fake_File_Dialog Dialog;
    Fake_Message_Box Box;
    Counting_Beeper Beeper;
    Program_Paths Paths{Folder.Path()};
    Profile_Editor Editor{Paths, Dialog, Box, Beeper};

    void SetUp() override { Editor.Form_Load(); }

    // Click a cell, rub out what it shows, type, and click it again to commit, as an
    // operator does. (A key in the Action cell replaces its letter by itself.)
    void Enter(int row, int col, const std::string& text) {
        Editor.Profile_FlexGrid_Click(row, col);
        if (col != Col_Action)
            Editor.Type_Text(std::string(Editor.FloatingTextBox_Text.size(), '\b'));
        Editor.Type_Text(text);
        Editor.Profile_FlexGrid_Click(row, col);
    }

    std::string Cell(int row, int col) const { return Editor.WorkSheet[row][col]; }

    // The worked example typed in: 70 to 1000 in 60 with limit 50, a 30 hold, the end.
    void Type_Worked_Example() {
        Editor.mnuFahrenheit_Click();
        Editor.mnuMinutes_Click();
        Editor.Sensor_Menu_Click(2);
        Enter(1, Col_End_Temp, "1000");
        Enter(1, Col_Duration, "60");
        Enter(1, Col_Error_Limits, "50");
        Enter(2, Col_Duration, "30");
        Enter(2, Col_End_Temp, "1000");
        Enter(3, Col_Action, "e");
    }
};

using Editor_Grid = Editor_Test;

TEST_F(Editor_Grid, RatesDurationsHoldsAndStartTimesFollowEachOther) {
    Enter(1, Col_End_Temp, "1000");
    EXPECT_EQ(Cell(2, Col_Start_Temp), "1000");
    EXPECT_EQ(Cell(1, Col_Action), "r");
    Enter(1, Col_Ramp_Rate, "100");
    EXPECT_EQ(Cell(1, Col_Duration), "9.30");
    Enter(2, Col_Duration, "30");
    Enter(3, Col_End_Temp, "1000");  // typed before its start is known
    Enter(2, Col_Action, "h");       // a hold at the segment's start...
    EXPECT_EQ(Cell(2, Col_End_Temp) + " " + Cell(2, Col_Ramp_Rate), "1000 0");
    EXPECT_EQ(Cell(3, Col_Start_Temp) + " " + Cell(3, Col_Action), "1000 h");  // ...and after
    Enter(3, Col_End_Temp, "500");
    Enter(3, Col_Ramp_Rate, "-250");  // cooling
    EXPECT_EQ(Cell(3, Col_Duration), "2.00");
    EXPECT_EQ(Cell(4, Col_Start_Time), "41.30");
    Enter(1, Col_Duration, "10");  // every later start time moves
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "93.00");
    EXPECT_EQ(Cell(4, Col_Start_Time), "42.00");
    Enter(1, Col_Ramp_Rate, "0");  // a rate of 0 makes a hold, the duration stays
    EXPECT_EQ(Cell(1, Col_Action) + " " + Cell(1, Col_Duration), "h 10");
}

TEST_F(Editor_Grid, EndTempAfterADurationUsesTheRoundedRateAndAWrongSignIsRefused) {
    Enter(1, Col_Duration, "7");
    Enter(1, Col_End_Temp, "1000");
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "132.86");
    EXPECT_EQ(Cell(1, Col_Duration), "7.00");
    for (const char* end : {"1100", "1000"}) {  // a falling rate on a rise or on a hold
        SCOPED_TRACE(end);
        Editor.User_Prompt.clear();
        Enter(2, Col_End_Temp, end);
        Enter(2, Col_Ramp_Rate, "-10");
        EXPECT_TRUE(
            Editor.User_Prompt.starts_with("Sign of ramp conflicts with End Temperature\r\n"));
        EXPECT_EQ(Cell(2, Col_End_Temp) + Cell(3, Col_Start_Temp), "");
    }
}

TEST_F(Editor_Grid, TypingEEndsTheProfileAtThatRow) {
    Type_Worked_Example();
    Enter(4, Col_End_Temp, "20");
    Enter(5, Col_Error_Limits, "7");
    Enter(3, Col_Action, "e");
    EXPECT_EQ(Cell(3, Col_Start_Temp), "1000");
    for (int row = 3; row <= 255; ++row) {
        for (int col : {Col_Duration, Col_End_Temp, Col_Ramp_Rate}) ASSERT_EQ(Cell(row, col), "");
        if (row > 3) ASSERT_EQ(Cell(row, Col_Error_Limits), "") << row;
        ASSERT_EQ(Cell(row, Col_Seg), std::to_string(row));
    }
    EXPECT_EQ(Editor.Segment_Rows, 3);
}

TEST_F(Editor_Grid, TheKeyFilterRefusesWhatACellCannotHoldAndLockedCellsSayWhy) {
    Editor.Profile_FlexGrid_Click(1, Col_Duration);
    Editor.Type_Text("6x0-");  // no letters, no minus in a duration
    EXPECT_EQ(Editor.FloatingTextBox_Text, "60");
    EXPECT_EQ(Beeper.Beeps, 2);
    Enter(1, Col_Action, "h");
    Editor.Profile_FlexGrid_Click(1, Col_Action);
    Editor.Type_Key('R');  // upper case beeps and gives the cell back
    EXPECT_EQ(Editor.FloatingTextBox_Text, "h");
    Editor.Type_Key('r');  // a letter replaces the text
    EXPECT_EQ(Editor.FloatingTextBox_Text, "r");
    EXPECT_EQ(Beeper.Beeps, 3);

    const std::tuple<int, int, std::string> locked[] = {
        {3, Col_Seg, "This entry is a constant\r\nYou can not edit this column\r\n"},
        {1, Col_Start_Time,
         "This entry is calculate from the other entries\r\nYou can not manually edit this column\r\n"},
        {2, Col_Start_Temp,
         "This entry derived from your previous segment end time\r\n"
         "You can not manually edit this column\r\n"},
        {0, Col_End_Temp, "You can not edit header title\r\n"}};
    for (const auto& [row, col, message] : locked) {
        SCOPED_TRACE(testing::Message() << "row " << row << " column " << col);
        Editor.User_Prompt.clear();
        Editor.Profile_FlexGrid_Click(row, col);
        std::string before = Editor.FloatingTextBox_Text;
        int beeps = Beeper.Beeps;
        Editor.Type_Key('5');
        EXPECT_EQ(Editor.FloatingTextBox_Text, before);
        EXPECT_EQ(Beeper.Beeps, beeps + 1);
        EXPECT_EQ(Editor.User_Prompt, message);
    }
}

TEST_F(Editor_Grid, EntriesAreCheckedWhenTheOperatorClicksAway) {
    Enter(1, Col_Duration, "1.2.3");  // every key passes the filter
    EXPECT_EQ(Cell(1, Col_Duration), "");
    EXPECT_EQ(Editor.User_Prompt, "Table entry format error\r\n");
    Enter(1, Col_End_Temp, "40000");  // not a 16-bit whole number
    EXPECT_EQ(Cell(1, Col_End_Temp), "");
    Enter(1, Col_Command, "wait");
    EXPECT_EQ(Cell(1, Col_Command), "wait");
    EXPECT_EQ(Beeper.Beeps, 4);       // each letter beeped, yet was taken
    Enter(255, Col_End_Temp, "500");  // no row 256 takes its start temperature
    EXPECT_EQ(Cell(255, Col_End_Temp), "500");

    // A scroll hides the box and a click beside the cells keeps it: still pending.
    Editor.Profile_FlexGrid_Click(1, Col_Error_Limits);
    Editor.Type_Text("2");
    Editor.Profile_FlexGrid_Scroll();
    EXPECT_FALSE(Editor.FloatingTextBox_Visible);
    Editor.Profile_FlexGrid_Click(1, Sheet_Columns);
    Editor.Profile_FlexGrid_Click(1, -1);
    Editor.Type_Text("5");
    Editor.Profile_FlexGrid_Click(3, Col_Duration);
    EXPECT_EQ(Cell(1, Col_Error_Limits), "25");
}

TEST_F(Editor_Grid, TheMessageBoxStartsAfreshPast1000Characters) {
    Editor.User_Prompt.clear();
    for (int i = 0; i < 10; ++i) Editor.Display(std::string(98, 'x'));  // 10 x 100 characters
    EXPECT_EQ(Editor.User_Prompt.size(), 1000u);
    Editor.Display("one more");
    EXPECT_EQ(Editor.User_Prompt, "");
    Editor.Display("old news");
    Editor.Profile_FlexGrid_Click(1, Col_End_Temp);
    Editor.Type_Key('5');  // an accepted key clears the messages
    EXPECT_EQ(Editor.User_Prompt, "");
}

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

using Editor_Commands = Editor_Test;

TEST_F(Editor_Commands, FirstStartUsesCelsiusHoursAndKAndExitSavesTheSettingsForTheNextOpening) {
    EXPECT_TRUE(Editor.mnuCelcius && Editor.mnuHours && Editor.mnuSensor_Checked[2]);
    EXPECT_EQ(Editor.TempScale + " " + Editor.TimeScale, "Deg-C Hours");
    EXPECT_EQ(Editor.User_Prompt.substr(0, 38), "Profile sensor defaulted to type= K\r\n ");
    Editor.mnuFahrenheit_Click();
    Editor.mnuMinutes_Click();
    Editor.Sensor_Menu_Click(0);  // R, the first of the menu
    Box.Answer_OK = false;
    EXPECT_FALSE(Editor.mnuExitEditor_Click());  // Cancel keeps the window
    EXPECT_FALSE(std::filesystem::exists(Paths.Setup_File("SensorType.txt")));
    Box.Answer_OK = true;
    EXPECT_TRUE(Editor.mnuExitEditor_Click());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("SensorType.txt")), "R    ");

    Profile_Editor again(Paths, Dialog, Box, Beeper);
    again.Form_Load();
    EXPECT_TRUE(again.mnuFahrenheit && again.mnuMinutes && again.mnuSensor_Checked[0]);
    EXPECT_TRUE(again.User_Prompt.starts_with(
        " =>Profile sensor type set to R Thermocouple\r\nProfile temp scale=Fahrenheit"));
}

// Save As commits the entry still being typed; its failures write nothing.
TEST_F(Editor_Commands, SaveAsWritesTheProfileOrSaysWhyNot) {
    Enter(1, Col_End_Temp, "1000");
    Enter(2, Col_Action, "e");
    Editor.mnuSaveFileAs_Click();
    EXPECT_TRUE(Dialog.Save_Requests.empty());
    EXPECT_EQ(Editor.User_Prompt,
              "Error: Must have more than 2 segments in profile\r\n"
              "Profile Error - FILE NOT SAVED\r\n");

    Type_Worked_Example();
    Editor.mnuSaveFileAs_Click();  // the fake dialog cancels
    EXPECT_EQ(Editor.User_Prompt, "File save cancelled\r\n");
    EXPECT_EQ(Editor.Profile_File_Name, "");
    Write_Whole_File(Folder.File("not-a-folder"), "x");
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(Folder.File("not-a-folder/p.txt")));
    Editor.mnuSaveFileAs_Click();
    EXPECT_EQ(Editor.User_Prompt, "Undefined file save error: System error number=75\r\n");

    Editor.WorkSheet[1][Col_Error_Limits].clear();
    Editor.Profile_FlexGrid_Click(1, Col_Error_Limits);
    Editor.Type_Text("50");  // typed, not yet committed
    std::string target = Folder.File("elsewhere/example.txt");
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(target));
    Editor.mnuSaveFileAs_Click();
    EXPECT_EQ(Editor.User_Prompt, "PROFILE SAVED\r\n");
    EXPECT_EQ(Dialog.Save_Requests.back().Initial_Folder, Paths.Profiles_Folder());
    EXPECT_EQ(Editor.Edit_Profile_Name, "example.txt");
    EXPECT_TRUE(Read_Whole_File(target) == Worked_Example_Text() + "\r\n") << "saved file differs";
}

TEST_F(Editor_Commands, OpenReadsOnlyFromTheProfilesFolder) {
    Write_Whole_File(Paths.Profile_File("fire.txt"), Worked_Example_Text() + "\r\n");
    Dialog.Answers.push_back(File_Dialog_Result::Chosen("/somewhere/else/fire.txt"));
    Editor.mnuFileOpen_Click();
    EXPECT_EQ(Editor.Edit_Profile_Name, "fire.txt");
    EXPECT_EQ(Cell(1, Col_End_Temp), "   1000");
    EXPECT_EQ(Editor.Segment_Rows, 3);
    EXPECT_EQ(Editor.TempScale, "Deg-F");
    EXPECT_TRUE(Editor.User_Prompt.starts_with("Profile is valid\r\n"));

    std::string damaged = Worked_Example_Text();
    damaged[40] = '9';
    Write_Whole_File(Paths.Profile_File("damaged.txt"), damaged);
    for (const std::string& chosen :
         {std::string("damaged.txt"), Folder.File("other/only-there.txt")}) {
        Dialog.Answers.push_back(File_Dialog_Result::Chosen(chosen));
        Editor.mnuFileOpen_Click();
        EXPECT_TRUE(Editor.User_Prompt.starts_with("File found: Format not valid: \r\n")) << chosen;
        EXPECT_EQ(Cell(1, Col_Ramp_Rate), "  15.50");  // the sheet stays
    }
    Editor.mnuFileOpen_Click();
    EXPECT_EQ(Editor.User_Prompt, "File open cancelled\r\n");
}

}  // namespace
}  // namespace corvanel
