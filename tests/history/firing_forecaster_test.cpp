// SPDX-License-Identifier: GPL-3.0-or-later
// A potter's kiln with a history foresees its firing: the run window's times become the
// likely ones with the reason, the chart gets the curve ahead, and after the run the watch
// says when the kiln may be opened. A new kiln says its times are the plan's.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "history/firing_forecaster.h"
#include "planted_kiln.h"
#include "run/firing_forecast.h"
#include "run/live_firing_view.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr, ::testing::StartsWith;

struct Forecast_Story : ::testing::Test {
    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Settings_Store Settings{Paths};
    Firing_Forecaster Forecaster{Paths, Settings};
    Live_Firing_View View{Paths};
    Firing_Status_Seam Seam;
    // One plan for the firing, as the run publishes it.
    const std::shared_ptr<const Plan_Points> Plan = std::make_shared<const Plan_Points>(Fast_Top);

    void SetUp() override {
        fs::create_directories(Paths.Logfiles_Folder());
        Forecaster.Attach(Seam);
        Seam.Attach(View);
    }
    Firing_Status Firing_At(double minute, double measured, Firing_State state) const {
        Firing_Status status;
        status.State = state;
        status.Profile_Name = "glaze.txt";
        status.Clock = status.Last_Reading = {2027, 3, 9, 10, 0, 0};
        status.Has_Reading = true;
        status.Elapsed = status.Real_Elapsed = minute;
        status.Total_Time = Fast_Top.back().first;
        status.Measured = measured;
        status.Plan = Plan;
        return status;
    }
};

// New, the kiln says its times are the plan's; with three earlier firings of the planted
// kiln it shows the likely finish, why, and the curve ahead.
TEST_F(Forecast_Story, ANewKilnGivesThePlansTimesOneWithAHistoryTheLikelyFinishAndCurve) {
    Seam.Publish(Firing_At(100, 600, Firing_State::Running), Firing_Event::Tick);
    EXPECT_EQ(View.Finishes_At(), "15:01");
    EXPECT_THAT(View.Forecast_Note(), HasSubstr("no firings of this kiln to learn from yet"));
    EXPECT_TRUE(View.Forecast().empty());

    Write_Planted_Glazes(Paths.Logfiles_Folder());
    Seam.Publish(Firing_At(0, 70, Firing_State::Monitor), Firing_Event::Profile_Loaded);
    ASSERT_TRUE(Seam.Latest().Forecast);
    EXPECT_TRUE(Seam.Latest().Forecast->From_History);
    const double likely_end = Seam.Latest().Forecast->Likely_End;
    EXPECT_GT(likely_end, Fast_Top.back().first + 10);  // the top asks more than it can

    Seam.Publish(Firing_At(100, 600, Firing_State::Running), Firing_Event::Start);
    EXPECT_THAT(View.Finishes_At(), StartsWith("Plan 15:01, likely "));
    EXPECT_THAT(View.Forecast_Note(), HasSubstr("slower than asked"));
    ASSERT_FALSE(View.Forecast().empty());
    EXPECT_EQ(View.Forecast().front(), std::make_pair(100.0, 600.0));
    EXPECT_NEAR(View.Forecast().back().first, likely_end, 5);
    EXPECT_NEAR(View.Forecast().back().second, 2200, 30);

    // Worked out once a minute, not at every tick.
    const Firing_Forecast* made = Seam.Latest().Forecast.get();
    Firing_Status later = Firing_At(100.05, 601, Firing_State::Running);
    later.Clock.Second = 3;
    Seam.Publish(later, Firing_Event::Tick);
    EXPECT_EQ(Seam.Latest().Forecast.get(), made);
    later.Clock.Minute = 1;
    Seam.Publish(later, Firing_Event::Tick);
    EXPECT_NE(Seam.Latest().Forecast.get(), made);

    // After the run, when the kiln is likely below the watch's end (150 F by default).
    Firing_Status cooling = Firing_At(401, 2100, Firing_State::Cooling);
    Seam.Publish(cooling, Firing_Event::Finished);
    EXPECT_THAT(View.Cooling_Note(), StartsWith("below 150 °F about "));
    cooling.Has_Reading = false;  // no reading, no guess
    cooling.Clock.Hour = 11;
    Seam.Publish(cooling, Firing_Event::Monitor_Tick);
    EXPECT_EQ(View.Cooling_Note(), "");
}

}  // namespace
}  // namespace corvanel
