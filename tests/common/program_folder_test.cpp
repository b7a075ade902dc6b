// SPDX-License-Identifier: GPL-3.0-or-later
// Which program folder an executable uses, and what an installed one starts with.

#include <gtest/gtest.h>

#include "setup/program_paths.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

namespace fs = std::filesystem;

struct Folder_Case {
    const char* Name;
    const char* Executable;  // the paths are under the test's root
    std::vector<const char*> Folders;
    const char* Xdg_Data_Home;  // HOME is always home/potter
    const char* Expected;
    bool Seeded;
};

const std::vector<const char*> Built = {"build/program/LanguageFiles"},
                               Installed = {"usr/bin", "usr/share/corvanel/LanguageFiles"},
                               Portable = {"usr/bin/LanguageFiles", "usr/share/corvanel"};
const Folder_Case Executables[] = {
    {"BuildTreeKeepsTheExecutablesFolder", "build/program/corvanel", Built, nullptr,
     "build/program", false},
    {"InstalledUsesTheUsersDataFolder", "usr/bin/corvanel", Installed, nullptr,
     "home/potter/.local/share/corvanel", true},
    {"InstalledHonoursXdgDataHome", "usr/bin/corvanel", Installed, "data", "data/corvanel", true},
    {"ACopyWithItsOwnLanguagesInABinFolderStaysPortable", "usr/bin/corvanel", Portable, nullptr,
     "usr/bin", false}};

TEST(Program_Folder_Rule, OneRoutineDecides) {
    for (const Folder_Case& c : Executables) {
        SCOPED_TRACE(c.Name);
        Temp_Folder root;
        for (const char* folder : c.Folders) fs::create_directories(root.Path() / folder);
        const std::string home = root.File("home/potter");
        const std::string xdg = c.Xdg_Data_Home ? root.File(c.Xdg_Data_Home) : "";
        Program_Folder_Choice choice =
            Choose_Program_Folder(root.Path() / c.Executable, [&](const std::string& name) {
                if (name == "HOME") return home.c_str();
                return name == "XDG_DATA_HOME" && c.Xdg_Data_Home ? xdg.c_str() : nullptr;
            });
        EXPECT_EQ(choice.Folder, root.Path() / c.Expected);
        EXPECT_EQ(choice.Seed_From, c.Seeded ? root.Path() / "usr/share/corvanel" : fs::path());
    }
}

TEST(Program_Folder_Seed, LanguagesAndSamplesArriveWithoutReplacingTheOperatorsFiles) {
    Temp_Folder root;
    Write_Whole_File(root.File("share/LanguageFiles/LanguageTemplateFiles/T.mdb"), "template");
    Write_Whole_File(root.File("share/Profiles/bisque.txt"), "shipped bisque");
    EXPECT_TRUE(Seed_Program_Folder(root.Path() / "share", root.Path() / "user"));
    EXPECT_EQ(Read_Whole_File(root.File("user/LanguageFiles/LanguageTemplateFiles/T.mdb")),
              "template");
    EXPECT_EQ(Read_Whole_File(root.File("user/Profiles/bisque.txt")), "shipped bisque");

    // The operator edits a translation and deletes a sample; a newer package ships a
    // language and a sample more.
    Write_Whole_File(root.File("share/LanguageFiles/german.mdb"), "shipped german");
    Write_Whole_File(root.File("user/LanguageFiles/german.mdb"), "edited german");
    fs::remove(root.File("user/Profiles/bisque.txt"));
    Write_Whole_File(root.File("share/LanguageFiles/spanish.mdb"), "shipped spanish");
    Write_Whole_File(root.File("share/Profiles/glaze.txt"), "shipped glaze");
    EXPECT_TRUE(Seed_Program_Folder(root.Path() / "share", root.Path() / "user"));
    EXPECT_EQ(Read_Whole_File(root.File("user/LanguageFiles/german.mdb")), "edited german");
    EXPECT_EQ(Read_Whole_File(root.File("user/LanguageFiles/spanish.mdb")), "shipped spanish");
    EXPECT_FALSE(fs::exists(root.File("user/Profiles/bisque.txt")));
    EXPECT_FALSE(fs::exists(root.File("user/Profiles/glaze.txt")));
}

}  // namespace
}  // namespace corvanel::testing
