// SPDX-License-Identifier: GPL-3.0-or-later
// While a firing runs, its cone by heat-work is told once the kiln has left its peak,
// from the ticks so far, or after a restart from the firing record.

#include <gtest/gtest.h>

#include "history/cone_watch.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

// Cone 6 the chart's way: the last 180 F at 108 F/h to 2,232 F, then cooling at 300 F/h.
struct Cone_Six_Firing : ::testing::Test {
    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Settings_Store Settings{Paths};
    Cone_Watch Watch{Paths, Settings};
    Firing_Status_Seam Seam;
    Firing_Status Status;

    void SetUp() override {
        Watch.Attach(Seam);
        Status.State = Firing_State::Running;
        Status.Profile_Name = "cone6.txt";
        Status.Plan = std::make_shared<const Plan_Points>();
        Status.Has_Reading = true;
        Seam.Publish(Status, Firing_Event::Start);
    }
    // A tick every 30 s at the minute given, the kiln at the temperature given.
    void Tick(double minute, double fahrenheit) {
        Status.Elapsed = Status.Real_Elapsed = minute;
        Status.Clock = Status.Last_Reading =
            Date_Time_Of_Seconds(Seconds_Of({2027, 3, 9, 8, 0, 0}) + std::llround(minute * 60));
        Status.Measured = fahrenheit;
        Seam.Publish(Status, Firing_Event::Tick);
    }
    std::string Cone() const { return Seam.Latest().Cone.English(); }
};

TEST_F(Cone_Six_Firing, IsToldOnceTheKilnHasLeftItsPeak) {
    const double climb_minutes = (2232.0 - 2000) / 108 * 60;
    for (double minute = 0; minute <= climb_minutes; minute += 0.5) {
        Tick(minute, 2000 + 108 * minute / 60);
        ASSERT_EQ(Cone(), "") << minute;  // still climbing: the heat-work grows
    }
    Tick(climb_minutes, 2232);
    for (double after = 0.5; after <= 10; after += 0.5)
        Tick(climb_minutes + after, 2232 - 5 * after);
    EXPECT_EQ(Cone(), "cone 6");

    // Started again with recall: the ticks before come from the record, none yet here.
    Status.Log_File = "no_record_yet.txt";
    Seam.Publish(Status, Firing_Event::Recall_Resume);
    EXPECT_EQ(Cone(), "cone 6");
    // A new firing forgets the last one's.
    Status.Elapsed = 0;
    Seam.Publish(Status, Firing_Event::Start);
    EXPECT_EQ(Cone(), "");
}

}  // namespace
}  // namespace corvanel
