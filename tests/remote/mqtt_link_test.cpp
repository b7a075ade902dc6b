// The connection's decisions without a broker, and the settings files.

#include <gtest/gtest.h>

#include <filesystem>

#include "remote/mqtt_link.h"
#include "remote/mqtt_settings.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

struct Link_Story {
    std::string Name;
    std::string Steps;   // C connected, U unreachable, B bad password, R refused, L lost
    std::string Said;    // per step: "+" a message, "-" none
    std::string Delays;  // after each failure, the wait before the next attempt
};
void PrintTo(const Link_Story& story, std::ostream* out) {
    *out << story.Name;
}

class Mqtt_Link_Says : public ::testing::TestWithParam<Link_Story> {};

TEST_P(Mqtt_Link_Says, EachChangeOnceAndBacksOff) {
    Mqtt_Link link("kiln-pi:1883");
    std::string said, delays;
    for (char step : GetParam().Steps) {
        std::string message = step == 'C'   ? link.Connected()
                              : step == 'U' ? link.Failed(Mqtt_Trouble::Unreachable, "why")
                              : step == 'B' ? link.Failed(Mqtt_Trouble::Bad_Credentials, "")
                              : step == 'R' ? link.Failed(Mqtt_Trouble::Refused, "why")
                                            : link.Failed(Mqtt_Trouble::Lost, "");
        said += message.empty() ? '-' : '+';
        if (step != 'C') delays += std::to_string(int(link.Retry_Delay())) + " ";
        if (step == 'B' && !message.empty()) {
            EXPECT_EQ(message,
                      "MQTT broker kiln-pi:1883: refused the user name or password\r\n"
                      "The firing goes on; publishing resumes when the broker can be "
                      "reached");
        }
    }
    EXPECT_EQ(said, GetParam().Said);
    EXPECT_EQ(delays, GetParam().Delays);
}

INSTANTIATE_TEST_SUITE_P(
    Stories, Mqtt_Link_Says,
    ::testing::Values(
        Link_Story{"DownFromTheStartThenUp", "UUUUC", "+---+", "1 2 4 8 "},
        Link_Story{"LostThenDownSaidOnceThenBack", "CLUUC", "++--+", "1 2 4 "},
        Link_Story{"WrongPasswordOnceThenAnotherTrouble", "BBBU", "+--+", "1 2 4 8 "},
        Link_Story{"BackOffStopsAtAMinute", "UUUUUUUURC", "+-------++", "1 2 4 8 16 32 60 60 60 "},
        Link_Story{"AGoodConnectionStartsTheBackOffAgain", "UUUCU", "+--++", "1 2 4 1 "}),
    [](const auto& info) { return info.param.Name; });

// While the broker is away the alarms and firings wait (the newest, up to the limit);
// the state does not: the current one goes at the next connection.
TEST(Mqtt_Link, KeepsAlarmsAndFiringsWhileDownButNotTheState) {
    Mqtt_Link link("b:1");
    link.Failed(Mqtt_Trouble::Unreachable, "");
    EXPECT_FALSE(link.Offer({"k/state", "{}", 0, true}));
    for (std::size_t i = 0; i < Mqtt_Link::Kept_Limit + 5; ++i) {
        EXPECT_FALSE(link.Offer({"k/alarm", std::to_string(i), 1, false}));
    }
    link.Connected();
    EXPECT_TRUE(link.Offer({"k/state", "{}", 0, true}));
    std::deque<Mqtt_Message> kept = link.Take_Kept();
    ASSERT_EQ(kept.size(), Mqtt_Link::Kept_Limit);
    EXPECT_EQ(kept.front().Payload, "5");
}

class Mqtt_Settings_Bad_Value
    : public ::testing::TestWithParam<std::tuple<const char*, const char*, const char*>> {};

// A value not understood keeps its default and names its file; the others are read. The
// password is stored for its owner only.
TEST_P(Mqtt_Settings_Bad_Value, KeepsTheDefaultAndSaysSo) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    const Mqtt_Settings stored{true, "kiln.lan", 8883,        "potter", "pw",
                               true, "",         "studio/k1", false};
    Save_Mqtt_Settings(paths, stored);
    auto perms = std::filesystem::status(paths.Setup_File(Mqtt_Password_File)).permissions();
    EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
    auto [name, file, line] = GetParam();
    Write_Text_File(paths.Setup_File(file), line);
    std::vector<std::string> complaints;
    Mqtt_Settings read = Read_Mqtt_Settings(paths, complaints);
    EXPECT_EQ(complaints, std::vector<std::string>{"MQTT setting not understood, default kept: " +
                                                   std::string(file)});
    const Mqtt_Settings defaults;
    auto bad = [&](const char* name) { return std::string(file) == name; };
    EXPECT_EQ(read.Enabled, bad(Mqtt_Enabled_File) ? defaults.Enabled : stored.Enabled);
    EXPECT_EQ(read.Host, bad(Mqtt_Host_File) ? defaults.Host : stored.Host);
    EXPECT_EQ(read.Port, bad(Mqtt_Port_File) ? defaults.Port : stored.Port);
    EXPECT_EQ(read.Tls, bad(Mqtt_Tls_File) ? defaults.Tls : stored.Tls);
    EXPECT_EQ(read.Topic_Prefix, bad(Mqtt_Prefix_File) ? "" : stored.Topic_Prefix);
    EXPECT_EQ(read.Discovery, bad(Mqtt_Discovery_File) ? defaults.Discovery : stored.Discovery);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Mqtt_Settings_Bad_Value,
    ::testing::Values(std::tuple{"EnabledOn", Mqtt_Enabled_File, "on"},
                      std::tuple{"HostWithASpace", Mqtt_Host_File, "kiln lan"},
                      std::tuple{"HostEmpty", Mqtt_Host_File, ""},
                      std::tuple{"PortTooBig", Mqtt_Port_File, "70000"},
                      std::tuple{"TlsYes", Mqtt_Tls_File, "yes"},
                      std::tuple{"PrefixWithAWildcard", Mqtt_Prefix_File, "studio/#"},
                      std::tuple{"PrefixFromTheRoot", Mqtt_Prefix_File, "/studio"},
                      std::tuple{"DiscoveryOne", Mqtt_Discovery_File, "1"}),
    [](const auto& info) { return std::string(std::get<0>(info.param)); });

}  // namespace
}  // namespace corvanel::testing
