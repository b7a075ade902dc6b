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

// A soft off cannot stop a welded relay: the kiln climbs on to 1,500 F after the run, the
// record and its summary's peak follow it there, and the stuck-relay alarm reaches the
// notification list.
TEST(After_The_Run_On_A_Pty, AStuckRelayIsFollowedToItsPeakAndMailed) {
    namespace fs = std::filesystem;
    Make_Application();
    Temp_Folder folder, mailbox;
    Program_Paths paths{folder.Path()};
    fs::create_directories(folder.Path() / "Profiles");
    fs::copy_file(fs::path(CORVANEL_PROGRAM_DIR) / "Profiles" / "quick_test.txt",
                  paths.Profile_File("quick_test.txt"));
    Smtp_Sink sink(mailbox.Path());
    ASSERT_FALSE(sink.Port().empty()) << "the loopback SMTP server did not start";
    Kiln_Sim_Process sim;
    sim.Start(folder, paths,
              {"--units=0", "--scale=F", "--speed=600", "--start-temp=300", "--stuck-relay=1"});
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
    Traj_form form{{paths, protocol, panel, clock, profile_dialog, log_dialog, beeper, mail, name,
                    windows, settings}};
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
    profile_dialog.Answers.push_back(File_Dialog_Result::Chosen("/anywhere/quick_test.txt"));
    form.mnuFileOpen_Click();
    log_dialog.Answers.push_back(File_Dialog_Result::Chosen("/anywhere/relay.txt"));
    form.mnuSpecifyLogFile_Click();

    // The operator ends the run at once; the relay, welded from the first exchange, does not.
    form.Start_Profile_Click();
    clock.Advance(3);
    form.Control_Interval_Timer();
    form.SoftOff_Click();
    const double at_soft_off = form.Firing_Status_Now().Measured;
    const std::string record_path = paths.Logfile(Firing_Record_Name("relay.txt"));
    // A monitoring tick reads the kiln every 3 seconds; the clock jumps a minute, so each
    // one keeps its line.
    // The kiln climbs a few hundred degrees a tick here: the heating alarm, confirmed on a
    // second reading, may come after the 1,500 F.
    auto heating = [&form] {
        return std::ranges::count(form.Firing_Status_Now().Alarms, "Kiln heating with output off");
    };
    for (int tick = 0;
         (form.Firing_Status_Now().Measured < std::max(1500.0, at_soft_off + 300) || !heating()) &&
         tick < 1000;
         ++tick) {
        clock.Advance(60);
        form.Monitor_Interval_Timer();
    }
    EXPECT_EQ(form.Firing_Status_Now().State, Firing_State::Cooling);

    Firing_Record record;
    std::string error;
    ASSERT_TRUE(Read_Firing_Record(record_path, {}, record, error)) << error;
    const auto soft_off = std::ranges::find(record.Lines, "soft off", &Firing_Record_Line::Event);
    ASSERT_NE(soft_off, record.Lines.end());
    const auto highest = std::ranges::max_element(record.Lines, {}, &Firing_Record_Line::Measured);
    EXPECT_GE(highest->Measured, std::max(1500.0, soft_off->Measured + 300));
    EXPECT_TRUE(highest->Is_After_Run());
    const Firing_Summary summary = Summarise(record, {});
    EXPECT_EQ(summary.Peak, highest->Measured);
    EXPECT_EQ(summary.Outcome, Firing_Outcome::Soft_Off);

    // Each message the loopback server took is a file of its own.
    EXPECT_TRUE(Eventually([&] {
        for (int n = 1;; ++n) {
            const fs::path file = mailbox.Path() / ("mail-" + std::to_string(n) + ".txt");
            if (!fs::exists(file)) return false;
            const std::string message = Read_Whole_File(file.string());
            if (message.find("\r\nAlarm=Kiln heating with output off\r\n") != std::string::npos &&
                message.find("TO potter@studio.example\n") != std::string::npos)
                return true;
        }
    }));
}

}  // namespace
}  // namespace corvanel::testing
