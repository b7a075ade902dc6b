// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/problem.h"
#include "history/kiln_events.h"
#include "history/kiln_health.h"
#include "history/kiln_health_settings.h"

namespace corvanel {

// What the kiln's firings say of it over time: a baseline from its first firings (or
// the first after an event the operator marked), its latest firings against it, and the
// reading in plain words.

// The figures a trend is drawn of.
enum class Health_Measure {
    Rate_Band_1,
    Rate_Band_2,
    Rate_Band_3,
    Full_Output_Share,
    Ramp_Lag,
    Last_Climb
};
inline constexpr std::size_t Health_Measure_Count = 6;

// The figure of one firing, nothing when it has none.
std::optional<double> Measure_Of(const Firing_Health& firing, Health_Measure measure);
// What the operator calls it: "Heating at full power, 600-1,000 °F (°F/h)".
Operator_Text Measure_Name(Health_Measure measure, const std::string& scale);
// A figure in the operator's scale: rates and lags in degrees of it, the share in percent.
double Measure_In_Scale(Health_Measure measure, double value, const std::string& scale);

// The firings (oldest first) a comparison stands on.
struct Health_Baseline {
    std::optional<Kiln_Event> Event;  // the latest event before the latest firing, if any
    std::vector<std::size_t> Base;    // the firings that set the baseline
    std::vector<std::size_t> Recent;  // the latest firings, after the baseline's
};
Health_Baseline Baseline_Of(const std::vector<Firing_Health>& firings,
                            const std::vector<Kiln_Event>& events,
                            const Kiln_Health_Settings& settings);

// The mean of the measure over the chosen firings that have it.
std::optional<double> Mean_Of(const std::vector<Firing_Health>& firings,
                              const std::vector<std::size_t>& chosen, Health_Measure measure);

struct Health_Reading {
    enum class Level { Steady, Watch, Replace, Too_Few };
    Level Says = Level::Too_Few;
    Operator_Text Text;
    std::optional<Health_Measure> Measure;  // the figure it reads, whose trend shows it
};

// The readings, the one that matters most first. `scale` is the operator's ("F"/"C").
std::vector<Health_Reading> Read_Kiln_Health(const std::vector<Firing_Health>& firings,
                                             const std::vector<Kiln_Event>& events,
                                             const Kiln_Health_Settings& settings,
                                             const std::string& scale);

// Before a firing: each rising segment of the plan (corner points in the profile's scale
// and time unit) that asks more than the kiln managed at full output in that band in its
// recent firings, with about how far the firing will fall behind. Nothing when the kiln
// can follow or there is nothing to compare with.
std::vector<Operator_Text> Check_Profile_Pace(const Plan_Points& plan, const std::string& scale,
                                              const std::string& time_unit,
                                              const std::vector<Firing_Health>& firings,
                                              const std::vector<Kiln_Event>& events,
                                              const Kiln_Health_Settings& settings,
                                              const Date_Time& now);

// "12 March 2027", the month in the operator's language.
Operator_Text Day_Text(const Date_Time& day);

}  // namespace corvanel
