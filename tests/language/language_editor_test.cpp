#include <gtest/gtest.h>

#include "language/language_editor.h"
#include "language/translate.h"
#include "language_fixture.h"
#include "setup/setup_files.h"

namespace corvanel {
namespace {

class Scripted_Dialog : public File_Dialog {
  public:
    File_Dialog_Result Show_Open(const File_Dialog_Request& request) override {
        Last_Request = request;
        return Answer;
    }
    File_Dialog_Result Show_Save(const File_Dialog_Request&) override { return Answer; }
    File_Dialog_Result Answer = File_Dialog_Result::Cancelled();
    File_Dialog_Request Last_Request;
};

class Language_Editor_Test : public ::testing::Test {
  protected:
    void SetUp() override {
        Languages.Make_Language(
            "french",
            {Row("Profile Running", "Profil en cours", "run message"),
             Row("Profile Loaded", std::nullopt, "after loading"),
             Row("PROFILE SAVED", "PROFIL ENREGISTRÉ"), Row("Profile saved", "Profil enregistré"),
             Row("Print Profile", "Imprimer le profil"), Row("% Power", "% Puissance"),
             Row("Scan finished", "Recherche terminée")});
        Write_Text_File(Languages.Paths.Setup_File("InterfaceLanguage.txt"), "french.mdb");
        Editor.Set_File_Dialog(&Dialog);
    }

    std::vector<std::string> Map_English() const {
        std::vector<std::string> english;
        for (const auto& row : Editor.LanguageMap) english.push_back(row.Text);
        return english;
    }

    std::optional<Phrase_Row> Stored(const std::string& english) {
        Language_Database database(Languages.Database("french"),
                                   Language_Database::Access::Read_Only);
        auto rows = database.Select_All();
        for (const auto& row : rows)
            if (row.English == english) return row;
        return std::nullopt;
    }

    Language_Test_Folder Languages;
    Scripted_Dialog Dialog;
    LanguageDataBaseInterface Editor{Languages.Paths};
};

TEST_F(Language_Editor_Test, OpeningShowsTheSelectedLanguageAndEachKeystrokeIsStored) {
    Editor.Form_Load();
    EXPECT_EQ(Editor.DBInterfaceDisplay,
              "db engine version= " + Language_Database::Engine_Version() +
                  "\r\nOpening language database at: " + Languages.Database("french") + "\r\n");
    ASSERT_EQ(Editor.LanguageMap.size(), 7u);
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
    EXPECT_EQ(Stored("Profile Loaded")->TargetLanguageComments, "l'opérateur voit ceci");
    EXPECT_EQ(Editor.LanguageMap[1].SubItems[2], "l'opérateur voit ceci");
    EXPECT_EQ(Stored("Profile Running")->TargetLanguage,
              "Profil en cours");  // a click writes nothing

    // A comment edit reaches every row of the phrase in any case; the map changes its current row.
    Editor.LanguageMap_ItemClick(3);  // "PROFILE SAVED"
    Editor.DisplayEnglishExplanation_Change("after a save");
    EXPECT_EQ(Stored("Profile saved")->EnglishComments, "after a save");
    EXPECT_EQ(Editor.LanguageMap[2].SubItems[1], "after a save");
    EXPECT_EQ(Editor.LanguageMap[3].SubItems[1], "");
    EXPECT_EQ(Editor.DBInterfaceDisplay.find("Error"), std::string::npos);
}

TEST_F(Language_Editor_Test, WithNoLanguageSelectedTypingOnlyReportsFailures) {
    Write_Text_File(Languages.Paths.Setup_File("InterfaceLanguage.txt"), "");
    Editor.Form_Load();
    EXPECT_EQ(Editor.DBInterfaceDisplay, "No language selected\r\n");
    Editor.DisplayTargetLanguage_Change("x");
    EXPECT_NE(Editor.DBInterfaceDisplay.find("Error in the DisplayTargetLanguage_Change routine\r\n"
                                             "Error number= 53\r\n"),
              std::string::npos);
}

TEST_F(Language_Editor_Test, ASearchShowsTheEntriesBeginningWithTheTypedTextInAnyCase) {
    const std::vector<std::string> profiles = {"Profile Running", "Profile Loaded", "PROFILE SAVED",
                                               "Profile saved", "Print Profile"};
    const std::tuple<bool, const char*, std::vector<std::string>> searches[] = {
        {true, "pr", profiles},
        {true, "PR", profiles},
        {true, "%", {"% Power"}},  // % _ and the escape character are plain characters
        {true, "Pr_", {}},
        {true, "\\", {}},
        {false, "profil enr", {"PROFILE SAVED", "Profile saved"}},  // the translation column
        {true,
         "",
         {"Profile Running", "Profile Loaded", "PROFILE SAVED", "Profile saved", "Print Profile",
          "% Power", "Scan finished"}}};
    Editor.Form_Load();
    for (const auto& [english_column, typed, expected] : searches) {
        Editor.SearchLanguageOption_Click(english_column);
        Editor.SearchBox_Change(typed);
        EXPECT_EQ(Map_English(), expected) << typed;
    }
}

TEST_F(Language_Editor_Test, ASearchWithoutMatchNamesTheStatementAndKeepsTheBoxes) {
    Editor.Form_Load();
    Editor.LanguageMap_ItemClick(5);
    Editor.SearchBox_Change("zq");
    EXPECT_TRUE(Editor.LanguageMap.empty());
    EXPECT_TRUE(Editor.DBInterfaceDisplay.ends_with(
        "There were no records found in table SELECT * FROM Language WHERE English Like 'zq*'\r\n"));
    EXPECT_EQ(Editor.DisplayEnglish, "Print Profile");
    Editor.SearchBox_Change("it's");  // an apostrophe is searched like any other character
    EXPECT_EQ(Editor.DBInterfaceDisplay.find("Error in the"), std::string::npos);
}

TEST_F(Language_Editor_Test, OpenLanguageTakesTheNameAndAlwaysTheFileInLanguageFiles) {
    Languages.Make_Language("italian", {Row("Profile Running", "Profilo in corso")});
    Editor.Form_Load();
    Dialog.Answer = File_Dialog_Result::Chosen("/somewhere/else/italian.mdb");
    Editor.mnuOpenLanguage_Click();
    EXPECT_EQ(Dialog.Last_Request.Initial_Folder, Languages.Paths.Language_Folder());
    EXPECT_EQ(Dialog.Last_Request.Filter, "Language Database (*.mdb) |*.mdb");
    EXPECT_EQ(Editor.LanguageFileName, "italian.mdb");
    EXPECT_EQ(Editor.LanguageName, "italian");
    EXPECT_EQ(Editor.DBInterfaceDisplay, "Opening language database: italian\r\n");
    EXPECT_EQ(Map_English(), std::vector<std::string>{"Profile Running"});
    EXPECT_EQ(Read_First_Line(Languages.Paths.Setup_File("InterfaceLanguage.txt")), "french.mdb");

    Dialog.Answer = File_Dialog_Result::Cancelled();
    Editor.mnuOpenLanguage_Click();
    EXPECT_EQ(Editor.LanguageName, "italian");
}

}  // namespace
}  // namespace corvanel
