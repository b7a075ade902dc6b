// SPDX-License-Identifier: GPL-3.0-or-later
// A firing whose disk fills up in the middle (a small tmpfs under the records): the ticks
// go on, the operator hears of it once, and once space is freed the log and the record
// are whole and in order.

#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/log_file.h"
#include "support/main_window_rig.h"
#include "support/small_disk.h"

namespace corvanel::testing {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(Full_Disk, TheFiringGoesOnTellsOnceAndWritesEverythingInOrderWhenSpaceReturns) {
    Main_Window_Rig rig;
    Small_Disk disk(rig.Paths.Logfiles_Folder(), 256 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "this system lets no test mount a small disk";
    Firing_Record_Writer writer(rig.Paths, "Corvanel");
    writer.Hold_In(rig.Form.Run().Held_Files());
    rig.Form.Run().Firing().Attach(writer);
    rig.Form.Form_Load();
    rig.Open_Long_Ramp();
    rig.Choose_Log("ramp_log.txt");
    rig.Form.Start_Profile_Click();
    int ticks = 1;
    auto tick = [&](int count) {
        for (int i = 0; i < count; ++i, ++ticks) rig.Tick();
    };
    const std::string full = "The disk is full or cannot be written";
    const std::string again = "The firing's record is saved again";
    tick(20);
    disk.Fill();
    // Long enough for the log's last page, which takes records still, to fill up too.
    tick(400);
    const std::string banner = rig.Form.Run().Safety().Banner().Text();
    EXPECT_EQ(Count(banner, full), 1u) << banner;
    EXPECT_EQ(Count(banner, again), 0u);
    EXPECT_TRUE(rig.Form.Run().Held_Files().Holding());
    EXPECT_TRUE(rig.Form.Run().Control_Interval().Enabled);
    EXPECT_EQ(rig.Set_Values_Sent().size(), static_cast<std::size_t>(ticks));
    EXPECT_FALSE(rig.Said("Control Timer Loop Error"));
    disk.Free();
    tick(5);
    EXPECT_FALSE(rig.Form.Run().Held_Files().Holding());
    EXPECT_EQ(Count(rig.Form.Run().Safety().Banner().Text(), full), 1u);
    EXPECT_EQ(Count(rig.Form.Run().Safety().Banner().Text(), again), 1u);

    // Every tick once, in order, in the log and in the record: the elapsed time (whole
    // minutes) never goes back, and the record's clock moves 3 s a line.
    const std::vector<Log_Entry> log = Read_Log_Records(rig.Paths.Logfile("ramp_log.txt"));
    ASSERT_EQ(log.size(), static_cast<std::size_t>(ticks));
    for (std::size_t i = 1; i < log.size(); ++i) ASSERT_GE(log[i].Elapsed, log[i - 1].Elapsed) << i;
    EXPECT_NEAR(log.back().Elapsed, ticks * 3 / 60.0, 1);
    const Firing_Record record =
        Parse_Firing_Record(Read_Whole_File(rig.Paths.Logfile(Firing_Record_Name("ramp_log.txt"))));
    EXPECT_EQ(record.Header.Profile_Name, "ramp.txt");
    std::vector<long long> clock;
    for (const Firing_Record_Line& line : record.Lines)
        if (line.Is_Tick()) clock.push_back(Seconds_Of(line.Clock));
    ASSERT_EQ(clock.size(), static_cast<std::size_t>(ticks));
    for (std::size_t i = 1; i < clock.size(); ++i) ASSERT_EQ(clock[i] - clock[i - 1], 3) << i;
}

}  // namespace
}  // namespace corvanel::testing
