// SPDX-License-Identifier: GPL-3.0-or-later
// The rules the status page's and MQTT's settings declare beyond their type.

#include <gtest/gtest.h>

#include "remote/mqtt_settings.h"
#include "remote/remote_settings.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

struct Bad_Line {
    const char* Name;
    const Setting* Of;
    const char* Line;
    const char* Said;  // the message's first line
};

class Declared_Rule : public ::testing::TestWithParam<Bad_Line> {};

// A file alone breaks a rule the setting declares: its default stays, the message says
// the rule in its own words, and the other settings are read without a word.
TEST_P(Declared_Rule, KeepsTheDefaultAndSaysTheRule) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Write_Text_File(paths.Setup_File(GetParam().Of->File), GetParam().Line);
    Settings_Store store(paths);
    std::vector<Problem> problems;
    Read_Remote_Settings(store, problems);
    Read_Mqtt_Settings(store, problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].What.English(), GetParam().Said);
    EXPECT_EQ(store.Value(*GetParam().Of), GetParam().Of->Default);
}

// Values inside every rule are taken without a word: a prefix may hold blanks and
// inner levels, a host may be an address.
TEST(Declared_Rules, GoodValuesAreTakenQuietly) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Write_Text_File(paths.Setup_File(Mqtt_Setting::Topic_Prefix.File), "studio kiln/east");
    Write_Text_File(paths.Setup_File(Mqtt_Setting::Host.File), "192.168.1.20");
    Settings_Store store(paths);
    std::vector<Problem> problems;
    Read_Mqtt_Settings(store, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(store.Value(Mqtt_Setting::Topic_Prefix), "studio kiln/east");
    EXPECT_EQ(store.Value(Mqtt_Setting::Host), "192.168.1.20");
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Declared_Rule,
    ::testing::Values(
        Bad_Line{"PagePortZero", &Remote_Setting::Port, "0",
                 "Port: \"0\" is not a whole number from 1 to 65535, so 8080 is used."},
        Bad_Line{"TokenWithASemicolon", &Remote_Setting::Token, "abcdefgh;x=1",
                 "Access token: \"...\" is not 8 to 64 letters, digits, - or _, so the value "
                 "saved before is used."},
        Bad_Line{"BrokerPortZero", &Mqtt_Setting::Port, "0",
                 "Port: \"0\" is not a whole number from 1 to 65535, so 1883 is used."},
        Bad_Line{"HostWithASpace", &Mqtt_Setting::Host, "kiln lan",
                 "Broker host: \"kiln lan\" is not a name or an address without spaces, so "
                 "localhost is used."},
        Bad_Line{"HostEmpty", &Mqtt_Setting::Host, "",
                 "Broker host: \"\" is not a name or an address without spaces, so localhost is "
                 "used."},
        Bad_Line{"PrefixWithAWildcard", &Mqtt_Setting::Topic_Prefix, "studio/#",
                 "Topic prefix: \"studio/#\" is not a prefix that neither starts nor ends with / "
                 "nor holds + or #, so nothing is used."},
        Bad_Line{"PrefixFromTheRoot", &Mqtt_Setting::Topic_Prefix, "/studio",
                 "Topic prefix: \"/studio\" is not a prefix that neither starts nor ends with / "
                 "nor holds + or #, so nothing is used."}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace corvanel::testing
