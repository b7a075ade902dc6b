// SPDX-License-Identifier: GPL-3.0-or-later
// The operator changes a firing while it runs: a glaze firing that climbs to 1100 in an
// hour, holds half an hour, and cools to 500 in another hour.
#include <gtest/gtest.h>

#include <variant>

#include "run/firing_change.h"

namespace corvanel {
namespace {

struct Segment {
    double Start_Time, End_Time, Start_Temp, End_Temp;
};

Followed_Plan Plan_Of(std::vector<Segment> segments, bool minutes = true) {
    Followed_Plan plan;
    plan.Minutes = minutes;
    plan.Finished_Segment = static_cast<int>(segments.size()) + 1;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        plan.Tables.Seg_Start_Time[k] = segments[k].Start_Time;
        plan.Tables.Seg_End_Time[k] = segments[k].End_Time;
        plan.Tables.Seg_Start_Temp[k] = segments[k].Start_Temp;
        plan.Tables.Seg_End_Temp[k] = segments[k].End_Temp;
        plan.Total_Time = segments[k].End_Time;
    }
    return plan;
}

const Followed_Plan Glaze =
    Plan_Of({{0, 60, 100, 1100}, {60, 90, 1100, 1100}, {90, 150, 1100, 500}});

std::vector<Segment> Segments_Of(const Followed_Plan& plan) {
    std::vector<Segment> segments;
    for (int k = 0; k < plan.Finished_Segment - 1; ++k) {
        const auto i = static_cast<std::size_t>(k);
        segments.push_back({plan.Tables.Seg_Start_Time[i], plan.Tables.Seg_End_Time[i],
                            plan.Tables.Seg_Start_Temp[i], plan.Tables.Seg_End_Temp[i]});
    }
    return segments;
}

void Expect_Segments(const Followed_Plan& plan, const std::vector<Segment>& expected) {
    const std::vector<Segment> got = Segments_Of(plan);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
        SCOPED_TRACE("segment " + std::to_string(k + 1));
        EXPECT_NEAR(got[k].Start_Time, expected[k].Start_Time, 1e-9);
        EXPECT_NEAR(got[k].End_Time, expected[k].End_Time, 1e-9);
        EXPECT_NEAR(got[k].Start_Temp, expected[k].Start_Temp, 1e-9);
        EXPECT_NEAR(got[k].End_Temp, expected[k].End_Temp, 1e-9);
    }
    EXPECT_NEAR(plan.Total_Time, expected.back().End_Time, 1e-9);
}

Firing_Change Change(Firing_Change::Kind kind, int segment, double at, double minutes = 0,
                     double end = 0, double rate = 0) {
    return {kind, segment, at, minutes, end, rate};
}

using Kind = Firing_Change::Kind;

TEST(Firing_Change, EachChangeMovesTheRestOfThePlanAndKeepsWhatWasFired) {
    struct Case {
        const char* Story;
        Followed_Plan Plan;
        Firing_Change Made;
        std::vector<Segment> Expected;
    };
    const Case cases[] = {
        {"skip half way up: the hold starts now, at the same temperature",
         Glaze,
         Change(Kind::Skip, 1, 30),
         {{0, 30, 100, 600}, {30, 60, 1100, 1100}, {60, 120, 1100, 500}}},
        {"a hold ten minutes longer pushes the cooling later",
         Glaze,
         Change(Kind::Extend_Hold, 2, 70, 10),
         {{0, 60, 100, 1100}, {60, 100, 1100, 1100}, {100, 160, 1100, 500}}},
        {"an hours profile takes the minutes as hours",
         Plan_Of({{0, 1, 100, 1100}, {1, 1.5, 1100, 1100}}, false),
         Change(Kind::Extend_Hold, 2, 1.2, 30),
         {{0, 1, 100, 1100}, {1, 2, 1100, 1100}}},
        {"a lower end at half the rate: the hold moves down with it and the cooling keeps "
         "its rate",
         Glaze,
         Change(Kind::Change_Segment, 1, 30, 0, 900, 300),
         {{30, 90, 600, 900}, {90, 120, 900, 900}, {120, 160, 900, 500}}},
        {"a higher end beyond the profile's peak, faster",
         Glaze,
         Change(Kind::Change_Segment, 1, 30, 0, 1200, 1200),
         {{30, 60, 600, 1200}, {60, 90, 1200, 1200}, {90, 160, 1200, 500}}},
        {"the cooling slower to the same end",
         Glaze,
         Change(Kind::Change_Segment, 3, 120, 0, 500, 300),
         {{0, 60, 100, 1100}, {60, 90, 1100, 1100}, {120, 180, 800, 500}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Story);
        auto changed = Changed_Plan(c.Plan, c.Made, {});
        ASSERT_TRUE(std::holds_alternative<Followed_Plan>(changed))
            << std::get<Problem>(changed).English();
        Expect_Segments(std::get<Followed_Plan>(changed), c.Expected);
    }
}

TEST(Firing_Change, AChangeThatMakesNoSenseIsRefusedWithItsReason) {
    Change_Limits limits;
    limits.Lowest = 32;
    limits.Highest = 2300;
    limits.Controller_High = 2000;
    struct Case {
        Firing_Change Made;
        const char* Said;
    };
    const Case cases[] = {
        {Change(Kind::Skip, 3, 120), "Segment 3 is the last one"},
        {Change(Kind::Skip, 0, 0), "No segment of the profile is running"},
        {Change(Kind::Extend_Hold, 1, 30, 10), "Segment 1 is not a hold"},
        {Change(Kind::Extend_Hold, 2, 70, 0), "1 to 1440 minutes"},
        {Change(Kind::Extend_Hold, 2, 70, 2000), "1 to 1440 minutes"},
        {Change(Kind::Change_Segment, 2, 70, 0, 1000, 100), "Segment 2 is a hold"},
        {Change(Kind::Change_Segment, 1, 30, 0, 1000, 0), "more than 0 degrees"},
        {Change(Kind::Change_Segment, 1, 30, 0, 2100, 100), "controller's high set limit"},
        {Change(Kind::Change_Segment, 1, 30, 0, 20, 100), "outside the sensor's range"},
    };
    for (const Case& c : cases) {
        auto changed = Changed_Plan(Glaze, c.Made, limits);
        ASSERT_TRUE(std::holds_alternative<Problem>(changed)) << c.Said;
        EXPECT_NE(std::get<Problem>(changed).English().find(c.Said), std::string::npos)
            << std::get<Problem>(changed).English();
    }
}

// The record holds each change, so a restart makes the same plan; the chart shows both.
TEST(Firing_Change, TheRecordHoldsEachChangeAndTheChartKeepsThePlanFired) {
    const Firing_Change made[] = {Change(Kind::Change_Segment, 1, 30, 0, 950.5, 150),
                                  Change(Kind::Extend_Hold, 2, 100, 45),
                                  Change(Kind::Skip, 2, 110)};
    Followed_Plan live = Glaze, replayed = Glaze;
    for (const Firing_Change& change : made) {
        const std::string event = Firing_Event_Name(Firing_Change_Event(change));
        // A change a feature made says why after its own words.
        const std::string detail =
            Firing_Change_Detail(live, change, "F") +
            (change.What == Kind::Change_Segment ? "; peak moved from 1100 F to 950.5 F" : "");
        live = std::get<Followed_Plan>(Changed_Plan(live, change));
        const auto read = Firing_Change_Of_Line(event, detail, change.At, change.Segment);
        ASSERT_TRUE(read) << event << ": " << detail;
        replayed = std::get<Followed_Plan>(Changed_Plan(replayed, *read));
    }
    Expect_Segments(replayed, Segments_Of(live));
    EXPECT_EQ(Firing_Change_Detail(Glaze, made[0], "F"),
              "segment 1: 1100 F at 1000 F/h -> 950.5 F at 150 F/h");
    EXPECT_FALSE(Firing_Change_Of_Line("elapsed edited", "1.00 -> 2.00", 0, 1));
    EXPECT_FALSE(Firing_Change_Of_Line("hold extended", "segment 2: lots -> more min", 0, 2));

    // The chart keeps the plan fired and draws the changed one after it.
    const Plan_Points before = {{0, 0}, {0, 100}, {60, 1100}, {90, 1100}, {150, 500}};
    auto changed = std::get<Followed_Plan>(
        Changed_Plan(Glaze, Change(Kind::Change_Segment, 1, 30, 0, 900, 300)));
    EXPECT_EQ(Changed_Chart(before, changed, 30),
              (Plan_Points{{0, 0}, {0, 100}, {30, 600}, {90, 900}, {120, 900}, {160, 500}}));
    auto skipped = std::get<Followed_Plan>(Changed_Plan(Glaze, Change(Kind::Skip, 1, 30)));
    EXPECT_EQ(Changed_Chart(before, skipped, 30),
              (Plan_Points{{0, 0}, {0, 100}, {30, 600}, {30, 1100}, {60, 1100}, {120, 500}}));
}

}  // namespace
}  // namespace corvanel
