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
    const fs::path shared = root.Path() / "share";
    const fs::path user = root.Path() / "user";
    Write_Whole_File((shared / "LanguageFiles/german.mdb").string(), "shipped german");
    Write_Whole_File(
        (shared / "LanguageFiles/LanguageTemplateFiles/LanguageDBTemplate.mdb").string(),
        "template");
    Write_Whole_File((shared / "Profiles/bisque.txt").string(), "shipped bisque");

    EXPECT_TRUE(Seed_Program_Folder(shared, user));
    EXPECT_EQ(Read_Whole_File(
                  (user / "LanguageFiles/LanguageTemplateFiles/LanguageDBTemplate.mdb").string()),
              "template");
    EXPECT_EQ(Read_Whole_File((user / "Profiles/bisque.txt").string()), "shipped bisque");

    // The operator edits a translation and deletes a sample; a newer package ships a
    // language and a sample more.
    Write_Whole_File((user / "LanguageFiles/german.mdb").string(), "edited german");
    fs::remove(user / "Profiles/bisque.txt");
    Write_Whole_File((shared / "LanguageFiles/spanish.mdb").string(), "shipped spanish");
    Write_Whole_File((shared / "Profiles/glaze.txt").string(), "shipped glaze");
    EXPECT_TRUE(Seed_Program_Folder(shared, user));
    EXPECT_EQ(Read_Whole_File((user / "LanguageFiles/german.mdb").string()), "edited german");
    EXPECT_EQ(Read_Whole_File((user / "LanguageFiles/spanish.mdb").string()), "shipped spanish");
    EXPECT_FALSE(fs::exists(user / "Profiles/bisque.txt"));
    EXPECT_FALSE(fs::exists(user / "Profiles/glaze.txt"));
}

}  // namespace
}  // namespace corvanel::testing
