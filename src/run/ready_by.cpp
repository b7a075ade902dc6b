// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/ready_by.h"

#include <algorithm>

#include "run/firing_forecast.h"

namespace corvanel {

namespace {

// Where the plan first reaches its top.
double Plan_Peak(const Plan_Points& plan) {
    auto top = std::max_element(plan.begin(), plan.end(),
                                [](const auto& a, const auto& b) { return a.second < b.second; });
    return top == plan.end() ? 0 : top->first;
}

}  // namespace

double Seconds_Until_Ready(const Firing_Status& status, bool until_done) {
    const Firing_Forecast* forecast = status.Forecast.get();
    double at = until_done ? status.Total_Time : Plan_Peak(*status.Plan);
    if (forecast) {
        if (until_done) {
            at = forecast->Likely_End;
        } else if (forecast->Peak_Reached) {
            at = *forecast->Peak_Reached;
        }
    }
    return std::max(0.0, at - status.Elapsed) * Seconds_Per_Time_Unit(status.Time_Unit);
}

}  // namespace corvanel
