// SPDX-License-Identifier: GPL-3.0-or-later
// Two kilns in one process, without a window and without Qt: each kiln run on its own
// kiln-sim over a real pseudo-terminal, with its own log, firing record and seam, the
// program's folder and settings shared.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/log_file.h"
#include "support/pty_kiln_run.h"

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

// Fires the quick profile on both kilns, ends one with a soft off after two minutes and
// lets the other go on: neither run, record, seam nor controller hears of the other's.
TEST(Two_Kiln_Runs, FireSideBySideEachOnItsOwnControllerRecordAndSeam) {
    Temp_Folder folder;
    const Program_Paths paths{folder.Path() / "studio"};
    fs::create_directories(paths.Folder() / "Profiles");
    fs::copy_file(fs::path(CORVANEL_PROGRAM_DIR) / "Profiles" / "quick_test.txt",
                  paths.Profile_File("quick_test.txt"));
    Settings_Store settings{paths};
    // The observers outlive the runs they hear.
    Firing_Record_Writer record_writer_a{paths, "Corvanel"}, record_writer_b{paths, "Corvanel"};
    Heard_Events heard_a, heard_b;
    Pty_Kiln_Run a(folder, paths, settings, "a", {"--units=0", "--scale=F"}),
        b(folder, paths, settings, "b", {"--units=0", "--scale=F"});
    for (auto [kiln, log, writer, heard] :
         {std::tuple{&a, "kiln_a.txt", &record_writer_a, &heard_a},
          std::tuple{&b, "kiln_b.txt", &record_writer_b, &heard_b}}) {
        kiln->Run.Firing().Attach(*writer);
        kiln->Run.Firing().Attach(*heard);
        ASSERT_NO_FATAL_FAILURE(kiln->Load(paths.Profile_File("quick_test.txt"), log));
        kiln->Run.Name_Kiln(log == std::string("kiln_a.txt") ? "Big kiln" : "Test kiln");
        kiln->Run.Start_Profile();
        ASSERT_TRUE(kiln->Run.Running()) << kiln->Sim.Log();
    }
    for (int minute = 1; minute <= 2; ++minute) {
        for (Pty_Kiln_Run* kiln : {&a, &b}) {
            kiln->Clock.Advance(60);
            kiln->Run.Control_Interval_Timer();
        }
    }
    b.Run.Soft_Off();
    a.Clock.Advance(60);
    a.Run.Control_Interval_Timer();

    EXPECT_TRUE(a.Run.Running());
    EXPECT_FALSE(b.Run.Running());
    EXPECT_EQ(heard_a.Events, (std::vector<std::string>{"start"}));
    EXPECT_EQ(heard_b.Events, (std::vector<std::string>{"start", "soft off"}));
    // The ramp from 70 F to 200 F in 3 minutes, for both; only b was set back to 70 F.
    EXPECT_EQ(a.Sim.Set_Values_Sent(), (std::vector<int>{70, 113, 157, 200})) << a.Sim.Log();
    EXPECT_EQ(b.Sim.Set_Values_Sent(), (std::vector<int>{70, 113, 157, 70})) << b.Sim.Log();
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
}

}  // namespace
}  // namespace corvanel::testing
