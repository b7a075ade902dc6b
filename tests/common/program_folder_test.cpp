// Which program folder an executable uses, and what an installed one starts with.

#include <gtest/gtest.h>

#include <map>

#include "setup/program_paths.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

namespace fs = std::filesystem;

struct Folder_Case {
    const char* Name;
    const char* Executable;  // under the test's root
    std::vector<const char*> Folders;
    std::map<std::string, std::string> Environment;
    const char* Expected;  // under the test's root; a leading "~" is $HOME
    bool Seeded;
};

class Program_Folder_Rule : public ::testing::TestWithParam<Folder_Case> {};

TEST_P(Program_Folder_Rule, OneRoutineDecides) {
    const Folder_Case& c = GetParam();
    Temp_Folder root;
    for (const char* folder : c.Folders) fs::create_directories(root.Path() / folder);
    std::map<std::string, std::string> environment;
    for (const auto& [name, value] : c.Environment) {
        environment[name] =
            value.rfind("/", 0) == 0 ? (root.Path() / value.substr(1)).string() : value;
    }
    Program_Folder_Choice choice =
        Choose_Program_Folder(root.Path() / c.Executable, [&](const char* name) -> const char* {
            auto it = environment.find(name);
            return it == environment.end() ? nullptr : it->second.c_str();
        });
    EXPECT_EQ(choice.Folder, root.Path() / c.Expected);
    EXPECT_EQ(choice.Seed_From.empty(), !c.Seeded);
    if (c.Seeded) {
        EXPECT_EQ(choice.Seed_From, root.Path() / "usr/share/corvanel");
    }
}

const std::vector<const char*> Installed = {"usr/bin", "usr/share/corvanel/LanguageFiles"};

INSTANTIATE_TEST_SUITE_P(
    Executables, Program_Folder_Rule,
    ::testing::Values(Folder_Case{"BuildTreeKeepsTheExecutablesFolder",
                                  "build/program/corvanel",
                                  {"build/program/LanguageFiles"},
                                  {{"HOME", "/home/potter"}},
                                  "build/program",
                                  false},
                      Folder_Case{"InstalledUsesTheUsersDataFolder",
                                  "usr/bin/corvanel",
                                  Installed,
                                  {{"HOME", "/home/potter"}},
                                  "home/potter/.local/share/corvanel",
                                  true},
                      Folder_Case{"InstalledHonoursXdgDataHome",
                                  "usr/bin/corvanel",
                                  Installed,
                                  {{"HOME", "/home/potter"}, {"XDG_DATA_HOME", "/data"}},
                                  "data/corvanel",
                                  true},
                      Folder_Case{"ACopyWithItsOwnLanguagesInABinFolderStaysPortable",
                                  "usr/bin/corvanel",
                                  {"usr/bin/LanguageFiles", "usr/share/corvanel"},
                                  {{"HOME", "/home/potter"}},
                                  "usr/bin",
                                  false}),
    [](const ::testing::TestParamInfo<Folder_Case>& info) { return info.param.Name; });

TEST(Program_Folder_Seed, LanguagesAndSamplesArriveWithoutReplacingTheOperatorsFiles) {
    Temp_Folder root;
    auto file = [&](const char* path) { return (root.Path() / path).string(); };
    Write_Whole_File(file("share/LanguageFiles/LanguageTemplateFiles/T.mdb"), "template");
    Write_Whole_File(file("share/Profiles/bisque.txt"), "shipped bisque");
    EXPECT_TRUE(Seed_Program_Folder(root.Path() / "share", root.Path() / "user"));
    EXPECT_EQ(Read_Whole_File(file("user/LanguageFiles/LanguageTemplateFiles/T.mdb")), "template");
    EXPECT_EQ(Read_Whole_File(file("user/Profiles/bisque.txt")), "shipped bisque");

    // The operator edits a translation and deletes a sample; a newer package ships a
    // language and a sample more.
    Write_Whole_File(file("share/LanguageFiles/german.mdb"), "shipped german");
    Write_Whole_File(file("user/LanguageFiles/german.mdb"), "edited german");
    fs::remove(file("user/Profiles/bisque.txt"));
    Write_Whole_File(file("share/LanguageFiles/spanish.mdb"), "shipped spanish");
    Write_Whole_File(file("share/Profiles/glaze.txt"), "shipped glaze");
    EXPECT_TRUE(Seed_Program_Folder(root.Path() / "share", root.Path() / "user"));
    EXPECT_EQ(Read_Whole_File(file("user/LanguageFiles/german.mdb")), "edited german");
    EXPECT_EQ(Read_Whole_File(file("user/LanguageFiles/spanish.mdb")), "shipped spanish");
    EXPECT_FALSE(fs::exists(file("user/Profiles/bisque.txt")));
    EXPECT_FALSE(fs::exists(file("user/Profiles/glaze.txt")));
}

}  // namespace
}  // namespace corvanel::testing
