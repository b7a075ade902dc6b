// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/settings_form.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/test_settings.h"

namespace corvanel {
namespace {

using namespace test_settings;

// Load says what the files held that was not taken; OK writes every enabled field or
// none, and names the first bad one.
TEST(Settings_Form, LoadsWhatWasTakenAndOkWritesAllEnabledFieldsOrNone) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Write_Whole_File(paths.Setup_File("Port.txt"), "http\r\n");
    Write_Whole_File(paths.Setup_File("Energy.txt"), "Power=2.50\r\nPrice=-1\r\n");
    Settings_Store store(paths);
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
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Energy.txt")), "Power=2.50\r\nPrice=-1\r\n");

    form.Set_Text(*form.Field("Power"), " 3.0");
    form.Set_Text(*form.Field("Price"), "");
    EXPECT_TRUE(form.OK());
    EXPECT_FALSE(form.Message);
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Enabled.txt")), "unchecked\r\n");
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Port.txt")), "http\r\n");
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Energy.txt")), "Power=3\r\nPrice=\r\n");

    form.Set_On(*form.Field("Enabled"), true);  // the port is checked now
    EXPECT_FALSE(form.OK());
    EXPECT_EQ(form.Bad_Field, 1u);
    form.Set_Text(*form.Field("Port"), "8883");
    EXPECT_TRUE(form.OK());
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Port.txt")), "8883\r\n");

    // Where the language writes a decimal comma, the operator reads and types one; the
    // file keeps the point, and a number written with both marks is refused.
    form.Typing = {".", ",", Number_Style::Days::German};
    form.Set_Text(*form.Field("Power"), "2.25");
    ASSERT_TRUE(form.OK());
    form.Load();
    EXPECT_EQ(form.Field("Power")->Text, "2,25");
    form.Set_Text(*form.Field("Power"), "0,32");
    EXPECT_TRUE(form.OK());
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Energy.txt")), "Power=0.32\r\nPrice=\r\n");
    form.Set_Text(*form.Field("Power"), "1.000,5");
    EXPECT_FALSE(form.OK());
}

// Taking the good ones: each good entry is written, a bad one shows the value in force
// again, said in the shared wording.
TEST(Settings_Form, TakingTheGoodOnesWritesThemAndShowsTheValueKeptForABadOne) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    const std::string file = paths.Setup_File("Safe.txt");
    Write_Whole_File(file, "Alarm=1\r\nTicks=7\r\nMargin=50\r\n");
    Settings_Store store(paths);
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
