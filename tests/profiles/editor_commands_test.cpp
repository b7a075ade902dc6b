// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>

#include "editor_test_support.h"
#include "setup/setup_files.h"
#include "support/worked_example.h"

namespace corvanel {
namespace {

using Editor_Commands = Editor_Test;

TEST_F(Editor_Commands, FirstStartUsesCelsiusHoursAndKAndExitSavesTheSettingsForTheNextOpening) {
    EXPECT_TRUE(Editor.mnuCelcius && Editor.mnuHours && Editor.mnuSensor_Checked[2]);
    EXPECT_EQ(Editor.TempScale + " " + Editor.TimeScale, "Deg-C Hours");
    EXPECT_EQ(Editor.User_Prompt.substr(0, 38), "Profile sensor defaulted to type= K\r\n ");
    Editor.mnuFahrenheit_Click();
    Editor.mnuMinutes_Click();
    Editor.Sensor_Menu_Click(6);
    Box.Answer_OK = false;
    EXPECT_FALSE(Editor.mnuExitEditor_Click());  // Cancel keeps the window
    EXPECT_FALSE(std::filesystem::exists(Paths.Setup_File("SensorType.txt")));
    Box.Answer_OK = true;
    EXPECT_TRUE(Editor.mnuExitEditor_Click());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("SensorType.txt")), "PtJIS");

    Profile_Editor again(Paths, Dialog, Box, Beeper);
    again.Form_Load();
    EXPECT_TRUE(again.mnuFahrenheit && again.mnuMinutes && again.mnuSensor_Checked[6]);
    EXPECT_TRUE(again.User_Prompt.starts_with(
        " =>Profile sensor type set to Pt_JIS_RTD Thermocouple\r\nProfile temp scale=Fahrenheit"));
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
