// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/settings_form.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace corvanel {
namespace {

const Setting Enabled{.File = "MqttEnabled.txt",
                      .Type = Setting_Type::On_Off,
                      .Default = "unchecked",
                      .Label = "Publish to MQTT"};
const Setting Port{.File = "MqttPort.txt",
                   .Type = Setting_Type::Whole,
                   .Default = "1883",
                   .Label = "Broker port",
                   .Low = 1,
                   .High = 65535};
const Setting Power{.File = "Energy.txt",
                    .Key = "Power",
                    .Type = Setting_Type::Decimal,
                    .Label = "Kiln power",
                    .Unit = "kW",
                    .Low = 0,
                    .High = 100,
                    .Empty_Allowed = true};
const Setting Price{.File = "Energy.txt",
                    .Key = "Price",
                    .Type = Setting_Type::Decimal,
                    .Label = "Price per kWh",
                    .Low = 0,
                    .High = 100,
                    .Empty_Allowed = true};

TEST(Settings_Form, LoadsFieldsAndSaysWhatTheFilesHeldThatWasNotTaken) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Write_Whole_File(paths.Setup_File("MqttPort.txt"), "http\r\n");
    Write_Whole_File(paths.Setup_File("Energy.txt"), "Power=2.50\r\nPrice=-1\r\n");
    Settings_Store store(paths);
    Settings_Form form(store, {&Enabled, &Port, &Power, &Price});
    form.Enable_When_On(Port, Enabled);
    form.Load();
    EXPECT_EQ(form.Field("MqttPort")->Text, "1883");
    EXPECT_EQ(form.Field("Power")->Text, "2.5");
    EXPECT_EQ(form.Field("Price")->Text, "");
    ASSERT_EQ(form.Load_Problems.size(), 2u);
    EXPECT_EQ(form.Message->What.English(),
              "Broker port: \"http\" is not a whole number from 1 to 65535, so 1883 is used.");
    EXPECT_FALSE(form.Field("MqttPort")->Enabled);
    form.Set_On(*form.Field("MqttEnabled"), true);
    EXPECT_TRUE(form.Field("MqttPort")->Enabled);
}

TEST(Settings_Form, OkWritesEveryEnabledFieldOrNoneAndNamesTheFirstBadOne) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Settings_Store store(paths);
    Settings_Form form(store, {&Enabled, &Port, &Power, &Price});
    form.Enable_When_On(Port, Enabled);
    form.Load();
    form.Set_Text(*form.Field("MqttPort"), "http");  // disabled: neither checked nor written
    form.Set_Text(*form.Field("Power"), "lots");
    form.Set_Text(*form.Field("Price"), "-2");
    EXPECT_FALSE(form.OK());
    EXPECT_EQ(form.Bad_Field, 2u);
    EXPECT_EQ(form.Message->English(),
              "Kiln power (kW): \"lots\" is not a number from 0 to 100.\r\n"
              "Correct it, then press OK again.");
    EXPECT_FALSE(store.File_Exists("MqttEnabled.txt"));
    EXPECT_FALSE(store.File_Exists("Energy.txt"));

    form.Set_Text(*form.Field("Power"), " 3.0");
    form.Set_Text(*form.Field("Price"), "");
    EXPECT_TRUE(form.OK());
    EXPECT_FALSE(form.Message);
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("MqttEnabled.txt")), "unchecked\r\n");
    EXPECT_FALSE(store.File_Exists("MqttPort.txt"));
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Energy.txt")), "Power=3\r\nPrice=\r\n");

    form.Set_On(*form.Field("MqttEnabled"), true);
    EXPECT_FALSE(form.OK());
    EXPECT_EQ(form.Bad_Field, 1u);
    form.Set_Text(*form.Field("MqttPort"), "8883");
    EXPECT_TRUE(form.OK());
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("MqttPort.txt")), "8883\r\n");
}

}  // namespace
}  // namespace corvanel
