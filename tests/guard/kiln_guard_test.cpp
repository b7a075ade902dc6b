// SPDX-License-Identifier: GPL-3.0-or-later
// The guard's life on a machine of the test's own: a clock that moves when it sleeps, a
// program that beats and then goes silent, a controller that answers as told.

#include "guard/kiln_guard.h"

#include <gtest/gtest.h>

#include <deque>

#include "language/translate.h"
#include "run/firing_record.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

struct Fake_Machine : Guard_Platform {
    double Now_Seconds = 0;
    double Silent_From = 30;     // the program beats every 3 s until then
    bool Hung = true;            // still there, holding the folder
    int Refusals = 0;            // set-value writes the controller fails first
    double Told_To_End_At = -1;  // SIGTERM, from then on
    double Stand_Down_At = 48 * 3600 + 1000;
    double Alive_Until = -1;  // beats over the program's line, whatever its heartbeat does
    double Acted_At = -1;     // the first soft off written
    // Spans of time the folder cannot be seen; for good, it stays away from the last one's start.
    std::vector<std::pair<double, double>> Folder_Away;
    bool Folder_Gone_For_Good = false;
    std::deque<double> Readings;  // the kiln as read, one per read; the last one stays
    std::vector<std::string> Done, Record_Lines;
    std::vector<Mail_Message> Mails;

    double Seconds() override { return Now_Seconds; }
    void Sleep(double seconds) override { Now_Seconds += seconds; }
    Date_Time Now() override {
        return Date_Time_Of_Seconds(Seconds_Of({2026, 12, 7, 3}) + Now_Seconds);
    }
    int Offset_Minutes(const Date_Time&) override { return 60; }
    bool Stop_Asked() override { return Now_Seconds >= Stand_Down_At; }
    bool Act_Asked() override { return Told_To_End_At >= 0 && Now_Seconds >= Told_To_End_At; }
    std::optional<Guard_Heartbeat> Heartbeat() override {
        return Guard_Heartbeat{
            .Beat = static_cast<long long>(std::min(Now_Seconds, Silent_From) / 3),
            .Program_Pid = 4242,
            .Record_Path = "glaze.firing.csv",
            .Profile_Name = "glaze.txt",
            .Elapsed = 100,
            .Segment = 3,
            .Measured = 1900};
    }
    bool Sign_Of_Life() override { return Now_Seconds < Alive_Until; }
    bool Folder_Exists() override {
        for (const auto& [from, to] : Folder_Away)
            if (Now_Seconds >= from && Now_Seconds < to) return false;
        return !(Folder_Gone_For_Good && !Folder_Away.empty() &&
                 Now_Seconds >= Folder_Away.back().first);
    }
    bool Program_Holds_Folder(long pid) override { return Hung && pid == 4242; }
    void End_Program(long pid) override { Done.push_back("ended " + std::to_string(pid)); }
    void Mark_Acted() override { Done.push_back("marked"); }
    bool Write_Set_Value(std::int16_t value) override {
        if (Refusals > 0) return --Refusals, false;
        if (Acted_At < 0) Acted_At = Now_Seconds;
        Done.push_back("wrote " + std::to_string(value));
        return true;
    }
    std::optional<std::int16_t> Read_Set_Value() override { return 70; }
    std::optional<std::int16_t> Read_Measured() override {
        const double value = Readings.front();
        if (Readings.size() > 1) Readings.pop_front();
        return static_cast<std::int16_t>(value);
    }
    void Release_Port() override { Done.push_back("released"); }
    void Append_Record(const std::string&, const std::string& line) override {
        Record_Lines.push_back(line);
    }
    void Send_Mail(const Mail_Message& message) override { Mails.push_back(message); }
    void Log(const std::string&) override {}
    std::vector<std::string> Events() const {
        std::vector<std::string> events;
        for (const std::string& line : Record_Lines)
            events.push_back(Parse_Firing_Record(line).Lines.at(0).Event);
        return events;
    }
};

// The guard's texts in English: a program folder without languages.
class Guard_Over_A_Fake_Machine : public ::testing::Test {
  protected:
    void SetUp() override {
        Use_Language_Program_Folder(Program_Paths(Folder.Path()));
        CurrentLanguage.clear();
    }
    Temp_Folder Folder;
};

Guard_Settings Settings() {
    return {
        .After_Seconds = 600, .Program_Pid = 4242, .Notification_List = "potter@studio.example"};
}

// Ten minutes after the last beat the hung program is ended and the kiln soft-offed; a
// stuck relay heats it with the output off (alarm, line, mail) until it cools below 150 F.
TEST_F(Guard_Over_A_Fake_Machine, ActsAfterTheSilenceWatchesAStuckRelayAndEndsWhenTheKilnIsCold) {
    Fake_Machine machine;
    // Two cold readings end the watch: the 160 after them is never read.
    machine.Readings = {1900, 1900, 1900, 1900, 1950, 1990, 2000, 1000, 140, 140, 160};
    ASSERT_EQ(Kiln_Guard(machine, Settings()).Run(), 0);
    EXPECT_EQ(machine.Done,
              (std::vector<std::string>{"ended 4242", "wrote 70", "marked", "released"}));
    EXPECT_GE(machine.Now_Seconds, 27 + 600);
    const std::vector<std::string> events = machine.Events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), "guard");
    EXPECT_NE(std::find(events.begin(), events.end(), "alarm"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "after run"), events.end());
    EXPECT_EQ(events.back(), "after run ended");
    const Firing_Record_Line last = Parse_Firing_Record(machine.Record_Lines.back()).Lines.at(0);
    EXPECT_EQ(last.Detail, "below 150 F");
    // The rise of 100 with the output off, confirmed over two readings 30 s apart, is also
    // more than over-temperature's 50.
    ASSERT_EQ(machine.Mails.size(), 3u);
    EXPECT_NE(machine.Mails[0].Body.find("No sign of life for 10 min"), std::string::npos);
    EXPECT_NE(machine.Mails[1].Body.find("Alarm=Over-temperature"), std::string::npos);
    EXPECT_NE(machine.Mails[2].Body.find("Kiln heating with output off"), std::string::npos)
        << machine.Mails[2].Body;
}

// A heartbeat the program cannot write (a full disk) while it still beats over its line:
// the guard waits. Only when the line is silent too does it act, its time after that.
TEST_F(Guard_Over_A_Fake_Machine, ActsOnAStaleHeartbeatOnlyWhenTheProgramsLineIsSilentToo) {
    const struct {
        const char* Name;
        double Alive_Until, Acts_At;
    } cases[] = {{"no line", -1, 30 + 600}, {"the line beats for an hour", 3600, 3600 + 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Fake_Machine machine;
        machine.Alive_Until = c.Alive_Until;
        machine.Readings = {140};
        EXPECT_EQ(Kiln_Guard(machine, Settings()).Run(), 0);
        EXPECT_NEAR(machine.Acted_At, c.Acts_At, 2);
    }
}

// A program that is gone is not ended; a controller that refuses the soft off is tried
// every 10 s and, after three tries, the operator is told to switch the kiln off.
TEST_F(Guard_Over_A_Fake_Machine, KeepsTryingAControllerThatDoesNotTakeTheSoftOffAndSaysSo) {
    Fake_Machine machine;
    machine.Hung = false;
    machine.Refusals = 4;
    machine.Readings = {120};
    ASSERT_EQ(Kiln_Guard(machine, Settings()).Run(), 0);
    EXPECT_EQ(machine.Done.front(), "wrote 70");
    ASSERT_GE(machine.Mails.size(), 2u);
    EXPECT_EQ(machine.Mails[0].Subject, "Kiln guard: the controller does not answer");
    EXPECT_EQ(machine.Mails[1].Subject, "Kiln guard: the firing was stopped");
}

// The folder out of sight for a moment (a network share, a busy disk) is no reason to
// stand down; away for good, during the wait or the watch, it is, after a minute.
TEST_F(Guard_Over_A_Fake_Machine, StandsDownOnlyWhenTheFolderStaysAway) {
    struct Case {
        const char* Name;
        std::vector<std::pair<double, double>> Away;
        bool For_Good;
        bool Acts;
    };
    const Case cases[] = {
        {"a blip while waiting", {{10, 11}}, false, true},
        {"two blips, a minute apart", {{10, 11}, {70, 72}}, false, true},
        {"away for 40 s", {{100, 140}}, false, true},
        {"gone while waiting", {{10, 11}}, true, false},
        {"gone while watching", {{2000, 2001}}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Fake_Machine machine;
        machine.Readings = {1900};  // never cold: only the folder ends the watch
        machine.Folder_Away = c.Away;
        machine.Folder_Gone_For_Good = c.For_Good;
        EXPECT_EQ(Kiln_Guard(machine, Settings()).Run(), 0);
        const bool wrote =
            std::find(machine.Done.begin(), machine.Done.end(), "wrote 70") != machine.Done.end();
        EXPECT_EQ(wrote, c.Acts);
        if (c.For_Good) {
            const double gone = c.Away.back().first;
            EXPECT_GE(machine.Now_Seconds, gone + 60);
            EXPECT_LT(machine.Now_Seconds, gone + 200);
        }
    }
}

// Told to end (a shutdown, a logout, a kill) long before its ten minutes: it gives the
// program a few seconds to ask it to stand down, then ends the hung program, soft-offs
// the controller, writes why into the record and mails. A program that asks in time (it
// soft-offed the kiln itself) is left alone.
TEST_F(Guard_Over_A_Fake_Machine, ToldToEndItActsAtOnceUnlessTheProgramAsksItToStandDown) {
    struct Case {
        const char* Name;
        double Stand_Down_At;
        bool Acts;
    };
    const Case cases[] = {
        {"no word from the program", 48 * 3600 + 1000, true},
        {"the program asks it to stand down", 102, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Fake_Machine machine;
        machine.Silent_From = 1e9;  // beating all along
        machine.Told_To_End_At = 100;
        machine.Stand_Down_At = c.Stand_Down_At;
        machine.Readings = {140};
        EXPECT_EQ(Kiln_Guard(machine, Settings()).Run(), 0);
        if (!c.Acts) {
            EXPECT_TRUE(machine.Done.empty()) << machine.Done.front();
            EXPECT_TRUE(machine.Mails.empty());
            continue;
        }
        ASSERT_GE(machine.Done.size(), 2u);
        EXPECT_EQ(machine.Done[0], "ended 4242");
        EXPECT_EQ(machine.Done[1], "wrote 70");
        ASSERT_FALSE(machine.Record_Lines.empty());
        const Firing_Record_Line guard = Parse_Firing_Record(machine.Record_Lines[0]).Lines.at(0);
        EXPECT_EQ(guard.Event, "guard");
        EXPECT_TRUE(
            guard.Detail.starts_with("the kiln guard was told to end during the firing: "
                                     "set value 70 F given"))
            << guard.Detail;
        ASSERT_EQ(machine.Mails.size(), 1u);
        EXPECT_EQ(machine.Mails[0].Subject, "Kiln guard: the firing was stopped");
        EXPECT_TRUE(machine.Mails[0].Body.starts_with("The kiln guard was told to end during"))
            << machine.Mails[0].Body;
        EXPECT_EQ(machine.Mails[0].Body.find("No sign of life"), std::string::npos);
    }
}

}  // namespace
}  // namespace corvanel
