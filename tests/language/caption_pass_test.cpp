#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <stdexcept>

#include "language/add_a_language.h"
#include "language/caption_table.h"
#include "language/translate.h"
#include "language_fixture.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;

// Stands in for the windows: remembers what each control was given.
class Recording_Windows : public Window_Registry {
  public:
    void Set_Text(const Caption_Entry& entry, const std::string& text) override {
        ++Calls;
        if (entry.Window == Unreachable_Window || entry.Control == Unreachable_Control)
            throw std::runtime_error("control cannot be reached");
        Texts[{entry.Window, std::string(entry.Control), entry.Property}] = text;
    }
    std::string Text(Caption_Window window, std::string_view control,
                     Caption_Property property = Caption_Property::Caption) const {
        auto found = Texts.find({window, std::string(control), property});
        return found == Texts.end() ? "<not set>" : found->second;
    }
    std::string Shown(const Caption_Entry& entry) const {
        return Text(entry.Window, entry.Control, entry.Property);
    }

    std::map<std::tuple<Caption_Window, std::string, Caption_Property>, std::string> Texts;
    int Calls = 0;
    std::optional<Caption_Window> Unreachable_Window;
    std::string_view Unreachable_Control;
};

class Caption_Pass_Test : public ::testing::Test {
  protected:
    void SetUp() override {
        // The shipped databases, as the build lays them into the program folder.
        fs::path built = fs::path(CORVANEL_PROGRAM_DIR) / "LanguageFiles";
        fs::copy(built, Languages.Paths.Language_Folder(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    void Choose(const std::string& language) {
        AddALanguage window(Languages.Paths);
        window.Form_Load();
        auto entry = std::find(window.LanguageList.begin(), window.LanguageList.end(), language);
        ASSERT_NE(entry, window.LanguageList.end()) << language;
        window.LanguageList_Click(static_cast<int>(entry - window.LanguageList.begin()));
        window.UseSelectedLanguage_Click();
    }

    Language_Test_Folder Languages;
    Recording_Windows Windows;
};

TEST_F(Caption_Pass_Test, AnUnreachableWindowOrControlIsSkippedAndThePassGoesOn) {
    Windows.Unreachable_Window = Caption_Window::Serial_Port;
    Windows.Unreachable_Control = "mnuVersion";
    CurrentLanguage = "english";
    InitObjectLanguage(Windows);
    EXPECT_EQ(Windows.Calls, 137);
    EXPECT_EQ(Windows.Text(Caption_Window::Serial_Port, "Port_Label"), "<not set>");
    EXPECT_EQ(Windows.Text(Caption_Window::Traj_form, "mnuVersion"), "<not set>");
    EXPECT_EQ(Windows.Text(Caption_Window::CommSetUp, "CommDisplayLabel"), "Comm Port Number");
}

TEST_F(Caption_Pass_Test, ChoosingGermanTurnsEveryCaptionAndMessageGermanAndEnglishBack) {
    Choose("german");
    EXPECT_EQ(CurrentLanguage, "german");
    InitObjectLanguage(Windows);
    ASSERT_EQ(Windows.Texts.size(), 137u);
    Language_Database german(Languages.Database("german"), Language_Database::Access::Read_Only);
    int differing = 0;
    for (const Caption_Entry& entry : Caption_Table()) {
        std::string shown = Windows.Shown(entry);
        EXPECT_EQ(shown, *german.Find(std::string(entry.English))->TargetLanguage) << entry.English;
        differing += shown != entry.English;
    }
    EXPECT_GT(differing, 110);
    EXPECT_EQ(Windows.Text(Caption_Window::Traj_form, "Start_Profile"), " PROFIL STARTEN");
    EXPECT_EQ(Windows.Text(Caption_Window::FrontPanel, "Alarm_1"), "Alarm 1 ein ");

    EXPECT_EQ(TranslateText("Profile Running"), "Profil läuft");  // messages follow at once

    Choose("english");
    InitObjectLanguage(Windows);
    for (const Caption_Entry& entry : Caption_Table())
        EXPECT_EQ(Windows.Shown(entry), entry.English);
    EXPECT_EQ(TranslateText("Profile Running"), "Profile Running");
}

}  // namespace
}  // namespace corvanel
