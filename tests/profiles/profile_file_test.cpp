// SPDX-License-Identifier: GPL-3.0-or-later
// A profile's file and the cone firings worked out into one.

#include <gtest/gtest.h>

#include <cmath>

#include "profiles/cone_firing.h"
#include "profiles/cone_table.h"
#include "profiles/detached_editor.h"
#include "profiles/profile_file.h"
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

// Each file's bytes, and whether they are accepted.
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
}

TEST(Profile_File, WhatIsNotThereReadsAsNothingAndOddFieldsStayRawText) {
    Temp_Folder folder;
    for (const char* missing : {"none.txt", "no/such/folder.txt", ""})
        EXPECT_EQ(Read_Profile_File(folder.File(missing)), "") << missing;
    std::string text = Worked_Example_Text();
    text.replace(7 * 3, 7, "r      ");  // a left-aligned action letter
    EXPECT_EQ(Parse_Profile_Text(text)[1][Col_Action], "r      ");
    Profile_Sheet nothing = Parse_Profile_Text(text.substr(0, 1000));
    EXPECT_EQ(Last_Used_Row(nothing), 0);
    EXPECT_TRUE(nothing[1][Col_Seg].empty());
}

TEST(Profile_File, LastUsedRowLooksOnlyAtTheTimeAndTemperatureColumns) {
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
    }
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

// Start Time|Duration|Action|Start Temp|End Temp|Ramp Rate, worked out by hand from the chart.
TEST(Cone_Firing, TheRowsAreWorkedOutByHandFromTheChart) {
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
}

TEST(Cone_Firing_Refusal, NamesWhatIsWrong) {
    const std::pair<Cone_Firing_Choice, const char*> refused[] = {
        {{"6", Cone_Speed::Medium, true, 2, "two", "", "", "", ""},
         "The preheat must be from 0.01 to 100 hours: two"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "", "", "7.5"},
         "The error limit must be a whole number from 1 to 9999: 7.5"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "150", "2269", ""},
         "The cooling must end below the cone temperature: 2269"},
        {{"6", Cone_Speed::Medium, true, 2, "", "", "150", "-301", ""},
         "The cooling temperature is below the sensor's limit: -301 < -300 (K)"}};
    for (const auto& [choice, refusal] : refused) {
        Cone_Firing_Plan plan = Plan_Cone_Firing(choice);
        EXPECT_EQ(plan.Refusal, refusal);
        EXPECT_TRUE(plan.Profile.Segments.empty()) << refusal;
    }
    // Cooling to the sensor's very limit is allowed.
    EXPECT_EQ(
        Plan_Cone_Firing({"6", Cone_Speed::Medium, true, 2, "", "", "150", "-300", ""}).Refusal,
        "");
}

}  // namespace
}  // namespace corvanel
