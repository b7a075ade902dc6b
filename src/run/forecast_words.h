// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/quantity_text.h"
#include "run/firing_status.h"

namespace corvanel {

// How long the firing has to go and when it ends, as the run window and the status page
// say it: the plan's times, or, where the kiln's own history foresees otherwise, the
// plan's beside the likely ones ("Plan 14:30, likely 15:10") and why.
struct Forecast_Words {
    std::string Time_Left;    // "5 h 20 min"
    std::string Finishes_At;  // "14:30" or "Plan 14:30, likely 15:10"
    // Why the likely time differs, or that the times are the plan's for want of history;
    // empty when the forecast agrees with the plan.
    std::string Note;
};

// For a status of an active run (empty words otherwise); translated, in `style`.
Forecast_Words Forecast_Words_Of(const Firing_Status& status, const Number_Style& style);

// After the run: when the hot kiln is likely to be below the temperature it may be
// opened at ("below 150 °F about 06:40"); empty without a forecast of it.
std::string Cooling_Words_Of(const Firing_Status& status, const Number_Style& style);

// Why the measured temperature is not a live reading ("No reading since 14:05", "No
// reading: the thermocouple is open"); empty while it is live.
std::string Reading_Words_Of(const Firing_Status& status, const Number_Style& style);

}  // namespace corvanel
