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
    double Silent_From = 30;      // the program beats every 3 s until then
    bool Hung = true;             // still there, holding the folder
    int Refusals = 0;             // set-value writes the controller fails first
    std::deque<double> Readings;  // the kiln as read, one per read; the last one stays
    std::vector<std::string> Done, Record_Lines;
    std::vector<Mail_Message> Mails;

    double Seconds() override { return Now_Seconds; }
    void Sleep(double seconds) override { Now_Seconds += seconds; }
    Date_Time Now() override {
        return Date_Time_Of_Seconds(Seconds_Of({2026, 12, 7, 3}) + Now_Seconds);
    }
    int Offset_Minutes(const Date_Time&) override { return 60; }
    bool Stop_Asked() override { return Now_Seconds > 48 * 3600 + 1000; }
    std::optional<Guard_Heartbeat> Heartbeat() override {
        Guard_Heartbeat beat;
        beat.Beat = static_cast<long long>(std::min(Now_Seconds, Silent_From) / 3);
        beat.Program_Pid = 4242;
        beat.Record_Path = "glaze.firing.csv";
        beat.Profile_Name = "glaze.txt";
        beat.Elapsed = 100;
        beat.Segment = 3;
        beat.Measured = 1900;
        return beat;
    }
    bool Folder_Exists() override { return true; }
    bool Program_Holds_Folder(long pid) override { return Hung && pid == 4242; }
    void End_Program(long pid) override { Done.push_back("ended " + std::to_string(pid)); }
    void Mark_Acted() override { Done.push_back("marked"); }
    bool Write_Set_Value(std::int16_t value) override {
        if (Refusals > 0) return --Refusals, false;
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
    Guard_Settings settings;
    settings.After_Seconds = 600;
    settings.Program_Pid = 4242;
    settings.Notification_List = "potter@studio.example";
    return settings;
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

}  // namespace
}  // namespace corvanel
