// SPDX-License-Identifier: GPL-3.0-or-later
// A profile's file, the cone firings worked out into one, and the editor's model: the grid
// as the operator types into it, its check of a profile, its menu commands and the
// conversion of a sheet to the other temperature scale.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "profiles/cone_firing.h"
#include "profiles/cone_table.h"
#include "profiles/detached_editor.h"
#include "profiles/new_from_cone_model.h"
#include "profiles/profile_editor_model.h"
#include "profiles/profile_file.h"
#include "profiles/sensor_table.h"
#include "setup/setup_files.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "support/worked_example.h"

namespace corvanel {
namespace {

// Writing the worked example byte for byte from the cells as typed is pinned where the
// editor and the tool save it; here is what only the file layer itself shows: the cells
// read back padded, the header row empty, and the same file written from them again.
TEST(Profile_File, TheWorkedExampleReadsBackToPaddedCellsThatWriteTheSameFile) {
    std::string text = Worked_Example_Text();
    EXPECT_EQ(text.size() + 2, Profile_Layout::Written_File_Length);  // save adds one CR LF
    Profile_Sheet sheet = Parse_Profile_Text(text);
    EXPECT_EQ(sheet[1][Col_Seg] + sheet[1][Col_End_Temp] + sheet[1][Col_Ramp_Rate],
              "      1   1000  15.50");
    EXPECT_EQ(sheet[200][Col_Seg], "    200");
    EXPECT_TRUE(sheet[0][Col_Seg].empty());
    EXPECT_TRUE(Build_Profile_Text(sheet, Profile_Settings_Of_Text(text)) == text);

    // The checksum covers everything up to the time unit, not its line end.
    std::string checksum = Profile_Checksum(text);
    EXPECT_EQ(checksum, text.substr(18373, 10));
    text[18371] = 'X';
    EXPECT_EQ(Profile_Checksum(text), checksum);
    text[18370] = 'H';
    EXPECT_NE(Profile_Checksum(text), checksum);
    EXPECT_EQ(Profile_Checksum("abc"), "0");  // too short to be a profile
}

std::string Without(std::string text, char dropped) {
    std::erase(text, dropped);
    return text;
}

// Each file's bytes, and whether they are accepted; what is not there reads as nothing.
TEST(Profile_File, ADamagedFileIsRejectedWholeOrAcceptedWhole) {
    Temp_Folder folder;
    const std::string path = folder.File("damaged.txt"), good = Worked_Example_Text() + "\r\n";
    const std::pair<std::string, bool> files[] = {
        {std::string(good).replace(38, 1, "2"), false},  // End Temp 1000 becomes 2000
        {good.substr(0, 72 * 200), false},
        {Without(good, '\r'), false},
        {Without(good, '\n'), true},
        {good.substr(0, good.size() - 4), true},  // no final line end
        {std::string(8 * 1024 * 1024, 'x'), false}};
    for (const auto& [bytes, accepted] : files) {
        Write_Whole_File(path, bytes);
        const std::string text = Read_Profile_File(path);
        EXPECT_EQ(text.size(), accepted ? 18385u : 0u) << bytes.substr(0, 80);
        if (accepted) EXPECT_EQ(Last_Used_Row(Parse_Profile_Text(text)), 3);
    }
    for (const char* missing : {"none.txt", "no/such/folder.txt", ""})
        EXPECT_EQ(Read_Profile_File(folder.File(missing)), "") << missing;
}

// A field the editor would not write stays raw text; a file cut short has no rows; the
// last used row is the last with a time or a temperature.
TEST(Profile_File, OddFieldsStayRawTextAndOnlyTimesAndTemperaturesMakeARowUsed) {
    std::string text = Worked_Example_Text();
    text.replace(7 * 3, 7, "r      ");  // a left-aligned action letter
    EXPECT_EQ(Parse_Profile_Text(text)[1][Col_Action], "r      ");
    Profile_Sheet nothing = Parse_Profile_Text(text.substr(0, 1000));
    EXPECT_EQ(Last_Used_Row(nothing), 0);
    EXPECT_TRUE(nothing[1][Col_Seg].empty());

    // The last used row looks only at the time and temperature columns.
    Profile_Sheet sheet{};
    for (int row = 1; row <= 255; ++row) sheet[row][Col_Seg] = std::to_string(row);
    sheet[7][Col_Error_Limits] = "5";
    sheet[7][Col_Command] = "wait";
    EXPECT_EQ(Last_Used_Row(sheet), 0);
    sheet[1][Col_Ramp_Rate] = "5";  // the first row alone counts too
    EXPECT_EQ(Last_Used_Row(sheet), 1);
    sheet[255][Col_Start_Time] = "0";
    EXPECT_EQ(Last_Used_Row(sheet), 255);
}

TEST(Cone_Table, RunsFrom022To10HotterWithEveryConeAndIsFoundAsPottersWriteIt) {
    std::span<const Cone_Equivalent> table = Cone_Table();
    ASSERT_EQ(table.size(), 32u);
    EXPECT_EQ(table.front().Cone, "022");
    // The chart's two scales are one temperature each: a typo in either shows here.
    for (const Cone_Equivalent& cone : table) {
        EXPECT_EQ(cone.Fahrenheit_108, std::lround(cone.Celsius_60 * 9.0 / 5 + 32)) << cone.Cone;
        EXPECT_EQ(cone.Fahrenheit_270, std::lround(cone.Celsius_150 * 9.0 / 5 + 32)) << cone.Cone;
        // The slow column: from cone 019 on, cooler than the medium one, in both scales.
        EXPECT_EQ(cone.Has_Slow_Rate(), &cone >= &table[3]) << cone.Cone;
        if (!cone.Has_Slow_Rate()) continue;
        EXPECT_EQ(cone.Fahrenheit_27, std::lround(cone.Celsius_15 * 9.0 / 5 + 32)) << cone.Cone;
        EXPECT_LT(cone.Celsius_15, cone.Celsius_60) << cone.Cone;
    }
    EXPECT_EQ(Find_Cone("6")->Celsius_15, 1185);
    EXPECT_EQ(Find_Cone("04")->Fahrenheit_108, 1945);
    EXPECT_EQ(Find_Cone("4")->Fahrenheit_108, 2124);
    EXPECT_EQ(Find_Cone(" 10 ")->Celsius_150, 1305);
    for (const char* not_a_cone : {"", "004", "4.0", "11", "023", "0", "00"})
        EXPECT_FALSE(Find_Cone(not_a_cone)) << not_a_cone;
}

// The sheet rows 1 to the end row, columns Start Time to Ramp Rate, "|" between cells;
// the sheet must pass the editor's check, as the editor would save it.
std::vector<std::string> Sheet_Rows_Of(const Typed_Profile& profile) {
    Detached_Editor scratch;
    Type_Profile(scratch.Editor, profile);
    scratch.Editor.Check_Profile();
    EXPECT_FALSE(scratch.Editor.Profile_Error) << scratch.Editor.User_Prompt;
    const Profile_Sheet& sheet = scratch.Editor.WorkSheet;
    std::vector<std::string> rows;
    for (int row = 1; row <= Last_Used_Row(sheet); ++row) {
        std::string line;
        for (int col = Col_Start_Time; col <= Col_Ramp_Rate; ++col)
            line += (col > Col_Start_Time ? "|" : "") + sheet[row][col];
        rows.push_back(line);
    }
    return rows;
}

// Start Time|Duration|Action|Start Temp|End Temp|Ramp Rate, worked out by hand from the
// chart; a choice that cannot be fired names what is wrong.
TEST(Cone_Firing, TheRowsAreWorkedOutByHandFromTheChartAndARefusalNamesWhatIsWrong) {
    const std::tuple<Cone_Firing_Choice, std::vector<std::string>, const char*> firings[] = {
        // 04 medium in C: 1077 C at 150 C/h; 300 F/h is 166.67 C/h; preheat at 82 C.
        {{"04", Cone_Speed::Medium, false, 2, "1", "15", "", "", ""},
         {"0|0.37|r|21|82|166.67", "0.37|1|h|82|82|0", "1.37|5.31|r|82|967|166.67",
          "6.68|0.73|r|967|1077|150", "7.41|0.25|h|1077|1077|0", "7.66||e|1077||"},
         "cone04_medium.txt"},
        // 6 fast: 2269 F at 270 F/h, 2069 at 500 F/h first, cooled at 150 F/h to 1500.
        {{"6", Cone_Speed::Fast, true, 2, "", "", "150", "1500", ""},
         {"0|4.00|r|70|2069|500", "4.00|0.74|r|2069|2269|270", "4.74|5.13|r|2269|1500|-150",
          "9.87||e|1500||"},
         "cone6_fast.txt"},
        // 9 slow is 2300 F, a K thermocouple's very limit: still allowed.
        {{"9", Cone_Speed::Slow, true, 2, "", "", "", "", ""},
         {"0|13.53|r|70|2100|150", "13.53|1.85|r|2100|2300|108", "15.38||e|2300||"},
         "cone9_slow.txt"}};
    for (const auto& [choice, rows, file_name] : firings) {
        SCOPED_TRACE(file_name);
        Cone_Firing_Plan plan = Plan_Cone_Firing(choice);
        EXPECT_EQ(plan.Refusal, "");
        EXPECT_FALSE(plan.Profile.Minutes);
        EXPECT_EQ(plan.File_Name, file_name);
        EXPECT_EQ(Sheet_Rows_Of(plan.Profile), rows);
    }

    // A choice that cannot be fired is refused with what is wrong with it.
    const std::pair<Cone_Firing_Choice, const char*> refused[] = {
        {{"6", Cone_Speed::Medium, true, 2, "two", "", "", "", ""},
         "The preheat must be from 0.01 to 100 hours: two"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "", "", "7.5"},
         "The error limit must be a whole number from 1 to 9999: 7.5"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "150", "2269", ""},
         "The cooling must end below the cone temperature: 2269"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "150", "-301", ""},
         "The cooling temperature is below the sensor's limit: -301 < -300 (K)"},
        // Cooling to the sensor's very limit is allowed.
        {{"6", Cone_Speed::Medium, true, 2, "", "", "150", "-300", ""}, ""}};
    for (const auto& [choice, refusal] : refused) {
        Cone_Firing_Plan plan = Plan_Cone_Firing(choice);
        EXPECT_EQ(plan.Refusal, refusal);
        EXPECT_EQ(plan.Profile.Segments.empty(), *refusal != '\0') << refusal;
    }
}

// An editor opened in a program folder of its own, with fake dialogs and beeper.
class Editor_Test : public ::testing::Test {
  protected:
    Temp_Folder Folder;
    Fake_File_Dialog Dialog;
    Fake_Message_Box Box;
    Counting_Beeper Beeper;
    Program_Paths Paths{Folder.Path()};
    Settings_Store Settings{Paths};
    Profile_Editor Editor{Paths, Settings, Dialog, Box, Beeper};

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

// The editor writes a start time to the hundredth: half a hundredth off its sum still
// joins. Typing e ends the profile at that row.
TEST_F(Editor_Grid, AStartTimeRoundedToTheHundredthStillJoinsAndTypingEEndsTheProfile) {
    Type_Worked_Example();
    Enter(1, Col_Duration, "60.005");
    EXPECT_EQ(Cell(2, Col_Start_Time) + " " + Cell(3, Col_Start_Time), "60.01 90.01");
    Editor.Check_Profile();
    EXPECT_FALSE(Editor.Profile_Error) << Editor.User_Prompt;

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

// Entries are checked when the operator clicks away; what is being typed stays pending
// through a scroll; the messages start afresh when they grow long.
TEST_F(Editor_Grid, EntriesAreCheckedWhenTheOperatorClicksAwayAndMessagesStartAfresh) {
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

    // The message box starts afresh past 1000 characters, and at an accepted key.
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

std::string Mend_Segment(int row) {
    return "Type the Duration and End Temp of segment " + std::to_string(row) +
           " again in the profile editor and save the profile\r\n";
}

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
            "Out of range temp entry at\r\nsegment=1\r\ncol=5\r\n" + Out_Of_Range_After_The_Start},
        // Rows that do not join, as a file edited by hand: each row says so with its numbers.
        Check_Case{"a_start_time_moved_parts_it_from_both_neighbours",
                   [](Profile_Editor& e) { e.WorkSheet[2][Col_Start_Time] = "65.00"; },
                   "Segment 2 does not start when segment 1 ends: it starts at 65.00, segment 1 "
                   "ends at 60.00\r\n" +
                       Mend_Segment(1) +
                       "Segment 3 does not start when segment 2 ends: it starts at 90.00, "
                       "segment 2 ends at 95.00\r\n" +
                       Mend_Segment(2)},
        Check_Case{"the_end_row_starts_late",
                   [](Profile_Editor& e) { e.WorkSheet[3][Col_Start_Time] = "  90.01"; },
                   "Segment 3 does not start when segment 2 ends: it starts at 90.01, segment 2 "
                   "ends at 90.00\r\n" +
                       Mend_Segment(2)},
        Check_Case{"a_start_temperature_differs",
                   [](Profile_Editor& e) { e.WorkSheet[2][Col_Start_Temp] = "990"; },
                   "Segment 2 does not start at the temperature segment 1 ends at: it starts at "
                   "990, segment 1 ends at 1000\r\n" +
                       Mend_Segment(1)}),
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
        // Every temperature after the start, so the rows still join (the end row is not
        // range-checked: it repeats the last end).
        for (auto [row, col] : {std::pair{1, Col_End_Temp},
                                {2, Col_Start_Temp},
                                {2, Col_End_Temp},
                                {3, Col_Start_Temp}})
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
    Editor.User_Prompt.clear();
    Editor.Sensor_Menu_Click(Sensor_Type_Count);  // past the menu's end: nothing changes
    EXPECT_TRUE(Editor.User_Prompt.empty() && Editor.mnuSensor_Checked[0]);
    Box.Answer_OK = false;
    EXPECT_FALSE(Editor.mnuExitEditor_Click());  // Cancel keeps the window
    EXPECT_FALSE(std::filesystem::exists(Paths.Setup_File("SensorType.txt")));
    Box.Answer_OK = true;
    EXPECT_TRUE(Editor.mnuExitEditor_Click());
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("SensorType.txt")), "R    ");

    Profile_Editor again(Paths, Settings, Dialog, Box, Beeper);
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

// A cone 6 glaze firing in hours: candling at 180 F, 300 F/h to 1000 and on to 2032, the
// final 200 degrees at 108 F/h to 2232, a quarter-hour hold, cooled at 150 F/h to 1900.
// The potter in the other scale types the same durations and the temperatures to the
// nearest degree: 21, 82, 538, 1111, 1222, 1038 C, and an error limit of 28 for 50. In
// Fahrenheit the rows with a ramp rate may be typed with it instead of their duration.
Typed_Profile Cone6(bool fahrenheit, bool with_rates = false) {
    // End Temp in F and C, Duration, Ramp Rate in F/h, whether the row has an error limit.
    const std::tuple<const char*, const char*, const char*, const char*, bool> rows[] = {
        {"180", "82", "1", "", true},           {"180", "82", "1", "", false},
        {"1000", "538", "2.73", "300", true},   {"2032", "1111", "3.44", "300", true},
        {"2232", "1222", "1.85", "108", false}, {"2232", "1222", "0.25", "", false},
        {"1900", "1038", "2.21", "-150", false}};
    Typed_Profile profile{fahrenheit, false, 2, fahrenheit ? "70" : "21", {}};
    for (auto [f, c, duration, rate, limited] : rows) {
        const bool by_rate = with_rates && *rate;
        profile.Segments.push_back({fahrenheit ? f : c, by_rate ? "" : duration,
                                    by_rate ? rate : "", limited ? (fahrenheit ? "50" : "28") : "",
                                    ""});
    }
    profile.Segments.back().Command = "wait";
    return profile;
}

struct Conversion_Case {
    const char* What;
    std::function<void(Profile_Editor&)> Source;
    Typed_Profile Typed_In_The_Other_Scale;
};

// Converted, the sheet is byte for byte the file the potter would save typing the profile
// in the other scale; both ways, from typed cells and from a file's padded ones.
TEST(Scale_Conversion, GivesTheSheetTypedInTheOtherScaleByteForByte) {
    auto typed = [](const Typed_Profile& profile) {
        return [profile](Profile_Editor& editor) { Type_Profile(editor, profile); };
    };
    const Conversion_Case cases[] = {
        {"cone 6 typed with rates, F to C", typed(Cone6(true, true)), Cone6(false)},
        {"cone 6, F to C", typed(Cone6(true)), Cone6(false)},
        {"cone 6, C to F", typed(Cone6(false)), Cone6(true)},
        {"the worked example's file, F to C",
         [](Profile_Editor& editor) {
             editor.Load_Profile_Text(Worked_Example_Text(), "example.txt");
         },
         {false, true, 2, "21", {{"538", "60", "", "28", ""}, {"538", "30", "", "", ""}}}}};
    for (const Conversion_Case& c : cases) {
        SCOPED_TRACE(c.What);
        Detached_Editor converted, typed_by_hand;
        c.Source(converted.Editor);
        converted.Editor.mnuConvertScale_Click();
        const bool fahrenheit = c.Typed_In_The_Other_Scale.Fahrenheit;
        EXPECT_TRUE(converted.Editor.User_Prompt.starts_with(
            fahrenheit ? "Sheet converted to Fahrenheit\r\n" : "Sheet converted to Celsius\r\n"))
            << converted.Editor.User_Prompt;
        EXPECT_EQ(converted.Editor.TempScale, fahrenheit ? "Deg-F" : "Deg-C");
        Type_Profile(typed_by_hand.Editor, c.Typed_In_The_Other_Scale);
        typed_by_hand.Editor.Check_Profile();
        ASSERT_FALSE(typed_by_hand.Editor.Profile_Error) << typed_by_hand.Editor.User_Prompt;
        ASSERT_TRUE(converted.Editor.Build_Profile_Text());
        ASSERT_TRUE(typed_by_hand.Editor.Build_Profile_Text());
        EXPECT_EQ(converted.Editor.Profile_Text, typed_by_hand.Editor.Profile_Text);  // diffs lines
    }
}

// What a conversion does besides the cells: it takes the entry being typed as a value of
// the old scale, checks the sensor's limits in the new one, and leaves a sheet it cannot
// convert whole exactly as it was.
TEST_F(Editor_Commands, ConvertingTakesThePendingEntryChecksTheNewScaleAndConvertsWholeOrNot) {
    Type_Worked_Example();
    Enter(4, Col_Ramp_Rate, "90");  // no temperatures to work from: converted on its own
    Editor.Profile_FlexGrid_Click(1, Col_Error_Limits);
    Editor.Type_Text("\b\b90");  // typed in Fahrenheit, not yet committed
    Editor.mnuConvertScale_Click();
    EXPECT_EQ(Cell(1, Col_Error_Limits) + " " + Cell(2, Col_Start_Temp), "50 538");
    EXPECT_TRUE(Editor.mnuCelcius && !Editor.mnuFahrenheit);
    EXPECT_EQ(Editor.User_Prompt,
              "Sheet converted to Celsius\r\nTemperatures and error limits in whole degrees, ramp "
              "rates worked out again, times unchanged: check the profile, then save it\r\n");

    // A hand-edited cell, and 36032 F: beyond any whole number a cell holds.
    for (const std::string end_temp : {"  zero", "20000"}) {
        SCOPED_TRACE(end_temp);
        Editor.WorkSheet[2][Col_End_Temp] = end_temp;
        const Profile_Sheet before = Editor.WorkSheet;
        Editor.mnuConvertScale_Click();
        EXPECT_EQ(Editor.User_Prompt,
                  "Sheet not converted: a value cannot be converted at\r\nsegment=2\r\n");
        EXPECT_TRUE(Editor.WorkSheet == before);
        EXPECT_TRUE(Editor.mnuCelcius);
    }

    EXPECT_EQ(Cell(4, Col_Ramp_Rate), "50.00");
    Editor.ClearRows(4);
    Editor.WorkSheet[2][Col_End_Temp] = "538";
    Editor.Sensor_Menu_Click(4);  // T: up to 400 C, 700 F
    Editor.mnuConvertScale_Click();
    EXPECT_EQ(Cell(1, Col_End_Temp), "1000");
    EXPECT_TRUE(Editor.User_Prompt.ends_with("save it\r\n" + Out_Of_Range_After_The_Start))
        << Editor.User_Prompt;
}

// New From Cone makes a firing for this kiln: in the controller's scale once the run
// window knows it, else in the scale the editor remembers, which it never changes.
TEST(New_From_Cone, StartsInTheControllersScaleWhenKnownElseInTheEditors) {
    const std::tuple<std::string, bool, bool> cases[] = {
        {"", true, true}, {"", false, false}, {"F", false, true}, {"C", true, false}};
    for (const auto& [controller, editor_fahrenheit, fahrenheit] : cases) {
        SCOPED_TRACE("controller [" + controller + "], editor in " +
                     (editor_fahrenheit ? "F" : "C"));
        Detached_Editor scratch;
        editor_fahrenheit ? scratch.Editor.mnuFahrenheit_Click()
                          : scratch.Editor.mnuCelcius_Click();
        scratch.Editor.Controller_Scale = controller;
        New_From_Cone cone;
        cone.Form_Load(scratch.Editor);
        EXPECT_EQ(cone.Choice.Fahrenheit, fahrenheit);
        ASSERT_FALSE(cone.Preview.empty());
        EXPECT_EQ(cone.Preview[0][Col_Start_Temp], fahrenheit ? "70" : "21");
        EXPECT_EQ(scratch.Editor.mnuFahrenheit, editor_fahrenheit);
    }
}

}  // namespace
}  // namespace corvanel
