#include "setup/setup_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "setup/program_paths.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

TEST(Setup_Files, ASettingWrittenIsReadBackAsItsFirstLine) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    std::string file = paths.Setup_File("SensorType.txt");

    Write_Text_File(file, "K    ");  // the Setup folder does not exist yet
    EXPECT_EQ(Read_Whole_File(file), "K    \r\n");
    EXPECT_EQ(Read_First_Line(file), "K    ");  // trailing blanks belong to the value

    Write_Text_File(file, "PtJIS");  // replaces, never appends
    EXPECT_EQ(Read_Whole_File(file), "PtJIS\r\n");
    EXPECT_FALSE(std::filesystem::exists(file + ".new"));
}

TEST(Setup_Files, MissingEmptyOrOddFilesReadAsTheirFirstLineOrNothing) {
    Temp_Folder folder;
    EXPECT_EQ(Read_First_Line(folder.File("nothing.txt")), "");
    Write_Whole_File(folder.File("empty.txt"), "");
    EXPECT_EQ(Read_First_Line(folder.File("empty.txt")), "");
    Write_Whole_File(folder.File("lf.txt"), "checked\nsecond\n");
    EXPECT_EQ(Read_First_Line(folder.File("lf.txt")), "checked");
    Write_Whole_File(folder.File("noend.txt"), "3");
    EXPECT_EQ(Read_First_Line(folder.File("noend.txt")), "3");
    EXPECT_EQ(Read_First_Line(folder.Path().string()), "");  // a folder, not a file
}

TEST(Setup_Files, AWriteThatCannotHappenIsSilentAndLeavesNoDebris) {
    Temp_Folder folder;
    Write_Whole_File(folder.File("plain-file"), "keep");
    Write_Text_File(folder.File("plain-file/inside.txt"), "x");  // parent is not a folder
    EXPECT_EQ(Read_First_Line(folder.File("plain-file/inside.txt")), "");
    EXPECT_EQ(Read_Whole_File(folder.File("plain-file")), "keep");
}

TEST(Setup_Files, FileNameOfPathKeepsWhatFollowsTheLastSeparator) {
    EXPECT_EQ(File_Name_Of_Path("C:\\Kiln\\Logfiles\\run1.log"), "run1.log");
    EXPECT_EQ(File_Name_Of_Path("/home/potter/Profiles/glaze.txt"), "glaze.txt");
    EXPECT_EQ(File_Name_Of_Path("bisque.txt"), "bisque.txt");
    EXPECT_EQ(File_Name_Of_Path("folder/"), "");
}

}  // namespace
}  // namespace corvanel
