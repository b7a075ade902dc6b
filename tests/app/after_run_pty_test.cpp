// SPDX-License-Identifier: GPL-3.0-or-later
// A relay welded shut, against kiln-sim on a real pseudo-terminal and a real SMTP server on
// loopback: the run model ticks on a fake clock, the kiln heats at kiln-sim's own pace.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "controller/windows/qt_serial_device.h"
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

// True once the loopback server took a mail of `alarm` to the potter; each message it takes
// is a file of its own.
bool Mailed(const fs::path& mailbox, const std::string& alarm) {
    for (int n = 1;; ++n) {
        const fs::path file = mailbox / ("mail-" + std::to_string(n) + ".txt");
        if (!fs::exists(file)) return false;
        const std::string message = Read_Whole_File(file.string());
        if (message.find("\r\nAlarm=" + alarm + "\r\n") != std::string::npos &&
            message.find("TO potter@studio.example\n") != std::string::npos)
            return true;
    }
}

// A soft off cannot stop a welded relay, nor can monitor mode: whatever the program was
// doing, the kiln heating or held hot at 0% output is raised, mailed and recorded. In the
// after-run watch the firing's own record follows the kiln to its peak; outside a firing the
// alarm opens a record of its own. A kiln cooling by itself for an hour, a false reading
// in it, raises nothing.
TEST(A_Stuck_Relay_On_A_Pty, IsRaisedMailedAndRecordedWhateverTheProgramWasDoing) {
    const struct {
        const char* Name;
        const char* Start_Temp;
        const char* Fault;
        bool Profile;  // a quick profile fired for a moment and soft-offed first
        Firing_State After_Soft_Off;
        const char* Alarm;  // none: an hour in which nothing may be raised
        int Within_Minutes;
    } cases[] = {
        {"the after-run watch", "--start-temp=300", "--stuck-relay=1", true,
         Firing_State::Cooling, "Kiln heating with output off", 10},
        {"a soft off at room temperature", "--start-temp=60", "--stuck-relay=1", true,
         Firing_State::Monitor, "Kiln heating with output off", 10},
        {"monitor mode with no profile", "--start-temp=60", "--stuck-relay=1", false,
         Firing_State::Monitor, "Kiln heating with output off", 10},
        {"a kiln at its ceiling", "--start-temp=2530", "--stuck-relay=1", false,
         Firing_State::Monitor, "Kiln hot with output off", 10},
        {"a kiln cooling by itself, one reading 200 F off", "--start-temp=1000", "--spike=at:12",
         false, Firing_State::Monitor, nullptr, 60},
    };
    Make_Application();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Temp_Folder folder, mailbox;
        Program_Paths paths{folder.Path()};
        fs::create_directories(folder.Path() / "Profiles");
        fs::copy_file(fs::path(CORVANEL_PROGRAM_DIR) / "Profiles" / "quick_test.txt",
                      paths.Profile_File("quick_test.txt"));
        Smtp_Sink sink(mailbox.Path());
        ASSERT_FALSE(sink.Port().empty()) << "the loopback SMTP server did not start";
        Kiln_Sim_Process sim;
        sim.Start(folder, paths,
                  {"--units=0", "--scale=F", "--speed=600", c.Start_Temp, c.Fault});
        Write_Whole_File(paths.Setup_File("MailServer.txt"), "smtp://127.0.0.1:" + sink.Port());
        Write_Whole_File(paths.Setup_File("MailFrom.txt"), "kiln@studio.example");

        Qt_Serial_Device device{paths};
        FrontPanel panel;
        Patient_Waiter waiter;
        InOut_Functions protocol{panel, waiter};
        Fake_Clock clock;
        Fake_File_Dialog profile_dialog, log_dialog;
        Counting_Beeper beeper;
        Smtp_Mail_Sender mail(paths);
        Fake_Name_Dialog name;
        Recording_Windows windows;
        Settings_Store settings{paths};
        Traj_form form{{paths, protocol, panel, clock, profile_dialog, log_dialog, beeper, mail,
                        name, windows, settings}};
        Serial_Port serial{device, panel, form, protocol.Reply_Buffer};
        waiter.Reply_Buffer = &protocol.Reply_Buffer;
        device.Deliver_To(serial);
        protocol.Connect(serial);
        panel.Link = &serial;
        form.Connect_Serial_Port(serial);
        Firing_Record_Writer writer(paths, "Corvanel");
        form.Firing.Attach(writer);
        form.Form_Load();
        ASSERT_TRUE(device.Port_Open()) << form.User_Message_Box;
        form.mnuEnableEmailNotification = true;
        form.Email_Notification = "potter@studio.example";
        int tick_seconds = 60;  // without a profile the monitoring tick is a minute apart
        if (c.Profile) {
            profile_dialog.Answers.push_back(File_Dialog_Result::Chosen("/anywhere/quick_test.txt"));
            form.mnuFileOpen_Click();
            log_dialog.Answers.push_back(File_Dialog_Result::Chosen("/anywhere/relay.txt"));
            form.mnuSpecifyLogFile_Click();
            // The operator ends the run at once; the relay, welded from the first exchange,
            // does not.
            form.Start_Profile_Click();
            clock.Advance(3);
            form.Control_Interval_Timer();
            form.SoftOff_Click();
            tick_seconds = 3;
        }
        form.Monitor_Interval_Timer();
        ASSERT_EQ(form.Firing_Status_Now().State, c.After_Soft_Off)
            << form.Firing_Status_Now().Measured;
        const double at_start = form.Firing_Status_Now().Measured;
        if (!c.Alarm) {
            // A tenth of a second is a minute to kiln-sim: the program's clock keeps its pace.
            for (int minute = 0; minute < c.Within_Minutes; ++minute) {
                QTest::qWait(100);
                clock.Advance(60);
                form.Monitor_Interval_Timer();
                EXPECT_TRUE(form.Firing_Status_Now().Alarms.empty()) << minute;
            }
            EXPECT_LT(form.Firing_Status_Now().Measured, at_start - 50) << "it cooled";
            EXPECT_TRUE(List_Firing_Records(paths.Logfiles_Folder(), {}).empty());
            EXPECT_FALSE(fs::exists(mailbox.Path() / "mail-1.txt"));
            EXPECT_EQ(beeper.Beeps, 0);
            continue;
        }

        // Each monitoring tick reads the kiln; the fake clock moves on by the tick's interval.
        auto raised = [&] { return std::ranges::count(form.Firing_Status_Now().Alarms, c.Alarm); };
        int seconds = 0;
        for (; !raised() && seconds < 30 * 60; seconds += tick_seconds) {
            clock.Advance(tick_seconds);
            form.Monitor_Interval_Timer();
        }
        ASSERT_TRUE(raised()) << ::testing::PrintToString(form.Firing_Status_Now().Alarms);
        EXPECT_LE(seconds, c.Within_Minutes * 60);
        EXPECT_NE(form.Supervisor.Banner().Text().find("switch the kiln off at its power switch now"),
                  std::string::npos);
        EXPECT_TRUE(Eventually([&] { return Mailed(mailbox.Path(), c.Alarm); }));

        if (c.After_Soft_Off == Firing_State::Cooling) {
            // The firing's own record follows the kiln up, and its summary's peak with it.
            for (int tick = 0; form.Firing_Status_Now().Measured < at_start + 300 && tick < 1000;
                 ++tick) {
                clock.Advance(60);
                form.Monitor_Interval_Timer();
            }
            Firing_Record record;
            std::string error;
            ASSERT_TRUE(Read_Firing_Record(paths.Logfile(Firing_Record_Name("relay.txt")), {},
                                           record, error))
                << error;
            const auto highest =
                std::ranges::max_element(record.Lines, {}, &Firing_Record_Line::Measured);
            EXPECT_GE(highest->Measured, at_start + 300);
            EXPECT_TRUE(highest->Is_After_Run());
            const Firing_Summary summary = Summarise(record, {});
            EXPECT_EQ(summary.Peak, highest->Measured);
            EXPECT_EQ(summary.Outcome, Firing_Outcome::Soft_Off);
            const std::vector<std::string> events = Events_Of(record);
            EXPECT_NE(std::ranges::find(events, "alarm raised: " + std::string(c.Alarm)),
                      events.end());
            continue;
        }
        // Outside a firing the alarm keeps a record of its own until it is acknowledged.
        for (int tick = 0; tick < 3; ++tick) {
            clock.Advance(60);
            form.Monitor_Interval_Timer();
        }
        form.Acknowledge_Click();
        clock.Advance(tick_seconds);
        form.Monitor_Interval_Timer();
        const std::vector<Firing_List_Entry> listed = List_Firing_Records(paths.Logfiles_Folder(), {});
        const auto entry = std::ranges::find_if(listed, [](const Firing_List_Entry& e) {
            return e.File_Name.starts_with("kiln_alarm_");
        });
        ASSERT_NE(entry, listed.end());
        const Firing_Record record = Parse_Firing_Record(
            Read_Whole_File((fs::path(paths.Logfiles_Folder()) / entry->File_Name).string()));
        EXPECT_EQ(record.Header.Temp_Scale, "F");
        const std::vector<std::string> events = Events_Of(record);
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events.front(), "alarm raised: " + std::string(c.Alarm));
        EXPECT_EQ(events.back(), "record ended: acknowledged");
        EXPECT_GE(std::ranges::count_if(record.Lines, &Firing_Record_Line::Is_Tick), 3);
    }
}

}  // namespace
}  // namespace corvanel::testing
