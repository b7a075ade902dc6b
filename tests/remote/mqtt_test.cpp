// SPDX-License-Identifier: GPL-3.0-or-later
// The MQTT publisher without a broker: what it sends for a firing and the connection's
// decisions; and the rules the status page's and MQTT's settings declare beyond their type.

#include <gtest/gtest.h>

#include "remote/mqtt_link.h"
#include "remote/mqtt_settings.h"
#include "remote/mqtt_telemetry.h"
#include "remote/remote_settings.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

struct Published {
    Firing_Status_Seam Firing;
    Status_Snapshot Snapshot;
    std::vector<Mqtt_Message> Sent;
    Mqtt_Telemetry Telemetry{Snapshot, "corvanel/studio_kiln", true,
                             [this](const Mqtt_Message& message) { Sent.push_back(message); }};
    Published() {
        Firing.Attach(Snapshot);
        Firing.Attach(Telemetry);
    }
    // "topic qos retain" of each message sent since the last call (the kiln's own topics
    // without their prefix), and the payloads.
    std::vector<std::string> Take(std::vector<std::string>* payloads = nullptr) {
        std::vector<std::string> heard;
        for (const Mqtt_Message& message : Sent) {
            std::string topic = message.Topic;
            if (topic.starts_with("corvanel/studio_kiln/")) topic.erase(0, 21);
            heard.push_back(topic + " " + std::to_string(message.Qos) +
                            (message.Retain ? " retained" : ""));
            if (payloads) payloads->push_back(message.Payload);
        }
        Sent.clear();
        return heard;
    }
};

// A firing from start through a change and an alarm to its end: the state after every tick
// and event, the change and each alarm once, the firing's start and end once each, nothing for a second soft off.
TEST(Mqtt_Telemetry, AFiringPublishesStateAlarmsAndItsStartAndEnd) {
    Published p;
    Firing_Status status{.State = Firing_State::Running, .Profile_Name = "bisque.txt"};
    p.Firing.Publish(status, Firing_Event::Start);
    status.Measured = 1200;
    status.Has_Reading = true;  // read just now
    p.Firing.Publish(status, Firing_Event::Tick);
    p.Firing.Publish(status, Firing_Event::Segment_Skipped, "segment 1 -> 2");
    status.Alarms = {"No Heat"};
    p.Firing.Publish(status, Firing_Event::Alarm_Raised, "No Heat");
    status.State = Firing_State::Monitor;
    p.Firing.Publish(status, Firing_Event::Finished);
    p.Firing.Publish(status, Firing_Event::Soft_Off);
    std::vector<std::string> payloads;
    EXPECT_EQ(p.Take(&payloads),
              (std::vector<std::string>{"firing 1", "state 0 retained", "state 0 retained",
                                        "firing 1", "state 0 retained", "alarm 1",
                                        "state 0 retained", "firing 1", "state 0 retained",
                                        "state 0 retained"}));
    EXPECT_EQ(payloads[0].rfind("{\"event\":\"start\",\"profile\":\"bisque.txt\"", 0), 0u)
        << payloads[0];
    EXPECT_EQ(payloads[3].rfind("{\"event\":\"skip\"", 0), 0u) << payloads[3];
    EXPECT_NE(payloads[3].find("\"detail\":\"segment 1 -> 2\""), std::string::npos);
    EXPECT_EQ(payloads[5].rfind("{\"alarm\":\"No Heat\",\"raised\":true", 0), 0u);
    EXPECT_NE(payloads[7].find("\"outcome\":\"finished\""), std::string::npos) << payloads[7];

    // Publishing turned on while a firing runs: the state says it runs, and its end is told.
    status.State = Firing_State::Running;
    status.Alarms.clear();
    p.Firing.Publish(status, Firing_Event::Start);
    std::vector<Mqtt_Message> late;
    Mqtt_Telemetry joined{p.Snapshot, "corvanel/studio_kiln", false,
                          [&](const Mqtt_Message& message) { late.push_back(message); }};
    joined.Connected();
    ASSERT_EQ(late.size(), 2u);
    EXPECT_NE(late[1].Payload.find("\"state\":\"running\""), std::string::npos) << late[1].Payload;
    p.Firing.Attach(joined);
    status.State = Firing_State::Monitor;
    p.Firing.Publish(status, Firing_Event::Soft_Off);
    ASSERT_GE(late.size(), 3u);
    EXPECT_EQ(late[2].Topic, "corvanel/studio_kiln/firing");
    EXPECT_NE(late[2].Payload.find("\"outcome\":\"soft off\""), std::string::npos);
}

// On connection: online, six retained discovery configs with units of the scale in use,
// then the state; the last will says offline. The kiln's name becomes one topic level of
// letters, digits and "_". A profile in the other scale sends the configs with its unit.
TEST(Mqtt_Telemetry, ConnectingSendsOnlineDiscoveryThenTheState) {
    Published p;
    Firing_Status status{.Kiln_Name = "Studio Kiln", .Temp_Scale = "C"};
    p.Firing.Publish(status, Firing_Event::Profile_Loaded);
    p.Take();
    p.Telemetry.Connected();
    std::vector<std::string> payloads;
    std::vector<std::string> heard = p.Take(&payloads);
    ASSERT_EQ(heard.size(), 8u);
    EXPECT_EQ(heard[0] + " " + payloads[0], "availability 1 retained online");
    EXPECT_EQ(heard[1], "homeassistant/sensor/corvanel_studio_kiln/measured/config 1 retained");
    EXPECT_EQ(payloads[1],
              "{\"name\":\"Measured temperature\",\"unique_id\":\"corvanel_studio_kiln_measured\","
              "\"state_topic\":\"corvanel/studio_kiln/state\",\"value_template\":\"{{ "
              "value_json.measured }}\",\"availability_topic\":\"corvanel/studio_kiln/"
              "availability\",\"unit_of_measurement\":\"°C\",\"device_class\":\"temperature\","
              "\"state_class\":\"measurement\",\"json_attributes_topic\":\"corvanel/studio_kiln/"
              "state\",\"json_attributes_template\":\"{{ {'reading': value_json.reading, "
              "'reading_age_seconds': value_json.reading_age_seconds} | tojson }}\","
              "\"device\":{\"identifiers\":[\"corvanel_studio_"
              "kiln\"],\"name\":\"Studio Kiln\",\"manufacturer\":\"Corvanel\",\"model\":\"Kiln "
              "controller\"}}");
    EXPECT_EQ(heard[5], "homeassistant/sensor/corvanel_studio_kiln/time_left/config 1 retained");
    EXPECT_NE(payloads[5].find("\"unit_of_measurement\":\"min\",\"device_class\":\"duration\""),
              std::string::npos);
    EXPECT_EQ(heard[7], "state 0 retained");
    EXPECT_EQ(Topic_Slug("Studio Kiln #2 (Bisque)/a+b"), "studio_kiln_2_bisque_a_b");
    EXPECT_EQ(Topic_Slug(""), "kiln");
    EXPECT_EQ(Default_Topic_Prefix("Big Kiln "), "corvanel/big_kiln");  // as the name is kept
    EXPECT_EQ(p.Telemetry.Last_Will().Payload, "offline");
    EXPECT_TRUE(p.Telemetry.Last_Will().Retain);
    status.Temp_Scale = "F";
    p.Firing.Publish(status, Firing_Event::Profile_Loaded);
    payloads.clear();
    EXPECT_EQ(p.Take(&payloads).size(), 7u);
    EXPECT_NE(payloads[0].find("\"unit_of_measurement\":\"°F\""), std::string::npos);
}

// Each change of the connection is said once, with the wrong password in its own words,
// and the wait before the next attempt doubles up to a minute.
TEST(Mqtt_Link, SaysEachChangeOnceAndBacksOff) {
    const struct {
        const char* Steps;   // C connected, U unreachable, B bad password, R refused, L lost
        const char* Said;    // per step: "+" a message, "-" none
        const char* Delays;  // after each failure, the wait before the next attempt
    } stories[] = {{"CLUUC", "++--+", "1 2 4 "},
                   {"BBBU", "+--+", "1 2 4 8 "},
                   {"UUUUUUUURC", "+-------++", "1 2 4 8 16 32 60 60 60 "},
                   {"UUUCU", "+--++", "1 2 4 1 "}};
    for (const auto& story : stories) {
        SCOPED_TRACE(story.Steps);
        Mqtt_Link link("kiln-pi:1883");
        std::string said, delays;
        for (const char* step = story.Steps; *step; ++step) {
            const Mqtt_Trouble trouble = *step == 'U'   ? Mqtt_Trouble::Unreachable
                                         : *step == 'B' ? Mqtt_Trouble::Bad_Credentials
                                         : *step == 'R' ? Mqtt_Trouble::Refused
                                                        : Mqtt_Trouble::Lost;
            const Maybe_Problem problem =
                *step == 'C' ? std::nullopt
                             : link.Failed(trouble, *step == 'U' || *step == 'R' ? "why" : "");
            std::string message = *step == 'C' ? link.Connected()
                                  : problem    ? problem->English()
                                               : "";
            said += message.empty() ? '-' : '+';
            if (*step != 'C') delays += std::to_string(int(link.Retry_Delay())) + " ";
            if (*step == 'B' && !message.empty())
                EXPECT_EQ(message,
                          "MQTT broker kiln-pi:1883: refused the user name or password\r\n"
                          "The firing goes on; publishing resumes when the broker can be "
                          "reached");
        }
        EXPECT_EQ(said, story.Said);
        EXPECT_EQ(delays, story.Delays);
    }
}

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

// A file alone breaks a rule the setting declares: its default stays, the message says
// the rule in its own words, and the other settings are read without a word. Values
// inside every rule are taken quietly: a prefix may hold blanks and inner levels, a host
// may be an address.
TEST(Declared_Rules, ABrokenRuleKeepsTheDefaultAndSaysTheRuleAGoodValueIsTakenQuietly) {
    const std::string token_rule =
        "Access token: \"...\" is not 8 to 64 letters, digits, - or _, so the value saved before "
        "is used.";
    const std::string host_rule =
        "\" is not a name or an address without spaces, so localhost is used.";
    const std::string prefix_rule =
        "\" is not a prefix that neither starts nor ends with / nor holds + or #, so nothing is used.";
    const std::string longest = "abcdefghijklmnopqrstuvwxyz_ABCDEFGHIJKLMNOPQRSTUVWXYZ-0123456789";
    const struct {
        const Setting* Of;
        std::string Line;
        std::string Said;  // the message's first line; "" for a value taken
    } cases[] = {
        {&Remote_Setting::Port, "0",
         "Port: \"0\" is not a whole number from 1 to 65535, so 8080 is used."},
        {&Remote_Setting::Token, "abcdefgh;x=1", token_rule},
        {&Mqtt_Setting::Port, "0",
         "Port: \"0\" is not a whole number from 1 to 65535, so 1883 is used."},
        {&Mqtt_Setting::Host, "kiln lan", "Broker host: \"kiln lan" + host_rule},
        {&Mqtt_Setting::Host, "", "Broker host: \"" + host_rule},
        {&Mqtt_Setting::Topic_Prefix, "studio/#", "Topic prefix: \"studio/#" + prefix_rule},
        {&Mqtt_Setting::Topic_Prefix, "/studio", "Topic prefix: \"/studio" + prefix_rule},
        {&Remote_Setting::Token, "a234567-", ""},  // the shortest and longest tokens
        {&Remote_Setting::Token, longest, ""},
        {&Remote_Setting::Token, longest + "0", token_rule},
        {&Mqtt_Setting::Topic_Prefix, "studio kiln/east", ""},
        {&Mqtt_Setting::Host, "192.168.1.20", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Of->File + " = " + c.Line);
        Temp_Folder folder;
        Program_Paths paths(folder.Path());
        Write_Text_File(paths.Setup_File(c.Of->File), c.Line);
        Settings_Store store(paths);
        std::vector<Problem> problems;
        Read_Remote_Settings(store, problems);
        Read_Mqtt_Settings(store, problems);
        if (c.Said.empty()) {
            EXPECT_TRUE(problems.empty());
            EXPECT_EQ(store.Value(*c.Of), c.Line);
            continue;
        }
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].What.English(), c.Said);
        EXPECT_EQ(store.Value(*c.Of), c.Of->Default);
    }
}

// A new token is 32 hex digits, each digit drawn: a phone address can be guessed no sooner
// than 16^32 tries. A token the operator typed is as strong only with as many guesses:
// 32 hex digits, or 22 characters of the whole set; a shorter one stays valid but weak.
TEST(Declared_Rules, ANewAccessTokenIsThirtyTwoHexDigitsAllOfThemDrawn) {
    std::string seen;
    for (int i = 0; i < 64; ++i) {
        const std::string token = New_Access_Token();
        ASSERT_EQ(token.size(), 32u);
        ASSERT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos) << token;
        ASSERT_TRUE(Token_Is_Strong(token));
        seen += token;
    }
    for (char digit : std::string("0123456789abcdef"))
        EXPECT_NE(seen.find(digit), std::string::npos);
    const std::string hex = "0123456789abcdef0123456789ABCDEF";
    for (const auto& [typed, strong] : {std::pair{std::string("a234567-"), false},
                                        {hex, true},
                                        {hex.substr(1), false},
                                        {"kiln-" + hex.substr(0, 17), true},
                                        {"kiln-" + hex.substr(0, 16), false}}) {
        EXPECT_TRUE(Token_Is_Valid(typed)) << typed;
        EXPECT_EQ(Token_Is_Strong(typed), strong) << typed;
    }
}

}  // namespace
}  // namespace corvanel::testing
