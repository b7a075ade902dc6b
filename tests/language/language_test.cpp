// SPDX-License-Identifier: GPL-3.0-or-later
// The language files at work: lookups, the language editor and the model of the window
// that chooses and adds languages, in a program folder of the test's own; then the
// template and the languages the program ships, and the caption pass over them.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <stdexcept>

#include "common/fixed_message.h"
#include "language/add_a_language.h"
#include "language/caption_table.h"
#include "language/language_database.h"
#include "language/language_database_interface_model.h"
#include "language/translate.h"
#include "setup/setup_files.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;

Phrase_Row Row(std::string english, std::optional<std::string> target,
               std::optional<std::string> comment = std::nullopt) {
    return {std::move(english), std::move(target), std::move(comment), std::nullopt, std::nullopt};
}

// The folder every lookup uses, with a French file selected for the interface, a German
// one and the template; no language is chosen yet, as at a fresh start.
class Language_Folder : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(Paths.Language_Folder() + "LanguageTemplateFiles");
        Use_Language_Program_Folder(Paths);
        CurrentLanguage.clear();
        Make_Language(
            "french",
            {Row("Profile Running", "Profil en cours", "run message"),
             Row("Profile Loaded", std::nullopt, "after loading"),
             Row("PROFILE SAVED", "PROFIL ENREGISTRÉ"), Row("Profile saved", "Profil enregistré"),
             Row("Print Profile", "Imprimer le profil"), Row("% Power", "% Puissance"),
             Row("Scan finished", "Recherche terminée"), Row("Alarm 1 On ", "Alarme 1 marche "),
             Row("Unit", ""), Row("Click 'Use This Language'", "Cliquez 'Utiliser'")});
        Make_Language("german", {Row("Profile Running", "Profil läuft")});
        Make_Language("LanguageTemplateFiles/LanguageDBTemplate",
                      {Row("Profile Running", std::nullopt, "run message")});
        Write_Text_File(Setup_File, "french.mdb");
        Editor.Set_File_Dialog(&Dialog);
    }
    void TearDown() override { CurrentLanguage.clear(); }

    std::string Database(const std::string& language) const {
        return Paths.Language_Folder() + language + ".mdb";
    }
    void Make_Language(const std::string& language, const std::vector<Phrase_Row>& rows) const {
        Language_Database::Create(Database(language));
        Language_Database database(Database(language), Language_Database::Access::Read_Write);
        for (const Phrase_Row& row : rows) database.Insert(row);
    }
    std::vector<Phrase_Row> Rows(const std::string& language) const {
        return Language_Database(Database(language), Language_Database::Access::Read_Only)
            .Select_All();
    }
    Phrase_Row Stored(const std::string& english) const {
        for (const Phrase_Row& row : Rows("french"))
            if (row.English == english) return row;
        return {};
    }
    std::vector<std::string> Map_English() const {
        std::vector<std::string> english;
        for (const auto& row : Editor.LanguageMap) english.push_back(row.Text);
        return english;
    }
    std::string Messages() { return Language_Editor_Instance().DBInterfaceDisplay; }

    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    const std::string Setup_File = Paths.Setup_File("InterfaceLanguage.txt");
    const std::string Template = Database("LanguageTemplateFiles/LanguageDBTemplate");
    Fake_File_Dialog Dialog;
    LanguageDataBaseInterface Editor{Paths};
    Settings_Store Settings{Paths};
    AddALanguage Window{Paths, Settings};
};
class Phrase_Lookup : public Language_Folder {};
class Language_Editor : public Language_Folder {};
class Add_A_Language : public Language_Folder {};

// Case is ignored, the first of two such rows serving both; blanks at the ends belong to
// the key; a row never translated gives English; apostrophes are never spliced in. A file
// that is no honest phrase list is never waited on.
TEST_F(Phrase_Lookup, GivesTheTranslationOrEnglishAndNeverWaitsOnADishonestFile) {
    CurrentLanguage = "french";
    const std::pair<const char*, const char*> lookups[] = {
        {"Profile Running", "Profil en cours"}, {"PROFILE RUNNING", "Profil en cours"},
        {"profile SAVED", "PROFIL ENREGISTRÉ"}, {"Profile saved", "PROFIL ENREGISTRÉ"},
        {"Alarm 1 On ", "Alarme 1 marche "},    {"Alarm 1 On", "Alarm 1 On"},
        {"Profile Loaded", "Profile Loaded"},   {"Unit", ""},
        {"Time(hours)", "Time(hours)"},         {"Click 'Use This Language'", "Cliquez 'Utiliser'"},
        {"x' OR '1'='1", "x' OR '1'='1"}};
    for (auto [english, expected] : lookups) EXPECT_EQ(TranslateText(english), expected) << english;
    EXPECT_EQ(Rows("french").size(), 10u);  // a missing row is not added

    CurrentLanguage = "";  // no language ever chosen: the file ".mdb" does not exist
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(Messages(), "");  // silent until the editor is loaded
    Language_Editor_Instance().Form_Load();
    Language_Editor_Instance().ClearDisplay();
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(Messages(),
              "Error in the Translate routine\r\n Error number= 53\r\nError description: Could "
              "not find file '" +
                  Database("") + "'.\r\n");
    Write_Whole_File(Database("broken"), "this is not a language database at all");
    Language_Editor_Instance().ClearDisplay();
    CurrentLanguage = "broken";
    EXPECT_EQ(TranslateText("Exit"), "Exit");
    EXPECT_NE(Messages().find("Error number= 26\r\n"), std::string::npos) << Messages();

    // "english" in small letters opens no file (this one would fail any lookup); "English"
    // is a language like any other.
    Make_Language("English", {Row("Profile Running", "Running, as the shop says")});
    Write_Whole_File(Database("english"), "this is not a language database at all");
    Language_Editor_Instance().ClearDisplay();
    CurrentLanguage = "english";
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(Messages(), "");
    CurrentLanguage = "English";
    EXPECT_EQ(TranslateText("Profile Running"), "Running, as the shop says");

    // A language file is anyone's to hand over; a lookup runs at every caption pass and
    // tick. Phrases that are a view that never ends, or a file far too large to be a
    // language, give English at once; a search that outlasts its time is cut off.
    Make_Language("endless", {Row("Profile Running", "Profil läuft")});
    Language_Database(Database("endless"), Language_Database::Access::Read_Write)
        .Execute(
            "DROP TABLE Language; CREATE VIEW Language AS WITH RECURSIVE n(x) AS "
            "(SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT 'x' AS English, 'y' AS "
            "TargetLanguage, '' AS EnglishComments, '' AS TargetLanguageComments, '' AS "
            "DateLastModified FROM n");
    fs::copy_file(Database("german"), Database("huge"));
    fs::resize_file(Database("huge"), Language_Database::Largest_File + 1);
    for (const char* language : {"endless", "huge"}) {
        CurrentLanguage = language;
        EXPECT_EQ(TranslateText("Profile Running"), "Profile Running") << language;
    }

    Make_Language("long", {});
    Language_Database(Database("long"), Language_Database::Access::Read_Write)
        .Execute(
            "DROP INDEX IF EXISTS Language_English; INSERT INTO Language (English, "
            "TargetLanguage) WITH RECURSIVE n(x) AS (SELECT 1 "
            "UNION ALL SELECT x + 1 FROM n WHERE x < 20000) SELECT 'phrase ' || x, 'Satz ' "
            "|| x FROM n");
    Language_Database long_list(Database("long"), Language_Database::Access::Read_Only);
    EXPECT_EQ(long_list.Find("PHRASE 19999").value_or(Phrase_Row{}).TargetLanguage, "Satz 19999");
    try {
        long_list.Find("no such phrase", std::chrono::milliseconds(0));
        ADD_FAILURE() << "a search out of time was not cut off";
    } catch (const Language_Database_Error& error) {
        EXPECT_EQ(error.Number, 9);  // SQLITE_INTERRUPT
    }
    EXPECT_EQ(long_list.Find("phrase 2").value_or(Phrase_Row{}).TargetLanguage, "Satz 2");
}

TEST_F(Language_Editor, ShowsTheSelectedLanguageStoresEachKeystrokeAndOpensOthersByName) {
    Editor.Form_Load();
    ASSERT_EQ(Editor.LanguageMap.size(), 10u);
    EXPECT_EQ(Editor.LanguageMap[1].SubItems[0], "");  // never translated
    EXPECT_EQ(Editor.DisplayEnglish + "|" + Editor.DisplayTargetLanguage + "|" +
                  Editor.DisplayEnglishExplanation,
              "Profile Running|Profil en cours|run message");

    Editor.LanguageMap_ItemClick(2);
    EXPECT_EQ(Editor.DisplayEnglish, "Profile Loaded");
    CurrentLanguage = "french";
    Editor.DisplayTargetLanguage_Change("Profil chargé");
    EXPECT_EQ(TranslateText("Profile Loaded"), "Profil chargé");
    EXPECT_EQ(Editor.LanguageMap[1].SubItems[0], "Profil chargé");
    Editor.DisplayTargetLanguageExplanation_Change("l'opérateur voit ceci");  // apostrophe
    EXPECT_EQ(Stored("Profile Loaded").TargetLanguageComments, "l'opérateur voit ceci");
    EXPECT_EQ(Editor.LanguageMap[1].SubItems[2], "l'opérateur voit ceci");
    Editor.LanguageMap_ItemClick(1);  // back to the first row; a click writes nothing
    EXPECT_EQ(Editor.DisplayEnglish + "|" + Editor.DisplayTargetLanguage,
              "Profile Running|Profil en cours");
    EXPECT_EQ(Stored("Profile Running").TargetLanguage, "Profil en cours");

    // A comment edit reaches every row of the phrase in any case; the map changes its current row.
    Editor.LanguageMap_ItemClick(3);  // "PROFILE SAVED"
    Editor.DisplayEnglishExplanation_Change("after a save");
    EXPECT_EQ(Stored("Profile saved").EnglishComments, "after a save");
    EXPECT_EQ(Editor.LanguageMap[2].SubItems[1], "after a save");
    EXPECT_EQ(Editor.LanguageMap[3].SubItems[1], "");
    EXPECT_EQ(Editor.DBInterfaceDisplay.find("Error"), std::string::npos);

    // Open Language takes the name only: the file is always the one in LanguageFiles.
    Dialog.Answers.push_back(File_Dialog_Result::Chosen("/somewhere/else/german.mdb"));
    Editor.mnuOpenLanguage_Click();
    ASSERT_EQ(Dialog.Open_Requests.size(), 1u);
    EXPECT_EQ(Dialog.Open_Requests[0].Initial_Folder, Paths.Language_Folder());
    EXPECT_EQ(Dialog.Open_Requests[0].Filter, "Language Database (*.mdb) |*.mdb");
    EXPECT_EQ(Editor.LanguageFileName, "german.mdb");
    EXPECT_EQ(Editor.LanguageName, "german");
    EXPECT_EQ(Editor.DBInterfaceDisplay, "Opening language database: german\r\n");
    EXPECT_EQ(Map_English(), std::vector<std::string>{"Profile Running"});
    EXPECT_EQ(Read_First_Line(Setup_File), "french.mdb");
    Editor.mnuOpenLanguage_Click();  // cancelled
    EXPECT_EQ(Editor.LanguageName, "german");
}

TEST_F(Language_Editor, ASearchShowsTheEntriesBeginningWithTheTypedTextInAnyCaseOrSaysNone) {
    const std::vector<std::string> profiles = {"Profile Running", "Profile Loaded", "PROFILE SAVED",
                                               "Profile saved", "Print Profile"};
    const std::tuple<bool, const char*, std::vector<std::string>> searches[] = {
        {true, "pr", profiles},
        {true, "%", {"% Power"}},  // % _ and the escape character are plain characters
        {true, "Pr_", {}},
        {true, "\\", {}},
        {false, "profil enr", {"PROFILE SAVED", "Profile saved"}},  // the translation column
        {true, "", {}}};                                            // every entry
    std::vector<std::string> all;
    for (const Phrase_Row& row : Rows("french")) all.push_back(row.English);
    Editor.Form_Load();
    for (const auto& [english_column, typed, expected] : searches) {
        Editor.SearchLanguageOption_Click(english_column);
        Editor.SearchBox_Change(typed);
        EXPECT_EQ(Map_English(), *typed ? expected : all) << typed;
    }
    Editor.LanguageMap_ItemClick(5);
    Editor.SearchBox_Change("zq");  // a search without a match keeps the boxes
    EXPECT_TRUE(Editor.LanguageMap.empty());
    EXPECT_TRUE(Editor.DBInterfaceDisplay.ends_with(
        "There were no records found in table SELECT * FROM Language WHERE English Like 'zq*'\r\n"));
    EXPECT_EQ(Editor.DisplayEnglish, "Print Profile");
    Editor.SearchBox_Change("it's");  // an apostrophe is searched like any other character
    EXPECT_EQ(Editor.DBInterfaceDisplay.find("Error in the"), std::string::npos);

    // With no language selected, typing only reports the failure.
    Write_Text_File(Setup_File, "");
    Editor.Form_Load();
    EXPECT_EQ(Editor.DBInterfaceDisplay, "No language selected\r\n");
    Editor.DisplayTargetLanguage_Change("x");
    EXPECT_NE(Editor.DBInterfaceDisplay.find("Error in the DisplayTargetLanguage_Change routine\r\n"
                                             "Error number= 53\r\n"),
              std::string::npos);
}

TEST_F(Add_A_Language, OpeningReadsTheSelectedLineUseNeedsAChoiceAndAnEmptyFolderIsNamed) {
    const std::tuple<const char*, const char*, int> lines[] = {
        {"german.mdb", "\r\n\r\nCurrent language selected=german", 1},
        {"French.mdb", "Current language selected=French", -1},  // no entry in that case
        {"", "No language was previously selected", -1},
        {"ab", "No language was previously selected", -1},
        {".mdb", "No language was previously selected", -1}};
    for (const auto& [line, last_line, highlighted] : lines) {
        AddALanguage window{Paths, Settings};
        Write_Text_File(Setup_File, line);
        window.Form_Load();
        EXPECT_TRUE(window.AddALanguageDisplay.ends_with(std::string(last_line) + "\r\n")) << line;
        EXPECT_EQ(window.ListIndex, highlighted) << line;
        EXPECT_EQ(window.LanguageList, (std::vector<std::string>{"french", "german"}));
        EXPECT_EQ(window.LanguageList_Selected,
                  (std::vector<bool>{highlighted == 0, highlighted == 1}));
    }

    // Use This Language needs a choice (what it does at once is pinned in the window).
    Write_Text_File(Setup_File, "");
    Window.Form_Load();
    Window.UseSelectedLanguage_Click();
    EXPECT_NE(Window.AddALanguageDisplay.find("You have not selected a language"),
              std::string::npos);
    EXPECT_EQ(Read_Whole_File(Setup_File), "\r\n");
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");

    Window.LanguageList_Click(0);
    Window.UseSelectedLanguage_Click();
    EXPECT_EQ(Window.AddALanguageDisplay, "InterfaceLanguage set to: french\r\n");
    EXPECT_EQ(Read_Whole_File(Setup_File), "french.mdb\r\n");
    Window.LanguageList_Click(1);  // a click leaves only that entry highlighted
    EXPECT_EQ(Window.LanguageList_Selected, (std::vector<bool>{false, true}));

    fs::remove(Database("french"));
    fs::remove(Database("german"));
    AddALanguage empty{Paths, Settings};
    empty.Form_Load();
    EXPECT_NE(empty.AddALanguageDisplay.find("No files in Language folder"), std::string::npos);
}

TEST_F(Add_A_Language, ANewNameBecomesALanguageButOneTakenOrWithABlankOrAccentNeverOverwrites) {
    const char* taken = "Language file with that name already exists\r\n";
    const char* letters = "Use only DASH, LETTERS, NUMBERS in language name\r\n";
    std::string german = Read_Whole_File(Database("german"));
    Window.Form_Load();
    Write_Whole_File(Database("dutch"), "the operator's own work");  // since the listing
    const std::pair<const char*, const char*> refused[] = {
        {"GERMAN", taken},     {"", taken},        {"swiss german", letters},
        {"français", letters}, {"neu_1", letters}, {"dutch", "could not be copied"}};
    for (const auto& [name, message] : refused) {
        Window.LanguageName = name;
        Window.MakeDataBaseFile_Click();
        EXPECT_NE(Window.AddALanguageDisplay.find(message), std::string::npos) << name;
    }
    EXPECT_EQ(Read_Whole_File(Database("german")), german);
    EXPECT_EQ(Read_Whole_File(Database("dutch")), "the operator's own work");
    EXPECT_EQ(
        std::distance(fs::directory_iterator(Paths.Language_Folder()), fs::directory_iterator{}),
        4);  // french, german, dutch and the template folder

    Window.LanguageName = "Zulu-Xhosa09";  // the ends of each range: a z 0 and 9
    Window.MakeDataBaseFile_Click();
    EXPECT_EQ(Window.LanguageName, "zulu-xhosa09");
    EXPECT_EQ(Window.AddALanguageDisplay, "Language name Selected is valid.\r\n");
    EXPECT_EQ(Read_Whole_File(Database("zulu-xhosa09")), Read_Whole_File(Template));
    EXPECT_EQ(Window.LanguageList,
              (std::vector<std::string>{"dutch", "french", "german", "zulu-xhosa09"}));
    EXPECT_EQ(CurrentLanguage, "");  // created, not chosen

    fs::remove(Template);
    Window.LanguageName = "danish";
    Window.MakeDataBaseFile_Click();
    EXPECT_TRUE(
        Window.AddALanguageDisplay.ends_with("The language template file is missing: " + Template +
                                             "\r\nNo language file was created\r\n"));
    EXPECT_FALSE(fs::exists(Database("danish")));
}

const std::string Language_Files = std::string(CORVANEL_PROGRAM_DIR) + "/LanguageFiles/";
const std::string Shipped_Template =
    Language_Files + "LanguageTemplateFiles/LanguageDBTemplate.mdb";

// The kinds of fixed message in the order the enum declares them.
const std::map<std::string, int> Fixed_Kinds = [] {
    const std::string header =
        Read_Whole_File(std::string(CORVANEL_SOURCE_DIR) + "/common/fixed_message.h");
    const std::string body = header.substr(header.find("enum class Fixed_Message {"));
    static const std::regex name(R"re((\w+),)re");
    std::map<std::string, int> kinds;
    for (std::sregex_iterator at(body.begin(), body.begin() + body.find('}'), name), end; at != end;
         ++at)
        kinds.emplace((*at)[1], static_cast<int>(kinds.size()));
    return kinds;
}();

// The English of every TranslateText call on string literals (adjacent ones joined, as the
// compiler joins them), possibly spread over lines, has a row; every shipped language
// translates every row, keeping the blanks at the ends.
TEST(Phrase_Template, EveryTranslatedLiteralHasARowAndEveryShippedLanguageTranslatesIt) {
    static const std::regex call(R"re(TranslateText\s*\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\))re");
    static const std::regex piece(R"re("((?:[^"\\]|\\.)*)")re");
    Language_Database database(Shipped_Template, Language_Database::Access::Read_Only);
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
        // The fixed messages shown translated are named by their kind, not written out.
        static const std::regex fixed(
            R"re(TranslateText\s*\(\s*Words_Of\(Fixed_Message::(\w+)\))re");
        for (std::sregex_iterator at(code.begin(), code.end(), fixed), end; at != end; ++at) {
            const std::string words =
                Words_Of(static_cast<Fixed_Message>(Fixed_Kinds.at((*at)[1])));
            ++scanned;
            EXPECT_TRUE(database.Find(words).has_value()) << "no row for \"" << words << "\"";
        }
    }
    EXPECT_GT(scanned, 0u);

    // Built from the same phrase list as the template, a shipped language holds its rows.
    for (const char* shipped : {"german", "spanish"}) {
        Language_Database language(Language_Files + shipped + ".mdb",
                                   Language_Database::Access::Read_Only);
        for (const Phrase_Row& row : language.Select_All()) {
            ASSERT_FALSE(row.TargetLanguage.value_or("").empty()) << shipped << ": " << row.English;
            const std::string& text = *row.TargetLanguage;
            EXPECT_EQ(text.front() == ' ', row.English.front() == ' ') << "[" << text << "]";
            EXPECT_EQ(text.back() == ' ', row.English.back() == ' ') << "[" << text << "]";
        }
    }
}

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
