#include <filesystem>

#include "common/text.h"
#include "editor_test_support.h"
#include "setup/setup_files.h"
#include "worked_example.h"

namespace corvanel {
namespace {

using Editor_Commands = Editor_Test;

std::string Lines(std::initializer_list<std::string_view> lines) {
    return Join_Lines(lines) + "\r\n";
}

TEST_F(Editor_Commands, FirstStartWithoutSettingsUsesCelsiusHoursAndDefaultsToK) {
    EXPECT_TRUE(Editor.mnuCelcius);
    EXPECT_FALSE(Editor.mnuFahrenheit);
    EXPECT_TRUE(Editor.mnuHours);
    EXPECT_EQ(Editor.TempScale, "Deg-C");
    EXPECT_EQ(Editor.TimeScale, "Hours");
    EXPECT_EQ(Editor.Sensor_Code, "K    ");
    EXPECT_TRUE(Editor.mnuSensor_Checked[2]);
    EXPECT_EQ(Editor.User_Prompt, Lines({"Profile sensor defaulted to type= K",
                                         " =>Profile sensor type set to K Thermocouple",
                                         "Profile temp scale=Celcius", "Profile time scale=Hours",
                                         "Use drop down menus to select alternate settings "}));
    EXPECT_EQ(Editor.Profile_FlexGrid[0][9], "Notify= t,T");
    EXPECT_EQ(Editor.EditChart_Points.size(), 1u);  // the first redraw replaced the ten
}

TEST_F(Editor_Commands, ClosingAndOpeningAgainRestoresScaleUnitAndSensor) {
    Editor.mnuFahrenheit_Click();
    Editor.mnuMinutes_Click();
    Editor.Sensor_Menu_Click(6);
    Box.Answer_OK = false;
    EXPECT_FALSE(Editor.mnuExitEditor_Click());  // Cancel keeps the window and the sheet
    EXPECT_FALSE(Editor.Window_Closed);
    EXPECT_EQ(Box.Questions.back(), "Verify profile saved?");
    EXPECT_FALSE(std::filesystem::exists(Paths.Setup_File("SensorType.txt")));

    Box.Answer_OK = true;
    EXPECT_TRUE(Editor.mnuExitEditor_Click());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("SensorType.txt")), "PtJIS");
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("TempScale.txt")), "checked");
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("TimeScale.txt")), "checked");

    Profile_Editor again(Paths, Dialog, Box, Beeper);
    again.Form_Load();
    EXPECT_TRUE(again.mnuFahrenheit);
    EXPECT_TRUE(again.mnuMinutes);
    EXPECT_TRUE(again.mnuSensor_Checked[6]);
    EXPECT_EQ(again.User_Prompt, Lines({" =>Profile sensor type set to Pt_JIS_RTD Thermocouple",
                                        "Profile temp scale=Fahrenheit",
                                        "Profile time scale=Minutes",
                                        "Use drop down menus to select alternate settings "}));
}

TEST_F(Editor_Commands, SwitchingUnitsConvertsNothingInTheSheet) {
    Type_Worked_Example();
    Profile_Sheet before = Editor.WorkSheet;
    Editor.mnuHours_Click();
    Editor.mnuCelcius_Click();
    EXPECT_EQ(Editor.WorkSheet, before);
    EXPECT_EQ(Editor.TimeScale, "Hours");
}

TEST_F(Editor_Commands, SaveAsWritesTheWorkedExampleExactly) {
    Type_Worked_Example();
    std::string target = Folder.File("elsewhere/example.txt");
    std::filesystem::create_directories(Folder.File("elsewhere"));
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(target));
    Editor.mnuSaveFileAs_Click();

    EXPECT_EQ(Editor.User_Prompt, "PROFILE SAVED\r\n");
    ASSERT_EQ(Dialog.Save_Requests.size(), 1u);
    EXPECT_EQ(Dialog.Save_Requests[0].Initial_Folder, Paths.Profiles_Folder());
    EXPECT_EQ(Dialog.Save_Requests[0].Filter,
              "Text files (*.txt) | *.txt|All files (*.*) | *.*");
    EXPECT_EQ(Editor.Edit_Profile_Name, "example.txt");
    std::string written = Read_Whole_File(target);
    EXPECT_EQ(written.size(), 18387u);
    EXPECT_TRUE(written == Worked_Example_Text() + "\r\n") << "saved file differs";
}

TEST_F(Editor_Commands, APendingEntryIsCommittedBeforeSaving) {
    Type_Worked_Example();
    Editor.Profile_FlexGrid_Click(2, Col_Error_Limits);
    Editor.Type_Text("25");  // typed, not yet committed by a click
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(Folder.File("p.txt")));
    Editor.mnuSaveFileAs_Click();
    EXPECT_EQ(Cell(2, Col_Error_Limits), "25");
    EXPECT_EQ(Read_Whole_File(Folder.File("p.txt")).substr(72 + 49, 7), "     25");
}

TEST_F(Editor_Commands, AProfileThatFailsTheCheckIsNotSavedAndNoDialogAppears) {
    Enter(1, Col_End_Temp, "1000");
    Enter(1, Col_Duration, "60");
    Enter(2, Col_Action, "e");
    Editor.mnuSaveFileAs_Click();
    EXPECT_TRUE(Dialog.Save_Requests.empty());
    EXPECT_EQ(Editor.User_Prompt, Lines({"Error: Must have more than 2 segments in profile",
                                         "Profile Error - FILE NOT SAVED"}));
}

TEST_F(Editor_Commands, CancellingTheSaveDialogWritesNothing) {
    Type_Worked_Example();
    Editor.mnuSaveFileAs_Click();  // the fake dialog cancels
    EXPECT_EQ(Editor.User_Prompt, "File save cancelled\r\n");
    EXPECT_EQ(Editor.Profile_File_Name, "");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Folder.Path())) {
        files += entry.is_regular_file();
    }
    EXPECT_EQ(files, 0);
}

TEST_F(Editor_Commands, ASaveThatCannotBeWrittenSaysSoAndKeepsTheSheet) {
    Type_Worked_Example();
    Write_Whole_File(Folder.File("not-a-folder"), "x");
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(Folder.File("not-a-folder/p.txt")));
    Editor.mnuSaveFileAs_Click();
    EXPECT_NE(Editor.User_Prompt.find("Undefined file save error: System error number=75"),
              std::string::npos);
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "15.50");
}

TEST_F(Editor_Commands, OpenReadsFromTheProfilesFolderWhateverFolderWasBrowsed) {
    Write_Whole_File(Paths.Profile_File("fire.txt"), Worked_Example_Text() + "\r\n");
    Dialog.Answers.push_back(File_Dialog_Result::Chosen("/somewhere/else/fire.txt"));
    Editor.mnuFileOpen_Click();

    EXPECT_EQ(Editor.Edit_Profile_Name, "fire.txt");
    EXPECT_EQ(Cell(1, Col_End_Temp), "   1000");
    EXPECT_EQ(Cell(3, Col_Action), "e");
    EXPECT_EQ(Editor.Segment_Rows, 3);
    EXPECT_TRUE(Editor.mnuFahrenheit);
    EXPECT_TRUE(Editor.mnuMinutes);
    EXPECT_EQ(Editor.TempScale, "Deg-F");
    EXPECT_EQ(Editor.User_Prompt, Lines({"Profile is valid",
                                         " =>Profile sensor type set to K Thermocouple",
                                         "Profile temp scale=Fahrenheit",
                                         "Profile time scale=Minutes",
                                         "Use drop down menus to select alternate settings "}));

    // Opened and saved again unchanged, the file is the same file.
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(Folder.File("again.txt")));
    Editor.mnuSaveFileAs_Click();
    EXPECT_TRUE(Read_Whole_File(Folder.File("again.txt")) == Worked_Example_Text() + "\r\n");
}

TEST_F(Editor_Commands, OpeningABadOrMissingFileGivesTheFormatMessageAndKeepsTheSheet) {
    Type_Worked_Example();
    std::string damaged = Worked_Example_Text();
    damaged[40] = '9';
    Write_Whole_File(Paths.Profile_File("damaged.txt"), damaged);
    const std::string format_message =
        Lines({"File found: Format not valid: ", "Profile Syntax must be precise",
               "Use profile editor to create profiles",
               "If you are not fully aware of format conventions"});

    Dialog.Answers.push_back(File_Dialog_Result::Chosen("damaged.txt"));
    Editor.mnuFileOpen_Click();
    EXPECT_EQ(Editor.User_Prompt, format_message);
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "15.50");

    Dialog.Answers.push_back(File_Dialog_Result::Chosen(Folder.File("other/only-there.txt")));
    Editor.mnuFileOpen_Click();
    EXPECT_EQ(Editor.User_Prompt, format_message);

    Editor.mnuFileOpen_Click();  // cancelled
    EXPECT_EQ(Editor.User_Prompt, "File open cancelled\r\n");

    Dialog.Answers.push_back(File_Dialog_Result::Failed(Error_Number::Path_Not_Found));
    Editor.mnuFileOpen_Click();
    EXPECT_EQ(Editor.User_Prompt, "Undefined open file error system error number=76\r\n");
}

TEST_F(Editor_Commands, NewStartsAgainAt70DegreesAndKeepsTheSettings) {
    Editor.mnuFahrenheit_Click();
    Type_Worked_Example();
    Editor.Edit_Profile_Name = "old.txt";
    Editor.mnuNew_Click();
    EXPECT_EQ(Cell(1, Col_Start_Temp), "70");
    EXPECT_EQ(Cell(1, Col_Start_Time), "0");
    EXPECT_EQ(Cell(2, Col_Start_Temp), "");
    EXPECT_EQ(Editor.Edit_Profile_Name, "");
    EXPECT_FALSE(Editor.FloatingTextBox_Visible);
    EXPECT_EQ(Editor.Current_Col, Col_End_Temp);
    EXPECT_TRUE(Editor.mnuFahrenheit);

    // The first click after New commits the empty box into End Temp of row 1: harmless.
    Enter(1, Col_Duration, "60");
    EXPECT_EQ(Cell(1, Col_Duration), "60");
}

}  // namespace
}  // namespace corvanel
