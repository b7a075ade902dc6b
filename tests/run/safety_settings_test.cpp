#include "run/safety_settings.h"

#include <gtest/gtest.h>

#include <optional>

#include "run/safety_settings_form.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

// Every setting with its default but Controller_Lost_Ticks, then the line under test.
std::string Defaults_And(const std::string& line) {
    std::string text;
    for (const auto& row : Safety_Setting_Rows()) {
        if (std::string(row.Name) != "Controller_Lost_Ticks")
            text += std::string(row.Name) + "=" + Safety_Value_Text({}, row) + "\r\n";
    }
    return text + line;
}

struct File_Case {
    const char* Name;
    std::optional<std::string> File;  // none: no file at all
    double Lost_Ticks;                // what Controller_Lost_Ticks ends up as
    std::string Messages;             // the messages, each cut to its first 40 characters
};

class Safety_Settings_File : public ::testing::TestWithParam<File_Case> {};

TEST_P(Safety_Settings_File, BadOrMissingValuesKeepTheDefaultAndSaySo) {
    Temp_Folder folder;
    const std::string path = folder.File("Setup/Safety.txt");
    if (GetParam().File) Write_Text_File(path, *GetParam().File);
    Safety_Settings_Read read = Read_Safety_Settings(path);
    EXPECT_EQ(read.Settings.Controller_Lost_Ticks, GetParam().Lost_Ticks);
    std::string messages;
    for (const std::string& message : read.Messages) messages += message.substr(0, 40) + "|";
    EXPECT_EQ(messages, GetParam().Messages);
    // A missing file is written with the defaults: the next start reads it quietly.
    if (!GetParam().File) {
        EXPECT_TRUE(Read_Safety_Settings(path).Messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Safety_Settings_File,
    ::testing::Values(
        File_Case{"MissingFile", std::nullopt, 5, "No safety settings file, the defaults ar|"},
        File_Case{"Good", Defaults_And(" Controller_Lost_Ticks = 8 "), 8, ""},
        File_Case{"Text", Defaults_And("Controller_Lost_Ticks=many"), 5,
                  "Safety setting Controller_Lost_Ticks=man|"},
        File_Case{"Negative", Defaults_And("Controller_Lost_Ticks=-3"), 5,
                  "Safety setting Controller_Lost_Ticks=-3:|"},
        File_Case{"Huge", Defaults_And("Controller_Lost_Ticks=1e300"), 5,
                  "Safety setting Controller_Lost_Ticks=1e3|"},
        File_Case{
            "UnknownAndMissing", Defaults_And("Colour=red"), 5,
            "Safety setting not known: Colour=red|Safety setting missing, default kept: Co|"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Safety_Settings_Form, OkTakesTheGoodValuesAndShowsTheOldOneForABadOne) {
    Safety_Settings in_force;
    in_force.Heat_Minutes = 30;
    Safety_Settings_Form form;
    form.Form_Load(in_force);
    const auto& rows = Safety_Setting_Rows();
    auto text_of = [&](const std::string& name) -> std::string& {
        std::size_t i = 0;
        while (rows[i].Name != name) ++i;
        return form.Texts[i];
    };
    EXPECT_EQ(text_of("Heat_Minutes"), "30");
    text_of("Heat_Minutes") = "0";
    text_of("Heat_Gap_C") = "15.5";
    text_of("Scale_Check") = "0";
    EXPECT_FALSE(form.OK_Click());
    EXPECT_EQ(text_of("Heat_Minutes"), "30");
    EXPECT_EQ(form.Settings.Heat_Minutes, 30);
    EXPECT_EQ(form.Settings.Heat_Gap_C, 15.5);
    EXPECT_FALSE(form.Settings.Scale_Check);
    EXPECT_EQ(form.Messages,
              "Safety setting Heat_Minutes=0: must be a number from 1 to 600; kept 30\r\n");
    EXPECT_TRUE(form.OK_Click());

    // What the dialog took is what the next start reads.
    Temp_Folder folder;
    ASSERT_TRUE(Write_Safety_Settings(folder.File("Safety.txt"), form.Settings));
    Safety_Settings_Read read = Read_Safety_Settings(folder.File("Safety.txt"));
    EXPECT_TRUE(read.Messages.empty());
    EXPECT_EQ(read.Settings, form.Settings);
}

}  // namespace
}  // namespace corvanel
