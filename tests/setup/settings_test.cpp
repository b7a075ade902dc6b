// SPDX-License-Identifier: GPL-3.0-or-later
// The program's settings: each type's rule, the store that reads and writes the files,
// and the form of a settings window.

#include <gtest/gtest.h>

#include <filesystem>
#include <ranges>
#include <vector>

#include "setup/program_settings.h"
#include "setup/setting.h"
#include "setup/setting_binding.h"
#include "setup/settings_form.h"
#include "setup/settings_store.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"
#include "support/test_settings.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;
using namespace test_settings;
using Program_Setting::CommPortNumber;

const Setting Host{.File = "H.txt",
                   .Type = Setting_Type::Text,
                   .Label = "Broker",
                   .Check = [](std::string_view text) -> std::optional<Operator_Text> {
                       if (text.find(' ') == std::string_view::npos) return std::nullopt;
                       return Operator_Text::Phrase("a name without spaces");
                   }};

// A program folder of the test's own.
class Setup_Folder : public ::testing::Test {
  protected:
    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
};

// Each type's rule, once: what a line or an entry may hold and how it is written; a port
// number is rounded into the 16-bit range.
TEST(Setting_Rules, EachTypeTakesItsValuesAndWritesThemInOneForm) {
    const struct {
        const Setting* Of;
        std::vector<std::pair<const char*, const char*>> Taken;  // as typed, as written
        std::vector<const char*> Refused;
    } cases[] = {
        {&Warn, {{"checked", "checked"}}, {"checked ", ""}},
        {&Ticks, {{" 20 ", "20"}, {"1000", "1000"}}, {"1001", "0", "2.5"}},
        {&CommPortNumber, {{"2.5", "2"}, {"-32768", "-32768"}, {"32767", "32767"}}, {"40000"}},
        {&Power, {{"2.50", "2.5"}, {"  ", ""}}, {"-0.1", "1,5"}},
        {&Listen, {{"network", "network"}}, {"Network"}},
        {&Host, {{"kiln.local", "kiln.local"}}, {"kiln local"}},
        {&Token, {{"  a b  ", "  a b  "}}, {"a\rb"}}};
    for (const auto& c : cases) {
        for (auto [text, taken] : c.Taken)
            EXPECT_EQ(Setting_Value_Of_Text(*c.Of, text), taken) << c.Of->Label << " " << text;
        for (const char* text : c.Refused)
            EXPECT_FALSE(Setting_Value_Of_Text(*c.Of, text)) << c.Of->Label << " '" << text << "'";
    }
    EXPECT_FALSE(Setting_Value_Of_Text(Token, std::string_view("a\0b", 3)));
}

// The one wording: what the setting is called, the value, what it must be, what is used.
TEST(Setting_Rules, ABadValueIsSaidInTheOperatorsWordsAndTranslatedWhole) {
    EXPECT_EQ(Bad_Setting_Problem(Power, "abc", "5").English(),
              "Kiln power (kW): \"abc\" is not a number from 0 to 100, so 5 kW is used.\r\n"
              "Set Kiln power (kW) again to keep a value of your own.");
    EXPECT_EQ(Bad_Setting_Problem(Warn, "yes", "checked").What.English(),
              "Warn: \"yes\" is not on or off, so on is used.");
    EXPECT_EQ(Bad_Setting_Problem(Host, "a b", std::nullopt).English(),
              "Broker: \"a b\" is not a name without spaces.\r\nCorrect it, then press OK again.");
    // A file never written by the program: shown short and printable; a secret not at all.
    EXPECT_EQ(Bad_Setting_Problem(Ticks, std::string(50, 'x') + "\x01", "5").What.English(),
              "Failed ticks: \"" + std::string(40, 'x') +
                  "...\" is not a whole number from 1 to 1000, so 5 is used.");
    EXPECT_EQ(Bad_Setting_Problem(Ticks, std::string(40, 'x'), "5").What.English(),
              "Failed ticks: \"" + std::string(40, 'x') +
                  "\" is not a whole number from 1 to 1000, so 5 is used.");
    EXPECT_EQ(Bad_Setting_Problem(Token, "hunter2 x", "secret").What.English(),
              "Access token: \"...\" is not one line of text, so the value saved before is used.");

    // A language puts the parts in its own order; values are never translated.
    const Translate_Function german = [](std::string_view english) -> std::string {
        if (english == "%1: \"%2\" is not %3, so %4 is used.")
            return "%4 gilt, denn \"%2\" ist nicht %3 (%1).";
        if (english == "Kiln power") return "Ofenleistung";
        if (english == "%1") return "never";
        return std::string(english);
    };
    EXPECT_EQ(Bad_Setting_Problem(Power, "%1", "5").What.Text(german),
              "5 kW gilt, denn \"%1\" ist nicht a number from 0 to 100 (Ofenleistung (kW)).");
}

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

// A store's story over one folder: a key file read line by line and written whole in
// declared order; then a one-line file it never wrote gives the old value or the default.
TEST_F(Setup_Folder, AKeyFileIsWrittenWholeAndAFileTheStoreNeverWroteGivesTheOldValue) {
    Settings_Store store(Paths);
    store.Declare({&Alarm, &Ticks, &Margin});
    EXPECT_EQ(store.Read(Warn).Value, "checked");  // no Setup folder at all
    EXPECT_FALSE(store.Read(Warn).Problem);
    EXPECT_TRUE(store.Read_File("Safe.txt").empty());  // missing: defaults, no problem
    EXPECT_FALSE(store.File_Exists("Safe.txt"));

    Write_Whole_File(Paths.Setup_File("Safe.txt"),
                     "# kept by hand\n\n  Margin = 75.50 \r\nTicks=many\nColour=red\nAlarm\n");
    std::vector<Settings_Store::Line_Problem> problems = store.Read_File("Safe.txt");
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].Of, &Ticks);
    EXPECT_EQ(problems[0].Found, "many");
    EXPECT_EQ(problems[1].Said.What.English(),
              "A setting the program does not know was left out: \"Colour=red\".");
    EXPECT_EQ(problems[2].Found, "Alarm");  // a known name without a value is not known
    EXPECT_EQ(problems[3].Said.What.English(), "Alarm is not set, so on is used.");
    EXPECT_EQ(problems[3].What, Settings_Store::Line_Problem::Kind::Missing);
    EXPECT_EQ(Settings_Store(Paths).Read(Ticks).Problem->What.English(),
              problems[0].Said.What.English());
    EXPECT_EQ(store.Value(Margin), "75.5");

    EXPECT_FALSE(store.Set_On(Alarm, false));
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Safe.txt")),
              "Alarm=0\r\nTicks=5\r\nMargin=75.5\r\n");
    EXPECT_EQ(Settings_Store(Paths).Read(Ticks).Problem.has_value(), false);

    // A value refused keeps the old one and leaves the file as it was.
    Maybe_Problem refused = store.Write(Ticks, "0");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->What.English(),
              "Failed ticks: \"0\" is not a whole number from 1 to 1000, so 5 is used.");
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Safe.txt")),
              "Alarm=0\r\nTicks=5\r\nMargin=75.5\r\n");

    // Writing one line of a file not yet read keeps the others as the file has them.
    Settings_Store fresh(Paths);
    fresh.Declare({&Alarm, &Ticks, &Margin});
    EXPECT_FALSE(fresh.Write(Ticks, "9"));
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Safe.txt")),
              "Alarm=0\r\nTicks=9\r\nMargin=75.5\r\n");

    Write_Whole_File(Paths.Setup_File("Warn.txt"), "unchecked\r\n");
    EXPECT_EQ(store.Read(Warn).Value, "unchecked");
    std::string binary(200000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7919 % 251);
    for (const std::string& odd : {std::string(), std::string(1 << 20, 'c'), binary}) {
        Write_Whole_File(Paths.Setup_File("Warn.txt"), odd);
        Settings_Store::Reading reading = store.Read(Warn);
        EXPECT_EQ(reading.Value, "unchecked");  // the old value, not the default
        ASSERT_TRUE(reading.Problem);
        EXPECT_EQ(Settings_Store(Paths).Read(Warn).Value, "checked");  // the default
        Write_Whole_File(Paths.Setup_File("Safe.txt"), odd + "\nTicks=7\n" + odd);
        store.Read_File("Safe.txt");
        EXPECT_EQ(store.Value(Ticks), "7");
    }
    Write_Whole_File(Paths.Setup_File("Warn.txt"), std::string(1 << 20, 'c'));
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("Warn.txt")).size(), 64u * 1024)
        << "read no further";
    fs::remove(Paths.Setup_File("Warn.txt"));
    fs::create_directories(Paths.Setup_File("Warn.txt"));  // a folder where the file goes
    EXPECT_EQ(store.Read(Warn).Value, "unchecked");
    Maybe_Problem failed = store.Set_On(Warn, true);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->English(),
              "Warn could not be saved, so off stays in use.\r\n"
              "Check that the program's folder can be written to, then set it again.");
    EXPECT_FALSE(store.On(Warn));
}

TEST_F(Setup_Folder, StoreObserversHearOfEachChangeUntilTheyLetGo) {
    auto store = std::make_unique<Settings_Store>(Paths);
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
    Write_Whole_File(Paths.Setup_File("Warn.txt"), "checked\r\n");
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

// A struct bound to its settings: each member's type is written as its setting keeps it
// and read back; a value its setting may not have leaves the one in force and is said; a
// setting declared with its binding takes the struct's default.
TEST_F(Setup_Folder, BindingsRoundTripEachMemberTypeAndABadValueKeepsTheOneInForce) {
    struct Values {
        bool On = false;
        int Port = 0;
        double Margin = 0;
        std::optional<double> Power;
        std::string Listen;
        double Here = 7;
        bool operator==(const Values&) const = default;
    };
    const Setting_Bindings<Values> bindings = {
        {&Enabled, &Values::On},
        {&Port, &Values::Port},
        {&Margin, &Values::Margin},
        {&Power, &Values::Power},
        {&Listen, &Values::Listen},
        {Setting{.File = "Safe.txt", .Key = "Here", .Type = Setting_Type::Decimal, .High = 9},
         &Values::Here}};
    EXPECT_EQ(bindings.Settings().back()->Default, "7");
    Settings_Store store(Paths);
    const Values written{true, 1883, 2.5, 3.25, "network", 8.5};
    EXPECT_FALSE(Write_From(store, bindings, written));
    std::size_t bad = 0;  // the files made bad so far, each said
    for (auto [file, text] :
         {std::pair{"", ""}, {"Port.txt", "70000\r\n"}, {"Energy.txt", "Power=abc\r\n"}}) {
        if (*file) Write_Whole_File(Paths.Setup_File(file), text), ++bad;
        Values read;
        std::vector<Problem> problems;
        Read_Into(store, bindings, read, problems);
        EXPECT_EQ(read, written) << file;
        EXPECT_EQ(problems.size(), bad) << file;
    }
    Settings_Store fresh(Paths);  // an unset number, and the defaults of a missing file
    EXPECT_FALSE(fresh.Write(Power, ""));
    fs::remove_all(Folder.Path() / "Setup");
    Values read;
    Values_Into(fresh, bindings, read);
    EXPECT_EQ(read, (Values{false, 8080, 50, std::nullopt, "local", 7}));
}

// Load says what the files held that was not taken; OK writes every enabled field or
// none, and names the first bad one.
TEST_F(Setup_Folder, FormLoadsWhatWasTakenAndOkWritesAllEnabledFieldsOrNone) {
    Write_Whole_File(Paths.Setup_File("Port.txt"), "http\r\n");
    Write_Whole_File(Paths.Setup_File("Energy.txt"), "Power=2.50\r\nPrice=-1\r\n");
    Settings_Store store(Paths);
    Settings_Form form(store, {&Enabled, &Port, &Power, &Price});
    form.Enable_When_On(Port, Enabled);
    form.Load();
    EXPECT_EQ(form.Field("Port")->Text, "8080");
    EXPECT_EQ(form.Field("Power")->Text, "2.5");
    EXPECT_EQ(form.Load_Problems.size(), 2u);
    EXPECT_EQ(form.Message->What.English(),
              "Port: \"http\" is not a whole number from 1 to 65535, so 8080 is used.");
    EXPECT_FALSE(form.Field("Port")->Enabled);

    form.Set_Text(*form.Field("Port"), "http");  // disabled: neither checked nor written
    form.Set_Text(*form.Field("Power"), "lots");
    form.Set_Text(*form.Field("Price"), "-2");
    EXPECT_FALSE(form.OK());
    EXPECT_EQ(form.Bad_Field, 2u);
    EXPECT_EQ(form.Message->English(),
              "Kiln power (kW): \"lots\" is not a number from 0 to 100.\r\n"
              "Correct it, then press OK again.");
    EXPECT_FALSE(store.File_Exists("Enabled.txt"));
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Energy.txt")), "Power=2.50\r\nPrice=-1\r\n");

    form.Set_Text(*form.Field("Power"), " 3.0");
    form.Set_Text(*form.Field("Price"), "");
    EXPECT_TRUE(form.OK());
    EXPECT_FALSE(form.Message);
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Enabled.txt")), "unchecked\r\n");
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Port.txt")), "http\r\n");
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Energy.txt")), "Power=3\r\nPrice=\r\n");

    form.Set_On(*form.Field("Enabled"), true);  // the port is checked now
    EXPECT_FALSE(form.OK());
    EXPECT_EQ(form.Bad_Field, 1u);
    form.Set_Text(*form.Field("Port"), "8883");
    EXPECT_TRUE(form.OK());
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Port.txt")), "8883\r\n");

    // Where the language writes a decimal comma, the operator reads and types one; the
    // file keeps the point, and a number written with both marks is refused.
    form.Typing = {".", ",", Number_Style::Days::German};
    form.Set_Text(*form.Field("Power"), "2.25");
    ASSERT_TRUE(form.OK());
    form.Load();
    EXPECT_EQ(form.Field("Power")->Text, "2,25");
    form.Set_Text(*form.Field("Power"), "0,32");
    EXPECT_TRUE(form.OK());
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("Energy.txt")), "Power=0.32\r\nPrice=\r\n");
    form.Set_Text(*form.Field("Power"), "1.000,5");
    EXPECT_FALSE(form.OK());
}

// Taking the good ones: each good entry is written, a bad one shows the value in force
// again, said in the shared wording.
TEST_F(Setup_Folder, FormTakingTheGoodOnesWritesThemAndShowsTheValueKeptForABadOne) {
    const std::string file = Paths.Setup_File("Safe.txt");
    Write_Whole_File(file, "Alarm=1\r\nTicks=7\r\nMargin=50\r\n");
    Settings_Store store(Paths);
    Settings_Form form(store, {&Alarm, &Ticks, &Margin}, Form_Taking::Good_Ones);
    form.Load();
    form.Set_On(*form.Field("Alarm"), false);
    form.Set_Text(*form.Field("Ticks"), "9.5");
    form.Set_Text(*form.Field("Margin"), "60");
    EXPECT_FALSE(form.OK());
    EXPECT_EQ(form.Bad_Field, 1u);
    EXPECT_EQ(form.Field("Ticks")->Text, "7");
    EXPECT_EQ(form.Message->What.English(),
              "Failed ticks: \"9.5\" is not a whole number from 1 to 1000, so 7 is used.");
    EXPECT_EQ(Read_Whole_File(file), "Alarm=0\r\nTicks=7\r\nMargin=60\r\n");
}

}  // namespace
}  // namespace corvanel
