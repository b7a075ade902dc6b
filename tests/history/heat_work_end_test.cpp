// SPDX-License-Identifier: GPL-3.0-or-later
// A cone 6 firing that ends on heat-work, fed synthetic ticks: the peak follows the rate
// the kiln climbs at by the chart, within its limits, and the hold ends at the cone.

#include <gtest/gtest.h>

#include <filesystem>

#include "history/heat_work_end.h"
#include "history/witness_cones.h"
#include "profiles/cone_table.h"
#include "profiles/heat_work_end_file.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

constexpr std::size_t Cone_Six = 27;  // its place in the chart, counted from cone 022

// The feature's hands on the kiln: the run would make these changes after the tick.
struct Asking_Kiln : Kiln_Access {
    std::vector<Asked_Change> Asked;
    std::string Opened_Device() const override { return ""; }
    void Stop_Firing() override {}
    void Ask_Change(const Asked_Change& change) override { Asked.push_back(change); }
};

struct Case {
    const char* Name;
    double Final_Rate;  // the profile's last climb, F/h
    double Kiln_Rate;   // the fastest the kiln can climb above 2,000 F, F/h (400 below)
    double Offset = 0;  // the kiln's cone offset
    std::optional<double> Controller_High;
    double Expected_Peak;   // where the peak ends up
    std::size_t Moves;      // a steady climb moves it once at most: the set value does not hunt
    const char* Said = "";  // what the operator reads of the first move
};

// Cone 6 in F, in hours: 1,800 F to 2,032 F at 300 F/h, the last climb to the slow
// column's 2,232 F, an hour's hold. Each minute the kiln climbs towards its set value
// as fast as it can (400 F/h below 2,000 F, slower above when its elements are weak), and
// the feature's changes are made on the plan as the run makes them.
struct Heat_Work_Firing {
    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Settings_Store Settings{Paths};
    Asking_Kiln Kiln;
    Heat_Work_End End{Paths, Settings, Kiln};
    Firing_Status_Seam Seam;
    Followed_Plan Plan;
    Firing_Status Status;
    std::vector<Kiln_Reading> Readings;
    std::optional<double> Hold_Ended_At;

    Heat_Work_Firing(double final_rate, bool heat_work = true) {
        std::filesystem::create_directories(Paths.Folder() / "Profiles");
        if (heat_work) Keep_Heat_Work_End(Paths.Profile_File("cone6.txt"), "6");
        End.Attach(Seam);
        Plan.Minutes = false;
        Plan.Finished_Segment = 4;
        auto segment = [&](std::size_t i, double hours, double from, double to) {
            Plan.Tables.Seg_Start_Time[i] = i == 0 ? 0 : Plan.Tables.Seg_End_Time[i - 1];
            Plan.Tables.Seg_End_Time[i] = Plan.Tables.Seg_Start_Time[i] + hours;
            Plan.Tables.Seg_Start_Temp[i] = from;
            Plan.Tables.Seg_End_Temp[i] = to;
        };
        segment(0, 232.0 / 300, 1800, 2032);
        segment(1, 200 / final_rate, 2032, 2232);
        segment(2, 1, 2232, 2232);
        Plan.Total_Time = Plan.Tables.Seg_End_Time[2];
        Status.State = Firing_State::Running;
        Status.Profile_Name = "cone6.txt";
        Status.Kiln_Name = "Studio";
        Status.Sensor_Type = "K    ";
        Status.Time_Unit = "H";
        Status.Has_Reading = true;
        Status.Measured = 1800;
        Status.Plan = std::make_shared<const Plan_Points>(Changed_Chart({}, Plan, 0));
        Seam.Publish(Status, Firing_Event::Start);
    }

    int Segment_At(double elapsed) const {
        for (int i = 0; i + 1 < Plan.Finished_Segment; ++i)
            if (elapsed < Plan.Tables.Seg_End_Time[static_cast<std::size_t>(i)]) return i + 1;
        return Plan.Finished_Segment;
    }
    double Set_Value_At(double elapsed) const {
        const auto i = static_cast<std::size_t>(Segment_At(elapsed) - 1);
        const Run_Tables& t = Plan.Tables;
        return t.Seg_Start_Temp[i] + (elapsed - t.Seg_Start_Time[i]) *
                                         (t.Seg_End_Temp[i] - t.Seg_Start_Temp[i]) /
                                         (t.Seg_End_Time[i] - t.Seg_Start_Time[i]);
    }

    void Fire(double kiln_rate) {
        for (int minute = 1; !Hold_Ended_At && minute < 600; ++minute) {
            const double elapsed = minute / 60.0;
            if (Segment_At(elapsed) == Plan.Finished_Segment) return;
            const double set_value = Set_Value_At(elapsed);
            const double can = Status.Measured < 2000 ? 400 : kiln_rate;
            if (set_value > Status.Measured)
                Status.Measured = std::min(set_value, Status.Measured + can / 60);
            Status.Elapsed = Status.Real_Elapsed = elapsed;
            Status.Segment = Segment_At(elapsed);
            Status.Clock = Status.Last_Reading =
                Date_Time_Of_Seconds(Seconds_Of({2027, 3, 9, 8, 0, 0}) + minute * 60);
            Readings.push_back({elapsed * 3600, Status.Measured});
            const std::size_t before = Kiln.Asked.size();
            Seam.Publish(Status, Firing_Event::Tick);
            for (std::size_t i = before; i < Kiln.Asked.size(); ++i) Make(Kiln.Asked[i], elapsed);
        }
    }
    void Make(const Asked_Change& ask, double elapsed) {
        if (ask.What == Firing_Change::Kind::Skip) {
            Hold_Ended_At = elapsed;
            return;
        }
        const Firing_Change change{
            Firing_Change::Kind::Change_Segment, ask.Segment, elapsed, 0, ask.End_Temp,
            Segment_Rate(Plan, ask.Segment)};
        Plan = std::get<Followed_Plan>(Changed_Plan(Plan, change));
        Status.Plan =
            std::make_shared<const Plan_Points>(Changed_Chart(*Status.Plan, Plan, elapsed));
    }
    std::vector<double> Peaks() const {
        std::vector<double> peaks;
        for (const Asked_Change& ask : Kiln.Asked)
            if (ask.What == Firing_Change::Kind::Change_Segment) peaks.push_back(ask.End_Temp);
        return peaks;
    }
};

TEST(Heat_Work_End, MovesThePeakToTheChartsTemperatureForTheRateWithinItsLimits) {
    ASSERT_EQ(Cone_Table()[Cone_Six].Cone, "6");
    const double slower = Chart_Temperature(Cone_Six, 90, "F");  // about 2,223 F
    const Case cases[] = {
        {"slower climb: lower by the chart's difference",
         108,
         90,
         0,
         {},
         slower,
         1,
         "Peak moved from 2,232 °F to 2,223 °F: the kiln climbed at 90 °F/h."},
        {"the chart's own rate: left as it is", 108, 400, 0, {}, 2232, 0},
        {"faster climb: the fast column's figure", 270, 400, 0, {}, 2269, 1},
        {"a cone more for this kiln: the fast column plus the margin", 270, 400, -1, {}, 2287, 1},
        {"the controller's limit below the chart's figure", 108, 90, 0, 2200, 2200, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Heat_Work_Firing firing(c.Final_Rate);
        if (c.Offset != 0) ASSERT_FALSE(Write_Cone_Offset(firing.Settings, {"Studio", c.Offset}));
        firing.Status.Set_Limit_High = c.Controller_High;
        firing.Seam.Publish(firing.Status, Firing_Event::Start);
        firing.Fire(c.Kiln_Rate);
        const std::vector<double> peaks = firing.Peaks();
        const double peak = peaks.empty() ? 2232 : peaks.back();
        EXPECT_NEAR(peak, c.Expected_Peak, 1);
        EXPECT_EQ(peaks.size(), c.Moves);
        if (!peaks.empty()) {
            EXPECT_EQ(firing.Kiln.Asked.front().Why.substr(0, 25), "peak moved from 2232 F to");
            if (*c.Said) EXPECT_EQ(firing.Kiln.Asked.front().Said.English(), c.Said);
        }
        for (double moved : peaks) EXPECT_LE(moved, c.Controller_High.value_or(2269 + 18));
    }
}

// Held below the cone by the controller's limit, the kiln sits at 2,200 F until the
// heat-work the readings show is cone 6; the hold ends at that tick, not before.
TEST(Heat_Work_End, EndsTheHoldWhenTheHeatWorkIsReached) {
    Heat_Work_Firing firing(108);
    firing.Status.Set_Limit_High = 2200;
    firing.Seam.Publish(firing.Status, Firing_Event::Start);
    firing.Fire(108);
    ASSERT_TRUE(firing.Hold_Ended_At);
    ASSERT_EQ(firing.Kiln.Asked.back().Why, "cone 6 reached by heat-work");
    // The first tick whose readings reach cone 6 (within a fiftieth of a cone) ends it.
    std::vector<Kiln_Reading> readings = firing.Readings;
    EXPECT_EQ(Cone_Reached_Text(Cone_Of_Readings(readings, "F")).English(), "cone 6");
    EXPECT_GE(Cone_Of_Readings(readings, "F").Position, Cone_Six - 0.02);
    readings.pop_back();
    EXPECT_LT(Cone_Of_Readings(readings, "F").Position, Cone_Six - 0.02);
    EXPECT_LT(*firing.Hold_Ended_At, firing.Plan.Total_Time);

    // Without the cone beside the profile it fires as it always has: nothing is asked.
    Heat_Work_Firing fixed(108, false);
    fixed.Fire(90);
    EXPECT_TRUE(fixed.Kiln.Asked.empty());
}

}  // namespace
}  // namespace corvanel
