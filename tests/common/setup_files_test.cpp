// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/setup_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "setup/program_paths.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

// A setup file is written whole and read as its first line, whatever it holds.
TEST(Setup_Files, AreWrittenWholeAndReadAsTheirFirstLineWhateverTheyHold) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    std::string file = paths.Setup_File("SensorType.txt");

    Write_Text_File(file, "K    ");  // the Setup folder does not exist yet
    EXPECT_EQ(Read_Whole_File(file), "K    \r\n");
    EXPECT_EQ(Read_First_Line(file), "K    ");  // trailing blanks belong to the value

    Write_Text_File(file, "PtJIS");  // replaces, never appends
    EXPECT_EQ(Read_Whole_File(file), "PtJIS\r\n");
    // Nothing is left beside it, and a link found under its name is replaced, never
    // followed to the file it points at.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(paths.Setup_File("")),
                            std::filesystem::directory_iterator()),
              1);
    Write_Whole_File(folder.File("elsewhere.txt"), "not ours");
    std::filesystem::remove(file);
    std::filesystem::create_symlink(folder.File("elsewhere.txt"), file);
    Write_Text_File(file, "K    ");
    EXPECT_FALSE(std::filesystem::is_symlink(file));
    EXPECT_EQ(Read_Whole_File(file), "K    \r\n");
    EXPECT_EQ(Read_Whole_File(folder.File("elsewhere.txt")), "not ours");

    // Missing, empty or odd files read as their first line or nothing; a failed write
    // leaves no debris.
    EXPECT_EQ(Read_First_Line(folder.File("nothing.txt")), "");
    for (auto [text, first] : {std::pair{"", ""}, {"checked\nsecond\n", "checked"}, {"3", "3"}}) {
        Write_Whole_File(folder.File("odd.txt"), text);
        EXPECT_EQ(Read_First_Line(folder.File("odd.txt")), first) << text;
    }
    EXPECT_EQ(Read_First_Line(folder.Path().string()), "");   // a folder, not a file
    Write_Text_File(folder.File("odd.txt/inside.txt"), "x");  // parent is not a folder
    EXPECT_EQ(Read_First_Line(folder.File("odd.txt/inside.txt")), "");
    EXPECT_EQ(Read_Whole_File(folder.File("odd.txt")), "3");

    // A path's file name is what follows its last separator, of either kind.
    EXPECT_EQ(File_Name_Of_Path("C:\\Kiln\\Logfiles\\run1.log"), "run1.log");
    EXPECT_EQ(File_Name_Of_Path("/home/potter/Profiles/glaze.txt"), "glaze.txt");
    EXPECT_EQ(File_Name_Of_Path("bisque.txt"), "bisque.txt");
    EXPECT_EQ(File_Name_Of_Path("folder/"), "");
}

}  // namespace
}  // namespace corvanel
