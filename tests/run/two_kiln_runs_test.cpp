// SPDX-License-Identifier: GPL-3.0-or-later
// Two kilns in one process, without a window and without Qt: each kiln run on its own
// kiln-sim over a real pseudo-terminal, with its own log, firing record and seam, the
// program's folder and settings shared.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "controller/controller_link.h"
#include "controller/posix/posix_serial_device.h"
#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/kiln_run.h"
#include "run/log_file.h"
#include "support/child_process.h"
#include "support/fake_clock.h"
#include "support/fake_platform.h"
#include "support/recording_mail.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

namespace fs = std::filesystem;

// What one seam published: the events, ticks left out.
struct Heard_Events : Firing_Observer {
    std::vector<std::string> Events;
    void Firing_Changed(const Firing_Status&, Firing_Event event, const std::string&) override {
        if (event != Firing_Event::Tick && event != Firing_Event::Monitor_Tick)
            Events.push_back(Firing_Event_Name(event));
    }
};

// One kiln: kiln-sim on a terminal of its own, and the run that fires it.
struct Kiln {
    Kiln(const Temp_Folder& folder, const Program_Paths& paths, Settings_Store& settings,
         const std::string& name)
        : Port(folder.File(name + "-port")),
          Sim_Output(folder.File(name + "-sim.out")),
          Device(settings),
          Run({paths, Link.Protocol(), Link.Panel(), Clock, Beeper, Mail, settings, View}) {
        EXPECT_TRUE(Sim.Start(
            {KILN_SIM_PATH, "--units=0", "--scale=F", "--verbose", "--link=" + Port}, Sim_Output));
        EXPECT_TRUE(Within_Seconds([&] { return fs::exists(Port); }, 30)) << Sim_Log();
        Device.Use_Device(Port);
        Run.Connect_Serial_Port(Link.Serial());
        Run.Firing().Attach(Heard);
        Link.Serial().Form_Load(1);
    }
    ~Kiln() { Run.Firing().Detach(Heard); }

    std::string Sim_Log() const { return Read_Whole_File(Sim_Output); }
    // The set values this kiln's controller was sent, in order.
    std::vector<int> Set_Values_Sent() const {
        std::vector<int> sent;
        const std::string log = Sim_Log();
        for (std::size_t at = log.find("WS01"); at != std::string::npos;
             at = log.find("WS01", at + 1))
            sent.push_back(std::stoi(log.substr(at + 4, 4)));
        return sent;
    }

    std::string Port, Sim_Output;
    Child Sim;
    Posix_Serial_Device Device;
    Posix_Reply_Waiter Waiter{Device};
    Silent_Run_View View;
    Controller_Link Link{Device, Waiter, &View};
    Fake_Clock Clock;
    Counting_Beeper Beeper;
    Recording_Mail Mail;
    Kiln_Run Run;
    Heard_Events Heard;
};

// Fires the quick profile on both kilns, ends one with a soft off after two minutes and
// lets the other go on: neither run, record, seam nor controller hears of the other's.
TEST(Two_Kiln_Runs, FireSideBySideEachOnItsOwnControllerRecordAndSeam) {
    Temp_Folder folder;
    const Program_Paths paths{folder.Path() / "studio"};
    fs::create_directories(paths.Folder() / "Profiles");
    fs::copy_file(fs::path(CORVANEL_PROGRAM_DIR) / "Profiles" / "quick_test.txt",
                  paths.Profile_File("quick_test.txt"));
    Settings_Store settings{paths};
    Firing_Record_Writer record_writer_a{paths, "Corvanel"}, record_writer_b{paths, "Corvanel"};
    Kiln a(folder, paths, settings, "a"), b(folder, paths, settings, "b");
    a.Run.Firing().Attach(record_writer_a);
    b.Run.Firing().Attach(record_writer_b);

    for (auto [kiln, log] : {std::pair{&a, "kiln_a.txt"}, std::pair{&b, "kiln_b.txt"}}) {
        Kiln_Run& run = kiln->Run;
        run.Use_Controller_RAM();
        run.Set_Polling_Mode("monitor");
        run.Read_Safety_Setup();
        run.Monitor_Interval_Timer();
        ASSERT_TRUE(run.Firing_Status_Now().Has_Reading) << kiln->Sim_Log();
        ASSERT_EQ(run.Load_Profile(paths.Profile_File("quick_test.txt")).What,
                  Loaded_Profile::Load_Result::Outcome::Loaded);
        run.Name_Profile("quick_test.txt");
        run.Take_Loaded_Profile(false);
        run.Use_Log_File(log);
        run.Name_Kiln(log == std::string("kiln_a.txt") ? "Big kiln" : "Test kiln");
        run.Start_Profile();
        ASSERT_TRUE(run.Running()) << kiln->Sim_Log();
    }
    for (int minute = 1; minute <= 2; ++minute) {
        for (Kiln* kiln : {&a, &b}) {
            kiln->Clock.Advance(60);
            kiln->Run.Control_Interval_Timer();
        }
    }
    b.Run.Soft_Off();
    a.Clock.Advance(60);
    a.Run.Control_Interval_Timer();

    EXPECT_TRUE(a.Run.Running());
    EXPECT_FALSE(b.Run.Running());
    EXPECT_EQ(a.Heard.Events, (std::vector<std::string>{"start"}));
    EXPECT_EQ(b.Heard.Events, (std::vector<std::string>{"start", "soft off"}));
    // The ramp from 70 F to 200 F in 3 minutes, for both; only b was set back to 70 F.
    EXPECT_EQ(a.Set_Values_Sent(), (std::vector<int>{70, 113, 157, 200})) << a.Sim_Log();
    EXPECT_EQ(b.Set_Values_Sent(), (std::vector<int>{70, 113, 157, 70})) << b.Sim_Log();
    struct Expected {
        const char *Log, *Kiln;
        std::size_t Ticks;
        std::vector<std::string> Events;
    };
    for (const Expected& kiln : {Expected{"kiln_a.txt", "Big kiln", 4, {"start"}},
                                 Expected{"kiln_b.txt", "Test kiln", 3, {"start", "soft off"}}}) {
        SCOPED_TRACE(kiln.Log);
        EXPECT_EQ(Read_Whole_File(paths.Logfile(kiln.Log)).size(), kiln.Ticks * Log_Record_Length);
        const Firing_Record record =
            Parse_Firing_Record(Read_Whole_File(paths.Logfile(Firing_Record_Name(kiln.Log))));
        EXPECT_EQ(record.Header.Kiln_Name, kiln.Kiln);
        std::vector<std::string> events;
        std::size_t ticks = 0;
        for (const Firing_Record_Line& line : record.Lines) {
            if (line.Is_Tick())
                ++ticks;
            else
                events.push_back(line.Event);
        }
        EXPECT_EQ(ticks, kiln.Ticks);
        EXPECT_EQ(events, kiln.Events);
    }
    a.Run.Firing().Detach(record_writer_a);
    b.Run.Firing().Detach(record_writer_b);
}

}  // namespace
}  // namespace corvanel::testing
