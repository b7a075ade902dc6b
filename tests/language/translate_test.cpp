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
             Row("Unit", ""), Row("Click 'Use This Language'", "Klicken Sie 'Verwenden'")});
    }
    std::string Messages() { return Language_Editor_Instance().DBInterfaceDisplay; }

    Language_Test_Folder Languages;
};

TEST_F(Translate_Test, GermanGivesTheTranslationOrTheEnglishText) {
    CurrentLanguage = "german";
    const std::pair<const char*, const char*> lookups[] = {
        {"Profile Running", "Profil läuft"},
        {"Alarm 1 On ", "Alarm 1 ein "},  // blanks at the ends belong to the key
        {"Alarm 1 On", "Alarm 1 On"},
        {"PROFILE RUNNING", "Profil läuft"},  // letter case is ignored ...
        {"exit", "Beenden"},                  // ... and the first of two such rows serves both
        {"EXIT", "Beenden"},
        {"Scan finished", "Scan finished"},                        // never translated (NULL)
        {"Unit", ""},                                              // translated as empty
        {"Time(hours)", "Time(hours)"},                            // no row
        {"Click 'Use This Language'", "Klicken Sie 'Verwenden'"},  // apostrophes are bound
        {"x' OR '1'='1", "x' OR '1'='1"}};
    for (auto [english, expected] : lookups) EXPECT_EQ(TranslateText(english), expected) << english;
    Language_Database database(Languages.Database("german"), Language_Database::Access::Read_Only);
    EXPECT_EQ(database.Select_All().size(), 7u);            // a missing row is not added
    std::filesystem::remove(Languages.Database("german"));  // deleted while running
    EXPECT_EQ(TranslateText("Exit"), "Exit");
    EXPECT_EQ(CurrentLanguage, "german");
}

TEST_F(Translate_Test, EnglishInLowerCaseTouchesNoFileButEnglishWithACapitalIsLookedUp) {
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

TEST_F(Translate_Test, FailuresGiveEnglishSilentlyUntilTheEditorHasBeenLoaded) {
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

}  // namespace
}  // namespace corvanel
