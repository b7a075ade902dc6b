#include <gtest/gtest.h>

#include <filesystem>

#include "language/language_editor.h"
#include "language/translate.h"
#include "language_fixture.h"
#include "setup/setup_files.h"
#include "support/fake_platform.h"

namespace corvanel {
namespace {

// A French language file selected for the interface, and the editor over it.
class French_Phrases : public ::testing::Test {
  protected:
    void SetUp() override {
        Languages.Make_Language(
            "french",
            {Row("Profile Running", "Profil en cours", "run message"),
             Row("Profile Loaded", std::nullopt, "after loading"),
             Row("PROFILE SAVED", "PROFIL ENREGISTRÉ"), Row("Profile saved", "Profil enregistré"),
             Row("Print Profile", "Imprimer le profil"), Row("% Power", "% Puissance"),
             Row("Scan finished", "Recherche terminée"), Row("Alarm 1 On ", "Alarme 1 marche "),
             Row("Unit", ""), Row("Click 'Use This Language'", "Cliquez 'Utiliser'")});
        Write_Text_File(Languages.Paths.Setup_File("InterfaceLanguage.txt"), "french.mdb");
        Editor.Set_File_Dialog(&Dialog);
    }

    std::vector<std::string> Map_English() const {
        std::vector<std::string> english;
        for (const auto& row : Editor.LanguageMap) english.push_back(row.Text);
        return english;
    }
    Phrase_Row Stored(const std::string& english) const {
        for (const Phrase_Row& row : Languages.Rows("french"))
            if (row.English == english) return row;
        return {};
    }
    std::string Messages() { return Language_Editor_Instance().DBInterfaceDisplay; }

    Language_Test_Folder Languages;
    Fake_File_Dialog Dialog;
    LanguageDataBaseInterface Editor{Languages.Paths};
};
class Phrase_Lookup : public French_Phrases {};
class Language_Editor : public French_Phrases {};

TEST_F(Phrase_Lookup, GivesTheTranslationOrTheEnglishText) {
    CurrentLanguage = "french";
    const std::pair<const char*, const char*> lookups[] = {
        {"Profile Running", "Profil en cours"},
        {"Alarm 1 On ", "Alarme 1 marche "},  // blanks at the ends belong to the key
        {"Alarm 1 On", "Alarm 1 On"},
        {"PROFILE RUNNING", "Profil en cours"},  // letter case is ignored ...
        {"profile SAVED", "PROFIL ENREGISTRÉ"},  // ... and the first of two such rows serves both
        {"Profile saved", "PROFIL ENREGISTRÉ"},
        {"Profile Loaded", "Profile Loaded"},                 // never translated (NULL)
        {"Unit", ""},                                         // translated as empty
        {"Time(hours)", "Time(hours)"},                       // no row
        {"Click 'Use This Language'", "Cliquez 'Utiliser'"},  // apostrophes are bound
        {"x' OR '1'='1", "x' OR '1'='1"}};
    for (auto [english, expected] : lookups) EXPECT_EQ(TranslateText(english), expected) << english;
    EXPECT_EQ(Languages.Rows("french").size(), 10u);        // a missing row is not added
    std::filesystem::remove(Languages.Database("french"));  // deleted while running
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(CurrentLanguage, "french");
}

TEST_F(Phrase_Lookup, EnglishInLowerCaseTouchesNoFileButEnglishWithACapitalIsLookedUp) {
    Languages.Make_Language("English", {Row("Profile Running", "Running, as the shop says")});
    Languages.Make_Language("english", {Row("Profile Running", "should never be used")});
    // A file that is not a database at all would fail any lookup that opened it.
    std::filesystem::resize_file(Languages.Database("english"), 7);
    Language_Editor_Instance().Form_Load();  // reports on: a touch would show
    CurrentLanguage = "english";
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(Messages().find("Error in the"), std::string::npos);
    CurrentLanguage = "English";
    EXPECT_EQ(TranslateText("Profile Running"), "Running, as the shop says");
}

TEST_F(Phrase_Lookup, FailuresGiveEnglishSilentlyUntilTheEditorHasBeenLoaded) {
    CurrentLanguage = "";  // no language ever chosen: the file ".mdb" does not exist
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(Messages(), "");

    Language_Editor_Instance().Form_Load();
    Language_Editor_Instance().ClearDisplay();
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(Messages(),
              "Error in the Translate routine\r\n Error number= 53\r\nError description: Could "
              "not find file '" +
                  Languages.Database("") + "'.\r\n");

    Write_Whole_File(Languages.Database("broken"), "this is not a language database at all");
    Language_Editor_Instance().ClearDisplay();
    CurrentLanguage = "broken";
    EXPECT_EQ(TranslateText("Exit"), "Exit");
    EXPECT_NE(Messages().find("Error in the Translate routine\r\n Error number= 26\r\n"),
              std::string::npos)
        << Messages();
}

TEST_F(Language_Editor, OpeningShowsTheSelectedLanguageAndEachKeystrokeIsStored) {
    Editor.Form_Load();
    EXPECT_EQ(Editor.DBInterfaceDisplay,
              "db engine version= " + Language_Database::Engine_Version() +
                  "\r\nOpening language database at: " + Languages.Database("french") + "\r\n");
    ASSERT_EQ(Editor.LanguageMap.size(), 10u);
    EXPECT_EQ(Editor.LanguageMap[1].SubItems[0], "");  // never translated
    EXPECT_EQ(Editor.DisplayEnglish + "|" + Editor.DisplayTargetLanguage + "|" +
                  Editor.DisplayEnglishExplanation,
              "Profile Running|Profil en cours|run message");

    Editor.LanguageMap_ItemClick(2);
    EXPECT_EQ(Editor.DisplayEnglish, "Profile Loaded");
    CurrentLanguage = "french";
    Editor.DisplayTargetLanguage_Change("P");
    EXPECT_EQ(TranslateText("Profile Loaded"), "P");
    Editor.DisplayTargetLanguage_Change("Profil chargé");
    EXPECT_EQ(TranslateText("Profile Loaded"), "Profil chargé");
    EXPECT_EQ(Editor.LanguageMap[1].SubItems[0], "Profil chargé");
    Editor.DisplayTargetLanguageExplanation_Change("l'opérateur voit ceci");  // apostrophe
    EXPECT_EQ(Stored("Profile Loaded").TargetLanguageComments, "l'opérateur voit ceci");
    EXPECT_EQ(Editor.LanguageMap[1].SubItems[2], "l'opérateur voit ceci");
    EXPECT_EQ(Stored("Profile Running").TargetLanguage,
              "Profil en cours");  // a click writes nothing

    // A comment edit reaches every row of the phrase in any case; the map changes its current row.
    Editor.LanguageMap_ItemClick(3);  // "PROFILE SAVED"
    Editor.DisplayEnglishExplanation_Change("after a save");
    EXPECT_EQ(Stored("Profile saved").EnglishComments, "after a save");
    EXPECT_EQ(Editor.LanguageMap[2].SubItems[1], "after a save");
    EXPECT_EQ(Editor.LanguageMap[3].SubItems[1], "");
    EXPECT_EQ(Editor.DBInterfaceDisplay.find("Error"), std::string::npos);
}

TEST_F(Language_Editor, ASearchShowsTheEntriesBeginningWithTheTypedTextInAnyCaseOrSaysNone) {
    const std::vector<std::string> profiles = {"Profile Running", "Profile Loaded", "PROFILE SAVED",
                                               "Profile saved", "Print Profile"};
    const std::tuple<bool, const char*, std::vector<std::string>> searches[] = {
        {true, "pr", profiles},
        {true, "PR", profiles},
        {true, "%", {"% Power"}},  // % _ and the escape character are plain characters
        {true, "Pr_", {}},
        {true, "\\", {}},
        {false, "profil enr", {"PROFILE SAVED", "Profile saved"}},  // the translation column
        {true, "", {}}};                                            // every entry
    std::vector<std::string> all;
    for (const Phrase_Row& row : Languages.Rows("french")) all.push_back(row.English);
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
    Write_Text_File(Languages.Paths.Setup_File("InterfaceLanguage.txt"), "");
    Editor.Form_Load();
    EXPECT_EQ(Editor.DBInterfaceDisplay, "No language selected\r\n");
    Editor.DisplayTargetLanguage_Change("x");
    EXPECT_NE(Editor.DBInterfaceDisplay.find("Error in the DisplayTargetLanguage_Change routine\r\n"
                                             "Error number= 53\r\n"),
              std::string::npos);
}

TEST_F(Language_Editor, OpenLanguageTakesTheNameAndAlwaysTheFileInLanguageFiles) {
    Languages.Make_Language("italian", {Row("Profile Running", "Profilo in corso")});
    Editor.Form_Load();
    Dialog.Answers.push_back(File_Dialog_Result::Chosen("/somewhere/else/italian.mdb"));
    Editor.mnuOpenLanguage_Click();
    ASSERT_EQ(Dialog.Open_Requests.size(), 1u);
    EXPECT_EQ(Dialog.Open_Requests[0].Initial_Folder, Languages.Paths.Language_Folder());
    EXPECT_EQ(Dialog.Open_Requests[0].Filter, "Language Database (*.mdb) |*.mdb");
    EXPECT_EQ(Editor.LanguageFileName, "italian.mdb");
    EXPECT_EQ(Editor.LanguageName, "italian");
    EXPECT_EQ(Editor.DBInterfaceDisplay, "Opening language database: italian\r\n");
    EXPECT_EQ(Map_English(), std::vector<std::string>{"Profile Running"});
    EXPECT_EQ(Read_First_Line(Languages.Paths.Setup_File("InterfaceLanguage.txt")), "french.mdb");
    Editor.mnuOpenLanguage_Click();  // cancelled
    EXPECT_EQ(Editor.LanguageName, "italian");
}

}  // namespace
}  // namespace corvanel
