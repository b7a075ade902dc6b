// SPDX-License-Identifier: GPL-3.0-or-later
// Firings on the run model against the simulated kiln with a fake clock: the safety layer
// and its plant faults.

#include <algorithm>
#include <cmath>
#include <optional>

#include "run/firing_record.h"
#include "run/log_file.h"
#include "run/smtp_mail_sender.h"
#include "support/fake_platform.h"
#include "support/main_window_rig.h"
#include "support/smtp_sink.h"

namespace corvanel::testing {
namespace {

struct Alarm_Observer : Firing_Observer {
    std::vector<std::string> Alarms;  // "raised X [active alarms]" / "cleared X"
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override {
        if (event == Firing_Event::Alarm_Raised)
            Alarms.push_back("raised " + detail + " " + ::testing::PrintToString(status.Alarms));
        if (event == Firing_Event::Alarm_Cleared) Alarms.push_back("cleared " + detail);
    }
};

// A Fahrenheit kiln heating at its real pace, notification on, and 70 to 1500 degrees in an
// hour with an hour's hold: long enough for every alarm.
struct Safety_Rig : Main_Window_Rig {
    Alarm_Observer Observer;
    std::optional<sim::Kiln_Sim_Server> Faulty;

    explicit Safety_Rig(std::optional<double> kiln_at = {}) {
        sim::Unit_Settings kiln = Kiln_Settings();
        kiln.Start_Temperature = kiln_at;
        Model = sim::Controller_Model({0}, kiln);
        Form.Run().Firing().Attach(Observer);
        Form.Form_Load();
        Notify_Potter();
        Open_Long_Ramp();
    }
    void Open_Sample(const char* name) {
        std::filesystem::copy_file(std::filesystem::path(CORVANEL_PROGRAM_DIR) / "Profiles" / name,
                                   Paths.Profile_File(name));
        Open_Profile(name);
    }
    void Use_Fault(sim::Fault fault, const char* when) {
        sim::Fault_Options options;
        options[fault] = sim::Parse_Fault_Selector(when);
        Faulty.emplace(Model, options);
        Line.Server = &*Faulty;
    }
    // At the profile's pace until the run ends or `limit` ticks have passed.
    int Fire(int limit) {
        Form.Start_Profile_Click();
        int ticks = 1;
        for (; Form.Run().Control_Interval().Enabled && ticks < limit; ++ticks)
            Tick(Form.Run().Control_Interval().Interval / 1000);
        return ticks;
    }
};

// Each plant fault raises its alarm with banner, mail and a beep on every tick until
// acknowledged, and a soft off where firing on would be unsafe; a healthy firing, none.
TEST(Kiln_Fault, RaisesItsAlarmWithBannerBeepMailAndSoftOffWhereDue) {
    const struct {
        const char* Name;
        std::optional<sim::Fault> Fault;
        const char* When;
        std::string Alarm;  // "" for none over the whole firing, which runs to its end
        bool Ends_Run;
        const char* Sample = nullptr;  // a shipped profile instead of the long ramp
        int Ticks = 2391;              // a healthy firing's, to "Profile Finished" and the soft off
        std::size_t Mails = 1;
    } cases[] = {
        {"healthy", {}, "", "", false},
        {"healthy cone 04 bisque of 15 hours", {}, "", "", false, "bisque.txt", 902},
        {"elements failed", sim::Fault::Elements_Failed, "at:5", "Failure to heat", false},
        // The kiln heats with the output off before it is over the profile.
        {"stuck relay", sim::Fault::Stuck_Relay, "at:5", "Kiln heating with output off", true,
         nullptr, 0, 2},
        {"thermocouple break", sim::Fault::Thermocouple_Break, "1", "Thermocouple break", true},
        {"cable pulled", sim::Fault::Cable_Pulled, "at:30", "Controller lost", false},
        // Readings 200 F too high for eight ticks of three exchanges: for the confirmation time.
        {"spike", sim::Fault::Spike, "at:1-24", "Over-temperature", true, "quick_test.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Safety_Rig rig;
        if (c.Sample) rig.Open_Sample(c.Sample);
        if (c.Fault) rig.Use_Fault(*c.Fault, c.When);
        // 115 minutes of the two hours are enough for every alarm to show.
        const int ticks = rig.Fire(c.Alarm.empty() ? 5000 : 2300);
        if (c.Alarm.empty()) {
            EXPECT_EQ(ticks, c.Ticks);
            EXPECT_TRUE(rig.Said("Profile Finished"));
            // Its watch until the kiln is cold and an hour of monitor mode after it.
            for (int tick = 0;
                 rig.Form.Run().Firing_Status_Now().State != Firing_State::Monitor && tick < 20000;
                 ++tick)
                rig.Tick();
            ASSERT_EQ(rig.Form.Run().Firing_Status_Now().State, Firing_State::Monitor);
            for (int tick = 0; tick < 3600 / 3; ++tick) rig.Tick();
            EXPECT_EQ(rig.Observer.Alarms, std::vector<std::string>{});
            EXPECT_FALSE(rig.Form.Run().Safety().Banner().Visible() || rig.Beeper.Beeps ||
                         !rig.Mail.Sent.empty());
            continue;
        }
        ASSERT_FALSE(rig.Observer.Alarms.empty());
        EXPECT_EQ(rig.Observer.Alarms.front(), "raised " + c.Alarm + " { \"" + c.Alarm + "\" }");
        EXPECT_TRUE(rig.Form.Run().Safety().Banner().Alarm_On());
        ASSERT_EQ(rig.Mail.Sent.size(), c.Mails) << ::testing::PrintToString(rig.Observer.Alarms);
        EXPECT_NE(rig.Mail.Sent[0].Body.find("Alarm=" + c.Alarm + "\r\nTime=2026-12-05 "),
                  std::string::npos);
        EXPECT_EQ(rig.Form.Run().Control_Interval().Enabled, !c.Ends_Run);
        if (c.Ends_Run) {  // by the soft off, before the profile's end
            EXPECT_EQ(rig.Model.Unit(0)->Set_Value(), 70);
            EXPECT_LT(rig.Form.Run().Engine().Elapsed(), rig.Form.Run().Profile().Total_Time());
        }
        rig.Form.Monitor_Interval_Timer();
        const int beeps = rig.Beeper.Beeps;
        EXPECT_GE(beeps, 2);
        rig.Form.Acknowledge_Click();
        rig.Form.Monitor_Interval_Timer();
        EXPECT_EQ(rig.Beeper.Beeps, beeps);
    }
}

// The record's readings of the watch after its run, their elapsed times checked to count
// the clock's minutes between them.
std::vector<Firing_Record_Line> After_Run_Lines(const Firing_Record& record) {
    std::vector<Firing_Record_Line> tail;
    for (const Firing_Record_Line& line : record.Lines)
        if (line.Is_After_Run()) tail.push_back(line);
    for (std::size_t i = 1; i < tail.size(); ++i) {
        const long long apart = Seconds_Of(tail[i].Clock) - Seconds_Of(tail[i - 1].Clock);
        EXPECT_NEAR(tail[i].Elapsed - tail[i - 1].Elapsed, apart / 60.0, 0.01) << i;
    }
    return tail;
}

// A relay welded shut for the first hour: the kiln heats with the output off, which is
// mailed at once and every quarter of an hour while it lasts; the over-temperature soft off
// leaves it watched, a record line a minute, until it is cold again. The over-temperature
// mail, and an alert, reach a real SMTP server on loopback as laid out.
TEST(After_The_Run, AKilnHeatingWithItsOutputOffIsMailedEveryQuarterHourAndWatchedTillCold) {
    Safety_Rig rig;
    rig.Keep_Record();
    rig.Choose_Log("relay.txt");
    rig.Use_Fault(sim::Fault::Stuck_Relay, "at:5-3500");  // three exchanges a tick
    std::vector<int> mailed_at;                           // seconds from the start
    std::size_t seen = 0;
    rig.Form.Start_Profile_Click();
    int second = 0;
    for (; second < 48 * 3600 && rig.Form.Run().Firing_Status_Now().State != Firing_State::Monitor;
         second += 3) {
        rig.Tick();
        for (; seen < rig.Mail.Sent.size(); ++seen)
            if (rig.Mail.Sent[seen].Body.find("Alarm=Kiln heating with output off\r\n") !=
                std::string::npos)
                mailed_at.push_back(second);
    }
    EXPECT_NE(rig.Form.Run().Safety().Banner().Text().find(
                  "relay may be stuck, and only you can stop it: switch the kiln off at its "
                  "power switch now."),
              std::string::npos);
    ASSERT_EQ(mailed_at.size(), 4u) << second;
    for (std::size_t i = 1; i < mailed_at.size(); ++i)
        EXPECT_EQ(mailed_at[i] - mailed_at[i - 1], 15 * 60);
    EXPECT_LT(rig.Form.Run().Firing_Status_Now().Measured, 150);
    const Firing_Record record = rig.Record("relay.txt");
    const std::vector<Firing_Record_Line> tail = After_Run_Lines(record);
    ASSERT_GE(tail.size(), 60u);
    EXPECT_GT(std::ranges::max(tail, {}, &Firing_Record_Line::Measured).Measured,
              tail.front().Measured + 200);
    for (std::size_t i = 1; i < tail.size(); ++i) {
        const long long apart = Seconds_Of(tail[i].Clock) - Seconds_Of(tail[i - 1].Clock);
        EXPECT_TRUE(apart >= 60 && apart < 63) << apart;
    }
    EXPECT_EQ(record.Lines.back().Event + ": " + record.Lines.back().Detail,
              "after run ended: below 150 F");

    const auto over = std::ranges::find_if(rig.Mail.Sent, [](const Mail_Message& mail) {
        return mail.Body.find("Alarm=Over-temperature") != std::string::npos;
    });
    ASSERT_NE(over, rig.Mail.Sent.end());
    Temp_Folder mailbox;
    Smtp_Sink sink(mailbox.Path());
    ASSERT_FALSE(sink.Port().empty()) << "the loopback SMTP server did not start";
    rig.Setup_File("MailServer.txt", "smtp://127.0.0.1:" + sink.Port());
    rig.Setup_File("MailFrom.txt", "<kiln@studio.example>");  // brackets typed or not
    Smtp_Mail_Sender sender(rig.Paths);
    ASSERT_EQ(sender.Send(*over).Is, Mail_Result::State::Sent);
    ASSERT_EQ(
        sender.Send(Compose_Alert("potter@studio.example, helper@studio.example", 1000, 940)).Is,
        Mail_Result::State::Sent);
    const std::string alarm = sink.Message(1), alert = sink.Message(2);
    for (const char* line :
         {"TO potter@studio.example\n", "Subject: Oven Alarm\r\n", "\r\nAlarm=Over-temperature\r\n",
          "\r\nElapsed=", "\r\nDesired Temp=", " F\r\nMeasured Temp=", " F\r\nOutput=0%"}) {
        EXPECT_NE(alarm.find(line), std::string::npos) << line << " in " << alarm;
    }
    for (const char* line :
         {"FROM kiln@studio.example\nTO potter@studio.example,helper@studio.example\n",
          "Subject: Oven Status\r\n", "\r\n\r\n\r\nDesired Temp=1000\r\nMeasured Temp=940\r\n"}) {
        EXPECT_NE(alert.find(line), std::string::npos) << line << " in " << alert;
    }
}

// A Celsius profile in hours opened while a Fahrenheit firing in minutes is still watched:
// the record goes on in Fahrenheit and minutes, a reading a minute, as it began.
TEST(After_The_Run, AProfileInAnotherScaleLeavesTheRecordInItsOwn) {
    Safety_Rig rig(1000);
    rig.Keep_Record();
    rig.Choose_Log("glaze.txt");
    rig.Fire(3);
    rig.Form.SoftOff_Click();
    ASSERT_EQ(rig.Form.Run().Firing_Status_Now().State, Firing_State::Cooling);
    for (int tick = 0; tick < 40; ++tick) rig.Tick();
    rig.Open_Profile("celsius.txt",
                     {{"1", "0", "2", "r", "20", "500", "240.00", "", "", ""},
                      {"2", "2.00", "", "e", "500", "", "", "", "", ""}},
                     "K    ", false, false);
    ASSERT_EQ(rig.Form.Run().Firing_Status_Now().Temp_Scale, "C");
    for (int tick = 0; tick < 5; ++tick) rig.Tick(60);

    const Firing_Record record = rig.Record("glaze.txt");
    EXPECT_EQ(record.Header.Temp_Scale + record.Header.Time_Unit, "FM");
    const std::vector<Firing_Record_Line> tail = After_Run_Lines(record);
    ASSERT_GE(tail.size(), 6u);
    const double kiln = rig.Model.Unit(0)->Temperature();
    for (std::size_t i = 1; i < tail.size(); ++i) {
        SCOPED_TRACE(i);
        // Fahrenheit, converted back to whole degrees as the controller read them.
        EXPECT_GT(tail[i].Measured, kiln - 5);
        EXPECT_EQ(tail[i].Measured, std::round(tail[i].Measured));
        EXPECT_EQ(tail[i].Set_Value, 70);
    }
}

TEST(Safe_Start, ACarriedOverElapsedTimeIsToldWhenNoLogHoldsIt) {
    Safety_Rig rig;
    EXPECT_FALSE(rig.Form.Run().Safety().Banner().Visible())
        << "a profile opened at elapsed 0 tells nothing";
    rig.Form.Elapsed_Time_GotFocus();
    for (char key : std::string("\b8\r")) rig.Form.Type_Elapsed_Key(key);
    const std::string notice = "The firing continues at elapsed time 8.00\r\n";
    rig.Open_Long_Ramp();
    EXPECT_TRUE(rig.Said(notice));
    rig.Form.Acknowledge_Click();
    rig.Choose_Log("new_log.txt");
    rig.Fire(3);  // the log is empty: the run is told where it goes on
    EXPECT_TRUE(rig.Form.Run().Safety().Banner().Text().starts_with(notice));
    EXPECT_EQ(rig.Form.Elapsed_Time, "8.00");
    rig.Form.Acknowledge_Click();
    rig.Form.SoftOff_Click();
    std::filesystem::resize_file(rig.Paths.Logfile("new_log.txt"), Log_Record_Length);
    rig.Fire(3);  // now the log holds the firing (one whole record is enough): nothing new
    EXPECT_FALSE(rig.Form.Run().Safety().Banner().Visible());
    rig.Form.SoftOff_Click();
    rig.Form.mnuReset_Logfile_Click();  // starts from 0, as the notice says
    EXPECT_EQ(rig.Form.Run().Engine().Elapsed(), 0);
}

// RUN PROFILE on a kiln far hotter than the profile's start (70 F) says what it sees and
// asks; Cancel starts nothing. A warm kiln, the question switched off, or a start at the
// kiln's temperature starts as before, without a word.
TEST(Safe_Start, AKilnFarHotterThanTheProfilesStartIsAskedAbout) {
    const struct {
        const char* Name;
        double Kiln_At;
        bool Answer_OK = true;
        bool Question_On = true;
        bool Start_At_Kiln = false;
        bool Asked, Runs;
    } cases[] = {
        {"hot, cancelled", 1000, false, true, false, true, false},
        {"hot, OK", 1000, true, true, false, true, true},
        {"warm", 160, false, true, false, false, true},
        {"question off", 1000, false, false, false, false, true},
        {"start at kiln temperature", 1000, false, true, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Safety_Rig rig(c.Kiln_At);
        Fake_Message_Box ask;
        ask.Answer_OK = c.Answer_OK;
        rig.Form.Connect_Message_Box(ask);
        rig.Safety_Switch("Hot_Start_Question", c.Question_On);
        rig.Safety_Switch("Start_At_Kiln_Temperature", c.Start_At_Kiln);
        rig.Tick();  // the monitoring tick's reading is what RUN PROFILE sees
        rig.Set_Values_Sent();
        rig.Form.Start_Profile_Click();
        ASSERT_EQ(ask.Questions.size(), c.Asked ? 1u : 0u);
        if (c.Asked) {
            EXPECT_TRUE(ask.Questions[0].starts_with("The kiln is already hot: 99"))
                << ask.Questions[0];
            EXPECT_NE(ask.Questions[0].find(" °F. This profile starts at 70 °F.\r\n"),
                      std::string::npos)
                << ask.Questions[0];
        }
        EXPECT_EQ(rig.Form.Run().Control_Interval().Enabled, c.Runs);
        if (!c.Runs) {
            EXPECT_TRUE(rig.Said("Run not started"));
            EXPECT_TRUE(rig.Set_Values_Sent().empty()) << "nothing goes to the controller";
        }
    }
}

TEST(Safe_Start, AWarmKilnStartsWhereTheFirstRampReachesItOnlyWhenAskedTo) {
    Safety_Rig rig(400);
    rig.Fire(1);
    EXPECT_EQ(rig.Form.Elapsed_Time, "0.00") << "the setting is off by default";
    rig.Form.SoftOff_Click();
    rig.Form.mnuReset_Logfile_Click();

    rig.Safety_Switch("Start_At_Kiln_Temperature", true);
    rig.Use_Fault(sim::Fault::End_Code_0D, "at:2");  // the start's reading is refused
    rig.Fire(1);
    EXPECT_EQ(rig.Form.Elapsed_Time, "0.00") << "a refused reading is no reading";
    rig.Form.SoftOff_Click();
    rig.Form.mnuReset_Logfile_Click();

    rig.Set_Values_Sent();
    rig.Fire(1);
    // (400 - 70) / (1500 - 70) of the hour's ramp: 13.85 minutes.
    EXPECT_EQ(rig.Form.Elapsed_Time, "13.85");
    EXPECT_EQ(rig.Set_Values_Sent(), std::vector<int>{400});
    EXPECT_EQ(rig.Form.Run().Safety().Banner().Text(),
              "Start at kiln temperature: the kiln is at 400\r\n"
              "The firing starts at elapsed time 13.85");
}

}  // namespace
}  // namespace corvanel::testing
