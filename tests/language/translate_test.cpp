#include <gtest/gtest.h>

#include <filesystem>

#include "language/language_editor.h"
#include "language/translate.h"
#include "language_fixture.h"

namespace corvanel {
namespace {

class Translate_Test : public ::testing::Test {
  protected:
    void SetUp() override {
        Languages.Make_Language(
            "german",
            {Row("Profile Running", "Profil läuft"), Row("Alarm 1 On ", "Alarm 1 ein "),
             Row("Exit", "Beenden"), Row("EXIT", "ENDE"), Row("Scan finished", std::nullopt),
             Row("Unit", ""), Row("Profile is valid", "Profil ist gültig")});
    }
    std::string Messages() { return Language_Editor_Instance().DBInterfaceDisplay; }

    Language_Test_Folder Languages;
};

struct Lookup_Case {
    const char* Story;
    const char* English;
    const char* Expected;
};

class Translate_Lookup : public Translate_Test,
                         public ::testing::WithParamInterface<Lookup_Case> {};

TEST_P(Translate_Lookup, GermanGivesTheTranslationOrTheEnglishText) {
    CurrentLanguage = "german";
    EXPECT_EQ(TranslateText(GetParam().English), GetParam().Expected) << GetParam().Story;
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, Translate_Lookup,
    ::testing::Values(
        Lookup_Case{"a translated phrase", "Profile Running", "Profil läuft"},
        Lookup_Case{"blanks at the ends belong to the key", "Alarm 1 On ", "Alarm 1 ein "},
        Lookup_Case{"without its trailing blank it is another phrase", "Alarm 1 On", "Alarm 1 On"},
        Lookup_Case{"letter case is ignored", "PROFILE RUNNING", "Profil läuft"},
        Lookup_Case{"two rows differing in case: the first one serves both", "exit", "Beenden"},
        Lookup_Case{"... also for the second row's own spelling", "EXIT", "Beenden"},
        Lookup_Case{"never translated (NULL) gives English", "Scan finished", "Scan finished"},
        Lookup_Case{"translated as empty gives empty", "Unit", ""},
        Lookup_Case{"no row gives English", "Time(hours)", "Time(hours)"},
        Lookup_Case{"an apostrophe is an ordinary character",
                    "Enter new language name and click 'Add This Language'",
                    "Enter new language name and click 'Add This Language'"},
        Lookup_Case{"a phrase that looks like SQL is only a phrase", "x' OR '1'='1",
                    "x' OR '1'='1"}));

TEST_F(Translate_Test, EnglishInLowerCaseTouchesNoFileEvenWhenOneExists) {
    Languages.Make_Language("english", {Row("Profile Running", "should never be used")});
    // A file that is not a database at all would fail any lookup that opened it.
    std::filesystem::resize_file(Languages.Database("english"), 7);
    Language_Editor_Instance().Form_Load();  // reports on: a touch would show
    CurrentLanguage = "english";
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(Messages().find("Error in the"), std::string::npos);
}

TEST_F(Translate_Test, EnglishWithACapitalIsLookedUpLikeAnyLanguage) {
    Languages.Make_Language("English", {Row("Profile Running", "Running, as the shop says")});
    CurrentLanguage = "English";
    EXPECT_EQ(TranslateText("Profile Running"), "Running, as the shop says");
}

TEST_F(Translate_Test, AMissingRowIsNotAdded) {
    CurrentLanguage = "german";
    TranslateText("Time(hours)");
    Language_Database database(Languages.Database("german"), Language_Database::Access::Read_Only);
    EXPECT_EQ(database.Select_All().size(), 7u);
}

TEST_F(Translate_Test, AnApostrophePhraseTranslatedByTheOperatorComesBack) {
    Languages.Make_Language("spanish", {Row("Click 'Use This Language'", "Pulse 'Usar'")});
    CurrentLanguage = "spanish";
    EXPECT_EQ(TranslateText("Click 'Use This Language'"), "Pulse 'Usar'");
}

TEST_F(Translate_Test, FailuresAreSilentUntilTheEditorHasBeenLoaded) {
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
}

TEST_F(Translate_Test, ADatabaseDeletedWhileRunningLeavesEverythingInEnglish) {
    CurrentLanguage = "german";
    EXPECT_EQ(TranslateText("Exit"), "Beenden");
    std::filesystem::remove(Languages.Database("german"));
    EXPECT_EQ(TranslateText("Exit"), "Exit");
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
    EXPECT_EQ(CurrentLanguage, "german");
}

TEST_F(Translate_Test, ADamagedFileIsReportedWithTheEnginesWords) {
    Write_Whole_File(Languages.Database("broken"), "this is not a language database at all");
    Language_Editor_Instance().Form_Load();
    Language_Editor_Instance().ClearDisplay();
    CurrentLanguage = "broken";
    EXPECT_EQ(TranslateText("Exit"), "Exit");
    EXPECT_NE(Messages().find("Error in the Translate routine\r\n Error number= 26\r\n"),
              std::string::npos)
        << Messages();
}

TEST_F(Translate_Test, AnEditStoredByTheEditorIsSeenByTheNextLookup) {
    CurrentLanguage = "german";
    EXPECT_EQ(TranslateText("Scan finished"), "Scan finished");
    {
        Language_Database database(Languages.Database("german"),
                                   Language_Database::Access::Read_Write);
        database.Update(Editable_Column::TargetLanguage, "Suche beendet", "scan FINISHED");
    }
    EXPECT_EQ(TranslateText("Scan finished"), "Suche beendet");
}

}  // namespace
}  // namespace corvanel
