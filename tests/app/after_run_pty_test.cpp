// SPDX-License-Identifier: GPL-3.0-or-later
// A relay welded shut, against kiln-sim on a real pseudo-terminal and a real SMTP server on
// loopback: the run model ticks on a fake clock, the kiln heats at kiln-sim's own pace.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/traj_form_model.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "controller/windows/qt_serial_device.h"
#include "history/firing_summary.h"
#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/smtp_mail_sender.h"
#include "setup/setup_files.h"
#include "support/fake_clock.h"
#include "support/fake_platform.h"
#include "support/qt_rig.h"
#include "support/smtp_sink.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

struct No_Name : Name_Dialog {
    int GetName() override { return 2; }
    std::string DeviceName() override { return ""; }
};

struct No_Windows : Window_Manager {
    void Show_Profile_Editor() override {}
    void Show_Front_Panel(bool) override {}
    void Show_Main_Window(bool) override {}
    void Show_CommSetUp() override {}
    void Apply_Language() override {}
    void End_Program() override {}
};

// The over-temperature soft off cannot stop a welded relay: the kiln climbs on to 1,500 F
// after the run, the record and its summary's peak follow it there, and the stuck-relay
// alarm reaches the notification list.
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
              {"--units=0", "--scale=F", "--speed=600", "--start-temp=70", "--stuck-relay=at:12"});
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
    No_Name name;
    No_Windows windows;
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

    form.Start_Profile_Click();
    for (int tick = 0; form.Control_Interval.Enabled && tick < 200; ++tick) {
        clock.Advance(3);
        form.Control_Interval_Timer();
    }
    ASSERT_FALSE(form.Control_Interval.Enabled) << form.User_Message_Box;
    const std::string record_path = paths.Logfile(Firing_Record_Name("relay.txt"));
    const double at_soft_off = form.Firing_Status_Now().Measured;
    // A monitoring tick reads the kiln every 3 seconds; the clock jumps a minute, so each
    // one keeps its line.
    for (int tick = 0; form.Firing_Status_Now().Measured < 1500 && tick < 400; ++tick) {
        clock.Advance(60);
        form.Monitor_Interval_Timer();
    }
    EXPECT_EQ(form.Firing_Status_Now().State, Firing_State::Cooling);

    Firing_Record record;
    std::string error;
    ASSERT_TRUE(Read_Firing_Record(record_path, {}, record, error)) << error;
    const auto soft_off = std::ranges::find(record.Lines, "soft off", &Firing_Record_Line::Event);
    ASSERT_NE(soft_off, record.Lines.end());
    double highest = 0;
    for (const Firing_Record_Line& line : record.Lines) highest = std::max(highest, line.Measured);
    EXPECT_GE(highest, 1500) << "at the soft off " << at_soft_off;
    EXPECT_LT(soft_off->Measured, 1000);
    EXPECT_TRUE(record.Lines.back().Is_After_Run());
    const Firing_Summary summary = Summarise(record, {});
    EXPECT_EQ(summary.Peak, highest);
    EXPECT_EQ(summary.Outcome, Firing_Outcome::Alarm);

    bool heating_mailed = false;
    for (int n = 1; n <= 3 && !heating_mailed; ++n) {
        const std::string message = sink.Message(n);
        heating_mailed =
            message.find("\r\nAlarm=Kiln heating with output off\r\n") != std::string::npos &&
            message.find("TO potter@studio.example\n") != std::string::npos;
    }
    EXPECT_TRUE(heating_mailed);
}

}  // namespace
}  // namespace corvanel::testing
