// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_file.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace corvanel
