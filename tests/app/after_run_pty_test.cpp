// SPDX-License-Identifier: GPL-3.0-or-later
// A relay welded shut, against kiln-sim on a real pseudo-terminal and a real SMTP server on
// loopback: the run model ticks on a fake clock, the kiln heats at kiln-sim's own pace.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include <QElapsedTimer>

#include "controller/qt/qt_serial_device.h"
#include "history/firing_summary.h"
#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/smtp_mail_sender.h"
#include "support/main_window_rig.h"
#include "support/qt_rig.h"
#include "support/smtp_sink.h"

namespace corvanel::testing {
namespace {

namespace fs = std::filesystem;

// What the run window's model runs on here: kiln-sim on a pseudo-terminal through the
// program's own serial port, and a loopback SMTP server.
struct Pty_Parts {
    Pty_Parts() { Make_Application(); }
    Temp_Folder Folder, Mailbox;
    Program_Paths Folder_Paths{Folder.Path()};  // the rig's Paths, for the parts made first
    Smtp_Sink Sink{Mailbox.Path()};
    Kiln_Sim_Process Sim;
    Settings_Store Port_Settings{Folder_Paths};  // the port map, read as the program reads it
    Qt_Serial_Device Device{Port_Settings};
    Patient_Waiter Waiter;
    Smtp_Mail_Sender Mail{Folder_Paths};
};

// The program as it is wired, on kiln-sim through a pseudo-terminal, mailing a loopback
// SMTP server, recording its firings; its clock is fake and keeps kiln-sim's pace.
struct Pty_Kiln : Pty_Parts, Run_Window_Rig {
    Pty_Kiln() : Run_Window_Rig(Device, Waiter, Mail, Folder.Path()) {}
    int Speed = 1;
    QElapsedTimer Since_Tick;

    // kiln-sim at `speed` kiln seconds to a real second, with `options`.
    void Start(int speed, QStringList options) {
        Speed = speed;
        fs::create_directories(Folder.Path() / "Profiles");
        fs::copy_file(fs::path(CORVANEL_PROGRAM_DIR) / "Profiles" / "quick_test.txt",
                      Paths.Profile_File("quick_test.txt"));
        ASSERT_FALSE(Sink.Port().empty()) << "the loopback SMTP server did not start";
        Sim.Start(
            Folder, Paths,
            QStringList{"--units=0", "--scale=F", "--speed=" + QString::number(speed)} + options);
        Write_Whole_File(Paths.Setup_File("MailServer.txt"), "smtp://127.0.0.1:" + Sink.Port());
        Write_Whole_File(Paths.Setup_File("MailFrom.txt"), "kiln@studio.example");
        Keep_Record();
        Form.Form_Load();
        ASSERT_TRUE(Device.Port_Open()) << Form.User_Message_Box;
        Notify_Potter();
        Since_Tick.start();
    }

    // The quick profile fired for a moment and ended by the operator.
    void Fire_And_Soft_Off() {
        Open_Profile("quick_test.txt");
        Choose_Log("relay.txt");
        Form.Start_Profile_Click();
        Clock.Advance(3);
        Form.Control_Interval_Timer();
        Form.SoftOff_Click();
    }

    // A monitoring tick `seconds` after the last, on both clocks: the exchanges themselves
    // take real time, so only what is left of the interval is waited.
    void Tick(int seconds) {
        const qint64 due = seconds * 1000LL / Speed;
        if (Since_Tick.elapsed() < due) QTest::qWait(static_cast<int>(due - Since_Tick.elapsed()));
        Since_Tick.restart();
        Clock.Advance(seconds);
        Form.Monitor_Interval_Timer();
    }

    // True once the loopback server took a mail of `alarm` to the potter; each message it
    // takes is a file of its own.
    bool Mailed(const std::string& alarm) const {
        for (int n = 1;; ++n) {
            const fs::path file = Mailbox.Path() / ("mail-" + std::to_string(n) + ".txt");
            if (!fs::exists(file)) return false;
            const std::string message = Read_Whole_File(file.string());
            if (message.find("\r\nAlarm=" + alarm + "\r\n") != std::string::npos &&
                message.find("TO potter@studio.example\n") != std::string::npos)
                return true;
        }
    }
};

// A soft off outside the after-run watch cannot stop a welded relay, nor can monitor mode:
// the kiln heating or held hot at 0% output is raised, mailed and recorded in a record of its
// own. (The watch after a run, where the firing's own record follows the kiln, is the run
// model's test on the simulated kiln.)
TEST(A_Stuck_Relay_On_A_Pty, IsRaisedMailedAndRecordedOutsideAFiring) {
    const struct {
        const char* Name;
        const char* Start_Temp;
        int Speed;     // kiln seconds to a real second
        bool Profile;  // a quick profile fired for a moment and soft-offed first
        const char* Alarm;
        const char* Advice;
    } cases[] = {
        // Slow, so that the kiln is still below the after-run watch at the soft off.
        {"a soft off at room temperature", "--start-temp=60", 10, true,
         "Kiln heating with output off", "switch the kiln off at its power switch now"},
        {"monitor mode with no profile", "--start-temp=60", 600, false,
         "Kiln heating with output off", "switch the kiln off at its power switch now"},
        // It rises less than the heating alarm waits for and sits there, far above its set
        // value at 0% output.
        {"a kiln at its ceiling", "--start-temp=2530", 600, false, "Kiln hot with output off",
         "far hotter than it asks: its relay may be stuck, and only you can stop it: switch the "
         "kiln off at its power switch now."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Pty_Kiln kiln;
        kiln.Start(c.Speed, {c.Start_Temp, "--stuck-relay=1"});
        if (::testing::Test::HasFatalFailure()) return;
        Traj_form& form = kiln.Form;
        // Without a profile the monitoring tick is a minute apart.
        const int tick_seconds = c.Profile ? 3 : 60;
        if (c.Profile) kiln.Fire_And_Soft_Off();
        kiln.Tick(tick_seconds);
        ASSERT_EQ(form.Run().Firing_Status_Now().State, Firing_State::Monitor)
            << form.Run().Firing_Status_Now().Measured;

        auto raised = [&] {
            return std::ranges::count(form.Run().Firing_Status_Now().Alarms, c.Alarm);
        };
        int seconds = 0;
        for (; !raised() && seconds < 30 * 60; seconds += tick_seconds) kiln.Tick(tick_seconds);
        ASSERT_TRUE(raised()) << ::testing::PrintToString(form.Run().Firing_Status_Now().Alarms);
        EXPECT_LE(seconds, 10 * 60);
        EXPECT_NE(form.Run().Safety().Banner().Text().find(c.Advice), std::string::npos);
        // A line a minute follows the kiln on; the alarm sounds on every tick.
        for (int n = 0; n < 3; ++n) kiln.Tick(60);
        EXPECT_GE(kiln.Beeper.Beeps, 2);

        // Outside a firing the alarm keeps a record of its own until it is acknowledged.
        form.Acknowledge_Click();
        kiln.Tick(tick_seconds);
        const std::vector<Firing_List_Entry> listed =
            List_Firing_Records(kiln.Paths.Logfiles_Folder(), {});
        const auto entry = std::ranges::find_if(listed, [](const Firing_List_Entry& e) {
            return e.File_Name.starts_with("kiln_alarm_");
        });
        ASSERT_NE(entry, listed.end());
        const auto row = Firing_List_Row(*entry, {});
        EXPECT_EQ(row[1] + " / " + row[5],
                  "Kiln alarm outside a firing / alarm: " + std::string(c.Alarm));
        const Firing_Record record = Parse_Firing_Record(
            Read_Whole_File((fs::path(kiln.Paths.Logfiles_Folder()) / entry->File_Name).string()));
        EXPECT_TRUE(record.Header.Outside_Firing);
        EXPECT_EQ(record.Header.Temp_Scale, "F");
        const std::vector<std::string> events = Events_Of(record);
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events.front(), "alarm raised: " + std::string(c.Alarm));
        EXPECT_EQ(events.back(), "record ended: acknowledged");
        std::vector<Firing_Record_Line> readings;
        std::ranges::copy_if(record.Lines, std::back_inserter(readings),
                             &Firing_Record_Line::Is_Tick);
        ASSERT_GE(readings.size(), 3u);
        for (std::size_t i = 1; i < readings.size(); ++i) {
            const long long apart =
                Seconds_Of(readings[i].Clock) - Seconds_Of(readings[i - 1].Clock);
            EXPECT_TRUE(apart >= 60 && apart < 63 + tick_seconds) << apart;
        }
        EXPECT_TRUE(Eventually([&] { return kiln.Mailed(c.Alarm); }));
    }
}

}  // namespace
}  // namespace corvanel::testing
