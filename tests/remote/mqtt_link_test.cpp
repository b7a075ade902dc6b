// The connection's decisions without a broker: what is said when, the back-off, what is
// kept while the broker is away; and the settings files.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "remote/mqtt_link.h"
#include "remote/mqtt_settings.h"
#include "remote/mqtt_setup_model.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

struct Link_Story {
    std::string Name;
    std::string Steps;   // C connected, U unreachable, B bad password, R refused, L lost
    std::string Said;    // per step: "+" a message, "-" none
    std::string Delays;  // per failure, the wait before the next attempt
};

void PrintTo(const Link_Story& story, std::ostream* out) {
    *out << story.Name;
}

class Mqtt_Link_Says : public ::testing::TestWithParam<Link_Story> {};

TEST_P(Mqtt_Link_Says, EachChangeOnceAndBacksOff) {
    Mqtt_Link link("kiln-pi:1883");
    std::string said, delays;
    for (char step : GetParam().Steps) {
        std::string message;
        if (step == 'C') {
            message = link.Connected();
        } else {
            Mqtt_Trouble trouble = step == 'U'   ? Mqtt_Trouble::Unreachable
                                   : step == 'B' ? Mqtt_Trouble::Bad_Credentials
                                   : step == 'R' ? Mqtt_Trouble::Refused
                                                 : Mqtt_Trouble::Lost;
            message = link.Failed(trouble, "why");
            delays += (delays.empty() ? "" : " ") + std::to_string(int(link.Retry_Delay()));
            if (!message.empty()) {
                EXPECT_NE(message.find("kiln-pi:1883"), std::string::npos) << message;
                EXPECT_NE(message.find("\r\nThe firing goes on"), std::string::npos) << message;
            }
            if (step == 'B' && !message.empty()) {
                EXPECT_NE(message.find("refused the user name or password"), std::string::npos);
            }
        }
        said += message.empty() ? '-' : '+';
    }
    EXPECT_EQ(said, GetParam().Said);
    EXPECT_EQ(delays, GetParam().Delays);
}

INSTANTIATE_TEST_SUITE_P(
    Stories, Mqtt_Link_Says,
    ::testing::Values(
        Link_Story{"DownFromTheStartThenUp", "UUUUC", "+---+", "1 2 4 8"},
        Link_Story{"LostThenDownSaidOnceThenBack", "CLUUC", "++--+", "1 2 4"},
        Link_Story{"EachLossAndReturnSaid", "CLCLC", "+++++", "1 1"},
        Link_Story{"WrongPasswordOnceThenAnotherTrouble", "BBBU", "+--+", "1 2 4 8"},
        Link_Story{"BackOffStopsAtAMinute", "UUUUUUUURC", "+-------++", "1 2 4 8 16 32 60 60 60"},
        Link_Story{"GoodConnectionStartsTheBackOffAgain", "UUUCU", "+--++", "1 2 4 1"}),
    [](const auto& info) { return info.param.Name; });

TEST(Mqtt_Link, KeepsAlarmsAndFiringsWhileDownButNotTheState) {
    Mqtt_Link link("b:1");
    link.Failed(Mqtt_Trouble::Unreachable, "");
    EXPECT_FALSE(link.Offer({"k/state", "{}", 0, true}));
    EXPECT_FALSE(link.Offer({"k/availability", "online", 1, true}));
    for (std::size_t i = 0; i < Mqtt_Link::Kept_Limit + 5; ++i) {
        EXPECT_FALSE(link.Offer({"k/alarm", std::to_string(i), 1, false}));
    }
    link.Connected();
    EXPECT_TRUE(link.Offer({"k/state", "{}", 0, true}));
    std::deque<Mqtt_Message> kept = link.Take_Kept();
    ASSERT_EQ(kept.size(), Mqtt_Link::Kept_Limit);
    EXPECT_EQ(kept.front().Payload, "5");  // the oldest go first
    EXPECT_TRUE(link.Take_Kept().empty());
}

struct Bad_Setting {
    std::string Name, File, Line;
};

class Mqtt_Settings_Bad_Value : public ::testing::TestWithParam<Bad_Setting> {};

// A value not understood keeps its default, names its file, and the rest are read.
TEST_P(Mqtt_Settings_Bad_Value, KeepsTheDefaultAndSaysSo) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Mqtt_Settings stored{true, "broker.lan", 8883,        "potter", "secret",
                         true, "/ca.pem",    "studio/k1", false};
    Save_Mqtt_Settings(paths, stored);
    Write_Text_File(paths.Setup_File(GetParam().File), GetParam().Line);
    std::vector<std::string> complaints;
    Mqtt_Settings read = Read_Mqtt_Settings(paths, complaints);
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0], "MQTT setting not understood, default kept: " + GetParam().File);
    Mqtt_Settings defaults;
    auto is = [&](const char* file) { return GetParam().File == file; };
    EXPECT_EQ(read.Enabled, is(Mqtt_Enabled_File) ? defaults.Enabled : true);
    EXPECT_EQ(read.Host, is(Mqtt_Host_File) ? defaults.Host : "broker.lan");
    EXPECT_EQ(read.Port, is(Mqtt_Port_File) ? defaults.Port : 8883);
    EXPECT_EQ(read.Tls, is(Mqtt_Tls_File) ? defaults.Tls : true);
    EXPECT_EQ(read.Topic_Prefix, is(Mqtt_Prefix_File) ? "" : "studio/k1");
    EXPECT_EQ(read.Discovery, is(Mqtt_Discovery_File) ? defaults.Discovery : false);
    EXPECT_EQ(read.Password, "secret");
}

INSTANTIATE_TEST_SUITE_P(
    Files, Mqtt_Settings_Bad_Value,
    ::testing::Values(Bad_Setting{"EnabledMisspelt", Mqtt_Enabled_File, "on"},
                      Bad_Setting{"HostWithSpace", Mqtt_Host_File, "broker lan"},
                      Bad_Setting{"HostEmpty", Mqtt_Host_File, ""},
                      Bad_Setting{"PortTooBig", Mqtt_Port_File, "70000"},
                      Bad_Setting{"TlsYes", Mqtt_Tls_File, "yes"},
                      Bad_Setting{"PrefixWildcard", Mqtt_Prefix_File, "studio/#"},
                      Bad_Setting{"PrefixLeadingSlash", Mqtt_Prefix_File, "/studio"},
                      Bad_Setting{"DiscoveryNumber", Mqtt_Discovery_File, "1"}),
    [](const auto& info) { return info.param.Name; });

// The dialog refuses what the client could not use, stores the rest, and keeps the
// default prefix empty so that it follows the kiln's name.
TEST(Mqtt_Setup_Model, RefusesBadValuesAndStoresTheDefaultPrefixAsEmpty) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Mqtt_Setup_Model dialog(paths);
    dialog.Form_Load("corvanel/big_kiln");
    EXPECT_EQ(dialog.Port_Text, "1883");
    EXPECT_TRUE(dialog.Discovery);
    dialog.Enabled = true;
    dialog.Topic_Prefix = "corvanel/big_kiln";
    for (auto [field, bad, message] :
         {std::tuple{&dialog.Port_Text, "0", "The port must be a whole number from 1 to 65535"},
          {&dialog.Host, "", "The broker's host must be a name or an address without spaces"},
          {&dialog.Topic_Prefix, "a/+/b",
           "The topic prefix must not start or end with / nor hold + or #"}}) {
        std::string good = *field;
        *field = bad;
        EXPECT_FALSE(dialog.OK_Click()) << bad;
        EXPECT_EQ(dialog.Message, message);
        *field = good;
    }
    dialog.Tls = true;
    dialog.Ca_File = folder.File("missing.pem");
    EXPECT_FALSE(dialog.OK_Click());
    dialog.Ca_File.clear();
    ASSERT_TRUE(dialog.OK_Click()) << dialog.Message;
    std::vector<std::string> complaints;
    Mqtt_Settings read = Read_Mqtt_Settings(paths, complaints);
    EXPECT_TRUE(complaints.empty());
    EXPECT_TRUE(read.Enabled && read.Tls);
    EXPECT_EQ(read.Topic_Prefix, "");
}

}  // namespace
}  // namespace corvanel::testing
