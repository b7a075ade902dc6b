#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "language/caption_table.h"
#include "language/language_database.h"
#include "language/language_names.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;

const std::string Language_Files = std::string(CORVANEL_PROGRAM_DIR) + "/LanguageFiles/";
const std::string Template = Language_Files + "LanguageTemplateFiles/LanguageDBTemplate.mdb";

struct Literal {
    std::string Text;
    std::string Where;
};

// The English literals of every TranslateText("...") call in the sources: a plain
// string literal (or adjacent literals, which the compiler joins) directly inside the
// call, possibly spread over lines. Calls with anything else inside are not literals.
std::vector<Literal> Translated_Literals(const std::string& code, const std::string& file) {
    static const std::regex call(R"re(TranslateText\s*\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\))re");
    static const std::regex piece(R"re("((?:[^"\\]|\\.)*)")re");
    std::vector<Literal> literals;
    for (std::sregex_iterator at(code.begin(), code.end(), call), end; at != end; ++at) {
        std::string text, pieces = (*at)[1];
        for (std::sregex_iterator p(pieces.begin(), pieces.end(), piece); p != end; ++p) {
            std::string raw = (*p)[1];
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] != '\\') {
                    text += raw[i];
                    continue;
                }
                char e = raw[++i];
                text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
            }
        }
        std::size_t line = 1 + std::count(code.begin(), code.begin() + at->position(), '\n');
        literals.push_back({text, file + ":" + std::to_string(line)});
    }
    return literals;
}

std::vector<Phrase_Row> Rows_Of(const std::string& path) {
    Language_Database database(path, Language_Database::Access::Read_Only);
    return database.Select_All();
}

TEST(Phrase_Template, EveryTranslatedLiteralOfTheProgramHasARow) {
    Language_Database database(Template, Language_Database::Access::Read_Only);
    std::size_t scanned = 0;
    for (const auto& entry : fs::recursive_directory_iterator(CORVANEL_SOURCE_DIR)) {
        auto extension = entry.path().extension();
        if (extension != ".cpp" && extension != ".h" && extension != ".hpp") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream code;
        code << in.rdbuf();
        for (const Literal& literal : Translated_Literals(code.str(), entry.path().string())) {
            ++scanned;
            EXPECT_TRUE(database.Find(literal.Text).has_value())
                << "no row in data/language/phrases.txt for \"" << literal.Text << "\" ("
                << literal.Where << ")";
        }
    }
    EXPECT_GT(scanned, 0u);
}

TEST(Phrase_Template, EveryCaptionOfTheLanguagePassHasARow) {
    Language_Database database(Template, Language_Database::Access::Read_Only);
    for (const Caption_Entry& entry : Caption_Table()) {
        EXPECT_TRUE(database.Find(std::string(entry.English)).has_value())
            << "caption \"" << entry.English << "\" of " << Window_Name(entry.Window);
    }
}

TEST(Phrase_Template, TheTemplateAndEnglishHoldPhrasesWithCommentsAndNoTranslations) {
    for (const std::string& path : {Template, Language_Files + "english.mdb"}) {
        auto rows = Rows_Of(path);
        EXPECT_GT(rows.size(), 250u) << path;
        for (const Phrase_Row& row : rows) {
            EXPECT_FALSE(row.TargetLanguage.has_value()) << path << ": " << row.English;
            EXPECT_FALSE(row.EnglishComments.value_or("").empty()) << path << ": " << row.English;
        }
    }
}

bool Starts_Blank(const std::string& text) {
    return !text.empty() && text.front() == ' ';
}
bool Ends_Blank(const std::string& text) {
    return !text.empty() && text.back() == ' ';
}

class Shipped_Language : public ::testing::TestWithParam<const char*> {};

TEST_P(Shipped_Language, TranslatesEveryRowOfTheTemplateKeepingTheBlanksAtTheEnds) {
    auto template_rows = Rows_Of(Template);
    auto rows = Rows_Of(Language_Files + GetParam() + ".mdb");
    ASSERT_EQ(rows.size(), template_rows.size());
    std::set<std::string> captions;
    for (const Caption_Entry& entry : Caption_Table()) captions.insert(std::string(entry.English));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Phrase_Row& row = rows[i];
        EXPECT_EQ(row.English, template_rows[i].English);
        ASSERT_TRUE(row.TargetLanguage.has_value()) << row.English;
        const std::string& text = *row.TargetLanguage;
        EXPECT_FALSE(text.empty()) << row.English;
        EXPECT_EQ(Starts_Blank(text), Starts_Blank(row.English)) << "[" << text << "]";
        EXPECT_EQ(Ends_Blank(text), Ends_Blank(row.English)) << "[" << text << "]";
        // A caption has to fit the control designed for the English text.
        if (captions.count(row.English) && row.English.size() < 40) {
            EXPECT_LE(text.size(), row.English.size() * 2 + 8) << "caption too long: " << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Shipped_Language, ::testing::Values("german", "spanish"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace corvanel
