// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <stdexcept>

#include "language/caption_table.h"
#include "language/language_database.h"
#include "language/translate.h"
#include "setup/program_paths.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;

const std::string Language_Files = std::string(CORVANEL_PROGRAM_DIR) + "/LanguageFiles/";
const std::string Template = Language_Files + "LanguageTemplateFiles/LanguageDBTemplate.mdb";

// The English of every TranslateText call on string literals (adjacent ones joined, as the
// compiler joins them), possibly spread over lines.
TEST(Phrase_Template, EveryTranslatedLiteralOfTheProgramHasARow) {
    static const std::regex call(R"re(TranslateText\s*\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\))re");
    static const std::regex piece(R"re("((?:[^"\\]|\\.)*)")re");
    Language_Database database(Template, Language_Database::Access::Read_Only);
    std::size_t scanned = 0;
    for (const auto& file : fs::recursive_directory_iterator(CORVANEL_SOURCE_DIR)) {
        if (file.path().extension() != ".cpp" && file.path().extension() != ".h") continue;
        const std::string code = Read_Whole_File(file.path().string());
        for (std::sregex_iterator at(code.begin(), code.end(), call), end; at != end; ++at) {
            std::string text, pieces = (*at)[1];
            for (std::sregex_iterator p(pieces.begin(), pieces.end(), piece); p != end; ++p) {
                std::string raw = (*p)[1];
                for (std::size_t i = 0; i < raw.size(); ++i) {
                    const bool escaped = raw[i] == '\\' && ++i < raw.size();
                    const char c = raw[i];
                    text += !escaped ? c : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
                }
            }
            ++scanned;
            EXPECT_TRUE(database.Find(text).has_value())
                << "no row in data/language/phrases.txt for \"" << text << "\" (" << file.path()
                << ":" << 1 + std::count(code.begin(), code.begin() + at->position(), '\n') << ")";
        }
    }
    EXPECT_GT(scanned, 0u);
}

// Built from the same phrase list as the template, a shipped language holds its rows.
class Shipped_Language : public ::testing::TestWithParam<const char*> {};

TEST_P(Shipped_Language, TranslatesEveryPhraseKeepingTheBlanksAtTheEnds) {
    Language_Database language(Language_Files + GetParam() + ".mdb",
                               Language_Database::Access::Read_Only);
    for (const Phrase_Row& row : language.Select_All()) {
        ASSERT_FALSE(row.TargetLanguage.value_or("").empty()) << row.English;
        const std::string& text = *row.TargetLanguage;
        EXPECT_EQ(text.front() == ' ', row.English.front() == ' ') << "[" << text << "]";
        EXPECT_EQ(text.back() == ' ', row.English.back() == ' ') << "[" << text << "]";
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Shipped_Language, ::testing::Values("german", "spanish"),
                         [](const auto& info) { return std::string(info.param); });

// What the stand-in for the windows cannot reach while blocking: a window and a menu item.
bool Unreachable(const Caption_Entry& entry) {
    return entry.Window == Caption_Window::Serial_Port || entry.Control == "mnuVersion";
}

// Stands in for the windows: remembers what each entry's control was given.
class Recording_Windows : public Window_Registry {
  public:
    void Set_Text(const Caption_Entry& entry, const std::string& text) override {
        if (Blocking && Unreachable(entry)) throw std::runtime_error("control cannot be reached");
        Shown[&entry] = text;
    }
    std::string Text(const Caption_Entry& entry) const {
        auto shown = Shown.find(&entry);
        return shown == Shown.end() ? "<skipped>" : shown->second;
    }

    std::map<const Caption_Entry*, std::string> Shown;
    bool Blocking = true;
};

// The caption pass over the shipped languages, as the build lays them into the program folder.
class Caption_Pass : public ::testing::Test {
  protected:
    void SetUp() override { Use_Language_Program_Folder(Program_Paths(CORVANEL_PROGRAM_DIR)); }
    void TearDown() override { CurrentLanguage.clear(); }

    Recording_Windows Windows;
};

// An entry whose window or control cannot be reached is skipped and the pass goes on.
// Every caption has a row in the shipped German file (and so in the template).
TEST_F(Caption_Pass, GermanTurnsEveryReachableCaptionGermanAndEnglishTurnsThemBack) {
    CurrentLanguage = "german";
    InitObjectLanguage(Windows);
    Language_Database german(Language_Files + "german.mdb", Language_Database::Access::Read_Only);
    int differing = 0;
    for (const Caption_Entry& entry : Caption_Table()) {
        auto row = german.Find(std::string(entry.English));
        ASSERT_TRUE(row) << "no row for " << Window_Name(entry.Window) << ": " << entry.English;
        EXPECT_EQ(Windows.Text(entry),
                  Unreachable(entry) ? "<skipped>" : row->TargetLanguage.value_or(""))
            << entry.English;
        differing += Windows.Text(entry) != entry.English;
    }
    EXPECT_GT(differing, 100);

    Windows.Blocking = false;
    CurrentLanguage = "english";
    InitObjectLanguage(Windows);
    for (const Caption_Entry& entry : Caption_Table())
        EXPECT_EQ(Windows.Text(entry), entry.English);
}

}  // namespace
}  // namespace corvanel
