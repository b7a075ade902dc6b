// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "common/clock.h"
#include "common/problem.h"
#include "run/firing_status.h"

namespace corvanel {

// What the kiln's own history says of the rest of a firing: the measured temperature
// ahead and when the kiln will likely have done what the profile asks. Made in history/
// from the kiln's thermal model; read by the run window, the status page and Start later.
// Times are elapsed times in the profile's unit, temperatures in the profile's scale.
struct Firing_Forecast {
    // The predicted measured temperature from now to the likely end.
    Plan_Points Curve;
    double Plan_End = 0;    // where the plan ends
    double Likely_End = 0;  // where the kiln will likely have done all the plan asks
    // When the kiln will likely have climbed to the profile's top; none once it has.
    std::optional<double> Peak_Reached;
    // False: no firings to learn the kiln from yet, the plan's own times.
    bool From_History = false;
    // Why the likely end is not the plan's ("the kiln is climbing 90 °F/h slower than asked
    // above 1,800 °F"), or that there is no history; empty when the kiln keeps to the plan.
    Operator_Text Why;
    // After the run: seconds from the status's clock until the cooling kiln is likely
    // below Open_Below (degrees of the profile's scale); none when not foreseen.
    std::optional<double> Cool_Seconds;
    double Open_Below = 0;

    // How far behind the plan, in the profile's time unit (0 when on plan).
    double Late_By() const { return Likely_End > Plan_End ? Likely_End - Plan_End : 0; }
    // Behind by a minute or more: worth telling apart from the plan.
    bool Late(const std::string& time_unit) const;
};

}  // namespace corvanel
