// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ranges>
#include <vector>

#include "setup/program_settings.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"
#include "support/test_settings.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;
using namespace test_settings;

// Every one-line setting is written with exactly the bytes the program has always
// written for it (a secret for its owner only), and reads back as written.
TEST(Settings_Store, WritesOneLineSettingsByteForByteAndReadsThemBack) {
    using namespace Program_Setting;
    // The values in the order of the program's settings, then the token's.
    const std::string_view table =
        "checked|Cone 6 glaze.txt|run 12.log|a@b.org; c@d.org|3|unchecked|Kiln 2|German.mdb|"
        "checked|unchecked|K    |unchecked|checked|unchecked|smtp.example.org:587|"
        "kiln@example.org|0123abcd";
    std::vector<std::string> values;
    for (auto value : std::views::split(table, '|'))
        values.emplace_back(value.begin(), value.end());
    Setting_List settings = Program_Settings();
    settings.push_back(&Token);
    ASSERT_EQ(values.size(), settings.size());
    Temp_Folder ours, theirs;
    Write_Whole_File(ours.File("Setup/Token.txt"), "old\r\n");
    fs::permissions(ours.File("Setup/Token.txt"), fs::perms(0644));  // left by an older version
    Settings_Store store{Program_Paths(ours.Path())};
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const std::string file = "Setup/" + settings[i]->File;
        EXPECT_FALSE(store.Write(*settings[i], values[i])) << file;
        (settings[i] == &Token ? Write_Private_Text_File : Write_Text_File)(theirs.File(file),
                                                                            values[i]);
        EXPECT_EQ(Read_Whole_File(ours.File(file)), Read_Whole_File(theirs.File(file))) << file;
        EXPECT_EQ(Settings_Store{Program_Paths(ours.Path())}.Read(*settings[i]).Value, values[i]);
    }
    for (const auto& entry : fs::directory_iterator(ours.Path() / "Setup"))
        EXPECT_EQ(entry.path().extension(), ".txt") << entry.path();  // nothing left beside
    EXPECT_EQ(fs::status(ours.File("Setup/Token.txt")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    // The profile and log names are written only when there is one.
    EXPECT_FALSE(store.Write(Profile_Name, ""));
    EXPECT_EQ(Read_Whole_File(ours.File("Setup/Profile_Name.txt")), "Cone 6 glaze.txt\r\n");
    EXPECT_FALSE(store.Write(Email_List, ""));
    EXPECT_EQ(Read_Whole_File(ours.File("Setup/Email_List.txt")), "\r\n");
}

TEST(Settings_Store, AKeyFileIsReadLineByLineAndWrittenWholeInDeclaredOrder) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Settings_Store store(paths);
    store.Declare({&Alarm, &Ticks, &Margin});
    EXPECT_TRUE(store.Read_File("Safe.txt").empty());  // missing: defaults, no problem
    EXPECT_FALSE(store.File_Exists("Safe.txt"));

    Write_Whole_File(paths.Setup_File("Safe.txt"),
                     "# kept by hand\n\n  Margin = 75.50 \r\nTicks=many\nColour=red\nAlarm\n");
    std::vector<Settings_Store::Line_Problem> problems = store.Read_File("Safe.txt");
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].Said.What.English(),
              "Failed ticks: \"many\" is not a whole number from 1 to 1000, so 5 is used.");
    EXPECT_EQ(problems[0].Of, &Ticks);
    EXPECT_EQ(problems[0].Found, "many");
    EXPECT_EQ(problems[1].Said.What.English(),
              "A setting the program does not know was left out: \"Colour=red\".");
    EXPECT_EQ(problems[2].Found, "Alarm");  // a known name without a value is not known
    EXPECT_EQ(problems[3].Said.What.English(), "Alarm is not set, so on is used.");
    EXPECT_EQ(problems[3].What, Settings_Store::Line_Problem::Kind::Missing);
    EXPECT_EQ(Settings_Store(paths).Read(Ticks).Problem->What.English(),
              problems[0].Said.What.English());
    EXPECT_EQ(store.Value(Margin), "75.5");

    EXPECT_FALSE(store.Set_On(Alarm, false));
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Safe.txt")),
              "Alarm=0\r\nTicks=5\r\nMargin=75.5\r\n");
    EXPECT_EQ(Settings_Store(paths).Read(Ticks).Problem.has_value(), false);

    // A value refused keeps the old one and leaves the file as it was.
    Maybe_Problem refused = store.Write(Ticks, "0");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->What.English(),
              "Failed ticks: \"0\" is not a whole number from 1 to 1000, so 5 is used.");
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Safe.txt")),
              "Alarm=0\r\nTicks=5\r\nMargin=75.5\r\n");

    // Writing one line of a file not yet read keeps the others as the file has them.
    Settings_Store fresh(paths);
    fresh.Declare({&Alarm, &Ticks, &Margin});
    EXPECT_FALSE(fresh.Write(Ticks, "9"));
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Safe.txt")),
              "Alarm=0\r\nTicks=9\r\nMargin=75.5\r\n");
}

TEST(Settings_Store, AFileItNeverWroteGivesTheOldValueOrTheDefaultAndAProblem) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Settings_Store store(paths);
    store.Declare({&Alarm, &Ticks, &Margin});
    EXPECT_EQ(store.Read(Warn).Value, "checked");  // no Setup folder at all
    EXPECT_FALSE(store.Read(Warn).Problem);

    Write_Whole_File(paths.Setup_File("Warn.txt"), "unchecked\r\n");
    EXPECT_EQ(store.Read(Warn).Value, "unchecked");
    std::string binary(200000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7919 % 251);
    for (const std::string& odd : {std::string(), std::string(1 << 20, 'c'), binary}) {
        Write_Whole_File(paths.Setup_File("Warn.txt"), odd);
        Settings_Store::Reading reading = store.Read(Warn);
        EXPECT_EQ(reading.Value, "unchecked");  // the old value, not the default
        ASSERT_TRUE(reading.Problem);
        EXPECT_EQ(Settings_Store(paths).Read(Warn).Value, "checked");  // the default
        Write_Whole_File(paths.Setup_File("Safe.txt"), odd + "\nTicks=7\n" + odd);
        store.Read_File("Safe.txt");
        EXPECT_EQ(store.Value(Ticks), "7");
    }
    fs::remove(paths.Setup_File("Warn.txt"));
    fs::create_directories(paths.Setup_File("Warn.txt"));  // a folder where the file goes
    EXPECT_EQ(store.Read(Warn).Value, "unchecked");
    Maybe_Problem failed = store.Set_On(Warn, true);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->English(),
              "Warn could not be saved, so off stays in use.\r\n"
              "Check that the program's folder can be written to, then set it again.");
    EXPECT_FALSE(store.On(Warn));
}

TEST(Settings_Store, ObserversHearOfEachChangeUntilTheyLetGo) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    auto store = std::make_unique<Settings_Store>(paths);
    store->Declare({&Alarm, &Ticks, &Margin});
    std::vector<std::string> heard;
    Setting_Subscription one =
        store->Subscribe(Warn, [&](const Setting& setting, const std::string& value) {
            heard.push_back(setting.Label + "=" + value);
        });
    Setting_Subscription file =
        store->Subscribe_File("Safe.txt", [&](const Setting& setting, const std::string& value) {
            heard.push_back("file " + setting.Key + "=" + value);
        });
    Setting_Subscription once, later;
    once = store->Subscribe(Warn, [&](const Setting&, const std::string&) {
        heard.push_back("once");
        once.Cancel();  // letting go while being told, of itself and of one not yet told
        later.Cancel();
    });
    later = store->Subscribe(Warn,
                             [&](const Setting&, const std::string&) { heard.push_back("later"); });

    store->Read(Warn);          // the first value is no change
    store->Set_On(Warn, true);  // nor is the same value written again
    store->Set_On(Warn, false);
    store->Write(Ticks, "8");
    store->Write(Ticks, "bad");  // refused: no change
    Write_Whole_File(paths.Setup_File("Warn.txt"), "checked\r\n");
    store->Read(Warn);  // changed outside the program
    EXPECT_EQ(heard,
              (std::vector<std::string>{"Warn=unchecked", "once", "file Ticks=8", "Warn=checked"}));

    heard.clear();
    { Setting_Subscription moved = std::move(one); }
    store->Set_On(Warn, false);
    EXPECT_TRUE(heard.empty());
    store.reset();
    file.Cancel();  // after the store is gone: harmless
}

}  // namespace
}  // namespace corvanel
