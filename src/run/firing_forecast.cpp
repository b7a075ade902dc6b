// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/firing_forecast.h"

#include <cmath>

#include "common/quantity_text.h"
#include "language/operator_style.h"

namespace corvanel {

bool Firing_Forecast::Late(const std::string& time_unit) const {
    return Late_By() * Seconds_Per_Time_Unit(time_unit) >= 60;
}

namespace {

Date_Time Clock_At(double elapsed, const Date_Time& now, double now_elapsed,
                   const std::string& time_unit) {
    const double seconds = (elapsed - now_elapsed) * Seconds_Per_Time_Unit(time_unit);
    return Date_Time_Of_Seconds(Seconds_Of(now) + std::llround(std::max(0.0, seconds)));
}

}  // namespace

Date_Time Likely_Finish_Clock(const Firing_Forecast& forecast, const Date_Time& now,
                              double now_elapsed, const std::string& time_unit) {
    return Clock_At(forecast.Likely_End, now, now_elapsed, time_unit);
}

Date_Time Plan_Finish_Clock(const Firing_Forecast& forecast, const Date_Time& now,
                            double now_elapsed, const std::string& time_unit) {
    return Clock_At(forecast.Plan_End, now, now_elapsed, time_unit);
}

Operator_Text Finish_Forecast_Words(const Firing_Forecast& forecast, const Date_Time& now,
                                    double now_elapsed, const std::string& time_unit) {
    if (!forecast.Late(time_unit)) return forecast.Why;
    const Number_Style style = Operator_Style();
    const Operator_Text plan = Operator_Text::Value(
        Clock_Shown(Plan_Finish_Clock(forecast, now, now_elapsed, time_unit), now, style));
    const Operator_Text likely = Operator_Text::Value(
        Clock_Shown(Likely_Finish_Clock(forecast, now, now_elapsed, time_unit), now, style));
    if (forecast.Why.Empty()) return Operator_Text::Phrase("Plan %1, likely %2", {plan, likely});
    return Operator_Text::Phrase("Plan %1, likely %2: %3", {plan, likely, forecast.Why});
}

}  // namespace corvanel
