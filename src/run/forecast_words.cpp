// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/forecast_words.h"

#include <cmath>

#include "language/show_problem.h"
#include "language/translate.h"
#include "run/firing_forecast.h"

namespace corvanel {

namespace {

Date_Time Later(const Date_Time& clock, double seconds) {
    return Date_Time_Of_Seconds(Seconds_Of(clock) + std::llround(seconds));
}

}  // namespace

Forecast_Words Forecast_Words_Of(const Firing_Status& status, const Number_Style& style) {
    Forecast_Words words;
    if (!status.Run_Active()) return words;
    const Firing_Forecast* forecast = status.Forecast.get();
    double seconds_left = status.Seconds_Left();
    const std::string plan_end = Clock_Shown(status.Finish_Clock(), status.Clock, style);
    words.Finishes_At = plan_end;
    if (forecast && forecast->From_History && forecast->Late(status.Time_Unit)) {
        seconds_left += forecast->Late_By() * Seconds_Per_Time_Unit(status.Time_Unit);
        words.Finishes_At = Operator_Text_Shown(Operator_Text::Phrase(
            "Plan %1, likely %2", {Operator_Text::Value(plan_end),
                                   Operator_Text::Value(Clock_Shown(
                                       Later(status.Clock, seconds_left), status.Clock, style))}));
    }
    // Why it is late, or that the times are the plan's for want of history.
    if (forecast && (!forecast->From_History || forecast->Late(status.Time_Unit)))
        words.Note = Operator_Text_Shown(forecast->Why);
    // To the minute: the seconds of a time left would only flicker.
    words.Time_Left = Duration_Shown(60.0 * std::llround(seconds_left / 60));
    if (status.State == Firing_State::Suspended) words.Finishes_At = TranslateText("suspended");
    return words;
}

std::string Cooling_Words_Of(const Firing_Status& status, const Number_Style& style) {
    const Firing_Forecast* forecast = status.Forecast.get();
    if (status.State != Firing_State::Cooling || !forecast || !forecast->Cool_Seconds) return "";
    return Operator_Text_Shown(Operator_Text::Phrase(
        "below %1 about %2",
        {Operator_Text::Value(Temperature_Shown(forecast->Open_Below, status.Temp_Scale, style)),
         Operator_Text::Value(
             Clock_Shown(Later(status.Clock, *forecast->Cool_Seconds), status.Clock, style))}));
}

std::string Reading_Words_Of(const Firing_Status& status, const Number_Style& style) {
    switch (status.Reading_At(status.Clock)) {
        case Firing_Status::Reading::Live:
            break;
        case Firing_Status::Reading::Stale:
            return TranslateText("No reading since") + " " +
                   Clock_Shown(status.Last_Reading, status.Clock, style);
        case Firing_Status::Reading::Absent:
            return TranslateText(status.Input_Error ? "No reading: the thermocouple is open"
                                                    : "No reading from the controller");
    }
    return "";
}

}  // namespace corvanel
