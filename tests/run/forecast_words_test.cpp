// SPDX-License-Identifier: GPL-3.0-or-later
// What the run window and the page say of the way ahead: the plan's times, or the plan's
// beside the likely ones when the kiln's history foresees the firing late.
#include <gtest/gtest.h>

#include "run/firing_forecast.h"
#include "run/forecast_words.h"

namespace corvanel {
namespace {

// A glaze firing in minutes at 12:00, 100 minutes in, 200 to go.
Firing_Status Glaze_At_Noon() {
    Firing_Status status;
    status.State = Firing_State::Running;
    status.Clock = {2027, 3, 9, 12, 0, 0};
    status.Elapsed = status.Real_Elapsed = 100;
    status.Total_Time = 300;
    status.Plan = std::make_shared<const Plan_Points>(Plan_Points{{0, 70}, {300, 2200}});
    return status;
}

std::shared_ptr<const Firing_Forecast> Ahead(double likely_end, bool from_history,
                                             const char* why = "") {
    auto forecast = std::make_shared<Firing_Forecast>();
    forecast->Plan_End = 300;
    forecast->Likely_End = likely_end;
    forecast->From_History = from_history;
    if (*why) forecast->Why = Operator_Text::Phrase(why);
    return forecast;
}

// The plan's times, or the likely ones beside them; and when a cooling kiln may be opened.
TEST(Forecast_Words, SayThePlanUnlessTheKilnsHistoryForeseesItLateAndWhenToOpen) {
    const Number_Style english;
    const char* slow = "the kiln is climbing slower than asked";
    struct Case {
        std::shared_ptr<const Firing_Forecast> Forecast;
        const char *Time_Left, *Finishes_At, *Note;
    } cases[] = {
        {nullptr, "3 h 20 min", "15:20", ""},
        // Less than a minute apart: the whole minutes the run counts, not the kiln.
        {Ahead(300.5, true, slow), "3 h 20 min", "15:20", ""},
        {Ahead(340, true, slow), "4 h 00 min", "Plan 15:20, likely 16:00", slow},
        // The plan's times when the kiln has no history, and said so.
        {Ahead(340, false, "no firings to learn from"), "3 h 20 min", "15:20",
         "no firings to learn from"},
    };
    for (const Case& c : cases) {
        Firing_Status status = Glaze_At_Noon();
        status.Forecast = c.Forecast;
        const Forecast_Words words = Forecast_Words_Of(status, english);
        EXPECT_EQ(words.Time_Left, c.Time_Left) << c.Finishes_At;
        EXPECT_EQ(words.Finishes_At, c.Finishes_At);
        EXPECT_EQ(words.Note, c.Note) << c.Finishes_At;
    }
    Firing_Status suspended = Glaze_At_Noon();
    suspended.State = Firing_State::Suspended;
    suspended.Forecast = Ahead(340, true, slow);
    EXPECT_EQ(Forecast_Words_Of(suspended, english).Finishes_At, "suspended");
    Firing_Status ended = Glaze_At_Noon();
    ended.State = Firing_State::Monitor;
    EXPECT_EQ(Forecast_Words_Of(ended, english).Time_Left, "");

    // After the run: when the cooling kiln may be opened.
    Firing_Status status = Glaze_At_Noon();
    status.State = Firing_State::Cooling;
    EXPECT_EQ(Cooling_Words_Of(status, {}), "");
    auto cooling = std::make_shared<Firing_Forecast>();
    cooling->Open_Below = 150;
    cooling->Cool_Seconds = 9.5 * 3600;
    status.Forecast = cooling;
    EXPECT_EQ(Cooling_Words_Of(status, {}), "below 150 °F about 21:30");
    status.State = Firing_State::Running;
    EXPECT_EQ(Cooling_Words_Of(status, {}), "");
}

// The large read-outs' one word for what the kiln is doing: the plan's slope where the
// run is, an alarm before anything, the end of the profile, or waiting.
TEST(Firing_State_Word, FollowsTheRunThePlanAndTheAlarms) {
    // Up to 1000 F by 100 minutes, held to 150, down to 500 by 200: the end.
    const auto plan = std::make_shared<const Plan_Points>(
        Plan_Points{{0, 0}, {0, 70}, {100, 1000}, {150, 1000}, {200, 500}});
    using S = Firing_State;
    struct Case {
        Firing_State State;
        double Elapsed;
        bool Alarm, Waits;
        const char* Word;
    } cases[] = {
        {S::Running, 50, false, false, "Heating"},   {S::Running, 100, false, false, "Holding"},
        {S::Running, 170, false, false, "Cooling"},  {S::Running, 170, true, false, "Alarm"},
        {S::Running, 200, false, false, "Finished"}, {S::Suspended, 50, false, false, "Holding"},
        {S::Cooling, 120, false, false, "Cooling"},  {S::Cooling, 200, false, false, "Finished"},
        {S::Monitor, 0, false, false, "Waiting"},    {S::Monitor, 200, false, true, "Waiting"},
        {S::Monitor, 200, false, false, "Finished"}, {S::Monitor, 0, true, false, "Alarm"},
    };
    for (const Case& c : cases) {
        Firing_Status status;
        status.State = c.State;
        status.Elapsed = c.Elapsed;
        status.Total_Time = 200;
        status.Plan = plan;
        if (c.Alarm) status.Alarms = {"Over-temperature"};
        if (c.Waits) status.Starts_At = Date_Time{2027, 3, 9, 22, 0, 0};
        EXPECT_STREQ(Firing_State_Word(status), c.Word)
            << static_cast<int>(c.State) << " at " << c.Elapsed;
    }
    // On the hold, a kiln still far below (or above) its temperature is heating (cooling).
    for (const auto& [measured, word] : std::vector<std::pair<double, const char*>>{
             {600, "Heating"}, {985, "Holding"}, {1015, "Holding"}, {1100, "Cooling"}}) {
        Firing_Status status;
        status.State = S::Running;
        status.Elapsed = 120;
        status.Plan = plan;
        status.Set_Value = 1000;
        status.Measured = measured;
        status.Has_Reading = true;
        EXPECT_STREQ(Firing_State_Word(status), word) << measured;
    }
}

}  // namespace
}  // namespace corvanel
