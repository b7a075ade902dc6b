#include "language/add_a_language.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "language/translate.h"
#include "language_fixture.h"
#include "setup/setup_files.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;

class Add_A_Language_Test : public ::testing::Test {
  protected:
    void SetUp() override {
        Languages.Make_Language("german", {Row("Profile Running", "Profil läuft")});
        Languages.Make_Language("spanish", {Row("Profile Running", "Perfil en ejecución")});
        fs::create_directories(Languages.Paths.Language_Folder() + "LanguageTemplateFiles");
        Languages.Make_Language("LanguageTemplateFiles/LanguageDBTemplate",
                                {Row("Profile Running", std::nullopt, "run message")});
    }
    std::string Template() const {
        return Languages.Database("LanguageTemplateFiles/LanguageDBTemplate");
    }
    std::string Setup_File() const { return Languages.Paths.Setup_File("InterfaceLanguage.txt"); }

    Language_Test_Folder Languages;
    AddALanguage Window{Languages.Paths};
};

TEST_F(Add_A_Language_Test, OpeningReadsTheSelectedLanguageLine) {
    const std::tuple<const char*, const char*, int> lines[] = {
        {"spanish.mdb", "\r\n\r\nCurrent language selected=spanish", 1},
        {"German.mdb", "Current language selected=German", -1},  // no entry in that case
        {"", "No language was previously selected", -1},
        {"ab", "No language was previously selected", -1},
        {".mdb", "No language was previously selected", -1}};
    for (const auto& [line, last_line, highlighted] : lines) {
        AddALanguage window{Languages.Paths};
        Write_Text_File(Setup_File(), line);
        window.Form_Load();
        EXPECT_TRUE(window.AddALanguageDisplay.ends_with(std::string(last_line) + "\r\n")) << line;
        EXPECT_EQ(window.ListIndex, highlighted) << line;
        EXPECT_EQ(window.LanguageList, (std::vector<std::string>{"german", "spanish"}));
        EXPECT_EQ(window.LanguageList_Selected,
                  (std::vector<bool>{highlighted == 0, highlighted == 1}));
    }
}

TEST_F(Add_A_Language_Test, ANewNameWithCapitalsDigitsAndADashBecomesALanguage) {
    Window.Form_Load();
    Window.LanguageName = "Zulu-Xhosa09";  // the ends of each range: a z 0 and 9
    Window.MakeDataBaseFile_Click();
    EXPECT_EQ(Window.LanguageName, "zulu-xhosa09");
    EXPECT_EQ(Window.AddALanguageDisplay, "Language name Selected is valid.\r\n");
    EXPECT_EQ(Read_Whole_File(Languages.Database("zulu-xhosa09")), Read_Whole_File(Template()));
    EXPECT_EQ(Window.LanguageList, (std::vector<std::string>{"german", "spanish", "zulu-xhosa09"}));
    EXPECT_EQ(CurrentLanguage, "");  // created, not chosen
}

TEST_F(Add_A_Language_Test, ANameTakenOrWithABlankOrAccentIsRefusedAndNoFileIsEverOverwritten) {
    const std::string taken = "Language file with that name already exists\r\n";
    const std::string letters_only = "Use only DASH, LETTERS, NUMBERS in language name\r\n";
    std::string german = Read_Whole_File(Languages.Database("german"));
    Window.Form_Load();
    Write_Whole_File(Languages.Database("dutch"), "the operator's own work");  // since the listing
    for (const auto& [name, message] : {std::pair{"GERMAN", taken},
                                        {"", taken},
                                        {"swiss german", letters_only},
                                        {"français", letters_only},
                                        {"neu_1", letters_only},
                                        {"dutch", "could not be copied"}}) {
        Window.LanguageName = name;
        Window.MakeDataBaseFile_Click();
        EXPECT_NE(Window.AddALanguageDisplay.find(message), std::string::npos) << name;
    }
    EXPECT_EQ(Read_Whole_File(Languages.Database("german")), german);
    EXPECT_EQ(Read_Whole_File(Languages.Database("dutch")), "the operator's own work");
    EXPECT_EQ(std::distance(fs::directory_iterator(Languages.Paths.Language_Folder()),
                            fs::directory_iterator{}),
              4);  // german, spanish, dutch and the template folder

    fs::remove(Template());
    Window.LanguageName = "danish";
    Window.MakeDataBaseFile_Click();
    EXPECT_EQ(Window.AddALanguageDisplay,
              "Language name Selected is valid.\r\n"
              "-------------------------ERROR-----------------------------\r\n"
              "The language template file is missing: " +
                  Template() + "\r\nNo language file was created\r\n");
    EXPECT_FALSE(fs::exists(Languages.Database("danish")));
}

TEST_F(Add_A_Language_Test, UseThisLanguageNeedsAChoiceAndThenTranslatesTheNextMessageAtOnce) {
    Window.Form_Load();
    Window.UseSelectedLanguage_Click();
    EXPECT_EQ(Window.AddALanguageDisplay,
              "-------------------------ERROR-----------------------------\r\n"
              "You have not selected a language\r\n"
              "----------------------INSTRUCTIONS-------------------------\r\n"
              "-1- Use the mouse to click on the language you want to use\r\n"
              "-2- Then click on 'Use This Language' button\r\n");
    EXPECT_FALSE(fs::exists(Setup_File()));
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");

    Window.LanguageList_Click(0);
    Window.UseSelectedLanguage_Click();
    EXPECT_EQ(Window.AddALanguageDisplay, "InterfaceLanguage set to: german\r\n");
    EXPECT_EQ(Read_Whole_File(Setup_File()), "german.mdb\r\n");
    EXPECT_EQ(TranslateText("Profile Running"), "Profil läuft");
    Window.LanguageList_Click(1);  // a click leaves only that entry highlighted
    EXPECT_EQ(Window.LanguageList_Selected, (std::vector<bool>{false, true}));
}

TEST_F(Add_A_Language_Test, AnEmptyFolderSaysSoAndEditOpensTheEditor) {
    fs::remove(Languages.Database("german"));
    fs::remove(Languages.Database("spanish"));
    bool editor_shown = false;
    Window.Show_Language_Editor = [&] { editor_shown = true; };
    Window.Form_Load();
    EXPECT_NE(Window.AddALanguageDisplay.find(
                  "---------------------ATTENTION------------------------\r\nNo files in Language "
                  "folder - There are no files to select from - See website for language file "
                  "downloads\r\n"),
              std::string::npos);
    Window.OpenLanguageEditor_Click();
    EXPECT_TRUE(editor_shown);
    Window.cmdDone_Click();
    EXPECT_FALSE(Window.Window_Loaded);
}

}  // namespace
}  // namespace corvanel
